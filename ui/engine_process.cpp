#include "ui/engine_process.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>

#include "engine/usi_client.h"

namespace nirvex {

namespace {

// How long an ended engine may take to go before it is killed.
constexpr int quit_grace_ms = 500;
// How long the dialog's check waits for an engine to introduce itself.
constexpr int probe_ms = 5000;

}  // namespace

QtEngineProcess::QtEngineProcess(EngineListener& listener, QObject* parent)
    : QObject(parent),
      listener_(listener),
      process_(new QProcess(this)),
      deadline_(new QTimer(this)) {
  process_->setProcessChannelMode(QProcess::SeparateChannels);
  process_->setStandardErrorFile(QProcess::nullDevice());
  deadline_->setSingleShot(true);
  connect(process_, &QProcess::readyReadStandardOutput, this, [this] { read_lines(); });
  connect(process_, &QProcess::finished, this, [this] { listener_.ended(); });
  connect(deadline_, &QTimer::timeout, this, [this] { listener_.deadline_passed(); });
}

QtEngineProcess::~QtEngineProcess() { end(); }

bool QtEngineProcess::start(const std::string& program, std::string& error) {
  end();
  process_->start(QString::fromStdString(program), QStringList());
  if (!process_->waitForStarted()) {
    error = process_->errorString().toStdString();
    end();
    return false;
  }
  return true;
}

void QtEngineProcess::send(const std::string& line) {
  if (process_->state() != QProcess::Running) return;
  process_->write(QByteArray::fromStdString(line + '\n'));
}

// Gives the process a moment to go, then kills it; its end is not news to
// the game, which asked for it.
void QtEngineProcess::end() {
  deadline_->stop();
  const QSignalBlocker quiet(process_);
  if (process_->state() != QProcess::NotRunning) {
    process_->closeWriteChannel();
    if (!process_->waitForFinished(quit_grace_ms)) {
      process_->kill();
      process_->waitForFinished();
    }
  }
  if (process_->isOpen()) process_->readAll();
}

bool QtEngineProcess::running() const { return process_->state() != QProcess::NotRunning; }

void QtEngineProcess::set_deadline(int milliseconds) {
  if (milliseconds > 0)
    deadline_->start(milliseconds);
  else
    deadline_->stop();
}

qint64 QtEngineProcess::process_id() const { return running() ? process_->processId() : 0; }

void QtEngineProcess::read_lines() {
  while (process_->canReadLine()) {
    const QByteArray line = process_->readLine();
    listener_.said(line.toStdString());
  }
}

bool probe_engine(const QString& program, EngineIdentity& identity, QString& error) {
  identity = EngineIdentity{};
  QProcess p;
  p.setStandardErrorFile(QProcess::nullDevice());
  p.start(program, QStringList());
  if (!p.waitForStarted()) {
    error = QStringLiteral("起動できません：") + p.errorString();
    return false;
  }
  p.write("usi\n");
  bool introduced = false;
  const QDeadlineTimer limit(probe_ms);
  while (!introduced && !limit.hasExpired()) {
    while (p.canReadLine()) {
      const std::string line = QString::fromUtf8(p.readLine()).trimmed().toStdString();
      if (line == "usiok") {
        introduced = true;
        break;
      }
      read_identity_line(line, identity);
    }
    if (!introduced && !p.waitForReadyRead(static_cast<int>(limit.remainingTime()))) break;
  }
  p.write("quit\n");
  p.closeWriteChannel();
  if (!p.waitForFinished(quit_grace_ms)) {
    p.kill();
    p.waitForFinished();
  }
  if (!introduced) error = QStringLiteral("USI で応答しません（usiok がありません）");
  return introduced;
}

QString installed_fairy_stockfish() {
  const QString name = QStringLiteral("fairy-stockfish");
  QString found = QStandardPaths::findExecutable(name);
  if (found.isEmpty())
    found = QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/games"), QStringLiteral("/usr/local/games")});
  return found;
}

}  // namespace nirvex

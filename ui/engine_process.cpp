#include "ui/engine_process.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <string>

#include "engine/usi_client.h"

namespace nirvex {

namespace {

// How long an ended engine may take to go before it is killed.
constexpr int quit_grace_ms = 1000;
// How long the dialog's check waits for an engine to introduce itself.
constexpr int probe_ms = 5000;

// What comes next in an engine's output.
enum class NextLine { line, none, too_long };

// Takes the next whole line (with its end) from the process's output:
// none while the line is not complete yet, too_long for a line longer
// than any USI line can be, which is never waited for to its end.
NextLine next_line(QProcess& p, std::string& line) {
  if (!p.canReadLine())
    return p.bytesAvailable() > longest_engine_line ? NextLine::too_long : NextLine::none;
  const QByteArray bytes = p.readLine(longest_engine_line + 2);
  if (!bytes.endsWith('\n')) return NextLine::too_long;
  line = bytes.toStdString();
  return NextLine::line;
}

// Ends the process: it is given `grace_ms` to go after its input is
// closed, then killed, and always reaped.  What it still writes meanwhile
// is dropped as it comes rather than kept.
void end_process(QProcess& p, int grace_ms) {
  if (p.state() == QProcess::NotRunning) return;
  p.closeReadChannel(QProcess::StandardOutput);
  p.closeWriteChannel();
  if (!p.waitForFinished(grace_ms)) {
    p.kill();
    p.waitForFinished();
  }
}

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
// its listener, which asked for it.
void QtEngineProcess::end() {
  deadline_->stop();
  const QSignalBlocker quiet(process_);
  end_process(*process_, quit_grace_ms);
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
  most_buffered_ = std::max(most_buffered_, process_->bytesAvailable());
  for (std::string line;;) {
    const NextLine next = next_line(*process_, line);
    if (next == NextLine::none) break;
    if (next == NextLine::too_long) {
      listener_.overflowed();
      return;
    }
    listener_.said(line);
  }
  // An engine that never stops writing keeps this busy: the deadline is
  // looked at here too, not only when its timer gets its turn.
  if (deadline_->isActive() && deadline_->remainingTime() == 0) {
    deadline_->stop();
    listener_.deadline_passed();
  }
}

bool probe_engine(const QString& program, EngineIdentity& identity, QString& error,
                  qint64* most_buffered) {
  identity = EngineIdentity{};
  QProcess p;
  p.setStandardErrorFile(QProcess::nullDevice());
  p.start(program, QStringList());
  if (!p.waitForStarted()) {
    error = QStringLiteral("起動できません：") + p.errorString();
    return false;
  }
  p.write("usi\n");
  bool introduced = false, broken = false;
  qint64 most = 0;
  const QDeadlineTimer limit(probe_ms);
  while (!introduced && !broken && !limit.hasExpired()) {
    if (!p.waitForReadyRead(static_cast<int>(limit.remainingTime()))) break;
    most = std::max(most, p.bytesAvailable());
    for (std::string line; !introduced;) {
      const NextLine next = next_line(p, line);
      if (next == NextLine::none) break;
      if (next == NextLine::too_long) {
        broken = true;
        break;
      }
      line = QString::fromStdString(line).trimmed().toStdString();
      if (line == "usiok")
        introduced = true;
      else
        read_identity_line(line, identity);
    }
  }
  p.write("quit\n");
  end_process(p, quit_grace_ms);
  if (most_buffered) *most_buffered = most;
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

// An outside engine's process for the window: a QProcess whose lines, end
// and deadline reach the game flow's listener (the computer's play or the
// record analysis) through the event loop, so the window stays alive while
// the engine thinks.
#pragma once

#include <QObject>

#include "ui/flow/ports.h"

class QProcess;
class QTimer;

namespace nirvex {

class QtEngineProcess : public QObject, public EngineProcess {
  Q_OBJECT

 public:
  QtEngineProcess(EngineListener& listener, QObject* parent = nullptr);
  ~QtEngineProcess() override;

  bool start(const std::string& program, std::string& error) override;
  void send(const std::string& line) override;
  void end() override;
  bool running() const override;
  void set_deadline(int milliseconds) override;
  // The process id while it runs (0 otherwise), for whoever checks that no
  // engine is left behind.
  qint64 process_id() const;
  // The most bytes of output ever held at once, waiting for a line's end;
  // bounded by the longest line an engine may write and one read.
  qint64 most_buffered() const { return most_buffered_; }

 private:
  // Hands on the complete lines waiting, or the engine's fault when one
  // is too long; then the deadline, if it has passed meanwhile.
  void read_lines();

  EngineListener& listener_;
  QProcess* process_;
  QTimer* deadline_;
  qint64 most_buffered_ = 0;
};

// What an engine program says of itself, asked and answered at once (the
// dialog's check): false with the reason when it does not start or never
// finishes its introduction, however much else it writes.
// `most_buffered`, when given, gets the most bytes of output held at once.
struct EngineIdentity;
bool probe_engine(const QString& program, EngineIdentity& identity, QString& error,
                  qint64* most_buffered = nullptr);

// Fairy-Stockfish where it is installed, else empty.
QString installed_fairy_stockfish();

}  // namespace nirvex

// An outside engine run as a child process on two pipes, for the console:
// its listener is driven by waiting on the engine's output up to the
// deadline the listener set, and handing on every line, its end, or the
// passed deadline.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <sys/types.h>

#include "ui/flow/ports.h"

namespace nirvex {

class PipeEngine : public EngineProcess {
 public:
  PipeEngine() = default;
  ~PipeEngine() override;
  PipeEngine(const PipeEngine&) = delete;
  PipeEngine& operator=(const PipeEngine&) = delete;

  bool start(const std::string& program, std::string& error) override;
  void send(const std::string& line) override;
  void end() override;
  bool running() const override { return pid_ > 0; }
  void set_deadline(int milliseconds) override;

  // Waits for the engine while the listener awaits an answer, and hands
  // on what happens.  The deadline holds however much the engine writes.
  void serve(EngineListener& listener);

  // The most bytes of output ever held at once, waiting for a line's end;
  // bounded by the longest line an engine may write and one read.
  size_t most_buffered() const { return most_buffered_; }

 private:
  // Reads once and hands on the complete lines; false at the end of
  // output.  A line too long for USI is handed on as the engine's fault.
  bool read_available(EngineListener& listener);
  // Hands on the deadline once it has passed.
  void check_deadline(EngineListener& listener);

  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  // Output read but not handed on yet: the part from `pending_from_` on.
  std::string pending_;
  size_t pending_from_ = 0;
  size_t most_buffered_ = 0;
  // Counts the processes started, so that a reader notices when the listener
  // ended the engine and started another while it handed on a line.
  unsigned starts_ = 0;
  bool armed_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace nirvex

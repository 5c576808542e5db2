// An outside engine run as a child process on two pipes, for the console:
// its listener is driven by waiting on the engine's output up to the
// deadline the listener set, and handing on every line, its end, or the
// passed deadline.
#pragma once

#include <chrono>
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
  // on what happens.
  void serve(EngineListener& listener);

 private:
  // Hands on the complete lines read so far; false at the end of output.
  bool read_available(EngineListener& listener);

  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  std::string pending_;
  bool armed_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace nirvex

// An outside engine's process for the flow tests: it only remembers what
// it was told, whether it runs, and the deadline it was given.
#pragma once

#include <string>
#include <vector>

#include "ui/flow/ports.h"

namespace nirvex::testing {

class ScriptedEngine : public EngineProcess {
 public:
  std::vector<std::string> heard;
  bool alive = false;
  int deadline = 0;
  int starts = 0;
  std::string refusal;  // when set, the program does not start, for this reason
  bool start(const std::string&, std::string& error) override {
    ++starts;
    error = refusal;
    return alive = refusal.empty();
  }
  void send(const std::string& line) override { heard.push_back(line); }
  void end() override { alive = false; }
  bool running() const override { return alive; }
  void set_deadline(int ms) override { deadline = ms; }
};

}  // namespace nirvex::testing

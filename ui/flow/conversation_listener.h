// The flow's side of an engine process: a listener that hands each event
// to one conversation's procedures over the game (the computer's play in
// outside_engine.h, the record analysis in record_analysis.h).
#pragma once

#include <string>

#include "ui/flow/ports.h"

namespace nirvex {

struct Game;

template <void (*on_said)(Game&, const std::string&), void (*on_ended)(Game&),
          void (*on_deadline_passed)(Game&), void (*on_overflowed)(Game&),
          bool (*is_awaiting)(const Game&)>
class ConversationListener : public EngineListener {
 public:
  explicit ConversationListener(Game& game) : game_(game) {}
  void said(const std::string& line) override { on_said(game_, line); }
  void ended() override { on_ended(game_); }
  void deadline_passed() override { on_deadline_passed(game_); }
  void overflowed() override { on_overflowed(game_); }
  bool awaiting() const override { return is_awaiting(game_); }

 private:
  Game& game_;
};

}  // namespace nirvex

// The USI conversation of the console tool: one session holds the game
// being examined and the engine options, and answers one command line at
// a time.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "model/game_state.h"

namespace nirvex {

// The options a USI front end may set.
struct UsiOptions {
  int level = 3;               // strength of the computer player, 1..3
  std::string time_of_day;     // clock text for the opening choice; empty = real clock
  bool show_candidates = false;  // report every candidate's score while thinking
};

class UsiSession {
 public:
  // Starts with the initial position, the lower side to move.
  UsiSession();

  // Answers one command line on `out`.  Returns false after "quit".
  bool handle(std::string_view line, std::ostream& out);

  const GameState& game() const { return game_; }
  const UsiOptions& options() const { return options_; }

 private:
  void command_usi(std::ostream& out) const;
  void command_setoption(std::string_view args, std::ostream& out);
  void command_position(std::string_view args, std::ostream& out);
  void command_go(std::string_view args, std::ostream& out);
  void command_mate(std::ostream& out) const;
  void search(std::ostream& out) const;

  GameState game_;
  UsiOptions options_;
};

}  // namespace nirvex

// The USI conversation of the console tool: one session holds the
// position being examined, the game being played against the computer and
// the engine options, and answers one command line at a time.
#pragma once

#include <memory>
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
  std::string engine;          // an outside engine for the game mode; empty: built-in
  int engine_move_time_ms = 1000;  // its think time per move
  std::string autosave;        // the folder the game mode keeps its games in; empty: none
};

class ConsoleGame;

class UsiSession {
 public:
  // Starts with the initial position, the lower side to move.
  UsiSession();
  ~UsiSession();

  // Answers one command line on `out`.  Returns false after "quit".
  bool handle(std::string_view line, std::ostream& out);

  const GameState& game() const { return game_; }
  const UsiOptions& options() const { return options_; }
  // The game against the computer of "newgame" and "play"; null before
  // the first "newgame".
  const ConsoleGame* console_game() const { return console_.get(); }

 private:
  void command_usi(std::ostream& out) const;
  void command_setoption(std::string_view args, std::ostream& out);
  void command_position(std::string_view args, std::ostream& out);
  void command_go(std::string_view args, std::ostream& out);
  void command_mate(std::ostream& out) const;
  void search(std::ostream& out) const;
  void command_newgame(std::string_view args, std::ostream& out);
  void command_play(std::string_view args, std::ostream& out);
  void command_analyse(std::string_view args, std::ostream& out) const;
  void forget_failed_engine();
  // The game mode's game is left: kept when it holds moves not kept yet.
  void leave_console_game(std::ostream& out);

  // The position that "position", "go" and "mate" examine; the moves of
  // the last "position" command are its record's entries after this one.
  GameState game_;
  int position_base_ = 0;
  UsiOptions options_;
  // The game that "newgame" starts and "play" goes on with.
  std::unique_ptr<ConsoleGame> console_;
};

}  // namespace nirvex

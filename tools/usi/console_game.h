// A whole game against the computer in the console, on a window that
// shows nothing.  It runs through the same game flow as the window: the
// human's moves are mouse clicks on the lower side's pieces and hand, and
// the computer answers with com_ban.  What the window would show as
// message boxes comes out as USI "info string" lines.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/usi/console_records.h"
#include "tools/usi/headless_window.h"
#include "tools/usi/pipe_engine.h"
#include "ui/flow/game.h"
#include "ui/flow/outside_engine.h"

namespace nirvex {

class ConsoleGame {
 public:
  // The program as at its start: every map empty, level 3, the defaults
  // of every preference; no game yet.
  ConsoleGame();
  ConsoleGame(const ConsoleGame&) = delete;
  ConsoleGame& operator=(const ConsoleGame&) = delete;

  // "対局(COM)" → "先手" (the human moves first) or "後手"; the
  // computer's first move, if it has one, is printed.
  void start(bool human_first, std::ostream& out);
  // The human makes MOVE (USI text) by mouse: a drop is a click on the
  // hand slot and then the square, a board move two clicks; "+" is the
  // right button.  Prints what follows, or that the move was refused.
  void play(std::string_view move, std::ostream& out);

  // The menu's level; it counts from the computer's next turn.
  void set_level(int level);
  // The clock's time of day, seconds since midnight; empty: the real clock.
  void set_time_of_day(const std::string& text);
  // Print every candidate the computer scores.
  void set_show_candidates(bool on) { game_.keep_candidates = on; }
  // An outside engine plays the computer's side from its next move; an
  // empty program: the built-in player at `level`.
  void set_engine(const std::string& program, int move_time_ms, int level);
  // The folder every game is kept in when it ends; empty: none.
  void set_autosave(const std::string& folder) { game_.autosave_folder = folder; }
  // The program leaves the game (the next "newgame", or "quit"): a game
  // not kept yet is kept, and what that brought is printed.
  void leave(std::ostream& out);

  const Game& game() const { return game_; }
  // The outside engine's process, for whoever checks how it fares.
  const PipeEngine& engine() const { return engine_; }
  // An engine fault was reported since the game began: the engine is off.
  bool engine_failed() const { return engine_failed_; }

 private:
  // A message box as an "info string" line, after any computer turn that
  // came before it.
  void report_message(const std::string& text, const std::string& title);
  // The lines of computer turns not reported yet.
  void report_com_turn();
  void print(std::ostream& out);

  HeadlessWindow window_;
  SilentSound sound_;
  NoSettings settings_;
  ConsoleRecords records_;
  PipeEngine engine_;
  Game game_;
  PlayListener play_listener_{game_};
  std::vector<std::string> lines_;
  int reported_com_turns_ = 0;
  bool engine_failed_ = false;
};

// A score as the tool prints it: at most four decimals, no trailing zeros,
// never an exponent; what rounds to zero prints as "0".
std::string score_text(double score);

}  // namespace nirvex

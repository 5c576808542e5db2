#include "tools/usi/usi_session.h"

#include "tools/usi/console_analysis.h"
#include "tools/usi/console_game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <cctype>
#include <sstream>
#include <vector>

#include "engine/analysis.h"
#include "engine/com_search.h"
#include "engine/computer_state.h"
#include "engine/move_list.h"
#include "engine/position_tests.h"
#include "engine/sfen.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "engine/usi_move.h"
#include "model/rules.h"

namespace nirvex {

namespace {

// Blank-separated words of a line.
std::vector<std::string> words_of(std::string_view text) {
  std::vector<std::string> out;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The text after the first `count` words, without surrounding blanks.
std::string_view rest_after_words(std::string_view text, int count) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  for (int n = 0; n < count; ++n) {
    while (i < text.size() && !is_blank(text[i])) ++i;
    while (i < text.size() && is_blank(text[i])) ++i;
  }
  size_t end = text.size();
  while (end > i && is_blank(text[end - 1])) --end;
  return text.substr(i, end - i);
}

// Equal but for letter case.
bool same_words(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The one line that answers bad input.
void report_error(std::ostream& out, const std::string& what) {
  out << "info string error " << what << '\n';
}

// Is it the upper side's turn?
bool upper_to_move(const GameState& g) { return g.turn == g.upper_side; }

// The kings' squares as the program has them at start: the analysis keeps
// them between builds, so a fresh analysis starts from these.
void reset_king_squares(GameState& g) {
  const GameState at_start;
  g.lower_king_x = at_start.lower_king_x;
  g.lower_king_y = at_start.lower_king_y;
  g.upper_king_x = at_start.upper_king_x;
  g.upper_king_y = at_start.upper_king_y;
}

// A game at the initial position with the lower side to move.
GameState start_game() {
  GameState g;
  std::string unused;
  read_sfen(start_sfen, g, unused);
  return g;
}

}  // namespace

// Starts at the initial position.
UsiSession::UsiSession() : game_(start_game()) {}

// A game still open when the input ends is kept like one cut off by "quit".
UsiSession::~UsiSession() {
  std::ostringstream unheard;
  leave_console_game(unheard);
}

// Dispatches on the first word; unknown words get an error line.
bool UsiSession::handle(std::string_view line, std::ostream& out) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  const std::vector<std::string> words = words_of(line);
  if (words.empty()) return true;
  const std::string& command = words[0];
  const std::string_view args = rest_after_words(line, 1);
  if (command == "usi") {
    command_usi(out);
  } else if (command == "isready") {
    out << "readyok\n";
  } else if (command == "usinewgame") {
    game_ = start_game();
    game_.level = options_.level;
    position_base_ = 0;
  } else if (command == "setoption") {
    command_setoption(args, out);
  } else if (command == "position") {
    command_position(args, out);
  } else if (command == "go") {
    command_go(args, out);
  } else if (command == "mate") {
    command_mate(out);
  } else if (command == "newgame") {
    command_newgame(args, out);
  } else if (command == "play") {
    command_play(args, out);
  } else if (command == "analyse") {
    command_analyse(args, out);
  } else if (command == "stop" || command == "ponderhit" || command == "gameover") {
    // Nothing is ever thinking in the background, so there is nothing to do.
  } else if (command == "quit") {
    leave_console_game(out);
    return false;
  } else {
    report_error(out, "unknown command '" + command + "'");
  }
  return true;
}

// Names the program and its options.
void UsiSession::command_usi(std::ostream& out) const {
  out << "id name Nirvex将棋\n"
      << "id author Nirvex\n"
      << "option name Level type spin default 3 min 1 max 3\n"
      << "option name TimeOfDay type string default <empty>\n"
      << "option name ShowCandidates type check default false\n"
      << "option name Engine type string default <empty>\n"
      << "option name EngineMoveTime type spin default 1000 min 100 max 60000\n"
      << "option name AutoSave type string default <empty>\n"
      << "usiok\n";
}

// Sets Level, TimeOfDay, ShowCandidates, Engine, EngineMoveTime or AutoSave.
void UsiSession::command_setoption(std::string_view args, std::ostream& out) {
  const std::vector<std::string> words = words_of(args);
  if (words.size() < 2 || words[0] != "name") {
    report_error(out, "setoption needs 'name NAME [value VALUE]'");
    return;
  }
  const std::string& name = words[1];
  std::string value;
  if (words.size() >= 3) {
    if (words[2] != "value") {
      report_error(out, "setoption needs 'name NAME [value VALUE]'");
      return;
    }
    // The value is everything after the word "value", inner blanks included.
    value = std::string(rest_after_words(args, 3));
  }
  if (same_words(name, "Level")) {
    if (value != "1" && value != "2" && value != "3") {
      report_error(out, "Level must be 1, 2 or 3");
      return;
    }
    options_.level = value[0] - '0';
    game_.level = options_.level;
    if (console_) console_->set_level(options_.level);
  } else if (same_words(name, "TimeOfDay")) {
    options_.time_of_day = value == "<empty>" ? std::string() : value;
    if (console_) console_->set_time_of_day(options_.time_of_day);
  } else if (same_words(name, "ShowCandidates")) {
    if (value != "true" && value != "false") {
      report_error(out, "ShowCandidates must be true or false");
      return;
    }
    options_.show_candidates = value == "true";
    if (console_) console_->set_show_candidates(options_.show_candidates);
  } else if (same_words(name, "Engine")) {
    options_.engine = value == "<empty>" ? std::string() : value;
    if (console_) console_->set_engine(options_.engine, options_.engine_move_time_ms, options_.level);
  } else if (same_words(name, "AutoSave")) {
    options_.autosave = value == "<empty>" ? std::string() : value;
    if (console_) console_->set_autosave(options_.autosave);
  } else if (same_words(name, "EngineMoveTime")) {
    int ms = 0;
    try {
      size_t used = 0;
      ms = std::stoi(value, &used);
      if (used != value.size()) ms = 0;
    } catch (...) {
      ms = 0;
    }
    if (ms < 100 || ms > 60000) {
      report_error(out, "EngineMoveTime must be 100 to 60000 milliseconds");
      return;
    }
    options_.engine_move_time_ms = ms;
    if (console_ && !options_.engine.empty())
      console_->set_engine(options_.engine, options_.engine_move_time_ms, options_.level);
  } else {
    report_error(out, "unknown option '" + name + "'");
  }
}

// Sets up a start or SFEN position and plays the moves; all or nothing.
void UsiSession::command_position(std::string_view args, std::ostream& out) {
  const std::vector<std::string> words = words_of(args);
  GameState g = game_;
  size_t next = 0;
  std::string error;
  if (!words.empty() && words[0] == "startpos") {
    read_sfen(start_sfen, g, error);
    next = 1;
  } else if (!words.empty() && words[0] == "sfen") {
    if (words.size() < 5) {
      report_error(out, "position sfen needs board, side to move, hands and move number");
      return;
    }
    const std::string text = words[1] + ' ' + words[2] + ' ' + words[3] + ' ' + words[4];
    if (!read_sfen(text, g, error)) {
      report_error(out, "bad SFEN: " + error);
      return;
    }
    next = 5;
  } else {
    report_error(out, "position needs 'startpos' or 'sfen ...'");
    return;
  }
  if (next < words.size()) {
    if (words[next] != "moves") {
      report_error(out, "expected 'moves' after the position, found '" + words[next] + "'");
      return;
    }
    ++next;
  }
  const int base = g.record_pos;
  const size_t moves = words.size() - next;
  if (static_cast<size_t>(g.record_pos) + moves > static_cast<size_t>(max_record_moves)) {
    report_error(out, "the game record holds at most 500 moves");
    return;
  }
  for (size_t i = next; i < words.size(); ++i) {
    RuleMove m;
    if (!read_move(g, words[i], upper_to_move(g), m, error)) {
      report_error(out, "move " + std::to_string(i - next + 1) + ": " + error);
      return;
    }
    play_rule_move(g, m);
    g.turn = upper_to_move(g) ? g.lower_side : g.upper_side;
  }
  g.level = options_.level;
  game_ = g;
  position_base_ = base;
}

// "go perft 1" lists the moves the rules allow the side to move; any other
// "go" lets the computer player choose a move for the side to move.
void UsiSession::command_go(std::string_view args, std::ostream& out) {
  const std::vector<std::string> words = words_of(args);
  if (!words.empty() && words[0] == "perft") {
    if (words.size() != 2 || words[1] != "1") {
      report_error(out, "only 'go perft 1' is available");
      return;
    }
    GameState g = game_;
    mark_pawn_columns(g);
    const std::vector<RuleMove> moves = list_rule_moves(g, upper_to_move(g));
    for (const RuleMove& m : moves) out << move_text(m) << ": 1\n";
    out << "\nNodes searched: " << moves.size() << '\n';
    return;
  }
  search(out);
}

// The computer player's move for the side to move.
void UsiSession::search(std::ostream& out) const {
  const std::string time_of_day = options_.time_of_day.empty()
                                      ? time_of_day_text(seconds_since_midnight())
                                      : options_.time_of_day;
  std::function<void(const ComCandidate&)> report;
  if (options_.show_candidates)
    report = [&](const ComCandidate& k) {
      out << "info string candidate " << move_text(k) << ' ' << score_text(k.score) << '\n';
    };
  const ComMove best = search_side_to_move(game_, options_.level, time_of_day, report);
  if (!best.found) {
    out << "bestmove resign\n";
    return;
  }
  out << "info string score " << score_text(best.score) << '\n';
  out << "bestmove " << move_text(best) << '\n';
}

// Runs both mate tests on the position with a fresh analysis.
void UsiSession::command_mate(std::ostream& out) const {
  // A fresh analysis, as the program has it at start: every map and both
  // remembered king squares at their first values.
  GameState g = game_;
  reset_king_squares(g);
  Analysis a;
  mark_pawn_columns(g);
  build_square_maps(g, a);
  const int upper = upper_side_mated(g, a);
  build_square_maps(g, a);
  const int lower = lower_side_mated(g, a);
  out << "info string upper_side_mated " << upper << " lower_side_mated " << lower << '\n';
}

}  // namespace nirvex

namespace nirvex {

// "newgame sente|gote": the program as at its start, then "対局(COM)" →
// "先手" or "後手".
void UsiSession::command_newgame(std::string_view args, std::ostream& out) {
  const std::vector<std::string> words = words_of(args);
  if (words.size() != 1 || (words[0] != "sente" && words[0] != "gote")) {
    report_error(out, "newgame needs 'sente' or 'gote'");
    return;
  }
  leave_console_game(out);
  console_ = std::make_unique<ConsoleGame>();
  console_->set_autosave(options_.autosave);
  if (options_.level != 3) console_->set_level(options_.level);
  console_->set_time_of_day(options_.time_of_day);
  console_->set_show_candidates(options_.show_candidates);
  if (!options_.engine.empty())
    console_->set_engine(options_.engine, options_.engine_move_time_ms, options_.level);
  console_->start(words[0] == "sente", out);
  forget_failed_engine();
}

void UsiSession::leave_console_game(std::ostream& out) {
  if (!console_) return;
  console_->leave(out);
  console_.reset();
}

// After an engine fault the engine stays off until it is set again.
void UsiSession::forget_failed_engine() {
  if (console_ && console_->engine_failed()) options_.engine.clear();
}

// "play MOVE": the human's move by mouse, then the computer's answer.
void UsiSession::command_play(std::string_view args, std::ostream& out) {
  const std::vector<std::string> words = words_of(args);
  if (words.size() != 1) {
    report_error(out, "play needs one move");
    return;
  }
  if (!console_) {
    report_error(out, "no game");
    return;
  }
  console_->play(words[0], out);
  forget_failed_engine();
}

// "analyse [movetime MS | depth N]": the record analysis of the game of
// "newgame", or else of the moves of the last "position" command, with the
// engine of "setoption name Engine".
void UsiSession::command_analyse(std::string_view args, std::ostream& out) const {
  const std::vector<std::string> words = words_of(args);
  AnalysisLimit limit;
  int value = 0;
  bool ok = words.empty();
  if (words.size() == 2) {
    try {
      size_t used = 0;
      value = std::stoi(words[1], &used);
      ok = used == words[1].size();
    } catch (...) {
      ok = false;
    }
    if (words[0] == "movetime" && value >= analysis_min_time_ms && value <= analysis_max_time_ms)
      limit.move_time_ms = value;
    else if (words[0] == "depth" && value >= 1 && value <= analysis_max_depth)
      limit.depth = value;
    else
      ok = false;
  }
  if (!ok) {
    report_error(out, "analyse needs nothing, 'movetime MS' (100 to 10000) or 'depth N' (1 to 30)");
    return;
  }
  if (options_.engine.empty()) {
    out << "info string analysis error no engine\n";
    return;
  }
  if (console_) {
    analyse_record(console_->game().g, options_.engine, limit, out);
    return;
  }
  // The moves of "position" from its first position on.
  GameState g = game_;
  const int moves = game_.record_len - position_base_;
  for (int i = 1; i <= moves; ++i) g.move_records[i] = game_.move_records[position_base_ + i];
  g.record_pos = g.record_len = moves;
  analyse_record(g, options_.engine, limit, out);
}

}  // namespace nirvex

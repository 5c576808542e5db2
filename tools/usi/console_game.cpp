#include "tools/usi/console_game.h"

#include <cstdio>
#include <cstdlib>

#include "engine/usi_move.h"
#include "ui/flow/board_input.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/program.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// Message boxes that only ask the player to go on, answered silently.
bool just_a_prompt(const std::string& text) {
  return text == "MANの番です" || text == "OKですか？" || text == "続けますか？";
}

constexpr std::string_view winner_suffix = "の勝ちです";

// The clicks of a move in USI text: the origin (a board square or the
// lower hand's slot) and the destination, in cells.  False if malformed.
bool clicks_of(std::string_view move, int& from_col, int& from_row, int& to_col, int& to_row) {
  if (move.size() == 4 && move[1] == '*') {
    const int kind = drop_kind(move[0]);
    if (kind == 0 || !read_square(move.substr(2), to_col, to_row)) return false;
    from_col = lower_hand_col;  // the lower hand lists kind k in row k
    from_row = kind;
    return true;
  }
  const bool promote = move.size() == 5 && move[4] == '+';
  if (move.size() != 4 && !promote) return false;
  return read_square(move.substr(0, 2), from_col, from_row) &&
         read_square(move.substr(2, 2), to_col, to_row);
}

}  // namespace

std::string score_text(double score) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", score);
  std::string shown = text;
  shown.erase(shown.find_last_not_of('0') + 1);
  if (shown.back() == '.') shown.pop_back();
  return shown == "-0" ? "0" : shown;
}

ConsoleGame::ConsoleGame() {
  game_.form = &window_;
  game_.sound = &sound_;
  game_.settings = &settings_;
  game_.records = &records_;
  game_.engine_process = &engine_;
  window_.on_message = [this](const std::string& text, const std::string& title) {
    report_message(text, title);
  };
  Form_Load(game_);
  lines_.clear();
}

void ConsoleGame::set_level(int level) { LEVEL_Click(game_, level); }

void ConsoleGame::set_engine(const std::string& program, int move_time_ms, int level) {
  if (program.empty()) {
    if (game_.engine.choice.plays) LEVEL_Click(game_, level);
    return;
  }
  EngineSettings choice;
  choice.program = program;
  choice.move_time_ms = move_time_ms;
  choose_engine(game_, choice);
}

void ConsoleGame::set_time_of_day(const std::string& text) {
  char* end = nullptr;
  const double t = text.empty() ? -1 : std::strtod(text.c_str(), &end);
  window_.fixed_time_of_day = !text.empty() && end && *end == '\0' && t >= 0 ? t : -1;
}

void ConsoleGame::start(bool human_first, std::ostream& out) {
  lines_.clear();
  reported_com_turns_ = game_.com_turns;
  if (human_first)
    SENTE_Click(game_);
  else
    GOTE_Click(game_);
  engine_.serve(play_listener_);
  out << "info string newgame\n";
  print(out);
}

void ConsoleGame::play(std::string_view move, std::ostream& out) {
  GameState& g = game_.g;
  const std::string text(move);
  if (g.turn == side_none || g.play_mode != mode_vs_computer) {
    out << "info string error no game\n";
    return;
  }
  int fc = 0, fr = 0, tc = 0, tr = 0;
  if (!clicks_of(move, fc, fr, tc, tr)) {
    out << "info string error malformed move '" << text << "'\n";
    return;
  }
  if (g.turn != g.lower_side) {
    out << "info string refused " << text << '\n';
    return;
  }
  const GameState before = g;
  const int played_before = game_.moves_played;
  lines_.clear();
  reported_com_turns_ = game_.com_turns;
  const int button = move.back() == '+' ? button_right : button_left;
  Form_MouseDown(game_, button_left, cell_centre_x(fc), cell_centre_y(fr));
  Form_MouseDown(game_, button, cell_centre_x(tc), cell_centre_y(tr));
  engine_.serve(play_listener_);
  if (game_.moves_played == played_before) {
    // The click pair made no move: as if it had never happened.
    g = before;
    lines_.clear();
    out << "info string refused " << text << '\n';
    return;
  }
  print(out);
}

void ConsoleGame::leave(std::ostream& out) {
  lines_.clear();
  shut_down(game_);
  print(out);
}

void ConsoleGame::report_message(const std::string& text, const std::string& title) {
  report_com_turn();
  if (just_a_prompt(text)) return;
  if (title == engine_message_title) {
    // What went wrong with the engine, on one line.
    std::string line = text;
    for (char& c : line)
      if (c == '\n') c = ' ';
    lines_.push_back("info string engine error " + line);
    engine_failed_ = true;
    return;
  }
  if (text.ends_with(winner_suffix)) {
    lines_.push_back("info string winner " + text.substr(0, text.size() - winner_suffix.size()));
    return;
  }
  std::string shown = text;
  for (char& c : shown)
    if (c == '\n') c = ' ';
  const size_t first = shown.find_first_not_of(" *");
  const size_t last = shown.find_last_not_of(" *");
  shown = first == std::string::npos ? std::string() : shown.substr(first, last - first + 1);
  lines_.push_back("info string announce " + shown);
}

void ConsoleGame::report_com_turn() {
  if (game_.com_turns == reported_com_turns_) return;
  reported_com_turns_ = game_.com_turns;
  const ComMove& m = game_.last_com_move;
  if (game_.last_com_by_engine) {
    // The engine's move: no candidates or scores of ours.
    if (!m.found)
      lines_.push_back("bestmove resign");
    else if (game_.last_com_played)
      lines_.push_back("bestmove " + move_text(m));
    return;
  }
  if (game_.keep_candidates)
    for (const ComCandidate& c : game_.candidates)
      lines_.push_back("info string candidate " + move_text(c) + ' ' + score_text(c.score));
  lines_.push_back("info string score " + score_text(m.found ? m.score : -99999));
  if (!m.found)
    lines_.push_back("bestmove resign");
  else if (game_.last_com_played)
    lines_.push_back("bestmove " + move_text(m));
}

void ConsoleGame::print(std::ostream& out) {
  report_com_turn();
  for (const std::string& line : lines_) out << line << '\n';
  lines_.clear();
}

}  // namespace nirvex

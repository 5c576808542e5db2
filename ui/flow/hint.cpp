#include "ui/flow/hint.h"

#include "engine/com_search.h"
#include "engine/usi_move.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"

namespace nirvex {

namespace {

constexpr const char* hint_title = "ヒント";

// Where the mover comes from on the screen: its square, or its hand slot.
std::pair<int, int> origin_cell(const Move& m) {
  if (m.from_col == lower_hand_col) return {lower_hand_col, m.from_row};
  if (m.from_col == upper_hand_col) return {upper_hand_col, 7 - m.from_row};
  return {m.from_col, m.from_row};
}

// A hint is for a game in progress, on the player's turn.
bool hint_possible(const Game& game) {
  const GameState& g = game.g;
  if (g.turn == side_none || g.kifu_mode == flag_on || engine_busy(game)) return false;
  return g.play_mode != mode_vs_computer || g.turn == g.lower_side;
}

}  // namespace

void HINTO_Click(Game& game) {
  if (game.program_ended) return;
  if (!hint_possible(game)) {
    play(game, game.snd_forbidden);
    message(game, "ヒントは対局中、あなたの番に出せます", hint_title);
    return;
  }
  clear_hint(game);
  if (engine_plays(game))
    ask_engine(game, OutsideEngine::Errand::hint);
  else
    show_builtin_hint(game);
}

void show_builtin_hint(Game& game) {
  const ComMove best =
      search_side_to_move(game.g, game.g.level, time_of_day_text(now(game)));
  if (!best.found) {
    message(game, "ヒント：指せる手がありません", hint_title);
    return;
  }
  show_hint(game, best);
}

void engine_hint(Game& game, const std::string& text) {
  GameState& g = game.g;
  if (bestmove_ends_game(text)) {
    message(game, "ヒント：指せる手がありません", hint_title);
    return;
  }
  Move m;
  std::string error;
  if (!read_move(g, text, g.turn == g.upper_side, m, error)) {
    // An answer the rules refuse: the built-in player gives the hint.
    show_builtin_hint(game);
    return;
  }
  show_hint(game, m);
}

void show_hint(Game& game, const Move& m) {
  const std::pair<int, int> from = origin_cell(m);
  game.hint_cells = {from, {m.to_col, m.to_row}};
  // A frame and a second one just inside it, to stand out from the
  // one-pixel frames of the picks and the guidance.
  for (const auto& [col, row] : game.hint_cells) {
    draw_frame(game, colour_hint, col, row);
    game.form->paint_frame(colour_hint, cell_x_twips(col) + 15, cell_y_twips(row) + 15,
                           cell_x_twips(col + 1) - 15, cell_y_twips(row + 1) - 15);
  }
  refresh(game);
  message(game, "ヒント：" + move_name(m), hint_title);
}

void clear_hint(Game& game) {
  if (game.hint_cells.empty()) return;
  for (const auto& [col, row] : game.hint_cells)
    if (on_board(col, row)) draw_square(game, game.g.board[col][row], col, row);
  draw_hand_lower(game);
  draw_hand_upper(game);
  game.hint_cells.clear();
}

}  // namespace nirvex

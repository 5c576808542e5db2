#include "ui/flow/last_move_mark.h"

#include <algorithm>

#include "ui/flow/painting.h"

namespace nirvex {

namespace {

// Repaints one cell as it stands: a board square, or the hand it lies in.
void repaint_cell(Game& game, int col, int row) {
  if (col == lower_hand_col)
    draw_hand_lower(game);
  else if (col == upper_hand_col)
    draw_hand_upper(game);
  else if (on_board(col, row))
    draw_square(game, game.g.board[col][row], col, row);
}

bool marked(const Game& game, int col, int row) {
  const auto& c = game.tinted_cells;
  return std::find(c.begin(), c.end(), std::pair(col, row)) != c.end();
}

}  // namespace

std::vector<std::pair<int, int>> move_cells(const Move& m) {
  std::pair<int, int> from{m.from_col, m.from_row};
  // The lower hand lists kind k in row k, the upper hand from the bottom.
  const int kind = hand_kind_of(m.piece_before);
  if (m.from_col == lower_hand_col) from = {lower_hand_col, kind};
  if (m.from_col == upper_hand_col) from = {upper_hand_col, 7 - kind};
  return {from, {m.to_col, m.to_row}};
}

void mark_last_move(Game& game, const std::vector<std::pair<int, int>>& cells) {
  const std::vector<std::pair<int, int>> before = game.tinted_cells;
  game.tinted_cells = cells;
  for (const auto& [col, row] : before) repaint_cell(game, col, row);
  for (const auto& [col, row] : cells)
    if (std::find(before.begin(), before.end(), std::pair(col, row)) == before.end())
      repaint_cell(game, col, row);
}

void mark_current_move(Game& game) {
  const GameState& g = game.g;
  if (g.record_pos < 1)
    mark_last_move(game, {});
  else
    mark_last_move(game, move_cells(g.move_records[g.record_pos]));
}

void turn_last_move_mark(Game& game) {
  for (auto& [col, row] : game.tinted_cells) {
    if (col == lower_hand_col) {
      col = upper_hand_col;
      row = 7 - row;
    } else if (col == upper_hand_col) {
      col = lower_hand_col;
      row = 7 - row;
    } else {
      col = 7 - col;
      row = 7 - row;
    }
  }
}

void tint_if_marked(Game& game, int col, int row) {
  if (!marked(game, col, row) || !checked(game, "SAISYUTE")) return;
  game.form->paint_tint(colour_last_move_tint, cell_x_twips(col), cell_y_twips(row),
                        cell_x_twips(col + 1), cell_y_twips(row + 1));
}

void repaint_last_move(Game& game) {
  for (const auto& [col, row] : game.tinted_cells) repaint_cell(game, col, row);
}

}  // namespace nirvex

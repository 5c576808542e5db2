// The last move marked on the board: its origin square (or the hand slot a
// dropped piece came from) and its destination carry a tint under the
// pieces and under every frame.  The mark follows the moves played, the
// steps through the record, a new game and the half turn.
#pragma once

#include <utility>
#include <vector>

#include "model/move.h"
#include "ui/flow/game.h"

namespace nirvex {

// The tint's palette colour: blue, which no frame uses.
constexpr int colour_last_move_tint = 9;

// The cells a move marks: where it came from (a board square, or the hand
// slot of the dropped piece's kind) and where it went.
std::vector<std::pair<int, int>> move_cells(const Move& m);

// Makes these cells the marked ones (none: no mark) and repaints every
// cell that gains or loses the tint.
void mark_last_move(Game& game, const std::vector<std::pair<int, int>>& cells);
// Marks the record entry the board stands after, or nothing at the start.
void mark_current_move(Game& game);
// The mark turned by half a turn with the board, the hands exchanged.
void turn_last_move_mark(Game& game);

// Paints the tint over a cell whose picture was just painted, when the
// cell is marked and "最終手強調" carries its check mark.
void tint_if_marked(Game& game, int col, int row);

// Repaints the marked cells, with the tint or without it as "最終手強調"
// now says.
void repaint_last_move(Game& game);

}  // namespace nirvex

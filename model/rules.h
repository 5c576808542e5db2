// Movement rules: whether a piece may go somewhere, the paths of the long
// pieces, the drop limits and promotion.  Movement only: a move that leaves
// the mover's own king attacked is allowed; a game is decided by taking a
// king or, against the computer, by the mate test.
#pragma once

#include "model/game_state.h"

namespace nirvex {

// flag_on when `piece` may go from (from_col, from_row) to (to_col, to_row).
// A drop has from_col 8 (lower hand) or -1 (upper hand).  Reads the pawn
// column tables as last computed by mark_pawn_columns.
int is_legal_move(const GameState& g, int from_col, int from_row, int to_col,
                  int to_row, PieceCode piece);

// flag_off when the piece would have no further move on to_row unpromoted
// and so must promote there.
int may_stay_unpromoted(int to_row, PieceCode piece);

// flag_on when this move may promote; then g.promoted_piece holds the
// promoted code.  Leaves g.promoted_piece alone otherwise.
int promotion_possible(GameState& g, int from_col, int from_row, int to_col,
                       int to_row, PieceCode piece);

// The rook's line: same row or same column, nothing strictly in between.
int straight_path_clear(const GameState& g, int from_col, int from_row,
                        int to_col, int to_row);

// The bishop's line: a diagonal with nothing strictly in between.
int diagonal_path_clear(const GameState& g, int from_col, int from_row,
                        int to_col, int to_row);

// Recomputes which columns hold an unpromoted pawn of either side.
void mark_pawn_columns(GameState& g);

}  // namespace nirvex

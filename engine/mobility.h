// How much room a piece has: the squares it may go to that the other side
// does not attack, and the major pieces crowding a square.  Used by both
// the move scoring and the safety walk.
#pragma once

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex {

// Squares the piece `code` on (x, y) may move to that the other side does
// not attack.
int count_safe_moves(const GameState& g, const Analysis& a, int x, int y, PieceCode code);

// Minus the number of neighbours of (x, y) holding an upper bishop, rook
// (promoted or not) or the upper king.
int major_crowding(const GameState& g, int x, int y);

}  // namespace nirvex

// The whole-board safety walk of the computer's candidate move: penalties
// for upper pieces that can be lost, for weak squares around and in front
// of the upper king and for squares where a lower drop would fork, and a
// bonus when the moved piece forks lower pieces itself.
#pragma once

#include "engine/analysis.h"
#include "engine/computer_state.h"
#include "model/game_state.h"

namespace nirvex {

// Safety of the upper side after `piece` has moved to (to_x, to_y); the
// square maps must describe that position.  Usually negative.
double assess_upper_safety(GameState& g, const Analysis& a, const ComputerState& c,
                           PieceCode piece, int to_x, int to_y);

// True when the first lower rook or promoted rook below (x, y) in its
// column, with no upper piece in between, could move onto (x, y) if that
// square were empty.  The square's piece is lifted for the test and put
// back.
bool lower_rook_below(GameState& g, int x, int y);

}  // namespace nirvex

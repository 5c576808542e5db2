// Stepping through the game record: one recorded move played again or
// taken back on the board and in the hands.
#pragma once

#include "model/game_state.h"

namespace nirvex {

// Plays entry e again: the mover leaves its square (or its hand) for the
// destination, and a captured piece goes into the captor's hand.  The hand
// totals follow the codes' signs, a captured king included, and the kings'
// squares follow the board.  Record cursor, clocks and turn are the
// caller's.
void redo_recorded_move(GameState& g, const MoveRecord& e);

// Takes entry e back: the mover returns to its square (unpromoted) or to
// its hand, and the captured piece to the destination.
void undo_recorded_move(GameState& g, const MoveRecord& e);

}  // namespace nirvex

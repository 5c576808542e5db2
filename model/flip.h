// Turning the position by half a turn: every piece changes side and the
// two hands change places.
#pragma once

#include "model/game_state.h"

namespace nirvex {

// Square (x, y) goes to (7 - x, 7 - y) with the owner swapped; the hands
// and their totals are exchanged.  Turn, record and clocks stay as they are.
void turn_position(GameState& g);

}  // namespace nirvex

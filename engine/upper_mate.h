// Checkmate test of the upper side's king, asked after a human move in a
// game against the computer.
#pragma once

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex {

// flag_on when the upper king is in check and nothing answers it: no
// blocking drop, no king move to an unattacked square, no capture or block
// by another upper piece.  The square maps must describe the board when it
// is called; trial moves rebuild them and are taken back, so the board and
// the maps describe the same position again when it returns.
int upper_side_mated(GameState& g, Analysis& a);

}  // namespace nirvex

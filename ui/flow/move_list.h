// The list of the game's moves beside the board, as the flow keeps it
// told: one row per record entry, and the position the board shows.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// Record entry `index` (1-based) as the list shows it: its move number,
// ▲ for the side that moved first (the odd moves) or △, the move and the
// time it took.
MoveListRow move_list_row(const GameState& g, int index);

// Tells the move list what changed in the record or in the position since
// it was last told, if anything did.
void tell_move_list(Game& game);

}  // namespace nirvex

// Stepping through the game record one move at a time ("進", "戻"), back
// to the initial position ("最初"), and turning the board by half a turn
// ("反転").  Stepping works on a loaded record and on a game being played
// alike; after a step back, the next move made on the board replaces the
// rest of the record.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// "進": plays the next move of the record again.
void AFTER_Click(Game& game);
// "戻": takes the last applied move of the record back.
void REPLAY_Click(Game& game);
// "最初": back to the initial position with nobody to move.  The record
// stays, so that a game started afterwards can step through it again.
void CANCEL_Click(Game& game);
// "反転": turns the position by half a turn; every piece changes side and
// the hands (with their totals) are exchanged.  The record no longer
// describes the position and is dropped.
void REVERSE_Click(Game& game);
// A row of the move list chosen: the board goes to the position after
// `moves` moves of the record by "戻" or "進", one step at a time, and
// stops at the first step refused.
void step_to_position(Game& game, int moves);

}  // namespace nirvex

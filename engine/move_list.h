// Every move and drop that the movement rules allow one side, and playing
// such a move onto the game the way the board input does.
#pragma once

#include <vector>

#include "model/game_state.h"

namespace nirvex {

// A move or drop the rules allow.  A drop has from_col 8 (lower hand) or
// -1 (upper hand) and from_row the hand kind 1..6.
using RuleMove = Move;

// Every move the rules allow the upper side (or the lower side): board
// moves by origin column, origin row, target column, target row, the
// unpromoted move before the promoted one; then drops by hand kind and
// target.  Reads the pawn column tables as last computed.
std::vector<RuleMove> list_rule_moves(GameState& g, bool upper);

// Appends the move to the game record, carries it out and counts it.
// Returns false and changes nothing when the record is full.
bool play_rule_move(GameState& g, const RuleMove& m);

}  // namespace nirvex

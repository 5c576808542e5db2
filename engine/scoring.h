// The score of one candidate move of the computer, from the position after
// the move, its square maps and the copies kept from before it.  The level
// decides how many groups of terms take part.
#pragma once

#include "engine/analysis.h"
#include "engine/computer_state.h"
#include "engine/mobility.h"
#include "model/game_state.h"

namespace nirvex {

// Special scores.
constexpr double score_takes_king = 9999;
constexpr double score_mates = 9998;
constexpr double score_loses = -9998;  // own king left attacked, or pawn-drop mate

// Score of the candidate now standing on the board: `piece` (after any
// promotion) went from (from_x, from_y) to (to_x, to_y) and took
// `captured`.  A drop has from_x -1 and from_y the hand kind.  The square
// maps must describe the position after the move.  The board is put back
// after every trial inside.
double score_move(GameState& g, Analysis& a, const ComputerState& c, PieceCode captured,
                  PieceCode piece, int from_x, int from_y, int to_x, int to_y);

// `piece` when the first bishop-drop danger square that a lower bishop on
// (x, y) could reach can be reached by a lower bishop on the board or from
// the lower hand; otherwise 0.
int bishop_fork_penalty(const GameState& g, const Analysis& a, int x, int y, PieceCode piece);

}  // namespace nirvex

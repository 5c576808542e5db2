// The square maps: for the pieces now on the board, how often each side
// attacks every square, the cheapest guard and threat of every occupied
// square and where it stands, and the squares that take part in a check.
// Rebuilt in full from the board; nothing updates them piecemeal.
#pragma once

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex {

// Recomputes every map from the board in one pass and records the squares
// where the two kings were met.  Guard and threat squares of the upper
// side and the king squares keep their old values where nothing writes.
void build_square_maps(GameState& g, Analysis& a);

// One straight line from (col, row); a negative code marks for the lower
// side, any other code for the upper side.  The code is what gets recorded.
void mark_slide_toward_row6(const GameState& g, Analysis& a, PieceCode code, int col, int row);
void mark_slide_toward_row1(const GameState& g, Analysis& a, PieceCode code, int col, int row);
void mark_slide_toward_col6(const GameState& g, Analysis& a, PieceCode code, int col, int row);
void mark_slide_toward_col1(const GameState& g, Analysis& a, PieceCode code, int col, int row);

// The four diagonals of a lower bishop or promoted bishop, recording -800.
void mark_lower_bishop_slides(const GameState& g, Analysis& a, int col, int row);
// The four diagonals of an upper bishop or promoted bishop.
void mark_upper_bishop_slides(const GameState& g, Analysis& a, PieceCode code, int col, int row);

// The gold's six steps of a lower gold or promoted minor piece.
void mark_lower_gold_steps(const GameState& g, Analysis& a, PieceCode code, int col, int row);
// The gold's six steps of an upper gold or promoted minor piece, recording +110.
void mark_upper_gold_steps(const GameState& g, Analysis& a, int col, int row);

}  // namespace nirvex

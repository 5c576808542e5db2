// Questions the computer player asks of a position before and during its
// search: the lower king's flight squares, whether the upper side gives
// check, whether the lower king is mated, which pieces are pinned, and
// where a lower bishop drop would hit the upper king.  All but
// mark_pinned_pieces read square maps built on the position they look at.
#pragma once

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex {

// Empty squares around the lower king that no upper piece attacks.
int count_king_flights(const GameState& g, const Analysis& a);

// flag_on when some upper piece may move onto the lower king's square.
int upper_gives_check(const GameState& g);

// flag_on when the lower king is checkmated.  Tries blocking drops and
// defending moves on the board and always puts the board back.
int lower_side_mated(GameState& g, Analysis& a);

// Fills lower_pinned and upper_pin_found: a piece is pinned when lifting it
// lets an enemy slider reach its king.  The board is put back.
void mark_pinned_pieces(GameState& g, Analysis& a);

// Fills bishop_drop_danger: empty squares, at most lightly defended, from
// which a lower bishop could reach the upper king.
void mark_bishop_drop_danger(const GameState& g, Analysis& a);

}  // namespace nirvex

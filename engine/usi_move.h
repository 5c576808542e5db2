// Squares and moves in USI notation on the 6x6 board: file = 7 - column,
// rank letter = 'a' + row - 1, so the upper king's starting square (6, 1)
// is "1a".  Moves read "6e6d", "2f6b+" with promotion, drops "P*3c" with
// an upper-case letter for either side.
#pragma once

#include <string>
#include <string_view>

#include "engine/move_list.h"
#include "model/game_state.h"

namespace nirvex {

// "6e" for (1, 5).
std::string square_text(int col, int row);

// Column and row of a two-character square such as "6e"; false if
// malformed.
bool read_square(std::string_view text, int& col, int& row);

// Hand kind 1..6 of an upper-case drop letter ("P" … "R"); 0 if none.
int drop_kind(char letter);

// The USI text of a move or drop.
std::string move_text(const RuleMove& m);

// Reads a move of the upper side (or the lower side) and checks it against
// the rules as the board input does: the piece must be the mover's, the
// destination allowed, the promotion possible when asked for and not
// required when left out.  Recomputes the pawn column tables first.  On
// success fills `m`; otherwise returns false with a reason in `error`.
bool read_move(GameState& g, std::string_view text, bool upper, RuleMove& m,
               std::string& error);

}  // namespace nirvex

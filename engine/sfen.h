// Positions as SFEN text: the six rows from row 1 to row 6, each from
// column 1 to column 6; lower-case letters are the upper side, upper-case
// the lower side, "+" marks a promoted piece; then the side to move ("b"
// lower, "w" upper), the hands ("-" or counts and letters such as "2Pn")
// and the number of the next move.
#pragma once

#include <string>
#include <string_view>

#include "model/game_state.h"

namespace nirvex {

// The initial position.
inline constexpr std::string_view start_sfen = "rbnsgk/5p/6/6/P5/KGSNBR b - 1";

// Sets up the board, hands, side to move, king squares and the record
// counters (move number N leaves N - 1 moves counted) from SFEN text.  On
// bad text returns false with a reason in `error` and leaves `g` as it was.
bool read_sfen(std::string_view text, GameState& g, std::string& error);

// The position of `g` as SFEN text; the move number is move_number + 1.
std::string write_sfen(const GameState& g);

// The SFEN letter of a piece code ("+r" for an upper promoted rook, "K"
// for the lower king); empty for an empty square or an unknown code.
std::string sfen_piece(PieceCode code);

}  // namespace nirvex

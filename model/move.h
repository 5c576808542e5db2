// One move or drop, the value every part of the game passes around: where
// the piece comes from and goes to, and what it is before and after the
// move (they differ when it promotes).
#pragma once

namespace nirvex {

// A piece on a square: 0 is empty, negative codes belong to the lower side
// (bottom of the screen, moving toward row 1), positive codes to the upper
// side.  Promotion adds one to the magnitude.  The magnitudes double as the
// pieces' worth for the computer player.
using PieceCode = int;

// Hand pseudo-columns: drops come from column 8 (lower hand) or -1 (upper).
constexpr int lower_hand_col = 8;
constexpr int upper_hand_col = -1;

// A drop has from_col 8 (lower hand) or -1 (upper hand); from_row is then
// the hand kind 1..6, or in the game record the hand slot's screen row.
struct Move {
  int from_col = 0;
  int from_row = 0;
  int to_col = 0;
  int to_row = 0;
  PieceCode piece_before = 0;  // the mover as it stood (or left the hand)
  PieceCode piece_after = 0;   // what stands on the destination afterwards

  // True for a drop from either hand.
  bool is_drop() const { return from_col == lower_hand_col || from_col == upper_hand_col; }
  // True when the mover promotes on the way.
  bool promotes() const { return piece_after != piece_before; }
  bool operator==(const Move&) const = default;
};

}  // namespace nirvex

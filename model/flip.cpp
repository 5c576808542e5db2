#include "model/flip.h"

#include <utility>

namespace nirvex {

void turn_position(GameState& g) {
  const BoardArray scratch = g.board;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      const PieceCode c = scratch[x][y];
      g.board[7 - x][7 - y] = is_upper_piece(c) || is_lower_piece(c) ? -c : c;
    }
  for (int k = 1; k <= 6; ++k) std::swap(g.lower_hand[k], g.upper_hand[k]);
  std::swap(g.lower_hand_total, g.upper_hand_total);
}

}  // namespace nirvex

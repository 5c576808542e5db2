#include "engine/mobility.h"

#include "model/rules.h"

namespace nirvex {

int count_safe_moves(const GameState& g, const Analysis& a, int x, int y, PieceCode code) {
  const SquareMap& enemy = code >= code_pawn ? a.lower_attacks : a.upper_attacks;
  int count = 0;
  for (int tx = 1; tx <= 6; ++tx)
    for (int ty = 1; ty <= 6; ++ty)
      if (is_legal_move(g, x, y, tx, ty, code) == flag_on && enemy[tx][ty] == 0) ++count;
  return count;
}

int major_crowding(const GameState& g, int x, int y) {
  int crowd = 0;
  for (int nx = x - 1; nx <= x + 1; ++nx)
    for (int ny = y - 1; ny <= y + 1; ++ny)
      if ((nx != x || ny != y) && on_board(nx, ny) && g.board[nx][ny] >= code_bishop) ++crowd;
  return -crowd;
}

}  // namespace nirvex

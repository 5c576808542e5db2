#include "engine/upper_mate.h"

#include <cstdlib>

#include "engine/square_maps.h"
#include "model/rules.h"

namespace nirvex {

namespace {

// Does some lower checker, on a square marked check_piece, still reach the
// upper king at (kc, kr)?
bool some_checker_reaches(const GameState& g, const Analysis& a, int kc, int kr) {
  for (int t = 1; t <= 6; ++t)
    for (int u = 1; u <= 6; ++u)
      if (a.lower_check_map[t][u] == check_piece &&
          is_legal_move(g, t, u, kc, kr, g.board[t][u]) == flag_on)
        return true;
  return false;
}

// Drop defence: can a piece from the upper hand, put between a checking
// slider and the king, answer every check?  A pawn stands in for the
// dropped piece; when the hand holds only pawns the pawn drop must be
// allowed there, asked while the square is still empty.
bool drop_blocks_every_check(GameState& g, const Analysis& a, int kc, int kr) {
  const bool only_pawns = g.upper_hand_total == g.upper_hand[1];
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const int mark = a.lower_check_map[c][r];
      if (mark == check_piece && std::abs(c - kc) <= 1 && std::abs(r - kr) <= 1)
        return false;
      if (mark != check_between) continue;
      const bool may_drop =
          !only_pawns || is_legal_move(g, upper_hand_col, 0, c, r, code_pawn) == flag_on;
      const PieceCode kept = g.board[c][r];
      if (may_drop) g.board[c][r] = code_pawn;
      const bool still_checked = some_checker_reaches(g, a, kc, kr);
      g.board[c][r] = kept;
      if (still_checked) return false;
    }
  }
  return true;
}

// Can the upper king step to a square no lower piece attacks?
bool king_can_flee(const GameState& g, const Analysis& a, int kc, int kr) {
  for (int c = kc - 1; c <= kc + 1; ++c)
    for (int r = kr - 1; r <= kr + 1; ++r)
      if (on_board(c, r) && is_legal_move(g, kc, kr, c, r, code_king) == flag_on &&
          a.lower_attacks[c][r] == 0)
        return true;
  return false;
}

// Can another upper piece move onto a check square (taking the checker or
// standing in the line) so that the king is no longer attacked?  Every try
// is played on the board with fresh maps and taken back, and the maps are
// rebuilt for the position under test before the scan goes on.
bool piece_answers_check(GameState& g, Analysis& a) {
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (code < code_pawn || code > code_rook_promoted) continue;
      for (int t = 1; t <= 6; ++t) {
        for (int u = 1; u <= 6; ++u) {
          if (a.lower_check_map[t][u] <= 0) continue;
          if (is_legal_move(g, c, r, t, u, code) != flag_on) continue;
          const PieceCode kept = g.board[t][u];
          g.board[t][u] = code;
          g.board[c][r] = empty_code;
          build_square_maps(g, a);
          const bool answered = a.lower_attacks[g.upper_king_x][g.upper_king_y] == 0;
          g.board[c][r] = code;
          g.board[t][u] = kept;
          build_square_maps(g, a);
          if (answered) return true;
        }
      }
    }
  }
  return false;
}

}  // namespace

// Check first; then drops, king moves and other pieces as defences.
int upper_side_mated(GameState& g, Analysis& a) {
  const int kc = g.upper_king_x, kr = g.upper_king_y;
  if (a.lower_attacks[kc][kr] == 0) return flag_off;
  if (g.upper_hand_total > 0 && drop_blocks_every_check(g, a, kc, kr)) return flag_off;
  if (king_can_flee(g, a, kc, kr)) return flag_off;
  if (piece_answers_check(g, a)) return flag_off;
  return flag_on;
}

}  // namespace nirvex

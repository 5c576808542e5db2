#include "engine/position_tests.h"

#include <cstdlib>

#include "model/rules.h"

namespace nirvex {

namespace {

// Bishops and rooks, promoted or not, of either side.
bool is_long_range(PieceCode code) {
  const int m = std::abs(code);
  return m == code_bishop || m == code_bishop_promoted || m == code_rook ||
         m == code_rook_promoted;
}

// Could a slider of the side given by `upper_slider` now reach (kc, kr)?
bool slider_reaches(const GameState& g, bool upper_slider, int kc, int kr) {
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (!is_long_range(code) || (code > 0) != upper_slider) continue;
      if (is_legal_move(g, c, r, kc, kr, code) == flag_on) return true;
    }
  }
  return false;
}

// Does some upper checker, on a square marked check_piece, still reach the
// lower king?
bool some_checker_reaches_lower_king(const GameState& g, const Analysis& a) {
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r)
      if (a.upper_check_map[c][r] == check_piece &&
          is_legal_move(g, c, r, g.lower_king_x, g.lower_king_y, g.board[c][r]) == flag_on)
        return true;
  return false;
}

// Drop defence: can a piece from the lower hand, put on a square between a
// checking slider and the king, answer every check?  A pawn stands in for
// the dropped piece; when the hand holds only pawns the drop must be
// allowed on that square.  False as soon as a checker stands next to the
// king or a blocked line leaves a check standing.
bool drop_blocks_every_check(GameState& g, const Analysis& a) {
  const int kc = g.lower_king_x, kr = g.lower_king_y;
  const bool only_pawns = g.lower_hand_total == g.lower_hand[1];
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const int mark = a.upper_check_map[c][r];
      if (mark == check_piece && std::abs(c - kc) <= 1 && std::abs(r - kr) <= 1)
        return false;
      if (mark != check_between) continue;
      // Asked while the square is still empty: once the pawn stands there
      // the drop would always be refused.
      const bool may_drop =
          !only_pawns || is_legal_move(g, lower_hand_col, 0, c, r, -code_pawn) == flag_on;
      const PieceCode kept = g.board[c][r];
      if (may_drop) g.board[c][r] = -code_pawn;
      const bool still_checked = some_checker_reaches_lower_king(g, a);
      g.board[c][r] = kept;
      if (still_checked) return false;
    }
  }
  return true;
}

// Can the lower king step to a square it may move to that no upper piece
// attacks?
bool lower_king_can_flee(const GameState& g, const Analysis& a) {
  const int kc = g.lower_king_x, kr = g.lower_king_y;
  for (int c = kc - 1; c <= kc + 1; ++c)
    for (int r = kr - 1; r <= kr + 1; ++r)
      if (on_board(c, r) && is_legal_move(g, kc, kr, c, r, -code_king) == flag_on &&
          a.upper_attacks[c][r] == 0)
        return true;
  return false;
}

// Can a lower piece other than the king move onto a check square so that
// no upper piece gives check any more?  Each try is taken back at once.
bool lower_piece_answers_check(GameState& g, const Analysis& a) {
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (code > -code_pawn || code < -code_rook_promoted) continue;
      for (int t = 1; t <= 6; ++t) {
        for (int u = 1; u <= 6; ++u) {
          if (t == c && u == r) continue;
          if (a.upper_check_map[t][u] <= 0) continue;
          if (is_legal_move(g, c, r, t, u, code) != flag_on) continue;
          const PieceCode kept = g.board[t][u];
          g.board[t][u] = code;
          g.board[c][r] = empty_code;
          const int check = upper_gives_check(g);
          g.board[c][r] = code;
          g.board[t][u] = kept;
          if (check == flag_off) return true;
        }
      }
    }
  }
  return false;
}

}  // namespace

// Counts the free, unattacked squares around the lower king.
int count_king_flights(const GameState& g, const Analysis& a) {
  const int kc = g.lower_king_x, kr = g.lower_king_y;
  const int around[8][2] = {{kc, kr - 1}, {kc - 1, kr - 1}, {kc + 1, kr - 1},
                            {kc, kr + 1}, {kc - 1, kr + 1}, {kc + 1, kr + 1},
                            {kc - 1, kr}, {kc + 1, kr}};
  int flights = 0;
  for (const auto& sq : around) {
    const int c = sq[0], r = sq[1];
    if (on_board(c, r) && g.board[c][r] == empty_code && a.upper_attacks[c][r] == 0)
      ++flights;
  }
  return flights;
}

// Looks for the first upper piece that may move onto the lower king.
int upper_gives_check(const GameState& g) {
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (is_upper_piece(code) &&
          is_legal_move(g, c, r, g.lower_king_x, g.lower_king_y, code) == flag_on)
        return flag_on;
    }
  return flag_off;
}

// Check first; then drops, king moves and other pieces as defences.
int lower_side_mated(GameState& g, Analysis& a) {
  if (a.upper_attacks[g.lower_king_x][g.lower_king_y] == 0) return flag_off;
  if (g.lower_hand_total > 0 && drop_blocks_every_check(g, a)) return flag_off;
  if (lower_king_can_flee(g, a)) return flag_off;
  if (lower_piece_answers_check(g, a)) return flag_off;
  return flag_on;
}

// Lifts each piece in turn and asks the enemy sliders about its king.
void mark_pinned_pieces(GameState& g, Analysis& a) {
  a.upper_pin_found = false;
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      a.lower_pinned[c][r] = 0;
      const PieceCode code = g.board[c][r];
      if (code == empty_code) continue;
      g.board[c][r] = empty_code;
      if (is_lower_piece(code)) {
        if (slider_reaches(g, true, g.lower_king_x, g.lower_king_y)) a.lower_pinned[c][r] = 1;
      } else if (is_upper_piece(code)) {
        if (slider_reaches(g, false, g.upper_king_x, g.upper_king_y)) a.upper_pin_found = true;
      }
      g.board[c][r] = code;
    }
  }
}

// Marks the weakly held empty squares on the upper king's diagonals.
void mark_bishop_drop_danger(const GameState& g, Analysis& a) {
  const int kc = g.upper_king_x, kr = g.upper_king_y;
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      a.bishop_drop_danger[c][r] = 0;
      if (g.board[c][r] != empty_code) continue;
      const int defenders = a.upper_attacks[c][r];
      const bool near_king = std::abs(c - kc) <= 1 && std::abs(r - kr) <= 1;
      if ((defenders == 0 || (defenders == 1 && near_king)) &&
          is_legal_move(g, c, r, kc, kr, -code_bishop) == flag_on)
        a.bishop_drop_danger[c][r] = 1;
    }
  }
}

}  // namespace nirvex

#include "engine/square_maps.h"

namespace nirvex {

namespace {

// How a lower mover marks the check map when it reaches the upper king.
enum class LowerCheck { none, step, knight };

// What the upper side's rule lets one mover write besides the attack count.
enum UpperGrant : unsigned {
  grant_guard = 1u << 0,
  grant_guard_square = 1u << 1,
  grant_threat = 1u << 2,
  grant_threat_square = 1u << 3,
  grant_check = 1u << 4,
  grant_check_target = 1u << 5,  // a knight also marks the king it hits
};

constexpr unsigned grants_slide =
    grant_guard | grant_guard_square | grant_threat | grant_threat_square;
constexpr unsigned grants_pawn = grant_guard | grant_threat | grant_check;
constexpr unsigned grants_knight =
    grant_guard | grant_guard_square | grant_check | grant_check_target;
constexpr unsigned grants_silver = grant_guard | grant_guard_square | grant_check;
constexpr unsigned grants_gold = grant_guard | grant_check;
constexpr unsigned grants_horse_step = grant_check;
constexpr unsigned grants_dragon_step = grants_slide | grant_check;
constexpr unsigned grants_king = grant_guard;

struct Step {
  int dc, dr;
};

constexpr Step diagonal_steps[4] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
constexpr Step orthogonal_steps[4] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr Step king_steps[8] = {{0, -1}, {-1, -1}, {1, -1}, {0, 1},
                                {-1, 1}, {1, 1},   {-1, 0}, {1, 0}};

// The lower side's rule for one attacked square t, seen from s.
void mark_lower(const GameState& g, Analysis& a, PieceCode k, int sc, int sr,
                int tc, int tr, LowerCheck check) {
  a.lower_attacks[tc][tr] += 1;
  const PieceCode on_t = g.board[tc][tr];
  if (on_t < 0) {
    if (a.lower_guard[tc][tr] > k) a.lower_guard[tc][tr] = k;
  } else if (on_t > 0) {
    if (a.lower_threat[tc][tr] < k) {
      a.lower_threat[tc][tr] = k;
      a.lower_threat_x[tc][tr] = sc;
      a.lower_threat_y[tc][tr] = sr;
    }
    if (check != LowerCheck::none && on_t == code_king) {
      a.lower_check_map[sc][sr] = check_piece;
      if (check == LowerCheck::knight) a.lower_check_map[tc][tr] = check_piece;
    }
  }
}

// The upper side's rule for one attacked square t, seen from s, limited to
// what the mover's grants allow.
void mark_upper(const GameState& g, Analysis& a, PieceCode k, int sc, int sr,
                int tc, int tr, unsigned grants) {
  a.upper_attacks[tc][tr] += 1;
  const PieceCode on_t = g.board[tc][tr];
  if (is_upper_piece(on_t)) {
    if ((grants & grant_guard) && a.upper_guard[tc][tr] > k) {
      a.upper_guard[tc][tr] = k;
      if (grants & grant_guard_square) {
        a.upper_guard_x[tc][tr] = sc;
        a.upper_guard_y[tc][tr] = sr;
      }
    }
  } else if (is_lower_piece(on_t)) {
    if ((grants & grant_threat) && a.upper_threat[tc][tr] > k) {
      a.upper_threat[tc][tr] = k;
      if (grants & grant_threat_square) {
        a.upper_threat_x[tc][tr] = sc;
        a.upper_threat_y[tc][tr] = sr;
      }
    }
  }
  if ((grants & grant_check) && on_t == -code_king) {
    a.upper_check_map[sc][sr] = check_piece;
    if (grants & grant_check_target) a.upper_check_map[tc][tr] = check_piece;
  }
}

// One step of a lower piece, skipped when it leaves the board.
void step_lower(const GameState& g, Analysis& a, PieceCode k, int col, int row,
                Step s, LowerCheck check) {
  const int tc = col + s.dc, tr = row + s.dr;
  if (on_board(tc, tr)) mark_lower(g, a, k, col, row, tc, tr, check);
}

// One step of an upper piece, skipped when it leaves the board.
void step_upper(const GameState& g, Analysis& a, PieceCode k, int col, int row,
                Step s, unsigned grants) {
  const int tc = col + s.dc, tr = row + s.dr;
  if (on_board(tc, tr)) mark_upper(g, a, k, col, row, tc, tr, grants);
}

// One line of a long-range piece: marks every square up to the first
// piece, passing through the opposing king, and draws the check line when
// it meets that king.
void mark_slide(const GameState& g, Analysis& a, PieceCode code, int col,
                int row, Step s) {
  const bool lower = code < 0;
  const PieceCode opposing_king = lower ? code_king : -code_king;
  SquareMap& check = lower ? a.lower_check_map : a.upper_check_map;
  for (int x = col + s.dc, y = row + s.dr; on_board(x, y); x += s.dc, y += s.dr) {
    if (lower)
      mark_lower(g, a, code, col, row, x, y, LowerCheck::none);
    else
      mark_upper(g, a, code, col, row, x, y, grants_slide);
    const PieceCode here = g.board[x][y];
    if (here == opposing_king) {
      for (int bx = col + s.dc, by = row + s.dr; bx != x || by != y;
           bx += s.dc, by += s.dr)
        check[bx][by] = check_between;
      check[col][row] = check_piece;
    } else if (here != empty_code) {
      return;
    }
  }
}

// The four lines of a rook or promoted rook, in the order the maps expect.
void mark_rook_lines(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  mark_slide_toward_row6(g, a, code, col, row);
  mark_slide_toward_row1(g, a, code, col, row);
  mark_slide_toward_col6(g, a, code, col, row);
  mark_slide_toward_col1(g, a, code, col, row);
}

// Everything a lower piece on (col, row) attacks.
void mark_lower_piece(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  switch (code) {
    case -code_pawn:
      step_lower(g, a, code, col, row, {0, -1}, LowerCheck::step);
      break;
    case -code_knight:
      if (row >= 3) {
        step_lower(g, a, code, col, row, {-1, -2}, LowerCheck::knight);
        step_lower(g, a, code, col, row, {1, -2}, LowerCheck::knight);
      }
      break;
    case -code_silver:
      for (Step s : {Step{0, -1}, Step{-1, -1}, Step{1, -1}, Step{-1, 1}, Step{1, 1}})
        step_lower(g, a, code, col, row, s, LowerCheck::step);
      break;
    case -code_pawn_promoted: case -code_knight_promoted:
    case -code_silver_promoted: case -code_gold:
      mark_lower_gold_steps(g, a, code, col, row);
      break;
    case -code_bishop:
      mark_lower_bishop_slides(g, a, col, row);
      break;
    case -code_bishop_promoted:
      for (Step s : orthogonal_steps) step_lower(g, a, code, col, row, s, LowerCheck::step);
      mark_lower_bishop_slides(g, a, col, row);
      break;
    case -code_rook:
      mark_rook_lines(g, a, code, col, row);
      break;
    case -code_rook_promoted:
      mark_rook_lines(g, a, code, col, row);
      for (Step s : diagonal_steps) step_lower(g, a, code, col, row, s, LowerCheck::step);
      break;
    case -code_king:
      for (Step s : king_steps) step_lower(g, a, code, col, row, s, LowerCheck::none);
      break;
    default:
      break;  // the reserved code attacks nothing
  }
}

// Everything an upper piece on (col, row) attacks.
void mark_upper_piece(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  switch (code) {
    case code_pawn:
      step_upper(g, a, code, col, row, {0, 1}, grants_pawn);
      break;
    case code_knight:
      if (row <= 4) {
        step_upper(g, a, code, col, row, {-1, 2}, grants_knight);
        step_upper(g, a, code, col, row, {1, 2}, grants_knight);
      }
      break;
    case code_silver:
      for (Step s : {Step{0, 1}, Step{-1, 1}, Step{1, 1}, Step{-1, -1}, Step{1, -1}})
        step_upper(g, a, code, col, row, s, grants_silver);
      break;
    case code_pawn_promoted: case code_knight_promoted:
    case code_silver_promoted: case code_gold:
      mark_upper_gold_steps(g, a, col, row);
      break;
    case code_bishop:
      mark_upper_bishop_slides(g, a, code, col, row);
      break;
    case code_bishop_promoted:
      for (Step s : orthogonal_steps) step_upper(g, a, code, col, row, s, grants_horse_step);
      mark_upper_bishop_slides(g, a, code, col, row);
      break;
    case code_rook:
      mark_rook_lines(g, a, code, col, row);
      break;
    case code_rook_promoted:
      mark_rook_lines(g, a, code, col, row);
      for (Step s : diagonal_steps) step_upper(g, a, code, col, row, s, grants_dragon_step);
      break;
    case code_king:
      for (Step s : king_steps) step_upper(g, a, code, col, row, s, grants_king);
      break;
    default:
      break;  // the reserved code attacks nothing
  }
}

// Puts every map that a build starts afresh back to its start value.
void reset_maps(Analysis& a) {
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      a.lower_attacks[c][r] = 0;
      a.upper_attacks[c][r] = 0;
      a.lower_threat_x[c][r] = 0;
      a.lower_threat_y[c][r] = 0;
      a.lower_check_map[c][r] = 0;
      a.upper_check_map[c][r] = 0;
      a.lower_threat[c][r] = no_lower_threat;
      a.lower_guard[c][r] = no_guard;
      a.upper_guard[c][r] = no_guard;
      a.upper_threat[c][r] = no_upper_threat;
    }
  }
}

}  // namespace

// The line toward row 6.
void mark_slide_toward_row6(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  mark_slide(g, a, code, col, row, {0, 1});
}

// The line toward row 1.
void mark_slide_toward_row1(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  mark_slide(g, a, code, col, row, {0, -1});
}

// The line toward column 6.
void mark_slide_toward_col6(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  mark_slide(g, a, code, col, row, {1, 0});
}

// The line toward column 1.
void mark_slide_toward_col1(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  mark_slide(g, a, code, col, row, {-1, 0});
}

// A lower bishop's diagonals, always recorded as a bishop.
void mark_lower_bishop_slides(const GameState& g, Analysis& a, int col, int row) {
  for (Step s : diagonal_steps) mark_slide(g, a, -code_bishop, col, row, s);
}

// An upper bishop's diagonals, recorded with its own code.
void mark_upper_bishop_slides(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  for (Step s : diagonal_steps) mark_slide(g, a, code, col, row, s);
}

// A lower gold's steps, recorded with the mover's own code.
void mark_lower_gold_steps(const GameState& g, Analysis& a, PieceCode code, int col, int row) {
  for (Step s : {Step{0, -1}, Step{-1, -1}, Step{1, -1}, Step{0, 1}, Step{-1, 0}, Step{1, 0}})
    step_lower(g, a, code, col, row, s, LowerCheck::step);
}

// An upper gold's steps, recorded as a gold whatever the mover.
void mark_upper_gold_steps(const GameState& g, Analysis& a, int col, int row) {
  for (Step s : {Step{0, -1}, Step{0, 1}, Step{-1, 1}, Step{1, 1}, Step{-1, 0}, Step{1, 0}})
    step_upper(g, a, code_gold, col, row, s, grants_gold);
}

// Resets the maps, then lets every piece mark what it attacks.
void build_square_maps(GameState& g, Analysis& a) {
  reset_maps(a);
  for (int c = 1; c <= 6; ++c) {
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (code == empty_code) continue;
      if (code == -code_king) {
        g.lower_king_x = c;
        g.lower_king_y = r;
      } else if (code == code_king) {
        g.upper_king_x = c;
        g.upper_king_y = r;
      }
      if (code < 0)
        mark_lower_piece(g, a, code, c, r);
      else
        mark_upper_piece(g, a, code, c, r);
    }
  }
}

}  // namespace nirvex

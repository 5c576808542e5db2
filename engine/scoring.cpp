#include "engine/scoring.h"

#include <cstdlib>

#include "engine/position_tests.h"
#include "engine/safety.h"
#include "engine/tenths.h"
#include "model/rules.h"

namespace nirvex {

namespace {

bool is_drop(int from_x) { return from_x == upper_hand_col || from_x == lower_hand_col; }

// Is (x, y) within two columns and two rows of the lower king?
bool near_lower_king(const GameState& g, int x, int y) {
  return std::abs(x - g.lower_king_x) <= 2 && std::abs(y - g.lower_king_y) <= 2;
}

// Does the upper side now attack the lower king?
bool gives_check(const GameState& g, const Analysis& a) {
  return a.upper_attacks[g.lower_king_x][g.lower_king_y] > 0;
}

// Terms of a checking move: attacks only the king can answer, a
// promoted rook's protected diagonal contact, an unattacked checker.
void check_terms(const GameState& g, const Analysis& a, int to_x, int to_y, Tenths& s) {
  const int kx = g.lower_king_x, ky = g.lower_king_y;
  if (a.lower_threat[to_x][to_y] == -code_king && a.upper_attacks[to_x][to_y] > 0) s += 100;
  if (std::abs(to_x - kx) == 1 && std::abs(to_y - ky) == 1 && a.lower_attacks[to_x][to_y] <= 2 &&
      a.upper_guard[to_x][to_y] == code_rook_promoted &&
      (a.upper_guard_x[to_x][to_y] == kx || a.upper_guard_y[to_x][to_y] == ky))
    s += 900;
  if (a.lower_attacks[to_x][to_y] == 0) s += 10;
}

// Moving toward the lower king: the origin lay farther away along the
// longer of the two distances.
void approach_term(const GameState& g, const ComputerState& c, int to_x, int to_y, Tenths& s) {
  const int dx = std::abs(g.lower_king_x - to_x);
  const int dy = std::abs(g.lower_king_y - to_y);
  if (dx > dy) {
    if (c.origin_king_distance > dx) s += 1;
  } else if (c.origin_king_distance > dy) {
    s += 0.1;
  }
}

// The cheapest attacker of the moved piece is pinned to its king and
// cannot take without leaving the line: the moved piece may win it.
void pinned_attacker_term(const GameState& g, const Analysis& a, const ComputerState& c,
                          bool drop, int to_x, int to_y, Tenths& s) {
  const int ax = a.lower_threat_x[to_x][to_y], ay = a.lower_threat_y[to_x][to_y];
  if (!on_board(ax, ay) || a.lower_attacks[ax][ay] <= 0) return;
  const int kx = g.lower_king_x, ky = g.lower_king_y;
  const int attackers = a.lower_attacks[to_x][to_y];
  if (!(attackers == 1 ||
        (attackers == 2 && gives_check(g, a) && a.upper_attacks[to_x][to_y] > 0)))
    return;
  if (a.lower_pinned[ax][ay] != 1) return;
  const bool held_on_line = (ax == kx && to_x != kx) || (ay == ky && to_y != ky) ||
                            ((to_x == kx || to_y == ky) && ax != kx && ay != ky);
  if (!held_on_line) return;
  if (is_legal_move(g, to_x, to_y, ax, ay, c.moving_piece) != flag_on) return;
  if (drop) {
    s += std::abs(g.board[ax][ay]);
    return;
  }
  const int px = c.root_upper_threat_x[ax][ay], py = c.root_upper_threat_y[ax][ay];
  if (on_board(px, py) && g.board[px][py] != empty_code) s += std::abs(g.board[ax][ay]);
}

// The moved piece stands where no lower piece attacks it: bishop-drop
// forks it may open, and flight squares it takes from the lower king.
void safe_square_terms(const GameState& g, const Analysis& a, const ComputerState& c,
                       PieceCode piece, int to_x, int to_y, Tenths& s) {
  if (piece != code_bishop && piece != code_bishop_promoted && piece != code_king &&
      piece != code_pawn)
    s -= bishop_fork_penalty(g, a, to_x, to_y, piece);
  if (near_lower_king(g, to_x, to_y) || piece == code_bishop || piece == code_bishop_promoted ||
      piece == code_rook || piece == code_rook_promoted) {
    const int flights = count_king_flights(g, a);
    if (flights < c.root_flight_count) s += c.root_flight_count - flights;
  }
}

// Is a lower rook or promoted rook on (x, y)?
bool lower_rook_on(const GameState& g, int x, int y) {
  return g.board[x][y] == -code_rook || g.board[x][y] == -code_rook_promoted;
}

// The moved piece stands attacked: exchanges when it is defended, the
// loss of an undefended dropped piece.
void attacked_square_terms(const GameState& g, const Analysis& a, PieceCode piece, bool drop,
                           int to_x, int to_y, Tenths& s) {
  if (a.upper_attacks[to_x][to_y] <= 0) {
    if (drop) s -= piece + 50;
    return;
  }
  if ((g.lower_hand[4] > 0 || g.lower_hand[5] > 0) && to_x > 1 && to_x < 6) {
    const bool shields_king =
        (g.board[to_x + 1][to_y] == code_king && lower_rook_on(g, to_x - 1, to_y)) ||
        (g.board[to_x - 1][to_y] == code_king && lower_rook_on(g, to_x + 1, to_y));
    if (shields_king) s -= piece;
  }
  const int threat = a.lower_threat[to_x][to_y];
  if (piece > std::abs(threat)) {
    s -= piece;
    s += std::abs(threat);
  }
  if (threat == -code_king && to_y < g.lower_king_y && gives_check(g, a)) s += piece;
}

// What the capture wins, depending on who attacks and defends the target.
void capture_terms(const GameState& g, const Analysis& a, const ComputerState& c,
                   PieceCode captured, PieceCode piece, int from_x, int from_y, int to_x,
                   int to_y, Tenths& s) {
  const int la = a.lower_attacks[to_x][to_y];
  const int ua = a.upper_attacks[to_x][to_y];
  if (la > 0 && ua > 0) {
    if (piece < std::abs(a.lower_threat[to_x][to_y])) s += std::abs(captured);
  } else if (la > 0) {
    if (c.root_lower_attacks[from_x][from_y] > 0 &&
        count_safe_moves(g, a, from_x, from_y, piece) == 0)
      s += std::abs(captured);
  } else {
    s += std::abs(captured);
    if (captured == -code_pawn_promoted || captured == -code_knight_promoted) s += 50;
  }
}

// The terms from level 2 on: approach, pinned attackers, safety of the
// moved piece, and the capture.
void middle_terms(GameState& g, const Analysis& a, const ComputerState& c, PieceCode captured,
                  PieceCode piece, int from_x, int from_y, int to_x, int to_y, Tenths& s) {
  const bool drop = is_drop(from_x);
  approach_term(g, c, to_x, to_y, s);
  pinned_attacker_term(g, a, c, drop, to_x, to_y, s);
  if (a.lower_attacks[to_x][to_y] == 0)
    safe_square_terms(g, a, c, piece, to_x, to_y, s);
  else
    attacked_square_terms(g, a, piece, drop, to_x, to_y, s);
  if (captured != empty_code)
    capture_terms(g, a, c, captured, piece, from_x, from_y, to_x, to_y, s);
}

// The code on (x, y), or empty off the board.
PieceCode at(const GameState& g, int x, int y) {
  return on_board(x, y) ? g.board[x][y] : empty_code;
}

// The computer's first move of a game: one of four openings, picked by the
// last digit of the time of day.
void opening_term(const GameState& g, const ComputerState& c, PieceCode piece, int to_x,
                  int to_y, Tenths& s) {
  if (g.record_pos != 0 || c.time_of_day.empty()) return;
  const char d = c.time_of_day.back();
  const bool chosen = (piece == code_silver && to_x == 5 && to_y == 2 && (d == '0' || d == '1')) ||
                      (piece == code_gold && to_x == 5 && to_y == 2 && (d == '2' || d == '3')) ||
                      (piece == code_bishop && to_x == 4 && to_y == 3 && (d == '4' || d == '5')) ||
                      (piece == code_rook && to_x == 1 && to_y == 3 && (d == '6' || d == '7'));
  if (chosen) s += 100;
}

// A pawn board move to row 4 or nearer home: rook behind it, a knight to
// fork ahead, a defended pawn in front, bishops beside it.
void pawn_home_terms(const GameState& g, const Analysis& a, int to_x, int to_y, Tenths& s) {
  if (a.upper_guard[to_x][to_y] == code_rook && a.upper_guard_x[to_x][to_y] == to_x &&
      a.upper_guard_y[to_x][to_y] < to_y &&
      a.upper_attacks[to_x][to_y] >= a.lower_attacks[to_x][to_y])
    s += 2;
  if (a.lower_attacks[to_x][to_y + 1] == 0 && at(g, to_x, to_y + 2) <= -code_knight) s += 1;
  if (g.board[to_x][to_y + 1] == -code_pawn && a.lower_attacks[to_x][to_y + 1] > 0) s -= 5;
  for (int bx : {to_x + 1, to_x - 1}) {
    if (at(g, bx, to_y) != code_bishop) continue;
    s += 0.5;
    if (at(g, bx, to_y + 2) == -code_pawn) s += 5;
  }
}

// A pawn board move that ends with a lower piece directly in front: how
// the pawn stands against the piece it now faces.
void pawn_facing_terms(const Analysis& a, const ComputerState& c, PieceCode front, int to_x,
                       int to_y, Tenths& s) {
  const int la = a.lower_attacks[to_x][to_y];
  const int ua = a.upper_attacks[to_x][to_y];
  if (ua > la) {
    s += 1;
  } else if (front == -code_pawn) {
    s -= 5;
  } else if (ua > 0) {
    if (c.root_upper_attacks[to_x][to_y + 1] > 0 && c.root_lower_attacks[to_x][to_y + 1] == 0)
      s -= 1;
    else if (ua >= la)
      s += 5;
  } else if (la == 0) {
    s += 1;
  }
}

// The pawn's terms.
void pawn_terms(GameState& g, const Analysis& a, const ComputerState& c, PieceCode captured,
                int from_x, int from_y, int to_x, int to_y, Tenths& s) {
  const bool drop = is_drop(from_x);
  const PieceCode front = at(g, to_x, to_y + 1);
  const bool defended = a.upper_attacks[to_x][to_y] > 0;
  if (front == code_gold)
    s += 0.5;
  else if (front == code_rook)
    s -= 1;
  if (front < -code_pawn && count_safe_moves(g, a, to_x, to_y + 1, front) == 0)
    s += std::abs(front);
  if (defended && to_x > 1 && to_x < 6 &&
      (g.board[to_x - 1][to_y] == code_rook || g.board[to_x + 1][to_y] == code_rook))
    s -= 1;
  if (drop && defended && to_y != 1 && at(g, to_x, to_y - 1) >= code_silver &&
      g.lower_hand[1] > 0)
    s += 6;
  if (drop) {
    const int rx = a.lower_threat_x[to_x][to_y], ry = a.lower_threat_y[to_x][to_y];
    if (defended && a.lower_threat[to_x][to_y] == -code_rook && rx == to_x && ry > to_y &&
        !(c.root_upper_attacks[rx][ry] > 0 && a.lower_attacks[rx][ry] == 0))
      s += 120;
    return;
  }
  s -= 0.1;
  const int guard = a.upper_guard[to_x][to_y];
  if (guard == code_gold || guard == code_silver) s += 0.6;
  if (to_y <= 4) pawn_home_terms(g, a, to_x, to_y, s);
  if (captured != empty_code && a.upper_attacks[from_x][from_y] == 1) {
    if (to_y > 2 && g.board[to_x][to_y - 2] == code_bishop)
      s -= 5;
    else
      s += 5;
    if (captured == -code_pawn && a.lower_threat[to_x][to_y] == -code_rook) s += 50;
  }
  if (is_lower_piece(front)) pawn_facing_terms(a, c, front, to_x, to_y, s);
}

// The knight's terms: a front square under attack, both jump squares
// under attack.
void knight_terms(const Analysis& a, int to_x, int to_y, Tenths& s) {
  s -= 0.1;
  if (to_y < 6 && a.lower_attacks[to_x][to_y + 1] > 0) s -= 1;
  if (to_x > 1 && to_x < 6 && to_y < 5 && a.lower_attacks[to_x - 1][to_y + 2] > 0 &&
      a.lower_attacks[to_x + 1][to_y + 2] > 0)
    s -= 1;
}

// The gold's terms: the bishop's post on (6, 4), and a gold on row 2
// backing an undefended piece and a bishop while the lower side holds a
// rook.
void gold_terms(const GameState& g, const Analysis& a, const ComputerState& c, int to_x,
                int to_y, Tenths& s) {
  if (to_y == 4 && g.board[6][4] == code_bishop && a.lower_attacks[6][4] > 0) s -= 5;
  if (to_y == 2 && g.lower_hand[6] > 0 && is_upper_piece(g.board[to_x][3]) &&
      c.root_upper_attacks[to_x][3] == 0) {
    s += 2;
    if (g.board[to_x][4] == code_bishop && c.root_upper_attacks[to_x][4] == 1) s += 125;
  }
}

// The bishop's terms: crowding, and a front square under attack.
void bishop_terms(const GameState& g, const Analysis& a, int to_x, int to_y, Tenths& s) {
  s += major_crowding(g, to_x, to_y);
  if (to_y < 6 && a.lower_attacks[to_x][to_y + 1] > 0) {
    if (count_safe_moves(g, a, to_x, to_y, code_bishop) == 0) s -= 100;
    if (to_y < 5 && g.board[to_x][to_y + 2] == -code_pawn) s -= 1;
  }
}

// Is the rook (promoted or not) on (to_x, to_y) safe, or attacked only
// by the lower king while defended?
bool rook_unthreatened(const Analysis& a, int to_x, int to_y) {
  return a.lower_attacks[to_x][to_y] == 0 ||
         (a.lower_threat[to_x][to_y] == -code_king && a.upper_attacks[to_x][to_y] > 0);
}

// On the lower king's column or row, within two squares of it.
bool on_lower_king_line(const GameState& g, int to_x, int to_y) {
  return (to_x == g.lower_king_x || to_y == g.lower_king_y) && near_lower_king(g, to_x, to_y);
}

// The rook's terms: crowding, too few safe squares, pressure on the
// lower king's line.
void rook_terms(const GameState& g, const Analysis& a, int to_x, int to_y, Tenths& s) {
  s += major_crowding(g, to_x, to_y);
  if (!rook_unthreatened(a, to_x, to_y)) return;
  if (count_safe_moves(g, a, to_x, to_y, code_rook) <= 1)
    s -= 35;
  else if (on_lower_king_line(g, to_x, to_y))
    s += 100;
}

// The promoted rook's terms: crowding, a silver-and-gold trap behind it,
// pressure on the lower king's line.
void promoted_rook_terms(const GameState& g, const Analysis& a, int to_x, int to_y, Tenths& s) {
  s += major_crowding(g, to_x, to_y);
  if (to_y > 1 && g.board[to_x][to_y - 1] == -code_silver && to_x > 1 && to_x < 6) {
    const bool trapped =
        (g.board[to_x - 1][to_y] != empty_code && g.board[to_x + 1][to_y - 1] == -code_gold) ||
        (g.board[to_x + 1][to_y] != empty_code && g.board[to_x - 1][to_y - 1] == -code_gold);
    if (trapped) s -= 10;
  }
  if (rook_unthreatened(a, to_x, to_y) && on_lower_king_line(g, to_x, to_y)) s += 100;
}

// The king's terms: a pinned own piece, more defenders, too few safe
// squares.
void king_terms(const GameState& g, const Analysis& a, const ComputerState& c, int to_x,
                int to_y, Tenths& s) {
  if (a.upper_pin_found) s += 10;
  if (a.upper_attacks[to_x][to_y] > c.root_upper_attacks[to_x][to_y]) s += 1;
  if (count_safe_moves(g, a, to_x, to_y, code_king) < 2) s -= 20;
}

// The level-3 terms: one group chosen by the piece now on the target.
void piece_terms(GameState& g, const Analysis& a, const ComputerState& c, PieceCode captured,
                 PieceCode piece, int from_x, int from_y, int to_x, int to_y, Tenths& s) {
  switch (piece) {
    case code_pawn:
      pawn_terms(g, a, c, captured, from_x, from_y, to_x, to_y, s);
      break;
    case code_pawn_promoted:
      if (a.upper_attacks[to_x][to_y] >= a.lower_attacks[to_x][to_y]) s += 1;
      break;
    case code_knight:
      knight_terms(a, to_x, to_y, s);
      break;
    case code_silver:
      opening_term(g, c, piece, to_x, to_y, s);
      if (to_y > 1 && g.board[to_x][to_y - 1] == code_knight) s -= 0.5;
      break;
    case code_gold:
      opening_term(g, c, piece, to_x, to_y, s);
      gold_terms(g, a, c, to_x, to_y, s);
      break;
    case code_bishop:
      opening_term(g, c, piece, to_x, to_y, s);
      bishop_terms(g, a, to_x, to_y, s);
      break;
    case code_bishop_promoted:
      s += major_crowding(g, to_x, to_y);
      break;
    case code_rook:
      opening_term(g, c, piece, to_x, to_y, s);
      rook_terms(g, a, to_x, to_y, s);
      break;
    case code_rook_promoted:
      promoted_rook_terms(g, a, to_x, to_y, s);
      break;
    case code_king:
      king_terms(g, a, c, to_x, to_y, s);
      break;
    default:
      break;
  }
}

}  // namespace

double score_move(GameState& g, Analysis& a, const ComputerState& c, PieceCode captured,
                  PieceCode piece, int from_x, int from_y, int to_x, int to_y) {
  if (captured == -code_king) return score_takes_king;
  if (a.lower_attacks[g.upper_king_x][g.upper_king_y] >= 1) return score_loses;
  Tenths s;
  if (gives_check(g, a)) {
    if (lower_side_mated(g, a) == flag_on)
      return piece == code_pawn ? score_loses : score_mates;
    check_terms(g, a, to_x, to_y, s);
  }
  if (is_drop(from_x))
    s -= 5;
  else if (piece > c.moving_piece)
    s += 10;
  s += assess_upper_safety(g, a, c, piece, to_x, to_y);
  if (g.level < 2) return s.value();
  middle_terms(g, a, c, captured, piece, from_x, from_y, to_x, to_y, s);
  if (g.level < 3) return s.value();
  piece_terms(g, a, c, captured, piece, from_x, from_y, to_x, to_y, s);
  return s.value();
}

int bishop_fork_penalty(const GameState& g, const Analysis& a, int x, int y, PieceCode piece) {
  for (int sx = 1; sx <= 6; ++sx) {
    for (int sy = 1; sy <= 6; ++sy) {
      if (a.bishop_drop_danger[sx][sy] != 1) continue;
      if (is_legal_move(g, x, y, sx, sy, -code_bishop) != flag_on &&
          is_legal_move(g, x, y, sx, sy, -code_bishop_promoted) != flag_on)
        continue;
      if (g.lower_hand[5] >= 1) return piece;
      for (int bx = 1; bx <= 6; ++bx)
        for (int by = 1; by <= 6; ++by) {
          const PieceCode code = g.board[bx][by];
          if ((code == -code_bishop || code == -code_bishop_promoted) &&
              is_legal_move(g, bx, by, sx, sy, code) == flag_on)
            return piece;
        }
      return 0;
    }
  }
  return 0;
}

}  // namespace nirvex

#include "engine/safety.h"

#include <algorithm>
#include <cstdlib>

#include "engine/mobility.h"
#include "engine/tenths.h"
#include "model/rules.h"

namespace nirvex {

namespace {

// Does the lower hand hold a gold or a bishop?
bool lower_holds_gold_or_bishop(const GameState& g) {
  return g.lower_hand[4] > 0 || g.lower_hand[5] > 0;
}

// Is (x, y) the upper king's square or one of its neighbours?
bool near_upper_king(const GameState& g, int x, int y) {
  return std::abs(x - g.upper_king_x) <= 1 && std::abs(y - g.upper_king_y) <= 1;
}

// Both squares hold upper pieces that no upper piece defends.
bool undefended_upper_pair(const GameState& g, const Analysis& a, int x1, int y1, int x2,
                           int y2) {
  return g.board[x1][y1] >= code_pawn && g.board[x2][y2] >= code_pawn &&
         a.upper_attacks[x1][y1] == 0 && a.upper_attacks[x2][y2] == 0;
}

// An empty square: attacks by the lower side near the king and in front
// of the own camp.
void empty_square_attacked(GameState& g, const Analysis& a, int x, int y, Tenths& s) {
  const int la = a.lower_attacks[x][y];
  const int ua = a.upper_attacks[x][y];
  if (near_upper_king(g, x, y)) {
    s -= 0.5 * la;
    if (ua == 1 && la > 1) s -= 10;
    if (lower_holds_gold_or_bishop(g)) s -= 10;
  }
  if (ua == 0) {
    if (y < 4) s -= 0.1;
    if (lower_rook_below(g, x, y)) s -= 10;
  }
  if (y < 4 && g.board[x][y + 1] == -code_pawn) {
    if (la >= ua) s -= 30;
    if (lower_rook_below(g, x, y + 1)) s -= 70;
  }
}

// An empty square: what a piece dropped there from the lower hand would
// threaten.
void empty_square_drop_threats(const GameState& g, const Analysis& a, int x, int y,
                                Tenths& s) {
  const int la = a.lower_attacks[x][y];
  const int ua = a.upper_attacks[x][y];
  if (g.lower_hand[2] > 0 && (ua == 0 || la > 0) && y > 2 && x > 1 && x < 6 &&
      g.board[x - 1][y - 2] > code_pawn && g.board[x + 1][y - 2] > code_pawn)
    s -= 20;
  if (lower_holds_gold_or_bishop(g) && ua <= 1) {
    const int crowding = major_crowding(g, x, y);
    if (crowding < -1) s -= 5;
    if (ua == 0 && crowding < 0) {
      s -= 1;
      if (y < 4) s -= 10;
    }
  }
  if (ua != 0) return;
  if (y == 2 && g.board[x][1] == code_knight) s -= 5;
  if (y < 4) s -= 0.1;
  if (g.lower_hand[4] > 0 && x > 1 && x < 6 && y > 1 && y < 6) {
    if (undefended_upper_pair(g, a, x - 1, y - 1, x + 1, y + 1)) s -= 20;
    if (undefended_upper_pair(g, a, x - 1, y + 1, x + 1, y - 1)) s -= 20;
  }
}

// The running fork of the moved piece: how many undefended lower pieces
// (or the king) it attacks from a safe square, and the cheapest of them.
struct Fork {
  int count = 0;
  int cheapest = 9999;
};

// A lower piece: newly attacked pieces near the king, knight jumps, rooks
// on the king's column, and the moved piece's fork.
void lower_piece_square(const GameState& g, const Analysis& a, const ComputerState& c,
                        PieceCode piece, int to_x, int to_y, int x, int y, Fork& fork,
                        Tenths& s) {
  const PieceCode code = g.board[x][y];
  if (c.root_upper_attacks[x][y] == 0 && a.upper_attacks[x][y] > 0) {
    if (code == -code_knight && y > 2) {
      const PieceCode front = g.board[x][y - 1];
      if ((front == code_silver || front == code_rook_promoted ||
           front == code_bishop_promoted) &&
          a.lower_attacks[x][y - 1] == 0)
        s += 1;
    }
    if (std::abs(x - g.upper_king_x) <= 2 && std::abs(y - g.upper_king_y) <= 2) s += 15;
  }
  if (code == -code_knight && y >= 5 && g.board[x][y - 4] >= code_silver) {
    for (int jx : {x - 1, x + 1}) {
      if (jx < 1 || jx > 6) continue;
      const PieceCode target = g.board[jx][y - 2];
      if ((target == empty_code || target >= code_pawn) && a.upper_attacks[jx][y - 2] == 0)
        s -= 1;
    }
  }
  if ((code == -code_rook || code == -code_rook_promoted) && x == g.upper_king_x) s -= 1;
  if (a.lower_attacks[to_x][to_y] == 0 &&
      (a.lower_attacks[x][y] == 0 || code == -code_king) &&
      is_legal_move(g, to_x, to_y, x, y, piece) == flag_on) {
    s += 0.1;
    fork.count += 1;
    fork.cheapest = std::min(fork.cheapest, std::abs(code));
  }
}

// An upper piece on (x, y) that the lower side attacks.
void upper_piece_attacked(GameState& g, const Analysis& a, const ComputerState& c, int x,
                          int y, Tenths& s) {
  const PieceCode code = g.board[x][y];
  const int la = a.lower_attacks[x][y];
  const int ua = a.upper_attacks[x][y];
  const int attacker = std::abs(a.lower_threat[x][y]);
  const int ax = a.lower_threat_x[x][y], ay = a.lower_threat_y[x][y];
  const bool attacker_free = !(on_board(ax, ay) && a.lower_pinned[ax][ay] == 1);
  if (a.upper_guard[x][y] == code_king && (la > 1 || code > attacker)) s -= 100;
  if (attacker_free && code > attacker) s -= code - attacker;
  if (ua > 0) {
    if (attacker_free && la > ua && a.upper_guard[x][y] >= attacker) s -= code;
    if (y <= 3 && ua == la && g.board[x][y + 1] != empty_code && lower_rook_below(g, x, y + 1))
      s -= code + std::abs(a.lower_threat[x][y + 1]);
    return;
  }
  s -= code;
  if (y <= 3) s -= 10;
  if (is_lower_piece(c.board_backup[x][y])) s += std::abs(c.board_backup[x][y]);
  if (a.lower_threat[x][y] == -code_pawn && y < 4) s -= 20;
}

// An upper piece: the king's front square on row 1, a pawn held by a
// rook, and the piece itself when attacked.
void upper_piece_square(GameState& g, const Analysis& a, const ComputerState& c, int x,
                        int y, Tenths& s) {
  const PieceCode code = g.board[x][y];
  if (code == code_king && y == 1 && a.lower_attacks[x][2] > 0) {
    s -= 50;
    if (a.lower_attacks[x][2] >= a.upper_attacks[x][2]) s -= 250;
    if (lower_holds_gold_or_bishop(g)) s -= 700;
  }
  if (code == code_pawn && a.lower_threat[x][y] == -code_rook && g.lower_hand[1] > 0 &&
      a.lower_attacks[x][y] >= a.upper_attacks[x][y] && y < 6 && a.upper_attacks[x][y + 1] == 1)
    s -= 5;
  if (a.lower_attacks[x][y] != 0) upper_piece_attacked(g, a, c, x, y, s);
}

}  // namespace

bool lower_rook_below(GameState& g, int x, int y) {
  const PieceCode lifted = g.board[x][y];
  g.board[x][y] = empty_code;
  bool reaches = false;
  for (int r = y + 1; r <= 6; ++r) {
    const PieceCode code = g.board[x][r];
    if (is_upper_piece(code)) break;
    if (code == -code_rook || code == -code_rook_promoted) {
      reaches = is_legal_move(g, x, r, x, y, code) == flag_on;
      break;
    }
  }
  g.board[x][y] = lifted;
  return reaches;
}

double assess_upper_safety(GameState& g, const Analysis& a, const ComputerState& c,
                           PieceCode piece, int to_x, int to_y) {
  Tenths s;
  Fork fork;
  for (int x = 1; x <= 6; ++x) {
    for (int y = 1; y <= 6; ++y) {
      const PieceCode code = g.board[x][y];
      if (code == empty_code) {
        if (a.lower_attacks[x][y] > 0) empty_square_attacked(g, a, x, y, s);
        if (g.lower_hand_total != 0) empty_square_drop_threats(g, a, x, y, s);
      } else if (is_lower_piece(code)) {
        lower_piece_square(g, a, c, piece, to_x, to_y, x, y, fork, s);
      } else if (is_upper_piece(code)) {
        upper_piece_square(g, a, c, x, y, s);
      }
    }
  }
  if (fork.count > 1) s += fork.cheapest;
  return s.value();
}

}  // namespace nirvex

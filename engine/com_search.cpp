#include "engine/com_search.h"

#include <algorithm>
#include <cstdlib>

#include "engine/position_tests.h"
#include "model/flip.h"
#include "engine/scoring.h"
#include "engine/square_maps.h"
#include "model/rules.h"

namespace nirvex {

namespace {

// A drop's search ends here or above: the drop mates.
constexpr double drop_stop_score = 9998;

// Calls `f` when it was given.
void notify(const std::function<void()>& f) {
  if (f) f();
}

// A candidate that moves `piece` from (from_col, from_row) to (tx, ty),
// not yet scored.
ComCandidate candidate(int from_col, int from_row, int tx, int ty, PieceCode piece) {
  ComCandidate m;
  m.from_col = from_col;
  m.from_row = from_row;
  m.to_col = tx;
  m.to_row = ty;
  m.piece_before = m.piece_after = piece;
  return m;
}

// The board move from (x, y) to (tx, ty) tried on the live board, scored
// unpromoted, promoted or both, and taken back.  Fills the candidate.
ComCandidate try_board_move(GameState& g, Analysis& a, ComputerState& c, int x, int y, int tx,
                            int ty) {
  const PieceCode piece = g.board[x][y];
  c.moving_piece = piece;
  c.origin_king_distance = std::max(std::abs(g.lower_king_x - x), std::abs(g.lower_king_y - y));
  const PieceCode captured = g.board[tx][ty];
  g.board[x][y] = empty_code;
  g.board[tx][ty] = piece;

  ComCandidate m = candidate(x, y, tx, ty, piece);
  if (promotion_possible(g, x, y, tx, ty, piece) == flag_off) {
    build_square_maps(g, a);
    m.score = score_move(g, a, c, captured, piece, x, y, tx, ty);
  } else {
    const PieceCode promoted = g.promoted_piece;
    if (may_stay_unpromoted(ty, piece) == flag_off) {
      g.board[tx][ty] = promoted;
      build_square_maps(g, a);
      m.score = score_move(g, a, c, captured, promoted, x, y, tx, ty);
      m.piece_after = promoted;
    } else {
      build_square_maps(g, a);
      const double unpromoted_score = score_move(g, a, c, captured, piece, x, y, tx, ty);
      g.board[tx][ty] = promoted;
      build_square_maps(g, a);
      const double promoted_score = score_move(g, a, c, captured, promoted, x, y, tx, ty);
      m.score = unpromoted_score;
      if (promoted_score > unpromoted_score) {
        m.score = promoted_score;
        m.piece_after = promoted;
      }
      // Pawn, bishop and rook lose nothing by promoting: always promote.
      if (piece == code_pawn || piece == code_bishop || piece == code_rook)
        m.piece_after = promoted;
    }
  }

  g.board[tx][ty] = captured;
  g.board[x][y] = piece;
  return m;
}

// The drop of hand kind `kind` on (tx, ty) tried on the live board, scored
// and taken back.
ComCandidate try_drop(GameState& g, Analysis& a, ComputerState& c, int kind, PieceCode piece,
                      int tx, int ty) {
  c.moving_piece = piece;
  c.origin_king_distance = 0;
  g.board[tx][ty] = piece;
  build_square_maps(g, a);
  const double score = score_move(g, a, c, empty_code, piece, upper_hand_col, kind, tx, ty);
  g.board[tx][ty] = empty_code;
  ComCandidate m = candidate(upper_hand_col, kind, tx, ty, piece);
  m.score = score;
  return m;
}

// Keeps the candidate when it beats the best so far strictly.
bool keep_if_better(ComputerState& c, const ComCandidate& m) {
  if (!(m.score > c.best_score)) return false;
  c.best_score = m.score;
  c.best = ComMove{m, true};
  return true;
}

// Every board move of the upper side.  False when the search is over
// because a move takes the lower king.
bool search_board_moves(GameState& g, Analysis& a, ComputerState& c,
                        const std::function<void()>& tick,
                        const std::function<void(const ComCandidate&)>& on_candidate) {
  for (int x = 1; x <= 6; ++x) {
    notify(tick);
    for (int y = 1; y <= 6; ++y) {
      const PieceCode piece = g.board[x][y];
      if (!is_upper_piece(piece)) continue;
      for (int tx = 1; tx <= 6; ++tx) {
        for (int ty = 1; ty <= 6; ++ty) {
          if (is_legal_move(g, x, y, tx, ty, piece) != flag_on) continue;
          const PieceCode captured = g.board[tx][ty];
          const ComCandidate m = try_board_move(g, a, c, x, y, tx, ty);
          if (on_candidate) on_candidate(m);
          if (keep_if_better(c, m) && captured == -code_king) return false;
        }
      }
    }
  }
  return true;
}

// Every drop from the upper hand, ending early on a mating drop.
void search_drops(GameState& g, Analysis& a, ComputerState& c, const std::function<void()>& tick,
                  const std::function<void(const ComCandidate&)>& on_candidate) {
  for (int kind = 1; kind <= 6; ++kind) {
    notify(tick);
    if (g.upper_hand[kind] < 1) continue;
    const PieceCode piece = hand_kind_code(kind, true);
    for (int tx = 1; tx <= 6; ++tx) {
      for (int ty = 1; ty <= 6; ++ty) {
        if (is_legal_move(g, upper_hand_col, kind, tx, ty, piece) != flag_on) continue;
        const ComCandidate m = try_drop(g, a, c, kind, piece, tx, ty);
        if (on_candidate) on_candidate(m);
        if (keep_if_better(c, m) && c.best_score >= drop_stop_score) return;
      }
    }
  }
}

}  // namespace

void prepare_com_turn(GameState& g, Analysis& a, ComputerState& c) {
  c.best_score = -99999;
  c.best = ComMove{};
  c.board_backup = g.board;
  mark_pawn_columns(g);
  c.root_flight_count = count_king_flights(g, a);
  build_square_maps(g, a);
  mark_bishop_drop_danger(g, a);
  mark_pinned_pieces(g, a);
  c.root_upper_hand_total = g.upper_hand_total;
  c.root_lower_attacks = a.lower_attacks;
  c.root_upper_attacks = a.upper_attacks;
  c.root_upper_threat_x = a.upper_threat_x;
  c.root_upper_threat_y = a.upper_threat_y;
}

ComMove search_com_move(GameState& g, Analysis& a, ComputerState& c,
                        const std::function<void()>& tick,
                        const std::function<void(const ComCandidate&)>& on_candidate) {
  if (search_board_moves(g, a, c, tick, on_candidate) && c.root_upper_hand_total > 0)
    search_drops(g, a, c, tick, on_candidate);
  return c.best;
}

ComMove choose_com_move(GameState& g, Analysis& a, ComputerState& c) {
  prepare_com_turn(g, a, c);
  return search_com_move(g, a, c, {});
}

namespace {

// A move of the turned position as it stands on the real board.
template <typename M>
M turned_back(M m) {
  m.to_col = 7 - m.to_col;
  m.to_row = 7 - m.to_row;
  if (on_board(m.from_col, m.from_row)) {
    m.from_col = 7 - m.from_col;
    m.from_row = 7 - m.from_row;
  } else {
    m.from_col = lower_hand_col;
  }
  m.piece_before = -m.piece_before;
  m.piece_after = -m.piece_after;
  return m;
}

}  // namespace

ComMove search_side_to_move(const GameState& game, int level, const std::string& time_of_day,
                            const std::function<void(const ComCandidate&)>& on_candidate) {
  GameState g = game;
  // A fresh analysis keeps the kings' squares where the program has them
  // at start until the first build moves them.
  const GameState at_start;
  g.lower_king_x = at_start.lower_king_x;
  g.lower_king_y = at_start.lower_king_y;
  g.upper_king_x = at_start.upper_king_x;
  g.upper_king_y = at_start.upper_king_y;
  const bool turned = g.turn != g.upper_side;
  if (turned) turn_position(g);
  g.level = level;

  // The maps as the game has them after the other side's move.
  Analysis a;
  ComputerState c;
  c.time_of_day = time_of_day;
  mark_pawn_columns(g);
  build_square_maps(g, a);
  prepare_com_turn(g, a, c);
  std::function<void(const ComCandidate&)> report;
  if (on_candidate)
    report = [&](const ComCandidate& k) { on_candidate(turned ? turned_back(k) : k); };
  const ComMove best = search_com_move(g, a, c, {}, report);
  return turned && best.found ? turned_back(best) : best;
}

}  // namespace nirvex

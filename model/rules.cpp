#include "model/rules.h"

#include <cstdlib>

namespace nirvex {

namespace {

// The gold's step, also taken by promoted pawns, knights and silvers:
// sideways, forward and diagonally forward, or straight back.
bool gold_step(int dx, int dy, int forward) {
  return (std::abs(dx) <= 1 && (dy == 0 || dy == forward)) ||
         (dx == 0 && dy == -forward);
}

// The silver's step: forward three ways, or diagonally back.
bool silver_step(int dx, int dy, int forward) {
  return std::abs(dx) <= 1 && (dy == forward || (dy == -forward && dx != 0));
}

bool one_step(int dx, int dy) { return std::abs(dx) <= 1 && std::abs(dy) <= 1; }

}  // namespace

int straight_path_clear(const GameState& g, int from_col, int from_row,
                        int to_col, int to_row) {
  if (from_col != to_col && from_row != to_row) return flag_off;
  if (from_col == to_col) {
    const int step = to_row > from_row ? 1 : -1;
    for (int y = from_row + step; y != to_row; y += step)
      if (!on_board(from_col, y) || g.board[from_col][y] != empty_code) return flag_off;
  } else {
    const int step = to_col > from_col ? 1 : -1;
    for (int x = from_col + step; x != to_col; x += step)
      if (!on_board(x, from_row) || g.board[x][from_row] != empty_code) return flag_off;
  }
  return flag_on;
}

int diagonal_path_clear(const GameState& g, int from_col, int from_row,
                        int to_col, int to_row) {
  const int dx = to_col - from_col;
  const int dy = to_row - from_row;
  if (dx == 0 || std::abs(dx) != std::abs(dy)) return flag_off;
  const int sx = dx > 0 ? 1 : -1;
  const int sy = dy > 0 ? 1 : -1;
  for (int x = from_col + sx, y = from_row + sy; x != to_col; x += sx, y += sy)
    if (!on_board(x, y) || g.board[x][y] != empty_code) return flag_off;
  return flag_on;
}

int is_legal_move(const GameState& g, int from_col, int from_row, int to_col,
                  int to_row, PieceCode piece) {
  if (!on_board(to_col, to_row)) return flag_off;
  if (from_col == to_col && from_row == to_row) return flag_off;

  const PieceCode target = g.board[to_col][to_row];
  if (is_upper_piece(piece) ? is_upper_piece(target) : is_lower_piece(target))
    return flag_off;

  const bool drop = from_col == lower_hand_col || from_col == upper_hand_col;
  if (drop) {
    if (target != empty_code) return flag_off;
    if (piece == -code_pawn && g.lower_pawn_columns[to_col] == 1) return flag_off;
    if (piece == code_pawn && g.upper_pawn_columns[to_col] == 1) return flag_off;
    if (std::abs(piece) != code_pawn && std::abs(piece) != code_knight) return flag_on;
    // Pawns and knights go on to their own entries below, which judge a
    // drop by its row alone.
  }

  const int dx = to_col - from_col;
  const int dy = to_row - from_row;
  bool ok = false;
  switch (piece) {
    case code_pawn:
      ok = from_col <= 0 ? to_row != 6 : (dx == 0 && dy == 1);
      break;
    case -code_pawn:
      ok = from_col == lower_hand_col ? to_row != 1 : (dx == 0 && dy == -1);
      break;
    case code_knight:
      ok = from_col == upper_hand_col ? to_row < 5 : (dy == 2 && std::abs(dx) == 1);
      break;
    case -code_knight:
      ok = from_col == lower_hand_col ? to_row > 2 : (dy == -2 && std::abs(dx) == 1);
      break;
    case code_silver: ok = silver_step(dx, dy, 1); break;
    case -code_silver: ok = silver_step(dx, dy, -1); break;
    case code_gold: case code_pawn_promoted: case code_knight_promoted:
    case code_silver_promoted:
      ok = gold_step(dx, dy, 1);
      break;
    case -code_gold: case -code_pawn_promoted: case -code_knight_promoted:
    case -code_silver_promoted:
      ok = gold_step(dx, dy, -1);
      break;
    case code_bishop: case -code_bishop:
      ok = diagonal_path_clear(g, from_col, from_row, to_col, to_row) == flag_on;
      break;
    case code_bishop_promoted: case -code_bishop_promoted:
      ok = one_step(dx, dy) ||
           diagonal_path_clear(g, from_col, from_row, to_col, to_row) == flag_on;
      break;
    case code_rook: case -code_rook:
      ok = straight_path_clear(g, from_col, from_row, to_col, to_row) == flag_on;
      break;
    case code_rook_promoted: case -code_rook_promoted:
      ok = one_step(dx, dy) ||
           straight_path_clear(g, from_col, from_row, to_col, to_row) == flag_on;
      break;
    case code_king: case -code_king:
      ok = one_step(dx, dy);
      break;
    default:
      ok = false;
  }
  return ok ? flag_on : flag_off;
}

int may_stay_unpromoted(int to_row, PieceCode piece) {
  switch (piece) {
    case code_pawn: return to_row == 6 ? flag_off : flag_on;
    case code_knight: return to_row >= 5 ? flag_off : flag_on;
    case -code_pawn: return to_row == 1 ? flag_off : flag_on;
    case -code_knight: return to_row <= 2 ? flag_off : flag_on;
    default: return flag_on;
  }
}

int promotion_possible(GameState& g, int from_col, int from_row, int to_col,
                       int to_row, PieceCode piece) {
  (void)to_col;
  if (from_col == upper_hand_col || from_col == lower_hand_col) return flag_off;
  bool may = false;
  switch (piece) {
    case -code_pawn: case -code_knight: may = to_row <= 2; break;
    case -code_silver: case -code_bishop: case -code_rook:
      may = to_row <= 2 || from_row <= 2;
      break;
    case code_pawn: case code_knight: may = to_row >= 5; break;
    case code_silver: case code_bishop: case code_rook:
      may = to_row >= 5 || from_row >= 5;
      break;
    default: may = false;
  }
  if (!may) return flag_off;
  g.promoted_piece = piece < 0 ? piece - 1 : piece + 1;
  return flag_on;
}

void mark_pawn_columns(GameState& g) {
  for (int x = 1; x <= 6; ++x) {
    g.lower_pawn_columns[x] = 0;
    g.upper_pawn_columns[x] = 0;
    for (int y = 1; y <= 6; ++y) {
      if (g.board[x][y] == -code_pawn) g.lower_pawn_columns[x] = 1;
      if (g.board[x][y] == code_pawn) g.upper_pawn_columns[x] = 1;
    }
  }
}

}  // namespace nirvex

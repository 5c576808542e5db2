#include "engine/usi_move.h"

#include "model/rules.h"

namespace nirvex {

namespace {

constexpr char hand_letters[7] = {0, 'P', 'N', 'S', 'G', 'B', 'R'};

}  // namespace

bool read_square(std::string_view text, int& col, int& row) {
  if (text.size() != 2) return false;
  if (text[0] < '1' || text[0] > '6' || text[1] < 'a' || text[1] > 'f') return false;
  col = 7 - (text[0] - '0');
  row = text[1] - 'a' + 1;
  return true;
}

int drop_kind(char letter) {
  for (int kind = 1; kind <= 6; ++kind)
    if (hand_letters[kind] == letter) return kind;
  return 0;
}

// File digit counted from the right, rank letter from the top.
std::string square_text(int col, int row) {
  std::string s;
  s += static_cast<char>('0' + (7 - col));
  s += static_cast<char>('a' + row - 1);
  return s;
}

// "P*3c" for a drop, origin and target with "+" for a promotion.
std::string move_text(const RuleMove& m) {
  if (m.is_drop()) {
    const int kind = m.from_row >= 1 && m.from_row <= 6 ? m.from_row : 0;
    return std::string(1, kind ? hand_letters[kind] : '?') + "*" + square_text(m.to_col, m.to_row);
  }
  std::string s = square_text(m.from_col, m.from_row) + square_text(m.to_col, m.to_row);
  if (m.piece_after != m.piece_before) s += '+';
  return s;
}

bool read_move(GameState& g, std::string_view text, bool upper, RuleMove& m,
               std::string& error) {
  mark_pawn_columns(g);
  const std::string side = upper ? "the upper side" : "the lower side";
  RuleMove move;
  if (text.size() == 4 && text[1] == '*') {
    const int kind = drop_kind(text[0]);
    if (kind == 0 || !read_square(text.substr(2), move.to_col, move.to_row)) {
      error = "malformed move '" + std::string(text) + "'";
      return false;
    }
    const HandArray& hand = upper ? g.upper_hand : g.lower_hand;
    if (hand[kind] <= 0) {
      error = "no such piece in the hand of " + side + ": '" + std::string(text) + "'";
      return false;
    }
    move.from_col = upper ? upper_hand_col : lower_hand_col;
    move.from_row = kind;
    move.piece_before = move.piece_after = hand_kind_code(kind, upper);
    if (is_legal_move(g, move.from_col, move.from_row, move.to_col, move.to_row,
                      move.piece_before) != flag_on) {
      error = "the rules refuse the drop '" + std::string(text) + "'";
      return false;
    }
    m = move;
    return true;
  }
  const bool promote = text.size() == 5 && text[4] == '+';
  if ((text.size() != 4 && !promote) ||
      !read_square(text.substr(0, 2), move.from_col, move.from_row) ||
      !read_square(text.substr(2, 2), move.to_col, move.to_row)) {
    error = "malformed move '" + std::string(text) + "'";
    return false;
  }
  const PieceCode code = g.board[move.from_col][move.from_row];
  if (upper ? !is_upper_piece(code) : !is_lower_piece(code)) {
    error = "no piece of " + side + " on " + std::string(text.substr(0, 2));
    return false;
  }
  if (is_legal_move(g, move.from_col, move.from_row, move.to_col, move.to_row, code) != flag_on) {
    error = "the rules refuse the move '" + std::string(text) + "'";
    return false;
  }
  move.piece_before = move.piece_after = code;
  if (promote) {
    if (promotion_possible(g, move.from_col, move.from_row, move.to_col, move.to_row, code) !=
        flag_on) {
      error = "the move '" + std::string(text) + "' cannot promote";
      return false;
    }
    move.piece_after = g.promoted_piece;
  } else if (may_stay_unpromoted(move.to_row, code) != flag_on) {
    error = "the move '" + std::string(text.substr(0, 4)) + "' must promote";
    return false;
  }
  m = move;
  return true;
}

}  // namespace nirvex

#include "engine/sfen.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace nirvex {

namespace {

// Unpromoted code of an SFEN letter of either case, positive; 0 if none.
PieceCode letter_code(char letter) {
  switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'p': return code_pawn;
    case 'n': return code_knight;
    case 's': return code_silver;
    case 'g': return code_gold;
    case 'b': return code_bishop;
    case 'r': return code_rook;
    case 'k': return code_king;
    default: return empty_code;
  }
}

// Splits on runs of blanks.
std::vector<std::string> split_fields(std::string_view text) {
  std::vector<std::string> out;
  std::istringstream in{std::string(text)};
  for (std::string f; in >> f;) out.push_back(f);
  return out;
}

// Reads the board field into `board`.
bool read_board(const std::string& field, BoardArray& board, std::string& error) {
  int row = 1, col = 1;
  bool promoted = false;
  for (char ch : field) {
    if (ch == '/') {
      if (promoted || col != 7 || row == 6) {
        error = "each of the six rows must cover six columns";
        return false;
      }
      ++row;
      col = 1;
    } else if (ch >= '1' && ch <= '6') {
      if (promoted) {
        error = "'+' must come before a piece letter";
        return false;
      }
      col += ch - '0';
      if (col > 7) {
        error = "a row holds more than six columns";
        return false;
      }
    } else if (ch == '+') {
      if (promoted) {
        error = "'+' given twice";
        return false;
      }
      promoted = true;
    } else {
      const PieceCode base = letter_code(ch);
      if (base == empty_code) {
        error = std::string("unknown piece letter '") + ch + "'";
        return false;
      }
      if (promoted && (base == code_gold || base == code_king)) {
        error = "gold and king do not promote";
        return false;
      }
      if (col > 6) {
        error = "a row holds more than six columns";
        return false;
      }
      const PieceCode code = base + (promoted ? 1 : 0);
      board[col][row] = std::islower(static_cast<unsigned char>(ch)) ? code : -code;
      promoted = false;
      ++col;
    }
  }
  if (promoted || row != 6 || col != 7) {
    error = "the board must have six rows of six columns";
    return false;
  }
  return true;
}

// Reads the hands field into the two hand arrays.
bool read_hands(const std::string& field, HandArray& lower, HandArray& upper,
                std::string& error) {
  if (field == "-") return true;
  int count = 0;
  bool counted = false;
  for (char ch : field) {
    if (std::isdigit(static_cast<unsigned char>(ch))) {
      count = count * 10 + (ch - '0');
      counted = true;
      if (count > 36) {
        error = "a hand count above 36";
        return false;
      }
      continue;
    }
    const PieceCode base = letter_code(ch);
    if (base == empty_code || base == code_king) {
      error = std::string("unknown hand letter '") + ch + "'";
      return false;
    }
    if (counted && count == 0) {
      error = "a hand count of 0";
      return false;
    }
    const bool is_upper = std::islower(static_cast<unsigned char>(ch));
    HandArray& hand = is_upper ? upper : lower;
    const int kind = hand_kind_of(base);
    hand[kind] += counted ? count : 1;
    if (hand[kind] > 36) {
      error = "a hand count above 36";
      return false;
    }
    count = 0;
    counted = false;
  }
  if (counted || field.empty()) {
    error = "a hand count without a piece letter";
    return false;
  }
  return true;
}

// Reads the move number: a whole number from 1 to 501.
bool read_move_number(const std::string& field, int& number, std::string& error) {
  if (field.empty() || field.size() > 4) {
    error = "the move number must be a whole number from 1 to 501";
    return false;
  }
  int n = 0;
  for (char ch : field) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) {
      error = "the move number must be a whole number from 1 to 501";
      return false;
    }
    n = n * 10 + (ch - '0');
  }
  if (n < 1 || n > max_record_moves + 1) {
    error = "the move number must be a whole number from 1 to 501";
    return false;
  }
  number = n;
  return true;
}

}  // namespace

// Letter by the unpromoted kind, upper case for the lower side.
std::string sfen_piece(PieceCode code) {
  const int magnitude = std::abs(code);
  const bool promoted = magnitude == code_pawn_promoted || magnitude == code_knight_promoted ||
                        magnitude == code_silver_promoted ||
                        magnitude == code_bishop_promoted || magnitude == code_rook_promoted;
  char letter = 0;
  switch (promoted ? magnitude - 1 : magnitude) {
    case code_pawn: letter = 'p'; break;
    case code_knight: letter = 'n'; break;
    case code_silver: letter = 's'; break;
    case code_gold: letter = 'g'; break;
    case code_bishop: letter = 'b'; break;
    case code_rook: letter = 'r'; break;
    case code_king: letter = 'k'; break;
    default: return "";
  }
  if (code < 0) letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  return promoted ? std::string("+") + letter : std::string(1, letter);
}

// Reads all four fields before it touches the game.
bool read_sfen(std::string_view text, GameState& g, std::string& error) {
  const std::vector<std::string> f = split_fields(text);
  if (f.size() != 4) {
    error = "SFEN needs four fields: board, side to move, hands, move number";
    return false;
  }
  BoardArray board{};
  HandArray lower{}, upper{};
  int number = 1;
  if (!read_board(f[0], board, error)) return false;
  if (f[1] != "b" && f[1] != "w") {
    error = "the side to move must be 'b' (lower side) or 'w' (upper side)";
    return false;
  }
  if (!read_hands(f[2], lower, upper, error)) return false;
  if (!read_move_number(f[3], number, error)) return false;

  g.board = board;
  g.lower_hand = lower;
  g.upper_hand = upper;
  count_hand_totals(g);
  locate_kings(g);
  g.turn = f[1] == "w" ? g.upper_side : g.lower_side;
  g.winner = side_none;
  g.move_number = number - 1;
  g.record_pos = number - 1;
  g.record_len = number - 1;
  for (int i = 0; i <= max_record_moves; ++i) g.move_records[i] = MoveRecord{};
  return true;
}

// Rows, side, hands in the order R B G S N P, move number.
std::string write_sfen(const GameState& g) {
  std::string out;
  for (int r = 1; r <= 6; ++r) {
    int blanks = 0;
    for (int c = 1; c <= 6; ++c) {
      const std::string piece = sfen_piece(g.board[c][r]);
      if (piece.empty()) {
        ++blanks;
        continue;
      }
      if (blanks > 0) out += std::to_string(blanks);
      blanks = 0;
      out += piece;
    }
    if (blanks > 0) out += std::to_string(blanks);
    if (r < 6) out += '/';
  }
  out += g.turn == g.upper_side ? " w " : " b ";
  std::string hands;
  const char order[] = {'r', 'b', 'g', 's', 'n', 'p'};
  for (int side = 0; side < 2; ++side) {
    const HandArray& hand = side == 0 ? g.lower_hand : g.upper_hand;
    for (char letter : order) {
      const int n = hand[hand_kind_of(letter_code(letter))];
      if (n <= 0) continue;
      if (n > 1) hands += std::to_string(n);
      hands += side == 0 ? static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))
                         : letter;
    }
  }
  out += hands.empty() ? "-" : hands;
  out += ' ';
  out += std::to_string(g.move_number + 1);
  return out;
}

}  // namespace nirvex

#include "model/game_state.h"

#include <cstdlib>

namespace nirvex {

namespace {
constexpr PieceCode kind_codes[7] = {0,         code_pawn,   code_knight, code_silver,
                                     code_gold, code_bishop, code_rook};
}  // namespace

PieceCode hand_kind_code(int kind, bool upper) {
  if (kind < 1 || kind > 6) return empty_code;
  return upper ? kind_codes[kind] : -kind_codes[kind];
}

int hand_kind_of(PieceCode code) {
  switch (std::abs(code)) {
    case 20: case 21: return 1;
    case 30: case 31: return 2;
    case 100: case 101: return 3;
    case 110: case 111: return 4;
    case 800: case 801: return 5;
    case 900: case 901: return 6;
    default: return 0;
  }
}

void place_initial_position(GameState& g) {
  // Upper side along row 1, its pawn in front of its king; the lower side
  // the same turned by half a turn.
  const PieceCode back_rank[7] = {0, code_rook, code_bishop, code_knight,
                                  code_silver, code_gold, code_king};
  for (int x = 1; x <= 6; ++x) {
    g.board[x][1] = back_rank[x];
    g.board[7 - x][6] = -back_rank[x];
  }
  g.board[6][2] = code_pawn;
  g.board[1][5] = -code_pawn;
}

void new_game(GameState& g) {
  g.pick_state = 0;
  g.play_mode = mode_two_players;
  g.winner = side_none;
  g.turn = side_none;
  g.record_pos = 0;
  g.move_number = 0;
  g.flipped = flag_off;

  g.lower_time_total = 0;
  g.upper_time_total = 0;
  g.shown_seconds = 0;
  g.announce_pending = flag_off;
  g.kifu_mode = flag_off;

  for (int k = 1; k <= 6; ++k) {
    g.lower_hand[k] = 0;
    g.upper_hand[k] = 0;
  }
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) g.board[x][y] = empty_code;

  place_initial_position(g);
  count_hand_totals(g);
}

void count_hand_totals(GameState& g) {
  g.upper_hand_total = 0;
  g.lower_hand_total = 0;
  for (int k = 1; k <= 6; ++k) {
    if (g.upper_hand[k] > 0) g.upper_hand_total += g.upper_hand[k];
    if (g.lower_hand[k] > 0) g.lower_hand_total += g.lower_hand[k];
  }
}

void locate_kings(GameState& g) {
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      if (g.board[x][y] == -code_king) {
        g.lower_king_x = x;
        g.lower_king_y = y;
      } else if (g.board[x][y] == code_king) {
        g.upper_king_x = x;
        g.upper_king_y = y;
      }
    }
}

void take_into_hand(GameState& g, PieceCode code) {
  if (code == code_king) {
    g.winner = g.lower_side;
    return;
  }
  if (code == -code_king) {
    g.winner = g.upper_side;
    return;
  }
  const int kind = hand_kind_of(code);
  if (kind == 0) return;
  if (code > 0)
    g.lower_hand[kind] += 1;
  else
    g.upper_hand[kind] += 1;
}

MoveChanges apply_move(GameState& g, int from_col, int from_row, int to_col,
                       int to_row, PieceCode piece) {
  MoveChanges ch;
  ch.from_col = from_col;
  ch.from_row = from_row;
  ch.to_col = to_col;
  ch.to_row = to_row;
  ch.piece_after = piece;

  const PieceCode target = g.board[to_col][to_row];
  ch.captured = target;
  // The total rises before the piece goes into the hand, also for a king,
  // which itself never enters a hand.
  if (is_lower_piece(target)) {
    g.upper_hand_total += 1;
    take_into_hand(g, target);
    ch.upper_hand_changed = true;
  } else if (is_upper_piece(target)) {
    g.lower_hand_total += 1;
    take_into_hand(g, target);
    ch.lower_hand_changed = true;
  }

  g.board[to_col][to_row] = piece;
  if (piece == -code_king) {
    g.lower_king_x = to_col;
    g.lower_king_y = to_row;
  }

  if (from_col == upper_hand_col) {
    g.upper_hand_total -= 1;
    g.upper_hand[from_row] -= 1;
    ch.upper_hand_changed = true;
  } else if (from_col == lower_hand_col) {
    g.lower_hand_total -= 1;
    g.lower_hand[from_row] -= 1;
    ch.lower_hand_changed = true;
  } else {
    g.board[from_col][from_row] = empty_code;
  }
  return ch;
}

bool append_move_record(GameState& g, int from_col, int from_row, int to_col,
                        int to_row, PieceCode piece_before,
                        PieceCode piece_after, double lower_clock_before,
                        double lower_clock_after, double upper_clock_before,
                        double upper_clock_after) {
  if (record_full(g)) return false;
  g.record_pos += 1;
  MoveRecord& r = g.move_records[g.record_pos];
  r.from_col = from_col;
  r.from_row = from_row;
  r.to_col = to_col;
  r.to_row = to_row;
  r.piece_before = piece_before;
  r.piece_after = piece_after;
  r.lower_clock_before = lower_clock_before;
  r.lower_clock_after = lower_clock_after;
  r.upper_clock_before = upper_clock_before;
  r.upper_clock_after = upper_clock_after;
  r.captured = (to_col >= 1 && to_col <= 6 && to_row >= 1 && to_row <= 6)
                   ? g.board[to_col][to_row]
                   : empty_code;
  g.record_len = g.record_pos;
  return true;
}

}  // namespace nirvex

#include "model/record_steps.h"

#include <cstdlib>

namespace nirvex {

namespace {

bool from_board(const MoveRecord& e) { return e.from_col >= 1 && e.from_col <= 6; }

// Adds `delta` to the hand of the side that owns `code`, and to its total.
void change_owner_hand(GameState& g, PieceCode code, int delta) {
  (code < 0 ? g.lower_hand : g.upper_hand)[hand_kind_of(code)] += delta;
  if (is_upper_piece(code))
    g.upper_hand_total += delta;
  else if (is_lower_piece(code))
    g.lower_hand_total += delta;
}

// Adds `delta` to the hand of the side that captured `captured`.  A king
// never enters a hand; the totals follow the sign all the same.
void change_captor_hand(GameState& g, PieceCode captured, int delta) {
  if (std::abs(captured) != code_king)
    (captured < 0 ? g.upper_hand : g.lower_hand)[hand_kind_of(captured)] += delta;
  if (is_lower_piece(captured))
    g.upper_hand_total += delta;
  else if (is_upper_piece(captured))
    g.lower_hand_total += delta;
}

}  // namespace

void redo_recorded_move(GameState& g, const MoveRecord& e) {
  if (from_board(e))
    g.board[e.from_col][e.from_row] = empty_code;
  else
    change_owner_hand(g, e.piece_after, -1);
  g.board[e.to_col][e.to_row] = e.piece_after;
  if (e.captured != empty_code) change_captor_hand(g, e.captured, +1);
  locate_kings(g);
}

void undo_recorded_move(GameState& g, const MoveRecord& e) {
  if (from_board(e))
    g.board[e.from_col][e.from_row] = e.piece_before;
  else
    change_owner_hand(g, e.piece_after, +1);
  if (e.captured != empty_code) change_captor_hand(g, e.captured, -1);
  g.board[e.to_col][e.to_row] = e.captured;
  locate_kings(g);
}

}  // namespace nirvex

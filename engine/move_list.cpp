#include "engine/move_list.h"

#include "model/rules.h"

namespace nirvex {

namespace {

// Adds the ways a piece may arrive on a target it can reach: unpromoted
// where it may stay so, promoted where the move allows it.
void add_board_move(GameState& g, std::vector<RuleMove>& out, int c, int r,
                    int tc, int tr, PieceCode code) {
  const RuleMove plain{c, r, tc, tr, code, code};
  if (may_stay_unpromoted(tr, code) == flag_on) out.push_back(plain);
  if (promotion_possible(g, c, r, tc, tr, code) == flag_on) {
    RuleMove promoted = plain;
    promoted.piece_after = g.promoted_piece;
    out.push_back(promoted);
  }
}

}  // namespace

// Board moves of every piece of the side, then its drops.
std::vector<RuleMove> list_rule_moves(GameState& g, bool upper) {
  std::vector<RuleMove> out;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r) {
      const PieceCode code = g.board[c][r];
      if (upper ? !is_upper_piece(code) : !is_lower_piece(code)) continue;
      for (int tc = 1; tc <= 6; ++tc)
        for (int tr = 1; tr <= 6; ++tr)
          if (is_legal_move(g, c, r, tc, tr, code) == flag_on)
            add_board_move(g, out, c, r, tc, tr, code);
    }
  const HandArray& hand = upper ? g.upper_hand : g.lower_hand;
  const int hand_col = upper ? upper_hand_col : lower_hand_col;
  for (int kind = 1; kind <= 6; ++kind) {
    if (hand[kind] <= 0) continue;
    const PieceCode code = hand_kind_code(kind, upper);
    for (int tc = 1; tc <= 6; ++tc)
      for (int tr = 1; tr <= 6; ++tr)
        if (is_legal_move(g, hand_col, kind, tc, tr, code) == flag_on)
          out.push_back({hand_col, kind, tc, tr, code, code});
  }
  return out;
}

// Records the move with unchanged clocks, then carries it out.
bool play_rule_move(GameState& g, const RuleMove& m) {
  if (!append_move_record(g, m.from_col, m.from_row, m.to_col, m.to_row,
                          m.piece_before, m.piece_after, g.lower_time_total,
                          g.lower_time_total, g.upper_time_total, g.upper_time_total))
    return false;
  apply_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
  g.move_number += 1;
  return true;
}

}  // namespace nirvex

#include "tests/engine/support/board_setup.h"

#include "engine/square_maps.h"
#include "model/rules.h"

#include <gtest/gtest.h>

namespace nirvex::testing {

// Empty board, lower side to move.
GameState empty_game() {
  GameState g;
  g.turn = g.lower_side;
  return g;
}

// One piece on one square.
void put(GameState& g, int col, int row, PieceCode code) { g.board[col][row] = code; }

// Pieces into a hand, total kept in step.
void give(GameState& g, bool upper, int kind, int count) {
  (upper ? g.upper_hand : g.lower_hand)[kind] += count;
  (upper ? g.upper_hand_total : g.lower_hand_total) += count;
}

// Compares all 36 squares and names each mismatch.
void expect_map(const SquareMap& map, int fill, std::initializer_list<Cell> cells,
                const std::string& name) {
  SquareMap expected = filled_map(fill);
  for (const Cell& c : cells) expected[c.col][c.row] = c.value;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r)
      EXPECT_EQ(map[c][r], expected[c][r]) << name << " at (" << c << ", " << r << ")";
}

// Every entry the same value.
int pieces_in_play(const GameState& g) {
  int n = g.lower_hand_total + g.upper_hand_total;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r)
      if (g.board[c][r] != empty_code) ++n;
  return n;
}

SquareMap filled_map(int value) {
  SquareMap m;
  for (auto& column : m) column.fill(value);
  return m;
}

}  // namespace nirvex::testing

namespace nirvex::testing {

namespace {

// Upper codes whose movers write the guard square with the guard.
bool guard_square_written(int code) {
  return code == 30 || code == 100 || code == 800 || code == 801 || code == 900 || code == 901;
}

// Upper codes whose movers write the threat square with the threat.
bool threat_square_written(int code) {
  return code == 800 || code == 801 || code == 900 || code == 901;
}

}  // namespace

// Compares the rebuilt maps and the meaningful kept squares.
void expect_same_position_maps(const Analysis& before, const Analysis& after,
                               const std::string& where) {
  EXPECT_EQ(after.lower_attacks, before.lower_attacks) << where;
  EXPECT_EQ(after.upper_attacks, before.upper_attacks) << where;
  EXPECT_EQ(after.lower_guard, before.lower_guard) << where;
  EXPECT_EQ(after.upper_guard, before.upper_guard) << where;
  EXPECT_EQ(after.lower_threat, before.lower_threat) << where;
  EXPECT_EQ(after.lower_threat_x, before.lower_threat_x) << where;
  EXPECT_EQ(after.lower_threat_y, before.lower_threat_y) << where;
  EXPECT_EQ(after.upper_threat, before.upper_threat) << where;
  EXPECT_EQ(after.lower_check_map, before.lower_check_map) << where;
  EXPECT_EQ(after.upper_check_map, before.upper_check_map) << where;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r) {
      if (guard_square_written(before.upper_guard[c][r])) {
        EXPECT_EQ(after.upper_guard_x[c][r], before.upper_guard_x[c][r]) << where;
        EXPECT_EQ(after.upper_guard_y[c][r], before.upper_guard_y[c][r]) << where;
      }
      if (threat_square_written(before.upper_threat[c][r])) {
        EXPECT_EQ(after.upper_threat_x[c][r], before.upper_threat_x[c][r]) << where;
        EXPECT_EQ(after.upper_threat_y[c][r], before.upper_threat_y[c][r]) << where;
      }
    }
}

Analysis analysed(GameState& g) {
  Analysis a;
  mark_pawn_columns(g);
  build_square_maps(g, a);
  return a;
}

}  // namespace nirvex::testing

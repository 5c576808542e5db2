// The checkmate test of the upper king, asked after a human move.
#include <gtest/gtest.h>

#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::expect_map;
using testing::expect_same_position_maps;
using testing::give;
using testing::put;

using testing::analysed;

// Runs the test and checks that board and maps describe the same position
// afterwards.
int mated_keeping_position(GameState& g, Analysis& a) {
  const BoardArray board = g.board;
  const Analysis before = a;
  const int answer = upper_side_mated(g, a);
  EXPECT_EQ(g.board, board);
  expect_same_position_maps(before, a, "after upper_side_mated");
  return answer;
}

TEST(UpperSideMated, NoCheckChangesNothing) {
  GameState g;
  new_game(g);
  Analysis a = analysed(g);
  const Analysis before = a;
  EXPECT_EQ(upper_side_mated(g, a), flag_off);
  EXPECT_EQ(a.upper_guard_x, before.upper_guard_x);
  EXPECT_EQ(a.lower_attacks, before.lower_attacks);
}

// Upper king in the corner, its flights (1,2) and (2,2) covered by a lower
// silver; a lower rook checks along row 1 from (5,1).
GameState rook_check_along_row1() {
  GameState g = empty_game();
  put(g, 1, 1, 950);
  put(g, 5, 1, -900);
  put(g, 1, 3, -100);
  put(g, 6, 6, -950);
  return g;
}

TEST(UpperSideMated, PawnsInHandBlockWhenEverySquareAllowsTheDrop) {
  GameState g = rook_check_along_row1();
  give(g, true, 1, 2);
  Analysis a = analysed(g);
  expect_map(a.lower_check_map, 0, {{5, 1, 9}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}},
             "lower_check_map");
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

TEST(UpperSideMated, PawnForbiddenOnTheFirstSquareEndsTheDropDefence) {
  GameState g = rook_check_along_row1();
  give(g, true, 1);
  put(g, 2, 4, 20);  // an upper pawn already in column 2
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
}

TEST(UpperSideMated, PawnForbiddenOnTheLastSquareEndsItToo) {
  GameState g = rook_check_along_row1();
  give(g, true, 1);
  put(g, 4, 4, 20);
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
}

TEST(UpperSideMated, AGoldInHandBlocksAnywhere) {
  GameState g = rook_check_along_row1();
  give(g, true, 1);
  give(g, true, 4);
  put(g, 2, 4, 20);
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

TEST(UpperSideMated, EmptyHandAndNoDefenderIsMate) {
  GameState g = rook_check_along_row1();
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
}

TEST(UpperSideMated, BoardPieceBlocksTheLine) {
  GameState g = rook_check_along_row1();
  put(g, 3, 2, 100);  // the silver can step to (2,1) or (4,1)
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

TEST(UpperSideMated, KnightCheckIgnoresTheHand) {
  GameState g = empty_game();
  put(g, 1, 1, 950);
  put(g, 2, 3, -30);
  put(g, 3, 2, -110);  // covers (2,1) and (2,2)
  put(g, 1, 3, -20);   // covers (1,2)
  put(g, 6, 6, -950);
  give(g, true, 4);
  Analysis a = analysed(g);
  expect_map(a.lower_check_map, 0, {{2, 3, 9}, {1, 1, 9}}, "lower_check_map");
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
  put(g, 3, 4, 100);  // a silver that can take the knight
  a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

TEST(UpperSideMated, DoubleCheckBySlidersIsNotBlockedByOneDrop) {
  GameState g = rook_check_along_row1();
  put(g, 1, 3, empty_code);
  put(g, 4, 4, -800);  // second line through (3,3) and (2,2)
  put(g, 1, 3, -20);   // covers (1,2)
  give(g, true, 4);
  Analysis a = analysed(g);
  expect_map(a.lower_check_map, 0,
             {{5, 1, 9}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}, {4, 4, 9}, {3, 3, 1}, {2, 2, 1}},
             "lower_check_map");
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
}

TEST(UpperSideMated, SquareBehindTheKingOnTheLineIsAttacked) {
  GameState g = empty_game();
  put(g, 1, 2, 950);
  put(g, 1, 5, -900);
  put(g, 3, 2, -110);  // covers (2,1) and (2,2)
  put(g, 2, 4, -20);   // covers (2,3)
  put(g, 6, 6, -950);
  Analysis a = analysed(g);
  EXPECT_EQ(a.lower_attacks[1][1], 1);
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
}

TEST(UpperSideMated, KingTakesAnUnprotectedChecker) {
  GameState g = empty_game();
  put(g, 1, 1, 950);
  put(g, 1, 2, -110);
  put(g, 6, 6, -950);
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

TEST(UpperSideMated, CaptureThatOpensAnotherLineDoesNotCount) {
  GameState g = empty_game();
  put(g, 1, 1, 950);
  put(g, 2, 2, -100);  // checks, defended by the bishop
  put(g, 4, 4, -800);
  put(g, 2, 1, 110);   // can take the silver, but shields the king
  put(g, 5, 1, -900);
  put(g, 1, 3, -20);   // covers (1,2)
  put(g, 6, 6, -950);
  Analysis a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_on);
  put(g, 5, 1, empty_code);
  a = analysed(g);
  EXPECT_EQ(mated_keeping_position(g, a), flag_off);
}

}  // namespace
}  // namespace nirvex

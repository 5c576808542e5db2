// The computer player's position tests: flight squares, check, mate of the
// lower king, pins and the bishop-drop danger map.
#include <gtest/gtest.h>

#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::expect_map;
using testing::filled_map;
using testing::give;
using testing::put;

using testing::analysed;

TEST(KingFlights, CornerKingLooksAtThreeSquares) {
  GameState g = empty_game();
  put(g, 1, 1, -950);
  put(g, 6, 2, 900);  // sweeps row 2 up to (1,2)
  put(g, 6, 6, 950);
  Analysis a = analysed(g);
  EXPECT_EQ(count_king_flights(g, a), 1);  // only (2,1)
  put(g, 2, 1, -110);
  a = analysed(g);
  EXPECT_EQ(count_king_flights(g, a), 0);
}

TEST(KingFlights, OccupiedSquaresNeverCount) {
  GameState g = empty_game();
  put(g, 3, 3, -950);
  Analysis a = analysed(g);
  EXPECT_EQ(count_king_flights(g, a), 8);
  put(g, 4, 4, 20);   // an undefended upper piece still blocks the count
  put(g, 2, 2, -20);
  a = analysed(g);
  EXPECT_EQ(count_king_flights(g, a), 6);
}

TEST(UpperGivesCheck, KnightJumpsAndBlockedRook) {
  GameState g = empty_game();
  put(g, 3, 3, -950);
  put(g, 3, 6, 900);
  put(g, 3, 5, -20);
  analysed(g);  // finds the king
  EXPECT_EQ(upper_gives_check(g), flag_off);
  put(g, 2, 1, 30);
  EXPECT_EQ(upper_gives_check(g), flag_on);
}

TEST(LowerSideMated, NoCheckNoMate) {
  GameState g;
  new_game(g);
  Analysis a = analysed(g);
  const Analysis before = a;
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
  EXPECT_EQ(a.upper_attacks, before.upper_attacks);
}

TEST(LowerSideMated, KingTakesAnUndefendedChecker) {
  GameState g = empty_game();
  put(g, 6, 6, -950);
  put(g, 6, 5, 110);
  put(g, 1, 1, 950);
  Analysis a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
}

// Lower king in the corner checked along column 6 by a rook two squares
// away; the gold covers the other flights.  One square lies in between.
GameState rook_check_in_corner() {
  GameState g = empty_game();
  put(g, 6, 6, -950);
  put(g, 6, 4, 900);
  put(g, 4, 5, 110);
  put(g, 1, 1, 950);
  return g;
}

TEST(LowerSideMated, PawnCannotBlockOnAColumnWithItsOwnPawn) {
  GameState g = rook_check_in_corner();
  put(g, 6, 2, -20);
  give(g, false, 1);
  Analysis a = analysed(g);
  expect_map(a.upper_check_map, 0, {{6, 4, 9}, {6, 5, 1}}, "upper_check_map");
  EXPECT_EQ(lower_side_mated(g, a), flag_on);
}

TEST(LowerSideMated, PawnDropOnAFreeColumnBlocks) {
  GameState g = rook_check_in_corner();
  put(g, 2, 4, -20);
  give(g, false, 1, 2);
  Analysis a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
}

TEST(LowerSideMated, AnyOtherPieceInHandBlocks) {
  GameState g = rook_check_in_corner();
  put(g, 6, 2, -20);
  give(g, false, 1);
  give(g, false, 3);
  Analysis a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
}

TEST(LowerSideMated, KnightCheckIsNotBlockedByADrop) {
  GameState g = empty_game();
  put(g, 6, 6, -950);
  put(g, 5, 4, 30);
  put(g, 4, 5, 110);
  put(g, 6, 4, 20);
  put(g, 1, 1, 950);
  give(g, false, 3);
  Analysis a = analysed(g);
  expect_map(a.upper_check_map, 0, {{5, 4, 9}, {6, 6, 9}}, "upper_check_map");
  EXPECT_EQ(lower_side_mated(g, a), flag_on);
  put(g, 5, 5, -20);  // a pawn that can take the knight
  a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
}

TEST(LowerSideMated, CaptureThatOpensAnotherLineDoesNotCount) {
  GameState g = empty_game();
  put(g, 6, 6, -950);
  put(g, 6, 5, 100);   // checks, defended by the rook
  put(g, 6, 1, 900);
  put(g, 5, 5, -110);  // can take the silver, but shields the king
  put(g, 2, 2, 800);
  put(g, 1, 1, 950);
  Analysis a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_on);
  put(g, 2, 2, empty_code);
  a = analysed(g);
  EXPECT_EQ(lower_side_mated(g, a), flag_off);
}

TEST(LowerSideMated, BoardIsPutBackOnEveryPath) {
  for (int variant = 0; variant < 3; ++variant) {
    GameState g = rook_check_in_corner();
    put(g, 6, 2, -20);
    put(g, 5, 1, -30);
    give(g, false, 1);
    if (variant == 1) give(g, false, 4);
    if (variant == 2) put(g, 6, 2, empty_code);
    Analysis a = analysed(g);
    const BoardArray board = g.board;
    lower_side_mated(g, a);
    EXPECT_EQ(g.board, board) << "variant " << variant;
  }
}

TEST(PinnedPieces, ShieldsOnBothSides) {
  GameState g = empty_game();
  put(g, 3, 6, -950);
  put(g, 3, 4, -100);  // between the upper rook and its king
  put(g, 1, 6, -110);
  put(g, 3, 1, 900);
  put(g, 6, 1, 950);
  put(g, 5, 2, 110);   // between the lower bishop and its king
  put(g, 4, 3, -800);
  Analysis a = analysed(g);  // finds the kings
  a.lower_pinned = filled_map(1);
  mark_pinned_pieces(g, a);
  expect_map(a.lower_pinned, 0, {{3, 4, 1}}, "lower_pinned");
  EXPECT_TRUE(a.upper_pin_found);
}

// With the king already attacked by a slider, lifting any lower piece,
// the king included, leaves the slider reaching the king's square.
TEST(PinnedPieces, KingAlreadyInALineMarksEveryLowerPiece) {
  GameState g = empty_game();
  put(g, 3, 6, -950);
  put(g, 3, 1, 901);
  put(g, 5, 5, -20);
  put(g, 6, 1, 950);
  Analysis a = analysed(g);  // finds the kings
  a.upper_pin_found = true;
  const BoardArray board = g.board;
  mark_pinned_pieces(g, a);
  expect_map(a.lower_pinned, 0, {{3, 6, 1}, {5, 5, 1}}, "lower_pinned");
  EXPECT_FALSE(a.upper_pin_found);
  EXPECT_EQ(g.board, board);
}

TEST(BishopDropDanger, OpenDiagonalsOfTheUpperKing) {
  GameState g = empty_game();
  put(g, 1, 1, 950);
  put(g, 6, 6, -950);
  Analysis a = analysed(g);
  a.bishop_drop_danger = filled_map(1);
  mark_bishop_drop_danger(g, a);
  expect_map(a.bishop_drop_danger, 0, {{2, 2, 1}, {3, 3, 1}, {4, 4, 1}, {5, 5, 1}},
             "bishop_drop_danger");

  put(g, 3, 2, 100);  // defends (3,3), which is not near the king
  put(g, 1, 2, 110);  // defends (2,2) a second time
  a = analysed(g);
  mark_bishop_drop_danger(g, a);
  expect_map(a.bishop_drop_danger, 0, {{4, 4, 1}, {5, 5, 1}}, "bishop_drop_danger");
}

}  // namespace
}  // namespace nirvex

// The square maps on small positions: attack counts, cheapest guards and
// threats with their squares, check lines and the king squares.
#include <gtest/gtest.h>

#include "engine/square_maps.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::Cell;
using testing::empty_game;
using testing::expect_map;
using testing::filled_map;
using testing::put;

constexpr int stale = 77;  // what an earlier build left in the kept maps

// An analysis whose kept maps hold a recognisable leftover everywhere.
Analysis with_stale_squares() {
  Analysis a;
  a.upper_guard_x = a.upper_guard_y = filled_map(stale);
  a.upper_threat_x = a.upper_threat_y = filled_map(stale);
  return a;
}

TEST(SquareMaps, StartAsAtProgramStartAllZero) {
  const Analysis a;
  for (const SquareMap* m : {&a.lower_attacks, &a.upper_attacks, &a.lower_guard,
                             &a.upper_guard, &a.upper_guard_x, &a.upper_guard_y,
                             &a.lower_threat, &a.lower_threat_x, &a.lower_threat_y,
                             &a.upper_threat, &a.upper_threat_x, &a.upper_threat_y,
                             &a.lower_check_map, &a.upper_check_map, &a.lower_pinned,
                             &a.bishop_drop_danger})
    EXPECT_EQ(*m, filled_map(0));
  EXPECT_FALSE(a.upper_pin_found);
}

TEST(SquareMaps, EmptyBoardLeavesStartValuesAndKingSquares) {
  GameState g = empty_game();
  g.lower_king_x = 3, g.lower_king_y = 4, g.upper_king_x = 2, g.upper_king_y = 5;
  Analysis a = with_stale_squares();
  a.lower_attacks[2][2] = 5;
  a.lower_threat_x[3][3] = 4;
  a.upper_check_map[1][1] = 9;
  build_square_maps(g, a);
  expect_map(a.lower_attacks, 0, {}, "lower_attacks");
  expect_map(a.upper_attacks, 0, {}, "upper_attacks");
  expect_map(a.lower_guard, 999, {}, "lower_guard");
  expect_map(a.upper_guard, 999, {}, "upper_guard");
  expect_map(a.lower_threat, -999, {}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {}, "lower_threat_y");
  expect_map(a.upper_threat, 999, {}, "upper_threat");
  expect_map(a.lower_check_map, 0, {}, "lower_check_map");
  expect_map(a.upper_check_map, 0, {}, "upper_check_map");
  expect_map(a.upper_guard_x, stale, {}, "upper_guard_x");
  expect_map(a.upper_threat_y, stale, {}, "upper_threat_y");
  EXPECT_EQ(g.lower_king_x, 3);
  EXPECT_EQ(g.lower_king_y, 4);
  EXPECT_EQ(g.upper_king_x, 2);
  EXPECT_EQ(g.upper_king_y, 5);
}

TEST(SquareMaps, LowerRookChecksUpKingAndPassesThrough) {
  GameState g = empty_game();
  put(g, 1, 6, -900);
  put(g, 1, 3, 950);
  put(g, 1, 1, 100);
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.lower_attacks, 0,
             {{1, 5, 1}, {1, 4, 1}, {1, 3, 1}, {1, 2, 1}, {1, 1, 1},
              {2, 6, 1}, {3, 6, 1}, {4, 6, 1}, {5, 6, 1}, {6, 6, 1}},
             "lower_attacks");
  expect_map(a.lower_check_map, 0, {{1, 6, 9}, {1, 5, 1}, {1, 4, 1}}, "lower_check_map");
  expect_map(a.lower_threat, -999, {{1, 3, -900}, {1, 1, -900}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{1, 3, 1}, {1, 1, 1}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{1, 3, 6}, {1, 1, 6}}, "lower_threat_y");
  // The king and the silver: the silver steps to (1,2) and (2,2), the king
  // everywhere around (1,3).
  expect_map(a.upper_attacks, 0,
             {{1, 2, 2}, {2, 2, 2}, {1, 4, 1}, {2, 4, 1}, {2, 3, 1}}, "upper_attacks");
  expect_map(a.upper_guard, 999, {}, "upper_guard");
  expect_map(a.upper_threat, 999, {{1, 6, 999}}, "upper_threat");
  expect_map(a.upper_check_map, 0, {}, "upper_check_map");
  expect_map(a.lower_guard, 999, {}, "lower_guard");
  EXPECT_EQ(g.upper_king_x, 1);
  EXPECT_EQ(g.upper_king_y, 3);
}

TEST(SquareMaps, LowerKnightMarksItselfAndTheKing) {
  GameState g = empty_game();
  put(g, 3, 5, -30);
  put(g, 2, 3, 950);
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_check_map, 0, {{3, 5, 9}, {2, 3, 9}}, "lower_check_map");
  expect_map(a.lower_attacks, 0, {{2, 3, 1}, {4, 3, 1}}, "lower_attacks");
  expect_map(a.lower_threat, -999, {{2, 3, -30}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{2, 3, 3}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{2, 3, 5}}, "lower_threat_y");
}

TEST(SquareMaps, LowerPawnCheckMarksOnlyItself) {
  GameState g = empty_game();
  put(g, 4, 4, -20);
  put(g, 4, 3, 950);
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_check_map, 0, {{4, 4, 9}}, "lower_check_map");
  expect_map(a.lower_threat, -999, {{4, 3, -20}}, "lower_threat");
  // The king attacks the pawn but records no threat and marks no check.
  expect_map(a.upper_threat, 999, {}, "upper_threat");
  expect_map(a.upper_check_map, 0, {}, "upper_check_map");
  EXPECT_EQ(a.upper_attacks[4][4], 1);
}

TEST(SquareMaps, FirstOfEqualGuardsKeepsTheSquare) {
  GameState g = empty_game();
  put(g, 3, 3, 20);
  put(g, 2, 4, 100);  // scanned after (2,2): same column, later row
  put(g, 2, 2, 100);
  put(g, 4, 2, 100);  // later column
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_guard, 999, {{3, 3, 100}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {{3, 3, 2}}, "upper_guard_x");
  expect_map(a.upper_guard_y, stale, {{3, 3, 2}}, "upper_guard_y");
  EXPECT_EQ(a.upper_attacks[3][3], 3);
}

TEST(SquareMaps, UpperGoldPatternRecords110WithoutSquaresOrThreats) {
  GameState g = empty_game();
  put(g, 3, 3, 21);    // promoted pawn: gold steps, recorded as +110
  put(g, 3, 4, 100);   // defended by it straight ahead
  put(g, 4, 4, 101);   // defended by it diagonally; defends (3,4) too
  put(g, 2, 3, -110);  // attacked by it sideways and by the silver
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_guard, 999, {{3, 4, 110}, {4, 4, 110}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {}, "upper_guard_x");
  expect_map(a.upper_guard_y, stale, {}, "upper_guard_y");
  // Neither gold-pattern movers nor silvers record threats.
  expect_map(a.upper_threat, 999, {}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {}, "upper_threat_x");
  expect_map(a.upper_attacks, 0,
             {{3, 2, 1}, {3, 4, 2}, {2, 4, 1}, {4, 4, 1}, {2, 3, 2}, {4, 3, 3},
              {3, 5, 2}, {2, 5, 1}, {4, 5, 2}, {5, 5, 1}, {5, 4, 1}},
             "upper_attacks");
  expect_map(a.lower_threat, -999, {{3, 3, -110}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{3, 3, 2}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{3, 3, 3}}, "lower_threat_y");
  expect_map(a.lower_attacks, 0,
             {{2, 2, 1}, {1, 2, 1}, {3, 2, 1}, {2, 4, 1}, {1, 3, 1}, {3, 3, 1}},
             "lower_attacks");
}

TEST(SquareMaps, LowerPromotedBishopRecordsItsOwnCodeOnlyOrthogonally) {
  GameState g = empty_game();
  put(g, 3, 3, -801);
  put(g, 3, 2, -20);   // orthogonal neighbour, own piece
  put(g, 4, 4, -30);   // diagonal neighbour, own piece
  put(g, 2, 3, 20);    // orthogonal neighbour, enemy piece
  put(g, 1, 1, 900);   // at the end of a diagonal, enemy piece
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_guard, 999, {{3, 2, -801}, {4, 4, -800}}, "lower_guard");
  expect_map(a.lower_threat, -999, {{2, 3, -801}, {1, 1, -800}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{2, 3, 3}, {1, 1, 3}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{2, 3, 3}, {1, 1, 3}}, "lower_threat_y");
}

TEST(SquareMaps, UpperPromotedBishopStepsOnlyCountAndCheck) {
  GameState g = empty_game();
  put(g, 3, 3, 801);
  put(g, 2, 3, 30);     // orthogonal, own: no guard from a step
  put(g, 3, 2, -20);    // orthogonal, enemy: no threat from a step
  put(g, 3, 4, -950);   // orthogonal, the lower king: check mark
  put(g, 5, 5, -20);    // end of a diagonal, enemy: the slide threatens it
  put(g, 1, 1, 900);    // end of a diagonal, own: the slide guards it
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_guard, 999, {{1, 1, 801}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {{1, 1, 3}}, "upper_guard_x");
  expect_map(a.upper_guard_y, stale, {{1, 1, 3}}, "upper_guard_y");
  expect_map(a.upper_threat, 999, {{5, 5, 801}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {{5, 5, 3}}, "upper_threat_x");
  expect_map(a.upper_threat_y, stale, {{5, 5, 3}}, "upper_threat_y");
  expect_map(a.upper_check_map, 0, {{3, 3, 9}}, "upper_check_map");
  EXPECT_EQ(a.upper_attacks[3][2], 1);
  EXPECT_EQ(a.upper_attacks[2][3], 1);
  EXPECT_EQ(a.upper_attacks[3][4], 1);
  EXPECT_EQ(g.lower_king_x, 3);
  EXPECT_EQ(g.lower_king_y, 4);
}

TEST(SquareMaps, KingsThreatenButNeverCheck) {
  GameState g = empty_game();
  put(g, 3, 3, -950);
  put(g, 3, 2, 950);   // the kings face each other
  put(g, 4, 4, -20);   // guarded by the lower king
  put(g, 2, 1, 20);    // guarded by the upper king
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.lower_threat, -999, {{3, 2, -950}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{3, 2, 3}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{3, 2, 3}}, "lower_threat_y");
  expect_map(a.lower_guard, 999, {{4, 4, -950}}, "lower_guard");
  expect_map(a.upper_threat, 999, {}, "upper_threat");
  expect_map(a.upper_guard, 999, {{2, 1, 950}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {}, "upper_guard_x");
  expect_map(a.lower_check_map, 0, {}, "lower_check_map");
  expect_map(a.upper_check_map, 0, {}, "upper_check_map");
}

TEST(SquareMaps, ReservedCodeAttacksNothingButStopsSlides) {
  GameState g = empty_game();
  put(g, 1, 1, 900);
  put(g, 1, 3, -111);
  put(g, 4, 4, 111);
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_attacks, 0,
             {{1, 2, 1}, {1, 3, 1}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}, {5, 1, 1}, {6, 1, 1}},
             "upper_attacks");
  expect_map(a.lower_attacks, 0, {}, "lower_attacks");
  expect_map(a.upper_threat, 999, {{1, 3, 900}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {{1, 3, 1}}, "upper_threat_x");
  expect_map(a.upper_threat_y, stale, {{1, 3, 1}}, "upper_threat_y");
}

TEST(SquareMaps, UpperSlidePassesTheLowerKingAndMarksTheLine) {
  GameState g = empty_game();
  put(g, 2, 1, 800);
  put(g, 5, 4, -950);
  put(g, 6, 5, -100);  // first piece behind the king
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_check_map, 0, {{2, 1, 9}, {3, 2, 1}, {4, 3, 1}}, "upper_check_map");
  expect_map(a.upper_threat, 999, {{5, 4, 800}, {6, 5, 800}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {{5, 4, 2}, {6, 5, 2}}, "upper_threat_x");
  expect_map(a.upper_threat_y, stale, {{5, 4, 1}, {6, 5, 1}}, "upper_threat_y");
  expect_map(a.upper_attacks, 0,
             {{1, 2, 1}, {3, 2, 1}, {4, 3, 1}, {5, 4, 1}, {6, 5, 1}}, "upper_attacks");
  // The silver attacks two squares back diagonally; the king all around.
  EXPECT_EQ(a.lower_attacks[4][3], 1);
  EXPECT_EQ(a.lower_attacks[5][6], 1);
}

TEST(SquareMaps, UpperPromotedRookDiagonalsWriteEverything) {
  GameState g = empty_game();
  put(g, 3, 3, 901);
  put(g, 3, 1, -20);   // end of a line: threat recorded by the slide
  put(g, 2, 2, -100);  // diagonal step: threat with square
  put(g, 4, 4, 30);    // diagonal step: guard with square
  put(g, 4, 2, -950);  // diagonal step onto the king: check mark
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_threat, 999, {{3, 1, 901}, {2, 2, 901}, {4, 2, 901}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {{3, 1, 3}, {2, 2, 3}, {4, 2, 3}}, "upper_threat_x");
  expect_map(a.upper_threat_y, stale, {{3, 1, 3}, {2, 2, 3}, {4, 2, 3}}, "upper_threat_y");
  expect_map(a.upper_guard, 999, {{4, 4, 901}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {{4, 4, 3}}, "upper_guard_x");
  expect_map(a.upper_check_map, 0, {{3, 3, 9}}, "upper_check_map");
}

TEST(SquareMaps, UpperPawnAndKnightWriteWhatTheirRulesGrant) {
  GameState g = empty_game();
  put(g, 2, 2, 20);    // pawn threatens (2,3) without a square
  put(g, 2, 3, -30);
  put(g, 4, 1, 30);    // knight: guards (5,3) with square, threatens nothing
  put(g, 5, 3, 110);
  put(g, 3, 3, -20);
  put(g, 5, 4, 30);    // knight onto the lower king: both squares marked
  put(g, 6, 6, -950);
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_threat, 999, {{2, 3, 20}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {}, "upper_threat_x");
  expect_map(a.upper_guard, 999, {{5, 3, 30}, {5, 4, 110}}, "upper_guard");
  expect_map(a.upper_guard_x, stale, {{5, 3, 4}}, "upper_guard_x");
  expect_map(a.upper_guard_y, stale, {{5, 3, 1}}, "upper_guard_y");
  expect_map(a.upper_check_map, 0, {{5, 4, 9}, {6, 6, 9}}, "upper_check_map");
  EXPECT_EQ(a.upper_attacks[3][3], 1);
}

TEST(SquareMaps, CheapestThreatWinsAndFirstOfEqualsKeepsItsSquare) {
  GameState g = empty_game();
  put(g, 3, 3, -20);
  put(g, 3, 1, 900);   // first rook, scanned first
  put(g, 3, 6, 900);   // second rook, same code, later
  put(g, 4, 2, 100);   // cheaper silver: code but no square
  Analysis a = with_stale_squares();
  build_square_maps(g, a);
  expect_map(a.upper_threat, 999, {{3, 3, 900}}, "upper_threat");
  expect_map(a.upper_threat_x, stale, {{3, 3, 3}}, "upper_threat_x");
  expect_map(a.upper_threat_y, stale, {{3, 3, 1}}, "upper_threat_y");
  EXPECT_EQ(a.upper_attacks[3][3], 3);
}

TEST(SquareMaps, LowerThreatKeepsTheCheapestAttacker) {
  GameState g = empty_game();
  put(g, 2, 2, 800);
  put(g, 2, 6, -900);  // rook, scanned first
  put(g, 2, 3, -20);   // pawn: cheaper
  put(g, 3, 3, -100);  // silver: dearer than the pawn
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_threat, -999, {{2, 2, -20}}, "lower_threat");
  expect_map(a.lower_threat_x, 0, {{2, 2, 2}}, "lower_threat_x");
  expect_map(a.lower_threat_y, 0, {{2, 2, 3}}, "lower_threat_y");
  // The rook's line ends at its own pawn, which it guards.
  expect_map(a.lower_guard, 999, {{2, 3, -900}}, "lower_guard");
  EXPECT_EQ(a.lower_attacks[2][2], 2);
}

TEST(SquareMaps, LowerPromotedRookStepsCheckAfterItsLines) {
  GameState g = empty_game();
  put(g, 3, 3, -901);
  put(g, 2, 2, 950);   // diagonal step onto the upper king
  put(g, 4, 2, 20);
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_check_map, 0, {{3, 3, 9}}, "lower_check_map");
  expect_map(a.lower_threat, -999, {{2, 2, -901}, {4, 2, -901}}, "lower_threat");
  EXPECT_EQ(g.upper_king_x, 2);
  EXPECT_EQ(g.upper_king_y, 2);
}

TEST(SquareMaps, KnightsOnTheFarRowsAttackNothing) {
  GameState g = empty_game();
  put(g, 3, 2, -30);
  put(g, 3, 5, 30);
  Analysis a;
  build_square_maps(g, a);
  expect_map(a.lower_attacks, 0, {}, "lower_attacks");
  expect_map(a.upper_attacks, 0, {}, "upper_attacks");
}

TEST(SquareMaps, InitialPosition) {
  GameState g;
  new_game(g);
  g.lower_king_x = g.lower_king_y = g.upper_king_x = g.upper_king_y = 3;
  Analysis a;
  build_square_maps(g, a);
  EXPECT_EQ(g.lower_king_x, 1);
  EXPECT_EQ(g.lower_king_y, 6);
  EXPECT_EQ(g.upper_king_x, 6);
  EXPECT_EQ(g.upper_king_y, 1);
  // Lower pieces: king (1,6), gold (2,6), silver (3,6), knight (4,6),
  // bishop (5,6), rook (6,6), pawn (1,5).
  expect_map(a.lower_attacks, 0,
             {{1, 5, 2}, {2, 5, 3}, {2, 6, 1}, {3, 5, 2}, {1, 6, 1}, {3, 6, 1},
              {4, 5, 2}, {3, 4, 2}, {5, 4, 1}, {2, 3, 1}, {1, 2, 1}, {6, 5, 2},
              {6, 4, 1}, {6, 3, 1}, {6, 2, 1}, {5, 6, 1}, {1, 4, 1}},
             "lower_attacks");
  expect_map(a.lower_guard, 999,
             {{1, 5, -950}, {2, 6, -950}, {1, 6, -110}, {3, 6, -110}, {5, 6, -900}},
             "lower_guard");
  expect_map(a.lower_threat, -999, {{6, 2, -900}}, "lower_threat");
  expect_map(a.upper_check_map, 0, {}, "upper_check_map");
  expect_map(a.lower_check_map, 0, {}, "lower_check_map");
}

}  // namespace
}  // namespace nirvex

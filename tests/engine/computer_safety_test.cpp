// The safety walk over the whole board after a candidate move, and its
// helper that looks for a lower rook below a square.
#include <gtest/gtest.h>

#include "engine/com_search.h"
#include "engine/safety.h"
#include "engine/square_maps.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::give;
using testing::put;

// The position as the computer finds it at the start of its turn (maps
// built after the human's move), analysed as the turn does.
void start_turn(GameState& g, Analysis& a, ComputerState& c) {
  build_square_maps(g, a);
  prepare_com_turn(g, a, c);
}

// Safety of the position as it stands, `piece` on (to_x, to_y) counting
// as the moved piece.
double safety_here(GameState& g, PieceCode piece, int to_x, int to_y) {
  Analysis a;
  ComputerState c;
  start_turn(g, a, c);
  build_square_maps(g, a);
  return assess_upper_safety(g, a, c, piece, to_x, to_y);
}

// Upper king on (6,1) with its front square attacked by a lower pawn,
// defended by the king alone.
GameState king_front_attacked() {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 6, 3, -20);
  put(g, 1, 6, -950);
  return g;
}

TEST(ComputerSafety, KingFrontAttackedWithGoldInHand) {
  GameState g = king_front_attacked();
  give(g, false, 4);
  // The king's attacked front square: -50 - 250 - 700.  Its front square (6,2): -0.5 for
  // one attacker, -10 for the gold in hand, -30 for the pawn in front of
  // an attacked square.  Thirteen empty undefended squares of rows 1-3
  // lose 0.1 each to the drop threats.
  EXPECT_NEAR(safety_here(g, 950, 6, 1), -1000 - 40.5 - 1.3, 1e-9);
}

TEST(ComputerSafety, EmptyLowerHandSwitchesDropTermsOff) {
  GameState g = king_front_attacked();
  EXPECT_NEAR(safety_here(g, 950, 6, 1), -300 - 30.5, 1e-9);
}

// An upper rook on (3,4) attacked by a lower pawn on (3,5), defended by an
// upper gold on (3,3); the lower king on (lower_king_col, 6).
GameState rook_attacked_by_pawn(int lower_king_col) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 3, 3, 110);
  put(g, 3, 4, 900);
  put(g, 3, 5, -20);
  put(g, lower_king_col, 6, -950);
  return g;
}

TEST(ComputerSafety, RookAttackedByFreePawnLosesTheDifference) {
  GameState g = rook_attacked_by_pawn(1);
  EXPECT_NEAR(safety_here(g, 900, 3, 4), -880, 1e-9);
}

TEST(ComputerSafety, RookAttackedByPinnedPawnLosesNothing) {
  GameState g = rook_attacked_by_pawn(3);
  EXPECT_NEAR(safety_here(g, 900, 3, 4), 0, 1e-9);
}

// A knight jumps to (4,4) and forks an undefended lower silver and bishop.
TEST(ComputerSafety, ForkOfTwoUndefendedPiecesCountsTheCheaper) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 3, 2, 30);
  put(g, 1, 6, -950);
  put(g, 3, 6, -100);
  put(g, 5, 6, -800);
  Analysis a;
  ComputerState c;
  start_turn(g, a, c);
  g.board[3][2] = 0;
  g.board[4][4] = 30;
  build_square_maps(g, a);
  // -0.1 on (1,2) and (2,3), +0.1 for each attacked piece, +100 for the
  // fork.
  EXPECT_NEAR(assess_upper_safety(g, a, c, 30, 4, 4), 100, 1e-9);
}

// An undefended upper piece costs its value, and the value of what it has
// just captured there comes back.
TEST(ComputerSafety, UndefendedCapturerGetsTheCaptureBack) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 3, 3, 100);
  put(g, 3, 4, -110);
  put(g, 3, 5, -20);
  put(g, 1, 6, -950);
  Analysis a;
  ComputerState c;
  start_turn(g, a, c);
  g.board[3][3] = 0;
  g.board[3][4] = 100;
  build_square_maps(g, a);
  // -(100 - 20) for the cheaper attacker, -100 undefended, +110 captured.
  EXPECT_NEAR(assess_upper_safety(g, a, c, 100, 3, 4), -70, 1e-9);
}

// Upper pieces on (2,1), (4,1) and the king on (6,1): a lower knight
// dropped on (3,3) or on (5,3) would attack two of them.
TEST(ComputerSafety, KnightDropForkSquare) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 2, 1, 100);
  put(g, 4, 1, 110);
  give(g, false, 1);
  const double pawn_in_hand = safety_here(g, 950, 6, 1);
  g.lower_hand[1] = 0;
  g.lower_hand[2] = 1;
  EXPECT_NEAR(safety_here(g, 950, 6, 1) - pawn_in_hand, -40, 1e-9);
}

// Undefended upper knights on (2,2) and (4,4) around the empty (3,3): a
// lower gold dropped there would attack both.
TEST(ComputerSafety, GoldDropForkSquare) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 2, 2, 30);
  put(g, 4, 4, 30);
  give(g, false, 1);
  const double pawn_in_hand = safety_here(g, 950, 6, 1);
  g.lower_hand[1] = 0;
  g.lower_hand[4] = 1;
  EXPECT_NEAR(safety_here(g, 950, 6, 1) - pawn_in_hand, -20, 1e-9);
}

TEST(ComputerSafety, LowerRookBelowFindsAClearFile) {
  GameState g = empty_game();
  put(g, 2, 6, -900);
  EXPECT_TRUE(lower_rook_below(g, 2, 3));
  put(g, 2, 3, 110);  // the piece on the square is lifted for the test
  EXPECT_TRUE(lower_rook_below(g, 2, 3));
  EXPECT_EQ(g.board[2][3], 110);
  put(g, 2, 5, 20);  // an upper piece ends the walk
  EXPECT_FALSE(lower_rook_below(g, 2, 3));
  put(g, 2, 5, -20);  // a lower piece is passed over but blocks the rook
  EXPECT_FALSE(lower_rook_below(g, 2, 3));
  put(g, 2, 5, 0);
  put(g, 2, 6, -901);
  EXPECT_TRUE(lower_rook_below(g, 2, 3));
  put(g, 2, 6, -800);
  EXPECT_FALSE(lower_rook_below(g, 2, 3));
  EXPECT_FALSE(lower_rook_below(g, 2, 6));  // nothing below the last row
}

}  // namespace
}  // namespace nirvex

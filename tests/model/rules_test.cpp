// Movement rules, drops and promotion.
#include <gtest/gtest.h>

#include "model/rules.h"

namespace nirvex {
namespace {

class Rules : public ::testing::Test {
 protected:
  void SetUp() override { clear(); }
  void clear() {
    for (auto& col : g.board) col.fill(0);
    mark_pawn_columns(g);
  }
  int legal(int fc, int fr, int tc, int tr, PieceCode p) {
    return is_legal_move(g, fc, fr, tc, tr, p);
  }
  // Number of squares the piece on (x, y) may go to.
  int destinations(int x, int y) {
    int n = 0;
    for (int tx = 1; tx <= 6; ++tx)
      for (int ty = 1; ty <= 6; ++ty) n += legal(x, y, tx, ty, g.board[x][y]);
    return n;
  }
  GameState g;
};

TEST_F(Rules, StartPositionGivesEighteenMovesToEachSide) {
  new_game(g);
  int lower = 0, upper = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      if (is_lower_piece(g.board[x][y])) lower += destinations(x, y);
      if (is_upper_piece(g.board[x][y])) upper += destinations(x, y);
    }
  EXPECT_EQ(lower, 18);
  EXPECT_EQ(upper, 18);
}

TEST_F(Rules, OffBoardSameSquareAndOwnPiecesAreRefused) {
  g.board[3][3] = -900;
  g.board[3][1] = -20;
  EXPECT_EQ(legal(3, 3, 3, 0, -900), flag_off);
  EXPECT_EQ(legal(3, 3, 7, 3, -900), flag_off);
  EXPECT_EQ(legal(3, 3, 3, 3, -900), flag_off);
  EXPECT_EQ(legal(3, 3, 3, 1, -900), flag_off);
  g.board[3][1] = 20;
  EXPECT_EQ(legal(3, 3, 3, 1, -900), flag_on);
}

TEST_F(Rules, RookCannotJumpButTakesTheFirstEnemy) {
  g.board[1][1] = 900;
  g.board[1][6] = -950;
  EXPECT_EQ(legal(1, 1, 1, 6, 900), flag_on);
  for (int y = 2; y <= 5; ++y) {
    g.board[1][y] = -20;
    EXPECT_EQ(legal(1, 1, 1, 6, 900), flag_off) << y;
    g.board[1][y] = 0;
  }
  EXPECT_EQ(legal(1, 1, 2, 2, 900), flag_off);
  EXPECT_EQ(legal(1, 1, 6, 1, 900), flag_on);
}

TEST_F(Rules, PromotedRookAndBishopAddTheKingsStep) {
  g.board[3][3] = 901;
  EXPECT_EQ(legal(3, 3, 4, 4, 901), flag_on);
  EXPECT_EQ(legal(3, 3, 5, 5, 901), flag_off);
  EXPECT_EQ(legal(3, 3, 3, 6, 901), flag_on);
  g.board[3][3] = -801;
  EXPECT_EQ(legal(3, 3, 3, 4, -801), flag_on);
  EXPECT_EQ(legal(3, 3, 3, 5, -801), flag_off);
  EXPECT_EQ(legal(3, 3, 6, 6, -801), flag_on);
  g.board[4][4] = 20;
  EXPECT_EQ(legal(3, 3, 6, 6, -801), flag_off);
  EXPECT_EQ(legal(3, 3, 4, 4, -801), flag_on);
}

TEST_F(Rules, SilverAndGoldStepDifferentlyBackwards) {
  g.board[3][3] = -100;
  EXPECT_EQ(legal(3, 3, 2, 4, -100), flag_on);   // diagonally back
  EXPECT_EQ(legal(3, 3, 3, 4, -100), flag_off);  // straight back
  EXPECT_EQ(legal(3, 3, 2, 3, -100), flag_off);  // sideways
  EXPECT_EQ(legal(3, 3, 3, 2, -100), flag_on);
  g.board[3][3] = -110;
  EXPECT_EQ(legal(3, 3, 3, 4, -110), flag_on);
  EXPECT_EQ(legal(3, 3, 2, 4, -110), flag_off);
  EXPECT_EQ(legal(3, 3, 2, 3, -110), flag_on);
  EXPECT_EQ(legal(3, 3, 4, 2, -110), flag_on);
  // The upper side's forward is the other way.
  g.board[3][3] = 110;
  EXPECT_EQ(legal(3, 3, 2, 4, 110), flag_on);
  EXPECT_EQ(legal(3, 3, 2, 2, 110), flag_off);
  g.board[3][3] = 100;
  EXPECT_EQ(legal(3, 3, 2, 2, 100), flag_on);
  EXPECT_EQ(legal(3, 3, 3, 2, 100), flag_off);
}

TEST_F(Rules, PromotedMinorPiecesMoveAsGold) {
  for (PieceCode p : {21, 31, 101}) {
    g.board[3][3] = p;
    EXPECT_EQ(legal(3, 3, 3, 2, p), flag_on) << p;
    EXPECT_EQ(legal(3, 3, 2, 2, p), flag_off) << p;
    EXPECT_EQ(legal(3, 3, 4, 4, p), flag_on) << p;
    g.board[3][3] = -p;
    EXPECT_EQ(legal(3, 3, 2, 2, -p), flag_on) << -p;
    EXPECT_EQ(legal(3, 3, 2, 4, -p), flag_off) << -p;
  }
}

TEST_F(Rules, KnightsJumpTwoForwardOneAside) {
  g.board[3][5] = -30;
  g.board[3][4] = 900;  // jumped over
  EXPECT_EQ(legal(3, 5, 2, 3, -30), flag_on);
  EXPECT_EQ(legal(3, 5, 4, 3, -30), flag_on);
  EXPECT_EQ(legal(3, 5, 3, 3, -30), flag_off);
  EXPECT_EQ(legal(3, 5, 2, 6, -30), flag_off);
  g.board[3][2] = 30;
  EXPECT_EQ(legal(3, 2, 4, 4, 30), flag_on);
  EXPECT_EQ(legal(3, 2, 4, 0, 30), flag_off);
}

TEST_F(Rules, KingMayStepNextToTheOtherKing) {
  g.board[3][3] = -950;
  g.board[3][1] = 950;
  EXPECT_EQ(legal(3, 3, 3, 2, -950), flag_on);
  EXPECT_EQ(legal(3, 3, 3, 1, -950), flag_off);  // two steps
}

TEST_F(Rules, DropsNeedAnEmptySquareAndMindTheFarRows) {
  g.board[2][2] = 20;
  EXPECT_EQ(legal(8, 5, 2, 2, -800), flag_off);
  EXPECT_EQ(legal(8, 5, 2, 1, -800), flag_on);
  for (int y = 1; y <= 6; ++y) {
    EXPECT_EQ(legal(-1, 5, 4, y, 30), y < 5 ? flag_on : flag_off) << y;
    EXPECT_EQ(legal(8, 2, 4, y, -30), y > 2 ? flag_on : flag_off) << y;
    EXPECT_EQ(legal(-1, 6, 4, y, 20), y < 6 ? flag_on : flag_off) << y;
    EXPECT_EQ(legal(8, 1, 4, y, -20), y > 1 ? flag_on : flag_off) << y;
  }
}

TEST_F(Rules, NoSecondUnpromotedPawnInAColumn) {
  g.board[4][5] = -20;
  g.board[2][3] = -21;
  mark_pawn_columns(g);
  for (int y = 2; y <= 6; ++y) {
    if (y == 5) continue;
    EXPECT_EQ(legal(8, 1, 4, y, -20), flag_off) << y;
  }
  // A promoted pawn does not count.
  EXPECT_EQ(legal(8, 1, 2, 4, -20), flag_on);
  // The other side's pawn does not count either.
  EXPECT_EQ(legal(-1, 1, 4, 3, 20), flag_on);
}

TEST_F(Rules, PawnTablesAreReadAsLastComputed) {
  mark_pawn_columns(g);
  g.board[4][5] = -20;  // placed after the tables were computed
  EXPECT_EQ(legal(8, 1, 4, 3, -20), flag_on);
  mark_pawn_columns(g);
  EXPECT_EQ(legal(8, 1, 4, 3, -20), flag_off);
  EXPECT_EQ(g.lower_pawn_columns[4], 1);
  EXPECT_EQ(g.upper_pawn_columns[4], 0);
}

TEST_F(Rules, MustPromoteOnTheLastRows) {
  EXPECT_EQ(may_stay_unpromoted(1, -20), flag_off);
  EXPECT_EQ(may_stay_unpromoted(2, -20), flag_on);
  EXPECT_EQ(may_stay_unpromoted(2, -30), flag_off);
  EXPECT_EQ(may_stay_unpromoted(3, -30), flag_on);
  EXPECT_EQ(may_stay_unpromoted(6, 20), flag_off);
  EXPECT_EQ(may_stay_unpromoted(5, 20), flag_on);
  EXPECT_EQ(may_stay_unpromoted(5, 30), flag_off);
  EXPECT_EQ(may_stay_unpromoted(1, -100), flag_on);
  EXPECT_EQ(may_stay_unpromoted(1, -900), flag_on);
}

TEST_F(Rules, PromotionZonesAndWhatMayPromote) {
  g.promoted_piece = 4242;
  EXPECT_EQ(promotion_possible(g, 3, 3, 3, 4, 20), flag_off);
  EXPECT_EQ(g.promoted_piece, 4242);  // untouched when refused
  EXPECT_EQ(promotion_possible(g, 3, 4, 3, 5, 20), flag_on);
  EXPECT_EQ(g.promoted_piece, 21);
  // Leaving the zone promotes silver, bishop and rook, not pawn or knight.
  EXPECT_EQ(promotion_possible(g, 2, 5, 2, 3, 900), flag_on);
  EXPECT_EQ(g.promoted_piece, 901);
  EXPECT_EQ(promotion_possible(g, 2, 2, 2, 4, -900), flag_on);
  EXPECT_EQ(g.promoted_piece, -901);
  EXPECT_EQ(promotion_possible(g, 2, 1, 3, 3, -30), flag_off);
  EXPECT_EQ(promotion_possible(g, 2, 3, 3, 1, -30), flag_on);
  EXPECT_EQ(g.promoted_piece, -31);
  EXPECT_EQ(promotion_possible(g, 3, 2, 3, 1, -100), flag_on);
  EXPECT_EQ(g.promoted_piece, -101);
  // Gold, king, promoted pieces and drops never promote.
  EXPECT_EQ(promotion_possible(g, 3, 2, 3, 1, -110), flag_off);
  EXPECT_EQ(promotion_possible(g, 3, 2, 3, 1, -950), flag_off);
  EXPECT_EQ(promotion_possible(g, 3, 2, 3, 1, -21), flag_off);
  EXPECT_EQ(promotion_possible(g, 8, 5, 3, 1, -800), flag_off);
  EXPECT_EQ(promotion_possible(g, -1, 5, 3, 6, 800), flag_off);
}

TEST_F(Rules, ReservedAndEmptyCodesNeverMove) {
  g.board[3][3] = 111;
  EXPECT_EQ(destinations(3, 3), 0);
  EXPECT_EQ(legal(3, 3, 3, 4, 0), flag_off);
}

}  // namespace
}  // namespace nirvex

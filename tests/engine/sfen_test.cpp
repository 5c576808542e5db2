// Positions to and from SFEN text, and moves in USI notation.
#include <gtest/gtest.h>

#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

TEST(Sfen, StartPositionMatchesTheInitialBoard) {
  GameState fresh;
  new_game(fresh);
  GameState g;
  std::string error;
  ASSERT_TRUE(read_sfen(start_sfen, g, error)) << error;
  EXPECT_EQ(g.board, fresh.board);
  EXPECT_EQ(g.turn, g.lower_side);
  EXPECT_EQ(g.record_pos, 0);
  EXPECT_EQ(write_sfen(g), start_sfen);
}

TEST(Sfen, PromotedPiecesHandsAndCounters) {
  GameState g;
  std::string error;
  ASSERT_TRUE(read_sfen("k4+R/6/2+b3/6/6/K5 w 2Pn 12", g, error)) << error;
  EXPECT_EQ(g.board[1][1], 950);
  EXPECT_EQ(g.board[6][1], -901);
  EXPECT_EQ(g.board[3][3], 801);
  EXPECT_EQ(g.board[1][6], -950);
  EXPECT_EQ(g.lower_hand[1], 2);
  EXPECT_EQ(g.upper_hand[2], 1);
  EXPECT_EQ(g.lower_hand_total, 2);
  EXPECT_EQ(g.upper_hand_total, 1);
  EXPECT_EQ(g.turn, g.upper_side);
  EXPECT_EQ(g.record_pos, 11);
  EXPECT_EQ(g.upper_king_x, 1);
  EXPECT_EQ(g.lower_king_y, 6);
  EXPECT_EQ(write_sfen(g), "k4+R/6/2+b3/6/6/K5 w 2Pn 12");
}

TEST(Sfen, BadTextLeavesTheGameAlone) {
  GameState g;
  new_game(g);
  const BoardArray board = g.board;
  std::string error;
  for (const char* bad :
       {"", "rbnsgk/5p/6/6/P5/KGSNBR b -", "rbnsgk/5p/6/6/P5 b - 1", "rbnsgk/5p/7/6/P5/KGSNBR b - 1",
        "rbnsgk/5p/6/6/P5/KGSNBRR b - 1", "rbnsgk/5p/6/6/P5/KGSNBR x - 1",
        "rbnsgk/5p/6/6/P5/KGSNBR b 0P 1", "rbnsgk/5p/6/6/P5/KGSNBR b K 1",
        "rbnsgk/5p/6/6/P5/KGSNBR b - 0", "rbnsgk/5p/6/6/P5/KGSNBR b - x",
        "+gbnsgk/5p/6/6/P5/KGSNBR b - 1", "rbnsgk/5p/6/6/P5/KGSNB+ b - 1",
        "rbnsgk/5p/6/6/P5/KGSNBR b 2 1", "rbnsgk/5p/6/6/P5/KGSNBR b - 502",
        "rbnsgk/5p/6/6/P5/KGSNBR/6 b - 1", "rbnsgk/5p/6/6/P5/KGSNBR b 99P 1"}) {
    EXPECT_FALSE(read_sfen(bad, g, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
    EXPECT_EQ(g.board, board) << bad;
  }
}

TEST(UsiMove, SquaresAndMoves) {
  EXPECT_EQ(square_text(1, 5), "6e");
  EXPECT_EQ(square_text(6, 1), "1a");
  GameState g;
  new_game(g);
  RuleMove m;
  std::string error;
  ASSERT_TRUE(read_move(g, "6e6d", false, m, error)) << error;
  EXPECT_EQ(m, (RuleMove{1, 5, 1, 4, -20, -20}));
  ASSERT_TRUE(read_move(g, "2f6b+", false, m, error)) << error;
  EXPECT_EQ(m, (RuleMove{5, 6, 1, 2, -800, -801}));
  EXPECT_EQ(move_text(m), "2f6b+");
  EXPECT_FALSE(read_move(g, "6e6d", true, m, error));   // not the upper side's pawn
  EXPECT_FALSE(read_move(g, "6e6c", false, m, error));  // a pawn steps one square
  EXPECT_FALSE(read_move(g, "6e6d+", false, m, error)); // no promotion there
  EXPECT_FALSE(read_move(g, "P*3c", false, m, error));  // empty hand
  EXPECT_FALSE(read_move(g, "7e6d", false, m, error));
  EXPECT_FALSE(read_move(g, "p*3c", false, m, error));
}

TEST(UsiMove, DropsAndForcedPromotion) {
  GameState g;
  std::string error;
  ASSERT_TRUE(read_sfen("k5/2P3/6/6/6/K5 b Pn 1", g, error)) << error;
  RuleMove m;
  EXPECT_FALSE(read_move(g, "4b4a", false, m, error));  // must promote on row 1
  ASSERT_TRUE(read_move(g, "4b4a+", false, m, error)) << error;
  EXPECT_EQ(m.piece_after, -21);
  EXPECT_FALSE(read_move(g, "P*4d", false, m, error));  // a second pawn in column 3
  ASSERT_TRUE(read_move(g, "P*3d", false, m, error)) << error;
  EXPECT_EQ(m, (RuleMove{8, 1, 4, 4, -20, -20}));
  EXPECT_EQ(move_text(m), "P*3d");
  ASSERT_TRUE(read_move(g, "N*3d", true, m, error)) << error;
  EXPECT_EQ(m, (RuleMove{-1, 2, 4, 4, 30, 30}));
  EXPECT_FALSE(read_move(g, "N*3e", true, m, error));  // no further move from row 5
}

}  // namespace
}  // namespace nirvex

// The game object: the initial position, moves, captures into the hand and
// the game record.
#include <gtest/gtest.h>

#include "model/flip.h"
#include "model/game_state.h"

namespace nirvex {
namespace {

int pieces_on_board(const GameState& g) {
  int n = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) n += g.board[x][y] != 0;
  return n;
}

TEST(NewGame, PlacesTheInitialPositionAndKeepsRecordLength) {
  GameState g;
  g.record_len = 17;
  g.level = 2;
  g.board[3][3] = 900;
  g.lower_hand[2] = 1;
  g.upper_hand[6] = 2;
  g.turn = 1;
  g.move_number = 9;
  g.winner = -1;
  g.flipped = flag_on;
  g.kifu_mode = flag_on;
  new_game(g);

  EXPECT_EQ(pieces_on_board(g), 14);
  const PieceCode upper_row[7] = {0, 900, 800, 30, 100, 110, 950};
  const PieceCode lower_row[7] = {0, -950, -110, -100, -30, -800, -900};
  for (int x = 1; x <= 6; ++x) {
    EXPECT_EQ(g.board[x][1], upper_row[x]) << x;
    EXPECT_EQ(g.board[x][6], lower_row[x]) << x;
  }
  EXPECT_EQ(g.board[6][2], 20);
  EXPECT_EQ(g.board[1][5], -20);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(g.lower_hand[k], 0);
    EXPECT_EQ(g.upper_hand[k], 0);
  }
  EXPECT_EQ(g.lower_hand_total, 0);
  EXPECT_EQ(g.upper_hand_total, 0);
  EXPECT_EQ(g.turn, side_none);
  EXPECT_EQ(g.winner, side_none);
  EXPECT_EQ(g.move_number, 0);
  EXPECT_EQ(g.record_pos, 0);
  EXPECT_EQ(g.flipped, flag_off);
  EXPECT_EQ(g.kifu_mode, flag_off);
  EXPECT_EQ(g.record_len, 17);
  EXPECT_EQ(g.level, 2);
}

TEST(NewGame, PositionIsSymmetricByHalfATurn) {
  GameState g;
  new_game(g);
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) EXPECT_EQ(g.board[x][y], -g.board[7 - x][7 - y]);
}

class ApplyMove : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& col : g.board) col.fill(0);
  }
  GameState g;
};

TEST_F(ApplyMove, CapturedPromotedRookGoesIntoHandAsRook) {
  g.board[2][2] = -100;
  g.board[2][3] = 901;
  const MoveChanges ch = apply_move(g, 2, 2, 2, 3, -100);
  EXPECT_EQ(g.lower_hand[6], 1);
  EXPECT_EQ(g.lower_hand_total, 1);
  EXPECT_EQ(g.board[2][3], -100);
  EXPECT_EQ(g.board[2][2], 0);
  EXPECT_TRUE(ch.lower_hand_changed);
  EXPECT_FALSE(ch.upper_hand_changed);
  EXPECT_EQ(ch.captured, 901);
}

TEST_F(ApplyMove, UpperCapturesGoToTheUpperHandUnpromoted) {
  g.board[4][4] = 800;
  g.board[2][2] = -21;
  apply_move(g, 4, 4, 2, 2, 801);
  EXPECT_EQ(g.upper_hand[1], 1);
  EXPECT_EQ(g.upper_hand_total, 1);
  EXPECT_EQ(g.board[2][2], 801);
}

TEST_F(ApplyMove, CapturingTheKingDecidesTheGameWithoutEnteringTheHand) {
  g.lower_side = -1;
  g.upper_side = 1;
  g.board[3][3] = -110;
  g.board[3][2] = 950;
  apply_move(g, 3, 3, 3, 2, -110);
  EXPECT_EQ(g.winner, -1);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(g.lower_hand[k], 0);
  // The total still counts the captured king.
  EXPECT_EQ(g.lower_hand_total, 1);

  g.board[5][5] = 900;
  g.board[5][6] = -950;
  apply_move(g, 5, 5, 5, 6, 900);
  EXPECT_EQ(g.winner, 1);
  EXPECT_EQ(g.upper_hand_total, 1);
}

TEST_F(ApplyMove, UpperBishopDropTakesOneFromTheHand) {
  g.upper_hand[5] = 2;
  g.upper_hand_total = 2;
  const MoveChanges ch = apply_move(g, -1, 5, 3, 4, 800);
  EXPECT_EQ(g.upper_hand[5], 1);
  EXPECT_EQ(g.upper_hand_total, 1);
  EXPECT_EQ(g.board[3][4], 800);
  EXPECT_TRUE(ch.upper_hand_changed);
}

TEST_F(ApplyMove, LowerPawnDropTakesFromTheLowerHand) {
  g.lower_hand[1] = 1;
  g.lower_hand_total = 1;
  apply_move(g, 8, 1, 4, 4, -20);
  EXPECT_EQ(g.lower_hand[1], 0);
  EXPECT_EQ(g.lower_hand_total, 0);
  EXPECT_EQ(g.board[4][4], -20);
}

TEST_F(ApplyMove, OnlyTheLowerKingsSquareIsTracked) {
  g.lower_king_x = 1;
  g.lower_king_y = 6;
  g.upper_king_x = 6;
  g.upper_king_y = 1;
  g.board[1][6] = -950;
  g.board[6][1] = 950;
  apply_move(g, 1, 6, 2, 5, -950);
  EXPECT_EQ(g.lower_king_x, 2);
  EXPECT_EQ(g.lower_king_y, 5);
  apply_move(g, 6, 1, 5, 2, 950);
  EXPECT_EQ(g.upper_king_x, 6);
  EXPECT_EQ(g.upper_king_y, 1);
}

TEST(TakeIntoHand, EveryCodeFindsItsKind) {
  GameState g;
  const PieceCode codes[] = {20, 21, 30, 31, 100, 101, 110, 111, 800, 801, 900, 901};
  const int kinds[] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6};
  for (int i = 0; i < 12; ++i) {
    GameState a;
    take_into_hand(a, codes[i]);
    EXPECT_EQ(a.lower_hand[kinds[i]], 1) << codes[i];
    GameState b;
    take_into_hand(b, -codes[i]);
    EXPECT_EQ(b.upper_hand[kinds[i]], 1) << -codes[i];
  }
  take_into_hand(g, 0);
  take_into_hand(g, 5);
  take_into_hand(g, -7);
  for (int k = 0; k <= 6; ++k) {
    EXPECT_EQ(g.lower_hand[k], 0);
    EXPECT_EQ(g.upper_hand[k], 0);
  }
  EXPECT_EQ(g.winner, side_none);
}

TEST(MoveRecord, AppendStoresTheCapturedCodeAndCutsTheFuture) {
  GameState g;
  new_game(g);
  ASSERT_TRUE(append_move_record(g, 1, 5, 1, 4, -20, 0, 0, 1.5, 0, 0));
  ASSERT_TRUE(append_move_record(g, 6, 2, 6, 3, 20, 0, 1.5, 1.5, 0, 2));
  EXPECT_EQ(g.record_len, 2);
  // The captured code is what stands on the destination when appending.
  ASSERT_TRUE(append_move_record(g, 3, 1, 1, 6, 100, 100, 0, 0, 0, 0));
  EXPECT_EQ(g.move_records[3].captured, -950);

  const MoveRecord& r = g.move_records[1];
  EXPECT_EQ(r.from_col, 1);
  EXPECT_EQ(r.from_row, 5);
  EXPECT_EQ(r.to_col, 1);
  EXPECT_EQ(r.to_row, 4);
  EXPECT_EQ(r.piece_before, -20);
  EXPECT_EQ(r.piece_after, 0);
  EXPECT_DOUBLE_EQ(r.lower_clock_after, 1.5);
  EXPECT_DOUBLE_EQ(g.move_records[2].upper_clock_after, 2);

  // Stepping back and appending drops everything beyond the cursor.
  g.record_pos = 1;
  ASSERT_TRUE(append_move_record(g, 6, 1, 5, 2, 950, 950, 0, 0, 0, 0));
  EXPECT_EQ(g.record_pos, 2);
  EXPECT_EQ(g.record_len, 2);
  EXPECT_EQ(g.move_records[2].piece_before, 950);
}

TEST(MoveRecord, NeverWritesBeyondEntry500) {
  GameState g;
  new_game(g);
  for (int i = 0; i < max_record_moves; ++i)
    ASSERT_TRUE(append_move_record(g, 1, 5, 1, 4, -20, -20, 0, 0, 0, 0));
  EXPECT_TRUE(record_full(g));
  EXPECT_FALSE(append_move_record(g, 2, 6, 2, 5, -110, -110, 0, 0, 0, 0));
  EXPECT_EQ(g.record_pos, 500);
  EXPECT_EQ(g.record_len, 500);
  EXPECT_EQ(g.move_records[500].piece_before, -20);
}

}  // namespace
}  // namespace nirvex

namespace nirvex {
namespace {

TEST(TurnPosition, HalfTurnSwapsOwnersAndHands) {
  GameState g;
  new_game(g);
  g.board[2][5] = -20;
  g.board[1][5] = 0;
  g.lower_hand[3] = 2;
  g.lower_hand_total = 2;
  g.upper_hand[6] = 1;
  g.upper_hand_total = 1;
  turn_position(g);
  EXPECT_EQ(g.board[5][2], 20);
  EXPECT_EQ(g.board[6][1], 950);  // the lower king went to the upper corner
  EXPECT_EQ(g.board[1][6], -950);
  EXPECT_EQ(g.upper_hand[3], 2);
  EXPECT_EQ(g.lower_hand[6], 1);
  EXPECT_EQ(g.upper_hand_total, 2);
  EXPECT_EQ(g.lower_hand_total, 1);
  turn_position(g);
  EXPECT_EQ(g.board[2][5], -20);
  EXPECT_EQ(g.lower_hand[3], 2);
}

}  // namespace
}  // namespace nirvex

// Two players at one board: starting, picking, moving, promoting, dropping,
// refusals and the end of the game.
#include "tests/ui/window_fixture.h"

namespace nirvex::testing {
namespace {

class TwoPlayers : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    start();
    trigger("START");
    dialogs.shown.clear();
  }
};

TEST_F(WindowTest, StartOnAFreshGameGivesTheFirstMoveToTheLowerSide) {
  start();
  trigger("START");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("先手の番です"));
  EXPECT_EQ(last_message().title, QStringLiteral(" "));
  EXPECT_EQ(w->g.play_mode, mode_two_players);
  EXPECT_EQ(w->g.lower_side, w->g.first_side);
  EXPECT_EQ(w->g.upper_side, w->g.second_side);
  EXPECT_EQ(w->g.turn, w->g.first_side);
  EXPECT_FALSE(w->timer_running());  // elapsed time is off
}

TEST_F(TwoPlayers, AMoveIsRecordedPaintedAndPassesTheTurn) {
  clock.time = 36005;
  w->g.turn_elapsed = 5;
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
  EXPECT_EQ(w->g.board[1][5], 0);
  EXPECT_EQ(w->g.move_number, 1);
  EXPECT_EQ(w->g.record_pos, 1);
  EXPECT_EQ(w->g.record_len, 1);
  const MoveRecord& r = w->g.move_records[1];
  EXPECT_EQ(r.from_col, 1);
  EXPECT_EQ(r.from_row, 5);
  EXPECT_EQ(r.to_col, 1);
  EXPECT_EQ(r.to_row, 4);
  EXPECT_EQ(r.piece_before, -20);
  EXPECT_EQ(r.piece_after, -20);
  EXPECT_EQ(r.captured, 0);
  EXPECT_DOUBLE_EQ(r.lower_clock_before, 0);
  EXPECT_DOUBLE_EQ(r.lower_clock_after, 5);
  EXPECT_EQ(played_names(), QStringList{"piece"});
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(w->g.turn, w->g.second_side);
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 5);
  EXPECT_DOUBLE_EQ(w->g.turn_start_time, 36005);
  EXPECT_EQ(w->canvas.picture_at(1, 4), -20);
  EXPECT_EQ(w->canvas.picture_at(1, 5), 0);
  // The lower side's last move at the right of the board.
  EXPECT_EQ(w->canvas.texts_in(10.3, 2.3, 11.6, 2.45),
            (QStringList{"６", "四", "歩"}));

  // The upper side answers; its time goes to the upper total.
  w->g.turn_elapsed = 2;
  move(6, 2, 6, 3);
  EXPECT_EQ(w->g.board[6][3], 20);
  EXPECT_EQ(w->g.turn, w->g.first_side);
  EXPECT_DOUBLE_EQ(w->g.upper_time_total, 2);
  EXPECT_EQ(w->canvas.texts_in(-1.7, 8.3, -0.55, 8.45),
            (QStringList{"１", "三", "歩"}));
}

TEST_F(TwoPlayers, MovesOnlyThePiecesOfTheSideToMove) {
  click(6, 2);  // the upper pawn while the lower side moves
  EXPECT_EQ(w->g.pick_state, 0);
  click(6, 3);
  EXPECT_EQ(w->g.board[6][2], 20);
  EXPECT_EQ(w->g.move_number, 0);
  click(4, 4);  // an empty square with nothing picked
  EXPECT_TRUE(sound.played.empty());
}

TEST_F(TwoPlayers, IllegalDestinationIsRefusedWithTheSoundOnly) {
  move(1, 5, 1, 3);
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(w->g.pick_state, 0);
  EXPECT_EQ(w->g.board[1][5], -20);
  EXPECT_EQ(w->g.record_len, 0);
}

TEST_F(TwoPlayers, ClickingAnotherOwnPieceSwitchesThePickSilently) {
  click(1, 5);
  EXPECT_EQ(w->g.pick_state, 1);
  click(2, 6);
  EXPECT_EQ(w->g.pick_state, 1);
  EXPECT_EQ(w->g.pick_from_col, 2);
  EXPECT_EQ(w->g.pick_from_row, 6);
  EXPECT_EQ(w->g.pick_piece, -110);
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(w->canvas.frame_at(2, 6), colour_pick);
  click(2, 5);
  EXPECT_EQ(w->g.board[2][5], -110);
}

TEST_F(TwoPlayers, PawnOnTheLastRowMustBePromotedWithTheRightButton) {
  move(1, 5, 1, 4);
  move(6, 2, 6, 3);
  move(1, 4, 1, 3);
  move(6, 3, 6, 4);
  move(1, 3, 1, 2);  // row 2: may stay, left click keeps it a pawn
  EXPECT_EQ(w->g.board[1][2], -20);
  move(6, 4, 6, 5);
  sound.played.clear();
  // (1,1) holds the upper rook: a capture that must promote.
  move(1, 2, 1, 1);
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(last_message().text, QStringLiteral("マウスの右をクリックして下さい"));
  EXPECT_EQ(last_message().title, QStringLiteral("成り"));
  EXPECT_EQ(w->g.pick_state, 1);  // the pick stays
  EXPECT_EQ(w->g.board[1][2], -20);
  w->canvas.clear_log();
  click(1, 1, Qt::RightButton);
  EXPECT_EQ(w->g.board[1][1], -21);
  EXPECT_EQ(w->g.lower_hand[6], 1);  // the rook
  const MoveRecord& r = w->g.move_records[w->g.record_pos];
  EXPECT_EQ(r.piece_before, -20);
  EXPECT_EQ(r.piece_after, -21);
  EXPECT_EQ(r.captured, 900);
  EXPECT_EQ(w->canvas.texts_in(10.3, 2.3, 11.6, 2.45),
            (QStringList{"６", "一", "と"}));
}

TEST_F(TwoPlayers, RightClickWhereNoPromotionIsPossibleMovesUnpromoted) {
  move(1, 5, 1, 4, Qt::RightButton);
  EXPECT_EQ(w->g.board[1][4], -20);
  EXPECT_EQ(w->g.move_records[1].piece_after, -20);
}

TEST_F(TwoPlayers, MiddleButtonNeverPromotesAndIsNotRefused) {
  // A knight jump into row 2 that must promote is still made unpromoted.
  w->g.board[3][4] = -30;
  w->g.board[4][6] = 0;
  move(3, 4, 2, 2, Qt::MiddleButton);
  EXPECT_EQ(w->g.board[2][2], -30);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TwoPlayers, AWholeGameEndsWithTheKingTaken) {
  move(6, 6, 6, 3);                  // rook up
  move(3, 1, 4, 3);                  // upper knight
  move(6, 3, 6, 2, Qt::RightButton); // takes the pawn, promotes
  EXPECT_EQ(w->g.board[6][2], -901);
  EXPECT_EQ(w->g.lower_hand[1], 1);
  EXPECT_EQ(w->g.lower_hand_total, 1);
  move(4, 1, 4, 2);                  // upper silver
  dialogs.answers = {MsgAnswer::yes};
  move(6, 2, 6, 1);                  // takes the king
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("先手の勝ちです"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("終了"));
  EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("続けますか？"));
  EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("再ゲーム"));
  EXPECT_EQ(dialogs.shown[1].buttons, MsgButtons::yes_no);
  // Yes: the initial position and no game running.
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.board[6][1], 950);
  EXPECT_EQ(w->g.board[6][6], -900);
  EXPECT_EQ(w->g.lower_hand[1], 0);
  EXPECT_EQ(ended, 0);
}

TEST_F(TwoPlayers, AnsweringNoAfterTheGameEndsTheProgram) {
  w->g.board[6][2] = 0;
  move(6, 6, 6, 3);
  move(3, 1, 4, 3);
  dialogs.answers = {MsgAnswer::no};
  move(6, 3, 6, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(sound.freed.size(), 4u);
}

TEST_F(TwoPlayers, UpperSideWinsAsSecondPlayer) {
  move(1, 5, 1, 4);
  w->g.board[1][5] = 0;
  w->g.board[1][4] = 0;
  move(1, 1, 1, 5);  // the upper rook down the open file
  move(2, 6, 2, 5);
  move(1, 5, 1, 6);  // takes the king
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("後手の勝ちです"));
}

TEST_F(TwoPlayers, CapturedPiecesAreDroppedFromTheHand) {
  move(6, 6, 6, 3);
  move(3, 1, 4, 3);
  move(6, 3, 6, 2);  // takes the pawn, stays a rook
  move(4, 1, 4, 2);  // upper silver
  // Pick the lower hand's pawn (row 1 of column 8) and drop it.
  click(8, 1);
  EXPECT_EQ(w->g.pick_state, 1);
  EXPECT_EQ(w->g.pick_piece, -20);
  EXPECT_EQ(w->canvas.frame_at(8, 1), colour_pick);
  click(3, 3);
  EXPECT_EQ(w->g.board[3][3], -20);
  EXPECT_EQ(w->g.lower_hand[1], 0);
  EXPECT_EQ(w->g.lower_hand_total, 0);
  const MoveRecord& r = w->g.move_records[w->g.record_pos];
  EXPECT_EQ(r.from_col, 8);
  EXPECT_EQ(r.from_row, 1);
  EXPECT_EQ(r.piece_after, -20);
  EXPECT_EQ(w->canvas.picture_at(8, 1), 0);  // the empty slot
}

TEST_F(TwoPlayers, UpperDropRecordsTheScreenRowAndTakesFromItsKind) {
  w->g.upper_hand[5] = 1;  // a bishop: screen row 2
  w->g.upper_hand_total = 1;
  draw_hand_upper(w->game);
  move(1, 5, 1, 4);
  click(-1, 2);
  EXPECT_EQ(w->g.pick_piece, 800);
  EXPECT_EQ(w->g.pick_state, 1);
  click(3, 3);
  EXPECT_EQ(w->g.board[3][3], 800);
  EXPECT_EQ(w->g.upper_hand[5], 0);
  EXPECT_EQ(w->g.upper_hand_total, 0);
  EXPECT_EQ(w->g.move_records[2].from_col, -1);
  EXPECT_EQ(w->g.move_records[2].from_row, 2);
}

TEST_F(TwoPlayers, EmptyOwnSlotDoesNothingOpponentsSlotOnlyShowsItself) {
  click(8, 3);
  EXPECT_EQ(w->g.pick_state, 0);
  EXPECT_EQ(w->g.pick_piece, 0);
  w->g.upper_hand[1] = 1;
  click(-1, 6);
  EXPECT_EQ(w->g.pick_state, 0);
  EXPECT_EQ(w->g.pick_piece, 20);
  EXPECT_EQ(w->canvas.frame_at(-1, 6), w->g.colour_guide);
  EXPECT_TRUE(sound.played.empty());
}

TEST_F(TwoPlayers, SecondPawnInAColumnCannotBeDropped) {
  w->g.lower_hand[1] = 1;
  w->g.lower_hand_total = 1;
  click(8, 1);
  click(1, 3);  // column 1 already holds the lower pawn
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.board[1][3], 0);
  EXPECT_EQ(w->g.lower_hand[1], 1);
}

TEST_F(TwoPlayers, TheFiveHundredAndFirstMoveIsRefused) {
  w->g.record_pos = max_record_moves;
  w->g.record_len = max_record_moves;
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][5], -20);
  EXPECT_EQ(w->g.record_pos, max_record_moves);
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜"));
  EXPECT_EQ(w->g.turn, w->g.first_side);
}

TEST_F(TwoPlayers, GuidanceFramesEveryLegalDestination) {
  trigger("SIDOU");
  EXPECT_TRUE(w->menu_item("SIDOU")->isChecked());
  EXPECT_EQ(w->g.colour_guide, colour_text);
  w->canvas.clear_log();
  click(1, 5);
  int white = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) white += w->canvas.frame_at(x, y) == colour_text;
  EXPECT_EQ(white, 1);
  EXPECT_EQ(w->canvas.frame_at(1, 4), colour_text);
  EXPECT_EQ(w->canvas.frame_at(1, 5), colour_pick);
  // Switching guidance off repaints every frame plainly.
  trigger("SIDOU");
  EXPECT_EQ(w->g.guidance_on, flag_off);
  EXPECT_EQ(w->g.colour_guide, colour_plain);
  for (int y = 1; y <= 6; ++y) {
    for (int x = 1; x <= 6; ++x) EXPECT_EQ(w->canvas.frame_at(x, y), colour_plain);
    EXPECT_EQ(w->canvas.frame_at(-1, y), colour_plain);
    EXPECT_EQ(w->canvas.frame_at(8, y), colour_plain);
  }
}

TEST_F(TwoPlayers, GuidanceForAHandPieceFramesItsDropSquares) {
  trigger("SIDOU");
  w->g.lower_hand[2] = 1;  // a knight: rows 3 to 6 where empty
  w->canvas.clear_log();
  click(8, 2);
  int white = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) white += w->canvas.frame_at(x, y) == colour_text;
  EXPECT_EQ(white, 4 * 6 - 1 - 6);  // rows 3-6, less the pawn and row 6
}

TEST_F(TwoPlayers, StartAgainContinuesThePositionWithTheMoverKept) {
  move(1, 5, 1, 4);
  trigger("START");
  EXPECT_EQ(last_message().text, QStringLiteral("後手の番です"));
  EXPECT_EQ(w->g.turn, w->g.second_side);
  EXPECT_EQ(w->g.board[1][4], -20);
}

}  // namespace
}  // namespace nirvex::testing

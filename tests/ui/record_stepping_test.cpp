// "進", "戻", "最初" and "反転": stepping over captures, promotions and drops
// in both directions, playing on after stepping back, and the refusals.
#include "tests/ui/record_fixture.h"

namespace nirvex::testing {
namespace {

class Stepping : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    start_two_players();
  }

  void load_short_game() {
    copy_in(test_data_dir + QStringLiteral("/short_game.棋譜"), QStringLiteral("s.棋譜"));
    w->record_panel()->File1_Click(QStringLiteral("s.棋譜"));
    ASSERT_EQ(w->g.kifu_mode, flag_on);
    dialogs.shown.clear();
    sound.played.clear();
  }

  void step(const char* item) {
    w->canvas.clear_log();
    sound.played.clear();
    trigger(item);
  }
};

TEST_F(Stepping, BackAtTheStartIsRefused) {
  step("REPLAY");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("できません"));
  EXPECT_EQ(last_message().title, QStringLiteral("戻る"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.announce_pending, flag_on);
}

TEST_F(Stepping, ForwardWithoutAGameAsksToStartOne) {
  trigger("CANCEL");
  dialogs.shown.clear();
  step("AFTER");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("「対局」で始めて下さい"));
  EXPECT_EQ(last_message().title, QStringLiteral("開始"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.announce_pending, flag_off);
}

TEST_F(Stepping, ForwardAtTheEndOfAPlayedGameIsRefusedWithTheSound) {
  play_short_game(1);
  step("AFTER");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("できません"));
  EXPECT_EQ(last_message().title, QStringLiteral("進む"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.announce_pending, flag_on);
}

TEST_F(Stepping, ForwardAtTheEndOfALoadedRecordSaysItIsOverWithoutSound) {
  load_short_game();
  for (int i = 0; i < 8; ++i) step("AFTER");
  EXPECT_TRUE(dialogs.shown.empty());
  step("AFTER");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("終わり"));
  EXPECT_EQ(last_message().title, QStringLiteral("進む"));
  EXPECT_TRUE(sound.played.empty());
}

// Back over every move (drops, a capture of a promoted piece, a promotion
// with a capture) to the start, and forward again to the end.
TEST_F(Stepping, BackAndForwardOverTheWholeShortGame) {
  play_short_game();
  const auto& e = w->g.move_records;
  for (int i = 8; i >= 1; --i) {
    step("REPLAY");
    EXPECT_TRUE(Snapshot::of(w->g).same_position(snapshots[i - 1])) << "back to " << i - 1;
    EXPECT_EQ(w->g.lower_time_total, e[i].lower_clock_before) << i;
    EXPECT_EQ(w->g.upper_time_total, e[i].upper_clock_before) << i;
    EXPECT_EQ(played_names(), QStringList{"piece"});
    EXPECT_EQ(w->g.record_len, 8);
    EXPECT_EQ(w->g.announce_pending, flag_on);
  }
  for (int i = 1; i <= 8; ++i) {
    step("AFTER");
    EXPECT_TRUE(Snapshot::of(w->g).same_position(snapshots[i])) << "forward to " << i;
    EXPECT_EQ(w->g.lower_time_total, e[i].lower_clock_after) << i;
    EXPECT_EQ(w->g.upper_time_total, e[i].upper_clock_after) << i;
    EXPECT_EQ(played_names(), QStringList{"piece"});
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Stepping, ALoadedRecordStepsToTheSamePositions) {
  play_short_game();
  const auto played = w->g.move_records;
  load_short_game();
  for (int i = 1; i <= 8; ++i) {
    step("AFTER");
    EXPECT_TRUE(Snapshot::of(w->g).same_position(snapshots[i])) << i;
    // Loaded clocks are whole seconds.
    EXPECT_EQ(w->g.lower_time_total, std::floor(played[i].lower_clock_after)) << i;
    EXPECT_EQ(w->g.upper_time_total, std::floor(played[i].upper_clock_after)) << i;
  }
  for (int i = 7; i >= 0; --i) {
    step("REPLAY");
    EXPECT_TRUE(Snapshot::of(w->g).same_position(snapshots[i])) << i;
  }
}

TEST_F(Stepping, CapturesPromotionsAndDropsInDetail) {
  play_short_game();
  // Back over the upper drop: the bishop returns to the upper hand.
  step("REPLAY");
  EXPECT_EQ(w->g.board[2][4], 0);
  EXPECT_EQ(w->g.upper_hand[5], 1);
  EXPECT_EQ(w->g.upper_hand_total, 1);
  EXPECT_EQ(w->canvas.picture_at(-1, 2), 800);  // repainted in its slot
  // Back over the lower drop.
  step("REPLAY");
  EXPECT_EQ(w->g.board[3][3], 0);
  EXPECT_EQ(w->g.lower_hand[3], 1);
  // Back over the gold taking the promoted bishop: the bishop stands there
  // again, promoted, and leaves the upper hand.
  step("REPLAY");
  EXPECT_EQ(w->g.board[4][1], -801);
  EXPECT_EQ(w->g.board[5][1], 110);
  EXPECT_EQ(w->g.upper_hand[5], 0);
  EXPECT_EQ(w->g.upper_hand_total, 0);
  EXPECT_EQ(w->canvas.picture_at(4, 1), -801);
  // Back over the promotion with capture: the unpromoted bishop goes back
  // to its square and the silver to its own.
  step("REPLAY");
  EXPECT_EQ(w->g.board[2][3], -800);
  EXPECT_EQ(w->g.board[4][1], 100);
  EXPECT_EQ(w->g.lower_hand[3], 0);
  EXPECT_EQ(w->g.lower_hand_total, 0);
  EXPECT_EQ(w->canvas.picture_at(2, 3), -800);
  EXPECT_EQ(w->canvas.picture_at(4, 1), 100);
  // The lower side's last-move text is cleared.
  EXPECT_EQ(w->canvas.picture_at(10, 2), w->g.background_id);
  // Forward again: promoted, captured, and the last move shown.
  step("AFTER");
  EXPECT_EQ(w->g.board[4][1], -801);
  EXPECT_EQ(w->g.lower_hand[3], 1);
  EXPECT_EQ(w->canvas.texts_in(10.3, 2.3, 11.6, 2.45),
            (QStringList{"３", "一", "角成"}));
  EXPECT_EQ(w->g.move_number, 5);
  const QStringList numbers = w->canvas.texts_in(10.1, 3.25, 10.25, 3.35);
  ASSERT_FALSE(numbers.isEmpty());
  EXPECT_EQ(numbers.last(), QStringLiteral(" 5"));
}

TEST_F(Stepping, TheClocksFollowTheRecord) {
  w->menu_item("KEIKA")->setChecked(true);
  play_short_game(5);
  step("REPLAY");
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 17);
  EXPECT_DOUBLE_EQ(w->g.upper_time_total, 10);
  EXPECT_FALSE(w->timer_running());
  EXPECT_EQ(w->canvas.texts_in(9.9, 7.1, 10.2, 7.25), QStringList{"00:00:17"});
  step("AFTER");
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 1251.7);
  EXPECT_EQ(w->canvas.texts_in(9.9, 7.1, 10.2, 7.25), QStringList{"00:20:51"});
}

TEST_F(Stepping, MovingAfterSteppingBackShortensTheRecord) {
  play_short_game(4);
  step("REPLAY");
  step("REPLAY");
  EXPECT_EQ(w->g.record_pos, 2);
  EXPECT_EQ(w->g.record_len, 4);
  EXPECT_EQ(w->g.turn, w->g.first_side);
  dialogs.shown.clear();
  // The first click announces whose turn it is; then the move is made.
  w->g.turn_elapsed = 1;
  move(2, 6, 2, 5);
  ASSERT_GE(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("先手の番です"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("対局"));
  EXPECT_EQ(w->g.record_pos, 3);
  EXPECT_EQ(w->g.record_len, 3);
  EXPECT_EQ(w->g.move_records[3].piece_before, -110);
  EXPECT_EQ(w->g.board[2][5], -110);
  EXPECT_EQ(w->g.turn, w->g.second_side);
  step("AFTER");
  EXPECT_EQ(last_message().text, QStringLiteral("できません"));
}

TEST_F(Stepping, AClickDuringALoadedRecordAsksToStep) {
  load_short_game();
  step("AFTER");
  click(3, 3);
  EXPECT_EQ(last_message().text, QStringLiteral("棋譜を '進 'で進めて下さい"));
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜"));
  EXPECT_EQ(w->g.record_pos, 1);
}

TEST_F(Stepping, FirstGoesBackToTheStartAndKeepsTheRecord) {
  play_short_game(4);
  step("CANCEL");
  EXPECT_EQ(played_names(), QStringList{"piece"});
  EXPECT_EQ(Snapshot::of(w->g).board, snapshots[0].board);
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(w->g.record_len, 4);
  EXPECT_EQ(w->g.kifu_mode, flag_off);
  step("AFTER");
  EXPECT_EQ(last_message().text, QStringLiteral("「対局」で始めて下さい"));
}

TEST_F(Stepping, TheFlipTurnsThePositionAndExchangesTheHandsAndTotals) {
  play_short_game(6);  // lower hand: silver; upper hand: bishop
  const GameState before = w->g;
  step("REVERSE");
  EXPECT_EQ(played_names(), QStringList{"piece"});
  EXPECT_TRUE(dialogs.shown.empty());
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y)
      EXPECT_EQ(w->g.board[7 - x][7 - y], -before.board[x][y]) << x << "," << y;
  EXPECT_EQ(w->g.lower_hand, before.upper_hand);
  EXPECT_EQ(w->g.upper_hand, before.lower_hand);
  EXPECT_EQ(w->g.lower_hand_total, 1);
  EXPECT_EQ(w->g.upper_hand_total, 1);
  EXPECT_EQ(w->g.turn, -before.turn);
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(w->g.record_len, 0);
  EXPECT_EQ(w->g.flipped, flag_on);
  EXPECT_EQ(w->canvas.picture_at(-1, 4), 100);  // the silver, now upper
  EXPECT_EQ(w->canvas.picture_at(8, 5), -800);  // the bishop, now lower
  // The kings are where the board has them.
  EXPECT_EQ(w->g.board[w->g.lower_king_x][w->g.lower_king_y], -950);
  EXPECT_EQ(w->g.board[w->g.upper_king_x][w->g.upper_king_y], 950);
}

TEST_F(Stepping, TheFlipMakesALowerPawnAnUpperPawn) {
  w->g.board[1][5] = 0;
  w->g.board[2][5] = -20;
  step("REVERSE");
  EXPECT_EQ(w->g.board[5][2], 20);
  EXPECT_EQ(w->g.board[2][5], 0);
}

TEST_F(Stepping, TheFlipIsRefusedWhileARecordIsLoaded) {
  load_short_game();
  const BoardArray board = w->g.board;
  step("REVERSE");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("棋譜ﾓｰﾄﾞではできません"));
  EXPECT_EQ(last_message().title, QStringLiteral("反転"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.board, board);
  EXPECT_EQ(w->g.flipped, flag_off);
  EXPECT_EQ(w->g.record_len, 8);
}

}  // namespace
}  // namespace nirvex::testing

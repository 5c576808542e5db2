// The elapsed-time display and the turn timer.
#include "tests/ui/window_fixture.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, KeikaShowsBothTotalsAndStartsTheTimer) {
  start();
  w->g.upper_time_total = 3725;
  w->g.lower_time_total = 59;
  w->canvas.clear_log();
  trigger("KEIKA");
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  EXPECT_TRUE(w->timer_running());
  EXPECT_EQ(w->canvas.texts_in(-1.6, 7.2, -1.59, 7.21), QStringList{"01:02:05"});
  EXPECT_EQ(w->canvas.texts_in(10, 7.2, 10.01, 7.21), QStringList{"00:00:59"});
  // Showing a total leaves it unchanged.
  EXPECT_DOUBLE_EQ(w->g.upper_time_total, 3725);
  trigger("KEIKA");
  EXPECT_FALSE(w->menu_item("KEIKA")->isChecked());
  EXPECT_FALSE(w->timer_running());
}

TEST_F(WindowTest, TickShowsTheRunningTurnOncePerSecond) {
  start();
  trigger("KEIKA");
  trigger("START");
  EXPECT_TRUE(w->timer_running());
  w->g.lower_time_total = 60;
  clock.time += 3.4;
  w->canvas.clear_log();
  Timer1_Timer(w->game);
  EXPECT_NEAR(w->g.turn_elapsed, 3.4, 1e-9);
  EXPECT_EQ(w->canvas.texts_in(10, 7.2, 10.01, 7.21), QStringList{"00:01:03"});
  // Within the same second nothing is redrawn.
  clock.time += 0.3;
  w->canvas.clear_log();
  Timer1_Timer(w->game);
  EXPECT_TRUE(w->canvas.text_log().empty());
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 60);
}

TEST_F(WindowTest, TurnRunningOverMidnight) {
  start();
  trigger("KEIKA");
  clock.time = 86390;  // 23:59:50
  trigger("START");
  clock.time = 5;      // 00:00:05
  Timer1_Timer(w->game);
  EXPECT_DOUBLE_EQ(w->g.turn_elapsed, 15);
}

TEST_F(WindowTest, WithoutKeikaTheTimerNeitherRunsNorDraws) {
  start();
  trigger("START");
  EXPECT_FALSE(w->timer_running());
  w->g.turn_elapsed = 4;
  clock.time += 10;
  w->canvas.clear_log();
  Timer1_Timer(w->game);
  EXPECT_DOUBLE_EQ(w->g.turn_elapsed, 4);
  EXPECT_TRUE(w->canvas.text_log().empty());
  // The last measured turn is what the move adds.
  move(1, 5, 1, 4);
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 4);
}

TEST_F(WindowTest, StartingAGameLeavesBothClocksWhole) {
  start();
  trigger("KEIKA");
  for (const char* item : {"START", "SENTE"}) {
    w->canvas.clear_log();
    trigger(item);
    // The clocks are drawn after the strips beside the board were cleared.
    EXPECT_EQ(w->canvas.texts_in(-1.6, 7.2, -1.59, 7.21), QStringList{"00:00:00"}) << item;
    EXPECT_FALSE(w->canvas.texts_in(10, 7.2, 10.01, 7.21).isEmpty()) << item;
    new_game(w->game);
  }
}

TEST_F(WindowTest, NewGameStopsTheTimer) {
  start();
  trigger("KEIKA");
  EXPECT_TRUE(w->timer_running());
  new_game(w->game);
  EXPECT_FALSE(w->timer_running());
}

}  // namespace
}  // namespace nirvex::testing

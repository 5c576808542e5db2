// The conversation with an outside engine as the game flow holds it, on a
// scripted process: what it is told, what a late answer does, and the
// window's part while it thinks.
#include <gtest/gtest.h>

#include "tests/flow/fake_form.h"
#include "tests/flow/scripted_engine.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/program.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

struct EngineFixture : FlowFixture {
  ScriptedEngine engine;
  EngineFixture() {
    game.engine_process = &engine;
    EngineSettings e;
    e.program = "scripted";
    e.move_time_ms = 250;
    choose_engine(game, e);
  }
  // The engine introduces itself and gets ready.
  void greet() {
    for (const char* line : {"id name Scripted", "option name UCI_Variant type combo default chess "
                             "var chess var judkins", "usiok", "readyok"})
      engine_said(game, line);
  }
};

TEST(OutsideEngineFlow, TheEngineIsToldTheGameAndItsMoveTakesTheRoad) {
  EngineFixture f;
  GameState& g = f.game.g;
  GOTE_Click(f.game);
  EXPECT_TRUE(engine_busy(f.game));
  EXPECT_EQ(f.engine.heard, std::vector<std::string>{"usi"});
  f.greet();
  EXPECT_EQ(f.engine.heard,
            (std::vector<std::string>{"usi", "setoption name UCI_Variant value judkins", "isready",
                                      "usinewgame",
                                      "position sfen rbnsgk/5p/6/6/P5/KGSNBR w - 1",
                                      "go btime 0 wtime 0 byoyomi 250"}));
  EXPECT_EQ(f.engine.deadline, 250 + 10000);
  // A click while it thinks is refused and changes nothing.
  f.sound.played.clear();
  f.click(1, 5);
  EXPECT_EQ(f.sound.played, std::vector<int>{f.game.snd_forbidden});
  EXPECT_EQ(g.pick_state, 0);
  engine_said(f.game, "info depth 3 score cp 12");
  engine_said(f.game, "bestmove 2a2b ponder 6e6d");
  EXPECT_FALSE(engine_busy(f.game));
  EXPECT_EQ(g.record_pos, 1);
  EXPECT_EQ(g.board[5][2], 110);
  EXPECT_EQ(g.turn, g.lower_side);
  // The next position is the start and the moves since.
  f.move(1, 5, 1, 4);
  EXPECT_EQ(f.engine.heard.back(), "go btime 0 wtime 0 byoyomi 250");
  EXPECT_EQ(f.engine.heard[f.engine.heard.size() - 2],
            "position sfen rbnsgk/5p/6/6/P5/KGSNBR w - 1 moves 2a2b 6e6d");
}

TEST(OutsideEngineFlow, AStoppedEnginesLateAnswerChangesNothing) {
  EngineFixture f;
  GameState& g = f.game.g;
  GOTE_Click(f.game);
  f.greet();
  ASSERT_TRUE(engine_busy(f.game));
  START_Click(f.game);  // two players now
  EXPECT_EQ(f.engine.heard.back(), "stop");
  EXPECT_FALSE(engine_busy(f.game));
  const BoardArray board = g.board;
  engine_said(f.game, "bestmove 2a2b");
  EXPECT_EQ(g.board, board);
  EXPECT_EQ(g.record_pos, 0);
  EXPECT_TRUE(f.form.shown.empty() || f.form.shown.back().title != engine_message_title);
  // Quitting says so and ends the process.
  OWARI_Click(f.game);
  EXPECT_EQ(f.engine.heard.back(), "quit");
  EXPECT_FALSE(f.engine.alive);
}

TEST(OutsideEngineFlow, AnAnswerInAnotherPositionIsRefusedAndLevelThreeMoves) {
  EngineFixture f;
  GameState& g = f.game.g;
  GOTE_Click(f.game);
  f.greet();
  f.form.shown.clear();
  engine_said(f.game, "bestmove 6f6e");  // a lower piece: not the computer's
  ASSERT_FALSE(f.form.shown.empty());
  EXPECT_EQ(f.form.shown.front().title, engine_message_title);
  EXPECT_FALSE(f.engine.alive);
  EXPECT_EQ(g.record_pos, 1);  // LEVEL3 moved instead
  EXPECT_TRUE(is_upper_piece(g.move_records[1].piece_after));
  EXPECT_TRUE(f.form.checked("LEVEL3"));
  EXPECT_FALSE(f.form.checked("GAIBU"));
  EXPECT_FALSE(f.settings.file.engine_plays.value_or(true));  // the fallback is kept
}

// An engine chosen for the record analysis alone: a level that plays
// keeps playing, an engine that plays is replaced by the new one.
TEST(OutsideEngineFlow, AnEngineChosenForTheAnalysisPlaysOnlyWhereAnEnginePlayedAlready) {
  FlowFixture f;
  ScriptedEngine engine;
  f.game.engine_process = &engine;
  LEVEL_Click(f.game, 2);
  EngineSettings e;
  e.program = "analyser";
  choose_engine(f.game, e, false);
  EXPECT_EQ(f.game.engine.choice.program, "analyser");
  EXPECT_FALSE(engine_plays(f.game));
  EXPECT_TRUE(f.form.checked("LEVEL2"));
  EXPECT_FALSE(f.form.checked("GAIBU"));
  EXPECT_EQ(f.settings.file.engine_program.value_or(""), "analyser");
  EXPECT_FALSE(f.settings.file.engine_plays.value_or(true));

  choose_engine(f.game, e);
  e.program = "another";
  choose_engine(f.game, e, false);
  EXPECT_TRUE(engine_plays(f.game));
  EXPECT_EQ(f.game.engine.choice.program, "another");
  EXPECT_TRUE(f.form.checked("GAIBU"));
}

}  // namespace
}  // namespace nirvex::testing

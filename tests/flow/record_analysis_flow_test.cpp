// The record analysis as the game flow holds it, on a scripted engine
// process: the positions and commands the engine is given, the losses and
// marks worked out from its answers, positions where a king can be taken,
// faults and cancels halfway, and the game left as it was.
#include <gtest/gtest.h>

#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "tests/flow/fake_form.h"
#include "tests/flow/scripted_engine.h"
#include "ui/flow/analysis_view.h"
#include "ui/flow/move_judgement.h"
#include "ui/flow/position_paste.h"
#include "ui/flow/record_analysis.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

using Status = RecordAnalysis::Status;

constexpr const char* start_position = "position sfen rbnsgk/5p/6/6/P5/KGSNBR b - 1";

// A game between two players on the fake window, an engine chosen for it,
// and the analysis's own scripted process.
struct AnalysisFixture : FlowFixture {
  ScriptedEngine analyser;
  AnalysisFixture() {
    game.analysis_process = &analyser;
    game.engine.choice.program = "scripted";
    START_Click(game);
  }
  // Plays moves given in USI by clicking them.
  void play(std::initializer_list<const char*> moves) {
    for (const char* m : moves) {
      int fc = 0, fr = 0, tc = 0, tr = 0;
      ASSERT_TRUE(read_square(std::string_view(m).substr(0, 2), fc, fr));
      ASSERT_TRUE(read_square(std::string_view(m).substr(2, 2), tc, tr));
      const int before = game.g.record_pos;
      move(fc, fr, tc, tr);
      ASSERT_EQ(game.g.record_pos, before + 1) << m;
    }
  }
  void start(AnalysisLimit limit = {300, 0}) {
    ASSERT_EQ(start_record_analysis(game, limit), AnalysisStart::started);
  }
  // The engine introduces itself and gets ready.
  void greet() {
    for (const char* line :
         {"id name Scripted", "option name UCI_Variant type combo default chess var judkins",
          "option name Skill Level type spin default 20 min 0 max 20", "usiok", "readyok"})
      analysis_said(game, line);
  }
  // The engine's search of the position in hand: its score, then its move.
  void answer(const std::string& score, const std::string& best, const std::string& pv = "") {
    analysis_said(game, "info depth 3 score " + score + " nodes 10 pv " + (pv.empty() ? best : pv));
    analysis_said(game, "bestmove " + best);
  }
  const AnalysisResults& results() const { return game.record_analysis.results; }
  // The last two lines the engine heard.
  std::pair<std::string, std::string> asked() const {
    const auto& h = analyser.heard;
    return {h[h.size() - 2], h.back()};
  }
};

TEST(RecordAnalysisFlow, EveryPositionIsHandedOverWithTheMovesSinceTheStart) {
  AnalysisFixture f;
  ScriptedEngine player;
  f.game.engine_process = &player;
  f.play({"6e6d", "1b1c"});
  const GameState before = f.game.g;
  f.start();
  EXPECT_EQ(f.analyser.heard, std::vector<std::string>{"usi"});
  EXPECT_EQ(f.analyser.deadline, 10000);
  f.greet();
  EXPECT_EQ(f.analyser.heard,
            (std::vector<std::string>{"usi", "setoption name UCI_Variant value judkins", "isready",
                                      "usinewgame", start_position, "go movetime 300"}));
  EXPECT_EQ(f.analyser.deadline, 300 + 10000);
  f.answer("cp 20", "6e6d");
  EXPECT_EQ(f.asked(), std::make_pair(std::string(start_position) + " moves 6e6d",
                                      std::string("go movetime 300")));
  f.answer("cp -20", "1b1c");
  EXPECT_EQ(f.asked().first, std::string(start_position) + " moves 6e6d 1b1c");
  EXPECT_TRUE(analysis_running(f.game));
  f.answer("cp 20", "6d6c");
  EXPECT_EQ(f.analyser.heard.back(), "quit");
  EXPECT_FALSE(f.analyser.alive);
  EXPECT_EQ(f.game.record_analysis.status, Status::finished);
  EXPECT_EQ(f.results().positions.size(), 3u);
  EXPECT_EQ(f.results().moves.size(), 2u);
  // The game's own engine heard nothing, and the game is as it was.
  EXPECT_TRUE(player.heard.empty());
  const GameState& g = f.game.g;
  EXPECT_EQ(g.board, before.board);
  EXPECT_EQ(g.lower_hand, before.lower_hand);
  EXPECT_EQ(g.turn, before.turn);
  EXPECT_EQ(g.record_pos, 2);
  EXPECT_EQ(g.record_len, 2);
  EXPECT_EQ(g.lower_time_total, before.lower_time_total);
  EXPECT_EQ(g.upper_time_total, before.upper_time_total);
  EXPECT_TRUE(analysis_fits_record(f.game));

  // A fixed depth instead of a time; the record from its first position
  // even when the board stands elsewhere in it.
  REPLAY_Click(f.game);
  f.start({300, 12});
  f.greet();
  EXPECT_EQ(f.asked(), std::make_pair(std::string(start_position), std::string("go depth 12")));
  EXPECT_EQ(f.analyser.deadline, 120000);
}

TEST(RecordAnalysisFlow, LossesAndMarksFollowTheEnginesAnswers) {
  AnalysisFixture f;
  f.play({"6e6d", "1b1c", "3f4d", "1c1d", "6d6c", "2a2b"});
  f.start();
  f.greet();
  f.answer("cp 50", "6e6d");     // 6e6d: the engine's own move costs nothing
  f.answer("cp -40", "2a2b");    // 1b1c: +40 → +350 for the lower side
  f.answer("cp 350", "5f5e");    // 3f4d: +350 → -250
  f.answer("cp 250", "1c1d");    // 1c1d: the engine's move, whatever follows
  f.answer("mate 5", "5f5e");    // 6d6c: a mate in 5 given up for +1500
  f.answer("cp -1500", "3a2b");  // 2a2b: the upper side finds a mate in 2
  f.answer("mate -2", "6c6b");
  ASSERT_EQ(f.game.record_analysis.status, Status::finished);
  const std::vector<AnalysedMove>& m = f.results().moves;
  ASSERT_EQ(m.size(), 6u);

  EXPECT_EQ(m[0].ply, 1);
  EXPECT_FALSE(m[0].upper);
  EXPECT_EQ(m[0].move_usi, "6e6d");
  EXPECT_EQ(m[0].move_text, "６四歩");
  EXPECT_EQ(m[0].best_text, "６四歩");
  EXPECT_EQ(m[0].loss_cp, 0);
  EXPECT_EQ(m[0].mark, MoveMark::none);
  EXPECT_EQ(evaluation_text(m[0].evaluation), "cp 40");

  EXPECT_TRUE(m[1].upper);
  EXPECT_EQ(m[1].best_usi, "2a2b");
  EXPECT_EQ(m[1].best_text, "２二金");
  EXPECT_EQ(m[1].loss_cp, 310);
  EXPECT_EQ(m[1].mark, MoveMark::dubious);

  EXPECT_EQ(m[2].move_text, "４四桂");
  EXPECT_EQ(m[2].loss_cp, 600);
  EXPECT_EQ(m[2].mark, MoveMark::bad);
  EXPECT_EQ(evaluation_text(m[2].evaluation), "cp -250");

  EXPECT_EQ(m[3].loss_cp, 0);
  EXPECT_EQ(m[3].mark, MoveMark::none);

  // In a won position the slip costs centipawns but little chance.
  EXPECT_EQ(evaluation_text(m[3].evaluation), "mate 5");
  EXPECT_EQ(m[4].loss_cp, 500);
  EXPECT_EQ(m[4].mark, MoveMark::none);
  EXPECT_EQ(evaluation_text(m[5].evaluation), "mate -2");
  EXPECT_EQ(m[5].loss_cp, 0);

  const SideSummary& lower = f.results().lower;
  EXPECT_EQ(lower.moves, 3);
  EXPECT_EQ(lower.bad, 1);
  EXPECT_EQ(lower.dubious + lower.blunders, 0);
  EXPECT_DOUBLE_EQ(lower.average_loss_cp, 1100.0 / 3);
  const SideSummary& upper = f.results().upper;
  EXPECT_EQ(upper.moves, 3);
  EXPECT_EQ(upper.dubious, 1);
  EXPECT_DOUBLE_EQ(upper.average_loss_cp, 310.0 / 3);
}

// 6e6d 1b1c 6d6c 6a6c checks the lower king down the file; 5f5e leaves it
// there to be taken.
void king_left_in_check(AnalysisFixture& f) { f.play({"6e6d", "1b1c", "6d6c", "6a6c", "5f5e"}); }

TEST(RecordAnalysisFlow, AKingLeftToBeTakenIsJudgedWithoutTheEngine) {
  AnalysisFixture f;
  king_left_in_check(f);
  f.play({"1c1d", "6f5f"});  // the capture is missed; the king walks away
  f.start();
  f.greet();
  for (const char* best : {"6e6d", "1b1c", "6d6c", "6a6c", "6f5e"}) f.answer("cp 0", best);
  // The position after 5f5e is never handed over; the next one is handed
  // over whole, and the moves follow it again.
  EXPECT_EQ(f.asked().first, "position sfen 1bnsgk/6/r5/5p/1G4/K1SNBR b p 7");
  f.answer("cp 300", "6f5f");  // the upper side missed a won game
  EXPECT_EQ(f.asked().first, "position sfen 1bnsgk/6/r5/5p/1G4/K1SNBR b p 7 moves 6f5f");
  f.answer("cp 600", "6c6a");
  ASSERT_EQ(f.game.record_analysis.status, Status::finished);

  const AnalysisResults& r = f.results();
  const AnalysedPosition& open_king = r.positions[5];
  EXPECT_TRUE(open_king.king_to_take);
  EXPECT_EQ(open_king.best_usi, "6c6f");
  EXPECT_EQ(open_king.best_text, "６六飛");
  EXPECT_EQ(evaluation_text(open_king.evaluation), "mate -1");
  // The move that allowed it, and the reply that missed the capture.
  EXPECT_EQ(r.moves[4].mark, MoveMark::blunder);
  EXPECT_EQ(r.moves[4].best_usi, "6f5e");
  EXPECT_EQ(r.moves[5].best_usi, "6c6f");
  EXPECT_EQ(r.moves[5].best_text, "６六飛");
  EXPECT_EQ(r.moves[5].mark, MoveMark::blunder);
  EXPECT_EQ(r.moves[5].loss_cp, 2000 + 300);
}

TEST(RecordAnalysisFlow, AGameEndedByTakingTheKingNeedsNoEngineAtTheEnd) {
  AnalysisFixture f;
  king_left_in_check(f);
  f.move(1, 3, 1, 6);  // 6c6f takes the king; "続けますか？" is answered Yes
  ASSERT_EQ(f.game.g.record_pos, 0);
  ASSERT_EQ(f.game.g.record_len, 6);
  f.start();
  f.greet();
  for (const char* best : {"6e6d", "1b1c", "6d6c", "6a6c", "6f5e"}) f.answer("cp 0", best);
  EXPECT_EQ(f.game.record_analysis.status, Status::finished);
  EXPECT_EQ(f.analyser.heard.back(), "quit");
  const AnalysisResults& r = f.results();
  ASSERT_EQ(r.positions.size(), 7u);
  EXPECT_TRUE(r.positions[6].king_taken);
  EXPECT_EQ(evaluation_text(r.positions[6].evaluation), "mate -0");
  EXPECT_EQ(r.moves[5].mark, MoveMark::none);
  EXPECT_EQ(r.moves[5].loss_cp, 0);
  EXPECT_EQ(r.upper.blunders, 0);
  EXPECT_EQ(r.lower.blunders, 1);
}

TEST(RecordAnalysisFlow, APastedPositionIsTheFirstOne) {
  AnalysisFixture f;
  SFEN_PASTE_Click(f.game, "5k/6/6/6/6/KG4 b - 5");
  f.play({"5f5e", "1a1b"});
  f.start();
  f.greet();
  EXPECT_EQ(f.asked().first, "position sfen 5k/6/6/6/6/KG4 b - 5");
  f.answer("cp 900", "5f5e");
  EXPECT_EQ(f.asked().first, "position sfen 5k/6/6/6/6/KG4 b - 5 moves 5f5e");
}

TEST(RecordAnalysisFlow, APositionAfterAPawnDropMateIsHandedOverWhole) {
  AnalysisFixture f;
  SFEN_PASTE_Click(f.game, "5k/3S2/4G1/6/6/K5 b P 1");
  f.click(lower_hand_col, 1);
  f.click(6, 2);  // P*1b
  ASSERT_EQ(f.game.g.record_pos, 1);
  f.start();
  f.greet();
  f.answer("mate 1", "P*1b");
  EXPECT_EQ(f.asked().first, "position sfen 5k/3S1P/4G1/6/6/K5 w - 2");
  analysis_said(f.game, "info depth 0 score mate 0");
  analysis_said(f.game, "bestmove resign");
  EXPECT_EQ(f.game.record_analysis.status, Status::finished);
  EXPECT_EQ(evaluation_text(f.results().moves[0].evaluation), "mate 0");
  EXPECT_EQ(f.results().positions[1].best_usi, "");
}

// The ways an engine fails, each halfway through the analysis.
struct Fault {
  const char* name;
  void (*cause)(AnalysisFixture&);
  const char* what;
};

const Fault faults[] = {
    {"ends", [](AnalysisFixture& f) { analysis_ended(f.game); }, "が途中で終了しました。"},
    {"silent", [](AnalysisFixture& f) { analysis_deadline_passed(f.game); },
     "が時間内に指しませんでした。"},
    {"refused_move", [](AnalysisFixture& f) { f.answer("cp 0", "6f1a"); },
     "の指し手「6f1a」はこの将棋の規則で指せません。"},
    {"refused_line", [](AnalysisFixture& f) { f.answer("cp 0", "6d6c", "6d6c 6c6b"); },
     "の読み筋の「6c6b」はこの将棋の規則で指せません。"},
    {"no_score", [](AnalysisFixture& f) { analysis_said(f.game, "bestmove 6d6c"); },
     "が評価値を示しませんでした。"},
};

class RecordAnalysisFault : public ::testing::TestWithParam<Fault> {};

TEST_P(RecordAnalysisFault, EndsItWithTheEnginesMessageAndWhatWasDoneStays) {
  AnalysisFixture f;
  f.play({"6e6d", "1b1c", "6d6c"});
  f.start();
  f.greet();
  f.answer("cp 10", "6e6d");
  f.answer("cp 10", "1b1c");
  f.form.shown.clear();
  GetParam().cause(f);
  EXPECT_EQ(f.game.record_analysis.status, Status::failed);
  EXPECT_FALSE(f.analyser.alive);
  ASSERT_EQ(f.form.shown.size(), 1u);
  EXPECT_EQ(f.form.shown[0].title, "外部エンジン");
  EXPECT_EQ(f.form.shown[0].text,
            std::string("外部エンジン「Scripted」") + GetParam().what + "\n棋譜解析はここまでです。");
  EXPECT_EQ(f.results().positions.size(), 2u);
  EXPECT_EQ(f.results().moves.size(), 1u);
  EXPECT_EQ(f.game.g.record_pos, 3);
  // Late lines change nothing, and the board takes clicks again.
  f.answer("cp 10", "6d6c");
  EXPECT_EQ(f.results().positions.size(), 2u);
  f.play({"1c1d"});
}

INSTANTIATE_TEST_SUITE_P(Faults, RecordAnalysisFault, ::testing::ValuesIn(faults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordAnalysisFlow, AnEngineThatCannotPlayThisGameOrStartIsNamed) {
  AnalysisFixture f;
  f.play({"6e6d"});
  f.start();
  analysis_said(f.game, "id name Chess Only");
  analysis_said(f.game, "usiok");
  EXPECT_TRUE(f.form.showed("外部エンジン「Chess Only」はこの将棋（judkins）を指せません。\n"
                            "棋譜解析はここまでです。"));
  EXPECT_EQ(f.game.record_analysis.status, Status::failed);

  f.start();
  analysis_deadline_passed(f.game);
  EXPECT_TRUE(f.form.showed("外部エンジン「scripted」が応答しません（usi に usiok がありません）。\n"
                            "棋譜解析はここまでです。"));

  f.analyser.refusal = "No such file or directory";
  EXPECT_EQ(start_record_analysis(f.game, {}), AnalysisStart::failed);
  EXPECT_TRUE(f.form.showed("外部エンジン「scripted」を起動できません。\nNo such file or directory\n"
                            "棋譜解析はここまでです。"));
}

TEST(RecordAnalysisFlow, CancelAndCommandsThatMoveTheBoardStopItAndKeepWhatWasDone) {
  AnalysisFixture f;
  f.play({"6e6d", "1b1c"});
  f.start();
  f.greet();
  f.answer("cp 10", "6e6d");
  // While it runs the board refuses clicks.
  f.sound.played.clear();
  f.click(1, 4);
  EXPECT_EQ(f.sound.played, std::vector<int>{f.game.snd_forbidden});
  EXPECT_EQ(f.game.g.pick_state, 0);

  cancel_record_analysis(f.game);
  EXPECT_EQ(f.asked(), std::make_pair(std::string("stop"), std::string("quit")));
  EXPECT_FALSE(f.analyser.alive);
  EXPECT_EQ(f.game.record_analysis.status, Status::cancelled);
  f.answer("cp 10", "1b1c");
  EXPECT_EQ(f.results().positions.size(), 1u);
  EXPECT_FALSE(analysis_running(f.game));

  for (void (*command)(Game&) : {REPLAY_Click, AFTER_Click, START_Click, REVERSE_Click}) {
    f.start();
    command(f.game);
    EXPECT_EQ(f.game.record_analysis.status, Status::cancelled);
    EXPECT_FALSE(f.analyser.alive);
  }
}

TEST(RecordAnalysisFlow, ProgressCountsPositionsAndEstimatesTheTimeLeft) {
  AnalysisFixture f;
  f.play({"6e6d", "1b1c", "6d6c", "1c1d", "6c6b+"});
  EXPECT_EQ(analysis_progress(f.game).total, 0);
  f.start({400, 0});
  AnalysisProgress p = analysis_progress(f.game);
  EXPECT_EQ(p.done, 0);
  EXPECT_EQ(p.total, 6);
  EXPECT_DOUBLE_EQ(p.seconds_left, 6 * 0.4);
  f.greet();
  f.form.time += 1;
  f.answer("cp 0", "6e6d");
  f.form.time += 1;
  f.answer("cp 0", "1b1c");
  p = analysis_progress(f.game);
  EXPECT_EQ(p.done, 2);
  EXPECT_DOUBLE_EQ(p.seconds_left, 4);
  // While the engine thinks, the estimate counts down, though never below
  // the time of the positions after the one in hand.
  f.form.time += 0.5;
  EXPECT_DOUBLE_EQ(analysis_progress(f.game).seconds_left, 3.5);
  f.form.time += 3;
  EXPECT_DOUBLE_EQ(analysis_progress(f.game).seconds_left, 3);
  cancel_record_analysis(f.game);
  EXPECT_DOUBLE_EQ(analysis_progress(f.game).seconds_left, 0);
}

TEST(RecordAnalysisFlow, NothingToAnalyseWithoutAnEngineOrAMove) {
  AnalysisFixture f;
  EXPECT_EQ(start_record_analysis(f.game, {}), AnalysisStart::no_moves);
  f.play({"6e6d"});
  f.game.engine.choice.program.clear();
  EXPECT_EQ(start_record_analysis(f.game, {}), AnalysisStart::no_engine);
  f.game.engine.choice.program = "scripted";
  f.game.analysis_process = nullptr;
  EXPECT_EQ(start_record_analysis(f.game, {}), AnalysisStart::no_engine);
  EXPECT_EQ(f.analyser.starts, 0);
}

TEST(RecordAnalysisFlow, ResultsFitTheRecordUntilAnotherMoveReplacesOne) {
  AnalysisFixture f;
  f.play({"6e6d", "1b1c"});
  f.start();
  f.greet();
  for (const char* best : {"6e6d", "1b1c", "6d6c"}) f.answer("cp 0", best);
  EXPECT_TRUE(analysis_fits_record(f.game));
  f.play({"6d6c"});  // the record grows: its start still fits
  EXPECT_TRUE(analysis_fits_record(f.game));
  REPLAY_Click(f.game);
  REPLAY_Click(f.game);
  f.play({"2a2b"});
  EXPECT_FALSE(analysis_fits_record(f.game));
}

// The window's view of the analysis as the flow tells it: every message,
// and the last.
struct FakeAnalysisView : AnalysisView {
  std::vector<AnalysisShown> told;
  void show_analysis(const AnalysisShown& shown) override { told.push_back(shown); }
};

TEST(RecordAnalysisFlow, TheViewIsToldOfEachPositionAndOfResultsThatNoLongerFit) {
  AnalysisFixture f;
  FakeAnalysisView view;
  f.game.analysis_view = &view;
  f.play({"6e6d", "1b1c"});
  EXPECT_TRUE(view.told.empty());  // a game without an analysis tells nothing

  f.start();
  ASSERT_EQ(view.told.size(), 1u);
  EXPECT_TRUE(view.told.back().running);
  EXPECT_EQ(view.told.back().progress.total, 3);
  EXPECT_TRUE(view.told.back().results.positions.empty());
  f.greet();
  analysis_said(f.game, "info depth 1 score cp 5 pv 6e6d");
  EXPECT_EQ(view.told.size(), 1u);  // the engine's talk alone changes nothing shown
  f.answer("cp 30", "6e6d");
  ASSERT_EQ(view.told.size(), 2u);
  EXPECT_EQ(view.told.back().progress.done, 1);
  EXPECT_EQ(view.told.back().results.positions.size(), 1u);
  f.answer("cp 50", "1b1c");
  f.answer("cp -400", "6d6c");
  ASSERT_EQ(view.told.size(), 4u);
  const AnalysisShown& done = view.told.back();
  EXPECT_FALSE(done.running);
  EXPECT_EQ(done.progress.done, 3);
  EXPECT_EQ(done.first_number, 1);
  ASSERT_EQ(done.results.moves.size(), 2u);
  EXPECT_EQ(done.results.moves[1].move_text, "１三歩");
  EXPECT_EQ(done.lower_name, "▲先手");
  EXPECT_EQ(done.upper_name, "△後手");

  // Steps and a longer record keep the results; a move that replaces one
  // of the analysed takes them away.
  REPLAY_Click(f.game);
  f.play({"1b1c", "6d6c"});
  EXPECT_EQ(view.told.size(), 4u);
  REPLAY_Click(f.game);
  REPLAY_Click(f.game);
  f.play({"2a2b"});
  ASSERT_EQ(view.told.size(), 5u);
  EXPECT_FALSE(view.told.back().running);
  EXPECT_TRUE(view.told.back().results.moves.empty());
  EXPECT_TRUE(view.told.back().lower_name.empty());
}

TEST(RecordAnalysisFlow, TheSummaryNamesThePlayersAndWhoMovedFirst) {
  AnalysisFixture f;
  FakeAnalysisView view;
  f.game.analysis_view = &view;
  GOTE_Click(f.game);  // the computer moves first, from above
  ASSERT_EQ(f.game.g.record_len, 1);
  f.start();
  f.greet();
  f.answer("cp 0", recorded_move_text(f.game.g.move_records[1]));
  f.answer("cp 0", "6e6d");
  ASSERT_FALSE(view.told.empty());
  EXPECT_EQ(view.told.back().lower_name, "△あなた");
  EXPECT_EQ(view.told.back().upper_name, "▲LEVEL3");
}

}  // namespace
}  // namespace nirvex::testing

// An outside USI engine as the computer's player in the real window: the
// dialog, whole games by clicks against Fairy-Stockfish, the window alive
// while the engine thinks, every kind of fault, and the hint.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <random>

#include "engine/move_list.h"
#include "model/rules.h"
#include "tests/ui/window_fixture.h"
#include "ui/engine_dialog.h"
#include "ui/engine_process.h"
#include "ui/flow/hint.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/record_analysis.h"

namespace nirvex::testing {
namespace {

const std::string fairy = NIRVEX_FAIRY_STOCKFISH;
std::string fake(const char* mode) {
  return std::string(NIRVEX_FAKE_ENGINE_DIR "/fake-usi-") + mode;
}

class OutsideEngineTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    log_path_ = dir_.filePath(QStringLiteral("engine.log")).toStdString();
    qputenv("NIRVEX_FAKE_ENGINE_LOG", QByteArray::fromStdString(log_path_));
  }
  void TearDown() override {
    qunsetenv("NIRVEX_FAKE_ENGINE_LOG");
    WindowTest::TearDown();
  }

  // The engine plays the computer's side from now on.
  void use_engine(const std::string& program, int move_time_ms = 100) {
    EngineSettings e;
    e.program = program;
    e.move_time_ms = move_time_ms;
    choose_engine(w->game, e);
  }

  // Lets the event loop run until the engine has done what it was asked.
  bool wait_for_engine(int ms = 30000) {
    return QTest::qWaitFor([&] { return !engine_busy(w->game); }, ms);
  }

  // What the fake engine heard, line by line.
  std::vector<std::string> engine_log() const {
    std::vector<std::string> lines;
    std::ifstream in(log_path_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The process ids the fake engines wrote.
  std::vector<int> engine_pids() const {
    std::vector<int> pids;
    for (const std::string& l : engine_log())
      if (l.rfind("pid ", 0) == 0) pids.push_back(std::stoi(l.substr(4)));
    return pids;
  }
  // No engine the game started is running any more.
  void expect_no_engine_left() {
    EXPECT_EQ(w->engine_process()->process_id(), 0);
    for (int pid : engine_pids()) EXPECT_NE(kill(pid, 0), 0) << "engine " << pid << " still runs";
  }

  // A random move the rules allow the player, by clicks.
  void random_click_move(std::mt19937& rng) {
    GameState g = w->g;
    mark_pawn_columns(g);
    const std::vector<RuleMove> moves = list_rule_moves(g, false);
    ASSERT_FALSE(moves.empty());
    const RuleMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
    click(m.from_col, m.from_row);
    click(m.to_col, m.to_row, m.promotes() ? Qt::RightButton : Qt::LeftButton);
  }

  // A move the rules allow the player that leaves its king safe, by clicks.
  void safe_click_move() {
    GameState g = w->g;
    mark_pawn_columns(g);
    for (const RuleMove& m : list_rule_moves(g, false)) {
      GameState after = g;
      apply_move(after, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
      if (king_attacked(after, false)) continue;
      click(m.from_col, m.from_row);
      click(m.to_col, m.to_row, m.promotes() ? Qt::RightButton : Qt::LeftButton);
      return;
    }
    FAIL() << "no safe move";
  }

  // Waits until the fake engine has written this line to its log.
  bool engine_heard(const std::string& line) {
    return QTest::qWaitFor([&] {
      const std::vector<std::string> heard = engine_log();
      return std::find(heard.begin(), heard.end(), line) != heard.end();
    }, 5000);
  }

  bool shown(const QString& text) const {
    for (const auto& m : dialogs.shown)
      if (m.text == text) return true;
    return false;
  }
  const ShownMessage* engine_message() const {
    for (const auto& m : dialogs.shown)
      if (m.title == QStringLiteral("外部エンジン")) return &m;
    return nullptr;
  }

  std::string log_path_;
};

TEST_F(OutsideEngineTest, TheDialogFindsFairyStockfishAndItsChoiceIsKept) {
  if (fairy.empty()) GTEST_SKIP() << "Fairy-Stockfish is not installed";
  start();
  QString status;
  on_modal = [&](QDialog* d) {
    auto* dialog = qobject_cast<EngineDialog*>(d);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->program->text().toStdString(), fairy);
    status = dialog->status->text();
    EXPECT_TRUE(dialog->skill->isEnabled());  // it offers a skill level
    dialog->move_time->setCurrentIndex(dialog->move_time->findData(300));
    dialog->skill->setValue(5);
    EXPECT_TRUE(dialog->buttons->button(QDialogButtonBox::Ok)->isEnabled());
    dialog->accept();
  };
  trigger("GAIBU");
  EXPECT_TRUE(status.contains(QStringLiteral("指せます"))) << status.toStdString();
  EXPECT_TRUE(w->menu_item("GAIBU")->isChecked());
  for (const char* level : {"LEVEL1", "LEVEL2", "LEVEL3"})
    EXPECT_FALSE(w->menu_item(level)->isChecked()) << level;
  EXPECT_EQ(w->game.engine.choice.move_time_ms, 300);
  EXPECT_EQ(w->game.engine.choice.skill, 5);

  // The next start finds the choice in the settings file.
  w.reset();
  settings_ = QByteArray();
  start();
  EXPECT_TRUE(w->menu_item("GAIBU")->isChecked());
  EXPECT_FALSE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_EQ(w->game.engine.choice.program, fairy);
  EXPECT_EQ(w->game.engine.choice.move_time_ms, 300);
  // A level puts the built-in player back, and that is kept too.
  trigger("LEVEL2");
  EXPECT_FALSE(w->menu_item("GAIBU")->isChecked());
  w.reset();
  start();
  EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_FALSE(w->menu_item("GAIBU")->isChecked());
  EXPECT_EQ(w->game.engine.choice.program, fairy);  // still offered in the dialog
}

TEST_F(OutsideEngineTest, TheDialogRefusesAnEngineThatDoesNotPlayThisGame) {
  start();
  QString status;
  bool ok_enabled = true;
  on_modal = [&](QDialog* d) {
    auto* dialog = qobject_cast<EngineDialog*>(d);
    dialog->program->setText(QString::fromStdString(fake("novariant")));
    dialog->check_engine();
    status = dialog->status->text();
    ok_enabled = dialog->buttons->button(QDialogButtonBox::Ok)->isEnabled();
    dialog->reject();
  };
  trigger("GAIBU");
  EXPECT_TRUE(status.contains(QStringLiteral("指せません"))) << status.toStdString();
  EXPECT_FALSE(ok_enabled);
  EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_FALSE(w->menu_item("GAIBU")->isChecked());
}

// Whole games by clicks against the real Fairy-Stockfish, to a winner;
// while it thinks the window stays alive and the board waits.
TEST_F(OutsideEngineTest, WholeGamesAgainstFairyStockfishByClicks) {
  if (fairy.empty()) GTEST_SKIP() << "Fairy-Stockfish is not installed";
  settings_ = QByteArray("\x8c\x6f\x89\xdf\x8e\x9e\x8a\xd4=ON\r\n");  // 経過時間: clocks shown
  int winners = 0, thinking_clicks = 0;
  for (int game = 0; game < 3; ++game) {
    start();
    use_engine(fairy, 100);
    trigger(game == 1 ? "GOTE" : "SENTE");
    ASSERT_TRUE(wait_for_engine());
    std::mt19937 rng(game + 1);
    dialogs.answers = {MsgAnswer::yes};
    for (int ply = 0; ply < 120 && w->g.turn == w->g.lower_side; ++ply) {
      const int before = w->g.record_pos;
      random_click_move(rng);
      if (engine_busy(w->game)) {
        // Thinking: the caption shows, a click is refused and changes
        // nothing, the clock goes on.
        EXPECT_TRUE(w->canvas.texts_in(-1.7, 8.3, -1.5, 8.45).contains(QStringLiteral("思考中")));
        sound.played.clear();
        const BoardArray board = w->g.board;
        click(1, 5);
        EXPECT_EQ(played_names(), QStringList{"forbidden"});
        EXPECT_EQ(w->g.board, board);
        EXPECT_TRUE(w->timer_running());
        ++thinking_clicks;
      }
      ASSERT_TRUE(wait_for_engine());
      if (w->g.turn == side_none) break;
      ASSERT_EQ(w->g.record_pos, before + 2);
      ASSERT_EQ(w->g.turn, w->g.lower_side);
    }
    EXPECT_EQ(engine_message(), nullptr) << engine_message()->text.toStdString();
    if (shown(QStringLiteral("ｺﾝﾋﾟｭｰﾀの勝ちです")) || shown(QStringLiteral("あなたの勝ちです")))
      ++winners;
    w.reset();
    dialogs.shown.clear();
  }
  EXPECT_EQ(winners, 3);
  EXPECT_GT(thinking_clicks, 0);
}

// Each fault is named, its process ended, and LEVEL3 makes the move.
TEST_F(OutsideEngineTest, FaultsAreNamedTheProcessEndsAndLevelThreePlays) {
  const struct {
    const char* mode;
    const char* says;
  } faults[] = {{"crash", "途中で終了"},      {"illegal", "規則で指せません"},
                {"novariant", "指せません"},  {"mute", "usiok"},
                {"hang", "時間内に指しません"}};
  for (const auto& f : faults) {
    start();
    use_engine(fake(f.mode), 100);
    dialogs.shown.clear();
    trigger("GOTE");
    ASSERT_TRUE(wait_for_engine(40000)) << f.mode;
    const ShownMessage* m = engine_message();
    ASSERT_NE(m, nullptr) << f.mode;
    EXPECT_TRUE(m->text.contains(QString::fromUtf8(f.says))) << f.mode << ": " << m->text.toStdString();
    EXPECT_EQ(m->icon, MsgIcon::warning);
    // The built-in LEVEL3 made the move; the menu is back on LEVEL3.
    EXPECT_EQ(w->g.record_pos, 1) << f.mode;
    EXPECT_EQ(w->g.turn, w->g.lower_side) << f.mode;
    EXPECT_FALSE(w->game.last_com_by_engine);
    EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked()) << f.mode;
    EXPECT_FALSE(w->menu_item("GAIBU")->isChecked()) << f.mode;
    expect_no_engine_left();
    // The game goes on with the built-in player.
    safe_click_move();
    EXPECT_EQ(w->g.record_pos, 3) << f.mode;
    EXPECT_EQ(w->g.turn, w->g.lower_side) << f.mode;
    w.reset();
    std::remove(log_path_.c_str());
  }
}

TEST_F(OutsideEngineTest, AProgramThatDoesNotStartIsNamed) {
  start();
  use_engine(dir_.filePath(QStringLiteral("no-such-engine")).toStdString());
  trigger("GOTE");
  const ShownMessage* m = engine_message();
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->text.contains(QStringLiteral("起動できません")));
  EXPECT_TRUE(m->text.contains(QStringLiteral("no-such-engine")));
  EXPECT_EQ(w->g.record_pos, 1);
  EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked());
}

TEST_F(OutsideEngineTest, ResignationWinsTheGameForThePlayer) {
  start();
  use_engine(fake("resign"));
  dialogs.answers = {MsgAnswer::yes};
  trigger("GOTE");
  ASSERT_TRUE(wait_for_engine());
  EXPECT_TRUE(shown(QStringLiteral("あなたの勝ちです")));
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(engine_message(), nullptr);
  EXPECT_NE(w->engine_process()->process_id(), 0);  // it may play the next game
}

// A level chosen instead, or another program chosen in the dialog, ends
// the engine at once: told "quit", gone and reaped before the command
// returns.
TEST_F(OutsideEngineTest, AnEngineSwitchedOffIsEndedAtOnce) {
  const std::function<void()> ways[] = {
      [this] { trigger("LEVEL2"); },
      [this] { trigger("LEVEL3"); },
      [this] {
        on_modal = [](QDialog* d) {
          auto* dialog = qobject_cast<EngineDialog*>(d);
          dialog->program->setText(QString::fromStdString(fake("resign")));
          dialog->check_engine();
          dialog->accept();
        };
        trigger("GAIBU");
      }};
  for (const auto& switch_off : ways) {
    start();
    use_engine(fake("good"));
    trigger("GOTE");
    ASSERT_TRUE(wait_for_engine());
    ASSERT_EQ(w->g.record_pos, 1);
    const qint64 pid = w->engine_process()->process_id();
    ASSERT_NE(pid, 0);
    switch_off();
    EXPECT_EQ(w->engine_process()->process_id(), 0);
    EXPECT_TRUE(kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) << pid;
    EXPECT_TRUE(engine_heard("quit"));
    w.reset();
    std::remove(log_path_.c_str());
  }
}

// Engines that never stop writing: the fault is named when the awaited
// answer's deadline passes (at once for a line no USI line can be), the
// process is ended, LEVEL3 moves, the window's buffer stays bounded; the
// dialog's check gives up on them the same way.
TEST_F(OutsideEngineTest, AnEngineThatFloodsFailsWithinItsDeadline) {
  using std::chrono::milliseconds;
  using std::chrono::steady_clock;
  const qint64 bound = longest_engine_line + 256 * 1024;  // the line and a read or two
  const struct {
    const char* mode;
    const char* says;
    int deadline_ms;
  } floods[] = {{"flood", "usiok", 10000},
                {"longline", "usiok", 10000},
                {"floodgo", "時間内に指しません", 100 + 10000}};
  for (const auto& f : floods) {
    start();
    use_engine(fake(f.mode), 100);
    dialogs.shown.clear();
    const auto asked = steady_clock::now();
    trigger("GOTE");
    ASSERT_TRUE(wait_for_engine(f.deadline_ms + 30000)) << f.mode;
    EXPECT_LT(steady_clock::now() - asked, milliseconds(f.deadline_ms + 20000)) << f.mode;
    const ShownMessage* m = engine_message();
    ASSERT_NE(m, nullptr) << f.mode;
    EXPECT_TRUE(m->text.contains(QString::fromUtf8(f.says))) << m->text.toStdString();
    EXPECT_EQ(w->g.record_pos, 1) << f.mode;  // LEVEL3 moved
    EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked()) << f.mode;
    EXPECT_LE(w->engine_process()->most_buffered(), bound) << f.mode;
    expect_no_engine_left();
    w.reset();
    std::remove(log_path_.c_str());
  }
  for (const char* mode : {"flood", "longline"}) {
    EngineIdentity identity;
    QString error;
    qint64 most = -1;
    const auto asked = steady_clock::now();
    EXPECT_FALSE(probe_engine(QString::fromStdString(fake(mode)), identity, error, &most));
    EXPECT_LT(steady_clock::now() - asked, milliseconds(5000 + 20000)) << mode;
    EXPECT_TRUE(error.contains(QStringLiteral("usiok"))) << error.toStdString();
    EXPECT_GE(most, 0) << mode;
    EXPECT_LE(most, bound) << mode;
  }
  for (int pid : engine_pids()) EXPECT_NE(kill(pid, 0), 0) << "engine " << pid << " still runs";
}

// Starting, stepping or quitting while the engine thinks stops it first;
// its late answer changes nothing.
TEST_F(OutsideEngineTest, MenuCommandsStopTheThinkingEngine) {
  start();
  use_engine(fake("hang"), 5000);
  trigger("GOTE");
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->game.engine.phase == OutsideEngine::Phase::thinking; },
                              10000));
  EXPECT_TRUE(engine_busy(w->game));
  w->canvas.clear_log();
  trigger("START");  // two players now; the engine is told to stop
  EXPECT_FALSE(engine_busy(w->game));
  EXPECT_FALSE(w->timer_running() && !w->menu_item("KEIKA")->isChecked());
  EXPECT_TRUE(engine_heard("stop"));
  // "思考中" is covered by the background again.
  EXPECT_EQ(w->canvas.picture_at(-1, 8), w->g.background_id);
  // Quitting says "quit" and leaves no engine behind.
  trigger("OWARI");
  EXPECT_TRUE(engine_heard("quit"));
  expect_no_engine_left();
  EXPECT_EQ(engine_message(), nullptr);
}

TEST_F(OutsideEngineTest, TheEngineHearsTheGameFromItsStartPosition) {
  start();
  use_engine(fake("good"));
  trigger("SENTE");
  move(1, 5, 1, 4);
  ASSERT_TRUE(wait_for_engine());
  std::vector<std::string> positions;
  for (const std::string& l : engine_log())
    if (l.rfind("position ", 0) == 0) positions.push_back(l);
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0], "position sfen rbnsgk/5p/6/6/P5/KGSNBR b - 1 moves 6e6d");
  EXPECT_TRUE(engine_heard("setoption name UCI_Variant value judkins"));
  EXPECT_TRUE(engine_heard("usinewgame"));
  EXPECT_TRUE(engine_heard("go btime 0 wtime 0 byoyomi 100"));
  // The next turn hands over the same start and every move since.
  safe_click_move();
  ASSERT_TRUE(wait_for_engine());
  positions.clear();
  for (const std::string& l : engine_log())
    if (l.rfind("position ", 0) == 0) positions.push_back(l);
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_TRUE(positions[1].starts_with(positions[0] + " ")) << positions[1];
}

// The record analysis on the window's second engine process, driven
// through the event loop as the computer's engine is: the playing engine
// keeps its process, and the game goes on afterwards.
TEST_F(OutsideEngineTest, TheAnalysisRunsOnAProcessOfItsOwnThroughTheEventLoop) {
  start();
  QtEngineProcess& analyser = *w->analysis_process();
  ASSERT_EQ(w->game.analysis_process, &analyser);
  use_engine(fake("good"));
  trigger("SENTE");
  safe_click_move();
  ASSERT_TRUE(wait_for_engine());
  const qint64 player = w->engine_process()->process_id();
  ASSERT_NE(player, 0);
  ASSERT_EQ(start_record_analysis(w->game, {100, 0}), AnalysisStart::started);
  EXPECT_NE(analyser.process_id(), 0);
  EXPECT_NE(analyser.process_id(), player);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !analysis_running(w->game); }, 30000));
  EXPECT_EQ(w->game.record_analysis.status, RecordAnalysis::Status::finished);
  EXPECT_EQ(w->game.record_analysis.results.moves.size(), 2u);
  EXPECT_EQ(analyser.process_id(), 0);
  EXPECT_EQ(w->engine_process()->process_id(), player);
  safe_click_move();
  ASSERT_TRUE(wait_for_engine());
  EXPECT_EQ(w->g.record_pos, 4);

  // 中止 ends its process at once and keeps what was done.
  ASSERT_EQ(start_record_analysis(w->game, {100, 0}), AnalysisStart::started);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->game.record_analysis.results.positions.empty(); },
                              30000));
  cancel_record_analysis(w->game);
  EXPECT_EQ(analyser.process_id(), 0);
  EXPECT_FALSE(w->game.record_analysis.results.positions.empty());
}

// "ヒント": framed in its own colour and named, nothing else changes.
TEST_F(OutsideEngineTest, HintsFromTheBuiltInPlayerAndFromTheEngine) {
  start();
  trigger("HINTO");
  EXPECT_EQ(last_message().title, QStringLiteral("ヒント"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});  // no game yet

  for (const bool engine : {false, true}) {
    if (engine && fairy.empty()) continue;
    if (engine) use_engine(fairy, 100);
    trigger("SENTE");
    move(1, 5, 1, 4);
    ASSERT_TRUE(wait_for_engine());
    const GameState before = w->g;
    dialogs.shown.clear();
    w->canvas.clear_log();
    trigger("HINTO");
    ASSERT_TRUE(wait_for_engine());
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(last_message().title, QStringLiteral("ヒント"));
    EXPECT_TRUE(last_message().text.startsWith(QStringLiteral("ヒント："))) << engine;
    ASSERT_EQ(w->game.hint_cells.size(), 2u);
    for (const auto& [col, row] : w->game.hint_cells)
      EXPECT_EQ(w->canvas.frame_at(col, row), colour_hint) << engine;
    EXPECT_EQ(w->g.board, before.board);
    EXPECT_EQ(w->g.record_pos, before.record_pos);
    EXPECT_EQ(w->g.lower_time_total, before.lower_time_total);
    EXPECT_EQ(w->g.turn, before.turn);
    // The next click takes the frames away.
    click(10, 8);
    EXPECT_TRUE(w->game.hint_cells.empty());
    trigger("CANCEL");
  }
}

}  // namespace
}  // namespace nirvex::testing

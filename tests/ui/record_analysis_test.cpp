// "棋譜解析" in the real window: the item and its dialogs, the progress and
// "中止", the marks and evaluations in the list's rows, the judgement of the
// row on the board, the evaluation graph and a click on it, the summary,
// and the side panel as "棋譜表示" and the record have it.  The engine is a
// scripted process answering line by line, or the scripted engine program.
#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QLineSeries>
#include <QSpinBox>
#include <fstream>

#include "engine/usi_move.h"
#include "tests/flow/scripted_engine.h"
#include "tests/ui/window_fixture.h"
#include "ui/analysis_dialog.h"
#include "ui/analysis_panel.h"
#include "ui/analysis_text.h"
#include "ui/engine_dialog.h"
#include "ui/engine_process.h"
#include "ui/evaluation_graph.h"
#include "ui/flow/move_judgement.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/record_analysis.h"
#include "ui/move_list_model.h"
#include "ui/move_list_panel.h"
#include "ui/program_modules.h"

namespace nirvex::testing {
namespace {

using Status = RecordAnalysis::Status;

std::string fake(const char* mode) {
  return std::string(NIRVEX_FAKE_ENGINE_DIR "/fake-usi-") + mode;
}

class RecordAnalysisWindow : public WindowTest {
 protected:
  // A two-player game of four moves: the pawns forward, both of them.
  void four_moves() {
    trigger("START");
    play({"6e6d", "1b1c", "6d6c", "1c1d"});
  }
  // Moves given in USI, clicked on the board.
  void play(std::initializer_list<const char*> moves) {
    for (const char* m : moves) {
      int fc = 0, fr = 0, tc = 0, tr = 0;
      ASSERT_TRUE(read_square(std::string_view(m).substr(0, 2), fc, fr));
      ASSERT_TRUE(read_square(std::string_view(m).substr(2, 2), tc, tr));
      move(fc, fr, tc, tr);
    }
  }
  // The analysis runs on a process the test answers for.
  void start_scripted(AnalysisLimit limit = {300, 0}) {
    w->game.analysis_process = &scripted;
    w->game.engine.choice.program = "scripted";
    ASSERT_EQ(start_record_analysis(w->game, limit), AnalysisStart::started);
    for (const char* line : {"id name Scripted", "option name UCI_Variant type combo var judkins",
                             "usiok", "readyok"})
      analysis_said(w->game, line);
  }
  // The engine's search of the position in hand: its score, then its move.
  void answer(const std::string& score, const std::string& best) {
    analysis_said(w->game, "info depth 5 score " + score + " pv " + best);
    analysis_said(w->game, "bestmove " + best);
  }
  // Answers for the four moves: the first is the engine's own, the second
  // throws the game away, the third and fourth cost less.
  void judge_four_moves() {
    answer("cp 50", "6e6d");
    answer("cp -50", "2a2b");
    answer("mate 3", "5f5e");
    answer("cp -600", "2a2b");
    answer("cp 1100", "6c6b+");
  }

  AnalysisPanel* panel() const { return w->analysis_panel(); }
  EvaluationGraph* graph() const { return dynamic_cast<EvaluationGraph*>(panel()->graph()); }
  QString cell(int row, int column) const {
    MoveListModel* m = w->move_list_model();
    return m->data(m->index(row, column)).toString();
  }
  QStringList column_texts(int column) const {
    QStringList out;
    for (int r = 0; r < w->move_list_model()->rowCount(); ++r) out << cell(r, column);
    return out;
  }
  bool analysis_columns_shown() const {
    return !w->move_list()->isColumnHidden(MoveListModel::mark_column) &&
           !w->move_list()->isColumnHidden(MoveListModel::evaluation_column);
  }

  ScriptedEngine scripted;
};

// The graph comes from its module beside the program the first time an
// analysis has something to draw, with the marks named and coloured as
// the list has them; until then Qt Charts is not needed.
TEST_F(RecordAnalysisWindow, TheGraphIsMadeFromItsModuleWhenThereIsFirstSomethingToDraw) {
  start();
  four_moves();
  EXPECT_EQ(panel()->graph(), nullptr);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(module_path("nirvex-graph"))));
  start_scripted();
  ASSERT_NE(graph(), nullptr);
  EXPECT_TRUE(graph()->isVisible());
  for (MoveMark mark : {MoveMark::dubious, MoveMark::bad, MoveMark::blunder}) {
    EXPECT_EQ(graph()->marks(mark)->name(), QString::fromStdString(mark_word(mark)));
    EXPECT_EQ(graph()->marks(mark)->color(), mark_colour(mark));
  }
  judge_four_moves();
  EXPECT_EQ(graph()->evaluation()->points().size(), 5);
}

// Without the graph's module the analysis shows all the rest: the rows'
// marks, the judgement and the summary; a row's click still steps.
TEST_F(RecordAnalysisWindow, WithoutTheGraphsModuleTheRestOfTheAnalysisShows) {
  start();
  panel()->graph_maker = nullptr;
  four_moves();
  start_scripted();
  judge_four_moves();
  EXPECT_EQ(w->game.record_analysis.status, Status::finished);
  EXPECT_EQ(panel()->graph(), nullptr);
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_EQ(column_texts(MoveListModel::mark_column),
            (QStringList{"", "", "大悪手", "悪手", "疑問手"}));
  EXPECT_TRUE(panel()->summary()->text().contains("解析 4手"));
  w->move_list()->on_row_chosen(2);
  EXPECT_EQ(w->g.record_pos, 2);
  EXPECT_EQ(panel()->judgement()->text(),
            "2手目 △１三歩　大悪手\n評価値 +3手詰　損失 1950\n最善手 △２二金");
}

TEST_F(RecordAnalysisWindow, TheProgressAdvancesAndCountsDownAndCancelKeepsWhatWasDone) {
  start();
  four_moves();
  EXPECT_FALSE(panel()->isVisible());  // nothing to show before an analysis
  EXPECT_FALSE(analysis_columns_shown());
  const int list_width = w->move_list()->width();
  start_scripted();
  ASSERT_TRUE(panel()->isVisible());
  QProgressBar* bar = panel()->progress();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(panel()->cancel_button()->isVisible());
  EXPECT_EQ(bar->maximum(), 5);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(bar->format(), "0/4手　残り 0:02");  // five positions at 0.3 s

  clock.time += 1;
  answer("cp 50", "6e6d");
  EXPECT_EQ(bar->value(), 1);
  EXPECT_EQ(bar->format(), "0/4手　残り 0:04");
  clock.time += 1;
  answer("cp -50", "2a2b");
  EXPECT_EQ(bar->value(), 2);
  EXPECT_EQ(bar->format(), "1/4手　残り 0:03");
  EXPECT_TRUE(analysis_columns_shown());
  EXPECT_GT(w->move_list()->width(), list_width);
  // While the engine thinks, the time left goes down by itself.
  clock.time += 1.5;
  EXPECT_TRUE(QTest::qWaitFor([&] { return bar->format() == "1/4手　残り 0:02"; }, 10000))
      << bar->format().toStdString();

  QTest::mouseClick(panel()->cancel_button(), Qt::LeftButton);
  EXPECT_EQ(w->game.record_analysis.status, Status::cancelled);
  EXPECT_FALSE(scripted.alive);
  EXPECT_EQ(scripted.heard.back(), "quit");
  EXPECT_FALSE(bar->isVisible());
  ASSERT_TRUE(panel()->isVisible());
  EXPECT_EQ(column_texts(MoveListModel::evaluation_column),
            (QStringList{"+50", "+50", "", "", ""}));
  EXPECT_EQ(graph()->evaluation()->points().size(), 2);
  ASSERT_TRUE(panel()->summary()->isVisible());
  EXPECT_TRUE(panel()->summary()->text().contains("解析 1/4手"));
  // The board is the player's again.
  sound.played.clear();
  play({"6c6b"});
  EXPECT_EQ(w->g.record_pos, 5);
}

TEST_F(RecordAnalysisWindow, RowsGraphAndJudgementShowTheMarksAndAClickOnTheGraphSteps) {
  start();
  four_moves();
  start_scripted();
  judge_four_moves();
  EXPECT_EQ(w->game.record_analysis.status, Status::finished);
  EXPECT_FALSE(panel()->progress()->isVisible());

  EXPECT_EQ(column_texts(MoveListModel::mark_column),
            (QStringList{"", "", "大悪手", "悪手", "疑問手"}));
  EXPECT_EQ(column_texts(MoveListModel::evaluation_column),
            (QStringList{"+50", "+50", "+3手詰", "+600", "+1100"}));
  MoveListModel* m = w->move_list_model();
  EXPECT_EQ(m->data(m->index(2, MoveListModel::mark_column), Qt::ForegroundRole).value<QColor>(),
            mark_colour(MoveMark::blunder));

  // The mate lies at the graph's edge; each mark is a point of its own
  // series.
  EXPECT_EQ(graph()->evaluation()->points(),
            (QList<QPointF>{{0, 50}, {1, 50}, {2, 2000}, {3, 600}, {4, 1100}}));
  EXPECT_EQ(graph()->marks(MoveMark::blunder)->points(), QList<QPointF>{QPointF(2, 2000)});
  EXPECT_EQ(graph()->marks(MoveMark::bad)->points(), QList<QPointF>{QPointF(3, 600)});
  EXPECT_EQ(graph()->marks(MoveMark::dubious)->points(), QList<QPointF>{QPointF(4, 1100)});
  EXPECT_EQ(graph()->current_line()->points().front().x(), 4);

  // The row on the board is judged in full; the move was not the engine's.
  EXPECT_EQ(panel()->judgement()->text(),
            "4手目 △１四歩　疑問手\n評価値 +1100　損失 500\n最善手 △２二金");

  // A click on the graph goes to that move as a click on its row does.
  sound.played.clear();
  QTest::mouseClick(graph()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    graph()->position_of(2, 0));
  EXPECT_EQ(w->g.record_pos, 2);
  EXPECT_EQ(played_names(), (QStringList{"piece", "piece"}));
  EXPECT_EQ(w->move_list()->selectionModel()->selectedRows().front().row(), 2);
  EXPECT_EQ(graph()->current_line()->points().front().x(), 2);
  EXPECT_EQ(panel()->judgement()->text(),
            "2手目 △１三歩　大悪手\n評価値 +3手詰　損失 1950\n最善手 △２二金");
  QTest::mouseClick(graph()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    graph()->position_of(0.2, -1500));
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(panel()->judgement()->text(), "開始局面\n評価値 +50\n最善手 ▲６四歩");

  // Each side's summary: its marks and its average loss.
  const QString summary = panel()->summary()->text();
  EXPECT_TRUE(summary.contains("解析 4手"));
  EXPECT_TRUE(summary.contains("▲先手</td><td align=right>0</td><td align=right>1</td><td "
                               "align=right>0</td><td align=right>"))
      << summary.toStdString();
  EXPECT_TRUE(summary.contains("△後手</td><td align=right>1</td><td align=right>0</td><td "
                               "align=right>1</td><td align=right>"))
      << summary.toStdString();
}

TEST_F(RecordAnalysisWindow, ClicksWaitWhileItRunsAndTheResultsGoWithTheRecordAndTheList) {
  start();
  four_moves();
  start_scripted();
  answer("cp 50", "6e6d");
  sound.played.clear();
  click(1, 4);
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_EQ(w->g.pick_state, 0);
  answer("cp -50", "2a2b");
  answer("mate 3", "5f5e");
  answer("cp -600", "2a2b");
  answer("cp 1100", "6c6b+");

  // "棋譜表示" hides the list and the analysis together.
  trigger("KIFU_HYOUJI");
  EXPECT_FALSE(w->move_list()->isVisible());
  EXPECT_FALSE(panel()->isVisible());
  trigger("KIFU_HYOUJI");
  EXPECT_TRUE(w->move_list()->isVisible());
  EXPECT_TRUE(panel()->isVisible());

  // A longer record keeps the results of its start; another move in
  // place of an analysed one takes them away.
  play({"6c6b"});
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_EQ(cell(5, MoveListModel::evaluation_column), "");
  for (int i = 0; i < 4; ++i) trigger("REPLAY");
  play({"2a2b"});
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_FALSE(analysis_columns_shown());
  EXPECT_EQ(column_texts(MoveListModel::mark_column), (QStringList{"", "", ""}));
}

// The item itself: nothing to judge, no engine, an engine that does not
// play this game; then the dialogs chosen by the player and the analysis
// on the window's own second process, the level playing on.
TEST_F(RecordAnalysisWindow, TheItemFindsAnEngineAsksForTheTimeAndRunsOnItsOwnProcess) {
  const std::string log_path = dir_.filePath(QStringLiteral("engine.log")).toStdString();
  qputenv("NIRVEX_FAKE_ENGINE_LOG", QByteArray::fromStdString(log_path));
  start();
  trigger("KIFU_KAISEKI");
  EXPECT_EQ(dialogs.texts(), QStringList{"解析する指し手がありません。"});
  EXPECT_EQ(modal_shown, 0);
  trigger("KIFU_HYOUJI");  // the list is off: the analysis brings it back
  four_moves();

  QStringList opened;
  on_modal = [&](QDialog* d) {
    opened << d->objectName();
    d->reject();
  };
  dialogs.shown.clear();
  trigger("KIFU_KAISEKI");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(last_message().text.startsWith("外部エンジンが選ばれていません。"));
  EXPECT_EQ(last_message().title, "棋譜解析");
  EXPECT_EQ(opened, QStringList{"EngineDialog"});
  EXPECT_EQ(w->game.record_analysis.status, Status::none);

  EngineSettings novariant;
  novariant.program = fake("novariant");
  choose_engine(w->game, novariant, false);
  on_modal = [&](QDialog* d) {
    opened << d->objectName();
    if (auto* e = qobject_cast<EngineDialog*>(d)) {
      e->program->setText(QString::fromStdString(fake("good")));
      e->check_engine();
      d->accept();
    } else if (auto* a = qobject_cast<AnalysisDialog*>(d)) {
      EXPECT_DOUBLE_EQ(a->seconds->value(), 0.5);  // the first choice offered
      a->by_depth->setChecked(true);
      a->depth->setValue(3);
      d->accept();
    }
  };
  opened.clear();
  dialogs.shown.clear();
  trigger("KIFU_KAISEKI");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(last_message().text.contains("この将棋（judkins）を指せません")) << last_message().text.toStdString();
  EXPECT_EQ(opened, (QStringList{"EngineDialog", "AnalysisDialog"}));
  EXPECT_EQ(w->game.engine.choice.program, fake("good"));
  EXPECT_FALSE(engine_plays(w->game));
  EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_TRUE(w->menu_item("KIFU_HYOUJI")->isChecked());
  ASSERT_TRUE(analysis_running(w->game));
  EXPECT_NE(w->analysis_process()->process_id(), 0);
  EXPECT_TRUE(panel()->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !analysis_running(w->game); }, 30000));
  EXPECT_EQ(w->game.record_analysis.status, Status::finished);
  EXPECT_EQ(w->analysis_process()->process_id(), 0);
  for (const QString& text : column_texts(MoveListModel::evaluation_column))
    EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(graph()->evaluation()->points().size(), 5);
  std::ifstream log(log_path);
  int searches = 0;
  for (std::string line; std::getline(log, line);) searches += line == "go depth 3";
  EXPECT_EQ(searches, 5);

  // The next time the engine is known: straight to the time, which is
  // remembered.
  opened.clear();
  dialogs.shown.clear();
  trigger("KIFU_KAISEKI");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(opened, QStringList{"AnalysisDialog"});
  EXPECT_EQ(w->game.record_analysis.limit.depth, 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !analysis_running(w->game); }, 30000));
  qunsetenv("NIRVEX_FAKE_ENGINE_LOG");
}

// The panel takes the window's font and keeps to the window's height, at
// a small and at a large size.
TEST_F(RecordAnalysisWindow, ThePanelFollowsTheWindowsFontAtEverySize) {
  start();
  four_moves();
  start_scripted();
  judge_four_moves();
  for (QSize size : {QSize(640, 420), QSize(1900, 1100)}) {
    w->resize(size);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w->move_list()->geometry().right() < w->centralWidget()->width(); }, 5000));
    const QFont font = QApplication::font();
    EXPECT_EQ(panel()->judgement()->font().pixelSize(), font.pixelSize());
    EXPECT_EQ(graph()->font().pixelSize(), font.pixelSize());
    EXPECT_EQ(panel()->summary()->font().pixelSize(), font.pixelSize());
    EXPECT_LE(panel()->geometry().bottom(), w->centralWidget()->height());
    EXPECT_GE(panel()->judgement()->height(), 3 * QFontMetrics(font).lineSpacing());
    EXPECT_GE(graph()->height(), 4 * QFontMetrics(font).height());
    EXPECT_GE(w->move_list()->columnWidth(MoveListModel::mark_column),
              QFontMetrics(font).horizontalAdvance(QStringLiteral("大悪手")));
  }
}

}  // namespace
}  // namespace nirvex::testing

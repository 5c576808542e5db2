// The record beside the board in the real window: the move list and a
// click on its rows, the keys, dragging with each button, the last move's
// tint on the wood after every kind of move, the options kept in the
// settings file, and the games kept in "自動保存".
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <random>

#include "record/record_text.h"
#include "tests/ui/window_fixture.h"
#include "tools/usi/console_records.h"
#include "ui/drag_piece.h"
#include "ui/flow/autosave.h"
#include "ui/flow/outside_engine.h"
#include "ui/move_list_model.h"
#include "ui/move_list_panel.h"

namespace nirvex::testing {
namespace {

class RecordBesideBoard : public WindowTest {
 protected:
  // Widget pixel position of the middle of a cell on the board view.
  QPoint cell_point(int col, int row) const {
    const QPointF twips(board_left + (col + 0.5) * cell_width, board_top + (row + 0.5) * cell_height);
    return w->board_view()->from_twips(twips).toPoint();
  }

  // Mean colour of a few buffer pixels at a fraction of a cell's size from
  // its top-left corner.
  QColor canvas_colour(int col, int row, double fx, double fy) const {
    const QImage& img = w->canvas.image();
    const int x = static_cast<int>((board_left + (col + fx) * cell_width) * buffer_pixels_per_twip);
    const int y = static_cast<int>((board_top + (row + fy) * cell_height) * buffer_pixels_per_twip);
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx, ++n) {
        const QRgb p = img.pixel(x + dx, y + dy);
        r += qRed(p);
        g += qGreen(p);
        b += qBlue(p);
      }
    return QColor(r / n, g / n, b / n);
  }
  // The wood in a corner of the cell shows the tint's blue: a top corner
  // beside a lower piece, a bottom one beside an upper piece.
  bool tinted(int col, int row) const {
    const QColor top = canvas_colour(col, row, 0.12, 0.12);
    const QColor bottom = canvas_colour(col, row, 0.12, 0.92);
    return top.blue() > top.red() || bottom.blue() > bottom.red();
  }
  // The middle of the piece looks the same with the tint and without.
  bool piece_untouched(int col, int row) {
    const QColor with = canvas_colour(col, row, 0.5, 0.55);
    SAISYUTE_Click(w->game);
    const QColor without = canvas_colour(col, row, 0.5, 0.55);
    const bool corner_changed = !tinted(col, row);
    SAISYUTE_Click(w->game);
    return corner_changed && with == without;
  }

  // Presses on one cell, moves through the middle of the way and lets go
  // on the other.
  void drag(int fc, int fr, int tc, int tr, Qt::MouseButton button) {
    BoardView* v = w->board_view();
    const QPoint from = cell_point(fc, fr), to = cell_point(tc, tr);
    QTest::mousePress(v, button, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, (from + to) / 2, v->mapToGlobal((from + to) / 2),
                     Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(v, &move);
    carried = w->drag_piece()->isVisible() ? w->drag_piece()->code() : 0;
    carried_at = w->drag_piece()->geometry().center();
    QTest::mouseRelease(v, button, Qt::NoModifier, to);
  }

  // The rows of the move list as shown: "▲６四歩".
  QStringList shown_rows() const {
    QStringList out;
    MoveListModel* m = w->move_list_model();
    for (int r = 1; r < m->rowCount(); ++r)
      out << m->data(m->index(r, MoveListModel::move_column)).toString();
    return out;
  }
  int selected_row() const {
    const QModelIndexList rows = w->move_list()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows[0].row() : -1;
  }
  void click_row(int row) {
    MoveListPanel* list = w->move_list();
    const QRect r = list->visualRect(w->move_list_model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  }

  QString kept_folder() const { return dir_.filePath(QStringLiteral("自動保存")); }

  int carried = 0;
  QPoint carried_at;
};

TEST_F(RecordBesideBoard, TheListFollowsAGameAgainstTheComputerAndItsRowsStep) {
  start();
  ASSERT_TRUE(w->move_list()->isVisible());
  EXPECT_GE(w->board_view()->geometry().right(), 0);
  EXPECT_LT(w->board_view()->geometry().right(), w->move_list()->geometry().left());
  trigger("SENTE");
  clock.time += 5;
  Timer1_Timer(w->game);
  move(1, 5, 1, 4);
  ASSERT_EQ(shown_rows(), (QStringList{"▲６四歩", "△６四飛"}));
  MoveListModel* m = w->move_list_model();
  EXPECT_EQ(m->data(m->index(1, MoveListModel::number_column)).toString(), "1");
  EXPECT_EQ(m->data(m->index(1, MoveListModel::time_column)).toString(), "0:05");
  EXPECT_EQ(m->data(m->index(0, MoveListModel::move_column)).toString(), "開始局面");
  EXPECT_EQ(selected_row(), 2);

  sound.played.clear();
  click_row(1);
  EXPECT_EQ(w->g.record_pos, 1);
  EXPECT_EQ(w->g.board[1][1], code_rook);
  EXPECT_EQ(selected_row(), 1);
  EXPECT_EQ(played_names(), QStringList{"piece"});
  click_row(0);
  EXPECT_EQ(w->g.record_pos, 0);
  click_row(2);
  EXPECT_EQ(w->g.record_pos, 2);
  EXPECT_EQ(w->g.board[1][4], code_rook);

  // A refused step leaves the selection on the position shown.
  trigger("CANCEL");
  dialogs.shown.clear();
  click_row(2);
  EXPECT_EQ(dialogs.texts(), QStringList{"「対局」で始めて下さい"});
  EXPECT_EQ(selected_row(), 0);
}

TEST_F(RecordBesideBoard, TheListsColumnsStayWholeAsTheWindowGrowsAndShrinks) {
  start();
  for (QSize size : {QSize(1900, 1000), QSize(560, 380), QSize(1200, 760)}) {
    w->resize(size);
    MoveListPanel* list = w->move_list();
    // The list and the board share the width once the layout has settled.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return list->geometry().right() < w->centralWidget()->width(); }, 5000));
    const QFontMetrics fm(list->font());
    EXPECT_EQ(fm.height(), QFontMetrics(QApplication::font()).height());
    EXPECT_GE(list->columnWidth(MoveListModel::move_column),
              fm.horizontalAdvance(QStringLiteral("▲５五銀成打")));
    EXPECT_GE(list->columnWidth(MoveListModel::time_column),
              fm.horizontalAdvance(QStringLiteral("59:59")));
  }
}

// Collects what a widget is asked to paint.
class PaintedRegion : public QObject {
 public:
  QRegion region;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// A move paints the list's rows that came, went or changed their mark,
// and leaves the others as they are: what a move costs the window does
// not grow with the game, and no row is left showing what it was.
TEST_F(RecordBesideBoard, TheListRepaintsTheRowsThatChangedAndNoOthers) {
  start();
  trigger("START");
  move(1, 5, 1, 4);
  move(6, 2, 6, 3);
  move(5, 6, 4, 5);
  QCoreApplication::processEvents();
  MoveListPanel* list = w->move_list();
  const auto row_rect = [&](int row) {
    const int top = list->rowViewportPosition(row);
    return QRect(0, top, list->viewport()->width(), list->rowHeight(row));
  };
  PaintedRegion painted;
  list->viewport()->installEventFilter(&painted);
  const auto painted_by = [&](auto&& step) {
    painted.region = QRegion();
    step();
    QCoreApplication::processEvents();
    return painted.region;
  };

  // A fourth move: its new row, and the third's that loses the selection.
  QRegion r = painted_by([&] { move(5, 1, 5, 2); });
  EXPECT_TRUE(r.contains(row_rect(4))) << r.boundingRect().y();
  EXPECT_TRUE(r.contains(row_rect(3)));
  EXPECT_FALSE(r.intersects(row_rect(1)));

  // Two steps back: the selection moves, no row comes or goes.
  r = painted_by([&] {
    trigger("REPLAY");
    trigger("REPLAY");
  });
  EXPECT_TRUE(r.contains(row_rect(4)));
  EXPECT_TRUE(r.contains(row_rect(2)));
  EXPECT_FALSE(r.intersects(row_rect(0)));

  // A move from there cuts the record: the new third row, and where the
  // fourth was.
  const QRect fourth = row_rect(4);
  r = painted_by([&] { move(2, 6, 2, 5); });
  ASSERT_EQ(w->move_list_model()->rowCount(), 4);
  EXPECT_TRUE(r.contains(row_rect(3)));
  EXPECT_TRUE(r.contains(fourth));
  EXPECT_FALSE(r.intersects(row_rect(1)));
  list->viewport()->removeEventFilter(&painted);
}

TEST_F(RecordBesideBoard, ArrowsAndHomeTakeTheRoadOfTheirMenuItems) {
  start();
  trigger("START");
  move(1, 5, 1, 4);
  move(6, 2, 6, 3);
  sound.played.clear();
  dialogs.shown.clear();
  QTest::keyClick(w.get(), Qt::Key_Left);
  EXPECT_EQ(w->g.record_pos, 1);
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_EQ(w->g.record_pos, 2);
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_EQ(dialogs.texts(), QStringList{"できません"});
  EXPECT_EQ(last_message().title, "進む");
  EXPECT_EQ(played_names(), (QStringList{"piece", "piece", "forbidden"}));
  QTest::keyClick(w.get(), Qt::Key_Home);
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(played_names().back(), "piece");
  dialogs.shown.clear();
  QTest::keyClick(w.get(), Qt::Key_Left);
  EXPECT_EQ(dialogs.texts(), QStringList{"できません"});
  EXPECT_EQ(last_message().title, "戻る");
  EXPECT_EQ(ended, 0);
  QTest::keyClick(w.get(), Qt::Key_Escape);
  EXPECT_EQ(ended, 1);
}

TEST_F(RecordBesideBoard, ADragWithEachButtonIsThePickAndTheDestination) {
  start();
  trigger("START");
  drag(1, 5, 1, 4, Qt::LeftButton);
  EXPECT_EQ(w->g.board[1][4], -code_pawn);
  EXPECT_EQ(carried, -code_pawn);
  EXPECT_LE((carried_at - (cell_point(1, 5) + cell_point(1, 4)) / 2).manhattanLength(), 2);
  EXPECT_FALSE(w->drag_piece()->isVisible());
  // What it carries is the piece alone, without the square's wood.
  const QImage cut = Canvas::piece_cut_out(-code_pawn);
  EXPECT_EQ(qAlpha(cut.pixel(cut.width() / 2, cut.height() / 2)), 255);
  EXPECT_EQ(qAlpha(cut.pixel(3, 3)), 0);
  move(6, 2, 6, 3);
  move(1, 4, 1, 3);
  move(6, 3, 6, 4);
  drag(1, 3, 1, 2, Qt::RightButton);
  EXPECT_EQ(w->g.board[1][2], -code_pawn_promoted);
  drag(6, 4, 6, 5, Qt::MiddleButton);
  EXPECT_EQ(w->g.board[6][5], code_pawn);
  // A press and release on the same square is one click.
  QTest::mouseClick(w->board_view(), Qt::LeftButton, Qt::NoModifier, cell_point(2, 6));
  EXPECT_EQ(w->g.pick_state, 1);
  EXPECT_EQ(w->g.record_pos, 6);
}

TEST_F(RecordBesideBoard, TheTintLiesOnTheWoodAfterEveryKindOfMove) {
  start();
  trigger("START");
  move(1, 5, 1, 4);
  EXPECT_TRUE(tinted(1, 5));
  EXPECT_TRUE(tinted(1, 4));
  EXPECT_TRUE(piece_untouched(1, 4));
  EXPECT_FALSE(tinted(2, 6));
  move(6, 2, 6, 3);
  EXPECT_FALSE(tinted(1, 4));
  EXPECT_TRUE(tinted(6, 3));
  // Every background: the squares are wood on each.
  for (const char* item : {"TATAMI", "TAKE", "UCHU", "RENGA", "MIDORI"}) {
    trigger(item);
    EXPECT_TRUE(tinted(6, 3)) << item;
    EXPECT_TRUE(piece_untouched(6, 3)) << item;
  }
  trigger("REVERSE");
  EXPECT_TRUE(tinted(1, 5));
  EXPECT_TRUE(tinted(1, 4));
  EXPECT_FALSE(tinted(6, 3));

  // A drop: the hand slot it came from and the square it went to.
  trigger("CANCEL");
  trigger("START");
  move(1, 5, 1, 4);
  move(1, 1, 1, 4);
  move(2, 6, 1, 5);
  move(1, 4, 2, 4);
  move(1, 5, 1, 4);
  move(-1, 6, 1, 2);
  ASSERT_EQ(w->g.board[1][2], code_pawn);
  EXPECT_TRUE(tinted(-1, 6));
  EXPECT_TRUE(tinted(1, 2));

  // The computer's move, with its frame over the tint.
  trigger("CANCEL");
  EXPECT_FALSE(tinted(1, 2));
  trigger("SENTE");
  move(1, 5, 1, 4);
  EXPECT_TRUE(tinted(1, 1));
  EXPECT_TRUE(tinted(1, 4));
  const int frame_x = static_cast<int>((board_left + cell_width + 7) * buffer_pixels_per_twip);
  const int frame_y = static_cast<int>((board_top + 4.5 * cell_height) * buffer_pixels_per_twip);
  EXPECT_EQ(QColor(w->canvas.image().pixel(frame_x, frame_y)), QColor(255, 255, 255));

  // "最終手強調" off: the wood is plain again.
  trigger("SAISYUTE");
  EXPECT_FALSE(tinted(1, 4));
}

TEST_F(RecordBesideBoard, TheOutsideEnginesMoveIsTintedListedAndNamedInTheKeptGame) {
  start();
  EngineSettings e;
  e.program = NIRVEX_FAKE_ENGINE_DIR "/fake-usi-good";
  e.move_time_ms = 100;
  choose_engine(w->game, e);
  trigger("SENTE");
  move(1, 5, 1, 4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !engine_busy(w->game); }, 30000));
  ASSERT_EQ(w->g.record_len, 2);
  const MoveRecord& m = w->g.move_records[2];
  EXPECT_TRUE(tinted(m.from_col, m.from_row));
  EXPECT_TRUE(tinted(m.to_col, m.to_row));
  EXPECT_EQ(shown_rows().size(), 2);
  trigger("CANCEL");
  const QStringList kept = QDir(kept_folder()).entryList({"*.棋譜"}, QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  record::LoadedRecord back;
  QString error;
  ASSERT_TRUE(record::load_record_file(QDir(kept_folder()).filePath(kept[0]), back, error))
      << error.toStdString();
  EXPECT_EQ(back.header.upper_name, "Fake good");
  EXPECT_EQ(back.header.lower_name, "あなた");
}

TEST_F(RecordBesideBoard, TheChoicesAreKeptAfterTheFourLines) {
  start();
  // A file of the four lines holds the defaults of the three.
  EXPECT_TRUE(w->menu_item("KIFU_HYOUJI")->isChecked());
  EXPECT_TRUE(w->menu_item("SAISYUTE")->isChecked());
  EXPECT_FALSE(w->menu_item("NARI_KAKUNIN")->isChecked());
  trigger("KIFU_HYOUJI");
  EXPECT_FALSE(w->move_list()->isVisible());
  trigger("NARI_KAKUNIN");
  QFile ini(ini_path());
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  QStringDecoder sjis("CP932");
  const QString text = sjis.decode(ini.readAll());
  EXPECT_TRUE(text.endsWith("BGM=OFF\r\n棋譜表示=OFF\r\n成/不成を確認=ON\r\n")) << text.toStdString();
  w.reset();
  settings_ = QByteArray();  // the file the last run wrote
  start();
  EXPECT_FALSE(w->menu_item("KIFU_HYOUJI")->isChecked());
  EXPECT_FALSE(w->move_list()->isVisible());
  EXPECT_TRUE(w->menu_item("NARI_KAKUNIN")->isChecked());
  trigger("KIFU_HYOUJI");
  EXPECT_TRUE(w->move_list()->isVisible());
}

TEST_F(RecordBesideBoard, AGameLeftByClosingTheWindowIsKeptAndReadOpensOnIt) {
  start();
  trigger("START");
  move(1, 5, 1, 4);
  move(6, 2, 6, 3);
  w->close();
  const QStringList kept = QDir(kept_folder()).entryList({"*.棋譜"}, QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  EXPECT_TRUE(is_autosave_name(kept[0].chopped(3).toStdString())) << kept[0].toStdString();
  record::LoadedRecord back;
  QString error;
  ASSERT_TRUE(record::load_record_file(QDir(kept_folder()).filePath(kept[0]), back, error));
  EXPECT_EQ(back.header.upper_name, "後手");
  EXPECT_EQ(back.header.lower_name, "先手");
  ASSERT_EQ(back.moves.size(), 2u);
  EXPECT_EQ(back.moves[1].piece_before, code_pawn);

  // The next run's "読込" opens on the kept games; "書込" on the start folder.
  w.reset();
  settings_ = QByteArray();
  start();
  trigger("KIFU_READ");
  EXPECT_EQ(w->record_panel()->dir1_path(), QDir::cleanPath(kept_folder()));
  ASSERT_EQ(w->record_panel()->File1->count(), 1);
  trigger("KIFU_WRITE");
  EXPECT_EQ(w->record_panel()->dir1_path(), QDir::cleanPath(dir_.path()));
}

// The console keeps its games byte for byte as the window writes them.
TEST(ConsoleRecordsBytes, AreTheWindowWritersBytes) {
  GameState g;
  nirvex::new_game(g);
  append_move_record(g, 1, 5, 1, 4, -20, -20, 0, 3.5, 0, 0);
  apply_move(g, 1, 5, 1, 4, -20);
  append_move_record(g, 1, 1, 1, 4, 900, 900, 3.5, 3.5, 0, 12);
  record::RecordHeader header{"2026-12-08 10:00:00", "LEVEL3", "あなた"};
  QByteArray window_bytes;
  QString error;
  ASSERT_TRUE(record::encode_record_file(header, &g.move_records[1], 2, window_bytes, error));
  QTemporaryDir dir;
  ConsoleRecords console;
  std::string console_error;
  ASSERT_TRUE(console.save(dir.path().toStdString(), "game", header, &g.move_records[1], 2,
                           console_error))
      << console_error;
  QFile file(dir.filePath(QStringLiteral("game.棋譜")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), window_bytes);
  EXPECT_EQ(console.record_names(dir.path().toStdString()), std::vector<std::string>{"game"});
}

}  // namespace
}  // namespace nirvex::testing

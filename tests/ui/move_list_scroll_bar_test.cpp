// The move list repaints only what a move changed: its scroll bar only
// where its handle moved, drawn in bands, and its rows only those that
// came or moved.  What the player sees must be the list drawn whole, at
// either end, in between and after it grew or was stepped through.
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <cstdlib>
#include <string>

#include "tests/ui/window_fixture.h"
#include "ui/move_list_panel.h"
#include "ui/move_list_scroll_bar.h"

namespace nirvex::testing {
namespace {

// The bar as the style draws it whole, at its present size and value.
QImage drawn_whole(const QScrollBar& bar) {
  QScrollBar plain(bar.orientation());
  plain.resize(bar.size());
  plain.setRange(bar.minimum(), bar.maximum());
  plain.setPageStep(bar.pageStep());
  plain.setValue(bar.value());
  return plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// "same", or how many pixels differ by more than two levels of a colour
// (a band's edge may round an outline's blend the other way) and the first.
std::string difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return "sizes " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " and " +
           std::to_string(b.width()) + "x" + std::to_string(b.height());
  int count = 0;
  std::string first;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
          std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
          std::abs(qBlue(p) - qBlue(q)) > 2) {
        if (count++ == 0)
          first = " first at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                  QColor(a.pixel(x, y)).name().toStdString() + " against " +
                  QColor(b.pixel(x, y)).name().toStdString();
      }
  return count == 0 ? "same" : std::to_string(count) + " pixels differ," + first;
}

TEST(MoveListScrollBar, BandsDrawTheSamePixelsAsTheStyleInOnePiece) {
  for (Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
    MoveListScrollBar bar(orientation);
    bar.resize(orientation == Qt::Vertical ? QSize(16, 700) : QSize(700, 16));
    bar.setRange(0, 300);
    bar.setPageStep(25);
    for (int value : {0, 7, 150, 300}) {
      bar.setValue(value);
      const QImage banded = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(difference(banded, drawn_whole(bar)), "same")
          << "orientation " << orientation << ", value " << value;
    }
  }
}

class MoveListBarOnScreen : public WindowTest {
 protected:
  // A widget's pixels in the window as last shown.
  QImage shown(const QWidget& widget) const {
    QCoreApplication::processEvents();
    const QPoint at = widget.mapTo(w.get(), QPoint(0, 0));
    return w->screen()
        ->grabWindow(w->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
  // The golds step forward and back, `count` moves.
  void play_moves(int count) {
    static const int moves[4][4] = {{2, 6, 2, 5}, {5, 1, 5, 2}, {2, 5, 2, 6}, {5, 2, 5, 1}};
    for (int i = 0; i < count; ++i, ++played) {
      const int* m = moves[played % 4];
      move(m[0], m[1], m[2], m[3]);
      QCoreApplication::processEvents();
    }
  }
  int played = 0;
};

// Moves that lengthen a list already scrolled to its end move the rows
// shown up by a row each: what is shown must be the rows drawn anew, not
// rows left where they were (at a larger font, rows of the old height).
TEST_F(MoveListBarOnScreen, AfterManyMovesTheShownRowsAreTheRowsDrawnWhole) {
  start();
  w->resize(1300, 850);
  QCoreApplication::processEvents();
  trigger("START");
  QWidget* rows = w->move_list()->viewport();
  play_moves(100);
  ASSERT_GT(w->move_list()->verticalScrollBar()->value(), 0);
  EXPECT_EQ(difference(shown(*rows), rows->grab().toImage().convertToFormat(QImage::Format_RGB32)),
            "same");
}

TEST_F(MoveListBarOnScreen, AfterMovesAndStepsTheShownBarIsTheBarDrawnWhole) {
  start();
  trigger("START");
  QScrollBar* bar = w->move_list()->verticalScrollBar();
  ASSERT_NE(dynamic_cast<MoveListScrollBar*>(bar), nullptr);
  ASSERT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same");  // nothing to scroll yet
  // Moves until the list is twice its height.
  while (bar->maximum() < bar->pageStep() && played < 200) {
    play_moves(1);
    if (played == 1 || bar->maximum() == 1) {
      EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same") << played;
    }
  }
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same")
      << "at the end, after " << played << " moves";
  for (int i = 0; i < 30; ++i) trigger("REPLAY");
  EXPECT_LT(bar->value(), bar->maximum());
  EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same") << "stepped back";
  trigger("CANCEL");  // the first position: the handle at the top
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same") << "at the start";
  trigger("AFTER");
  EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same") << "one step on";
  trigger("START");  // a new game: nothing to scroll again
  EXPECT_EQ(difference(shown(*bar), drawn_whole(*bar)), "same") << "a new game";
}

}  // namespace
}  // namespace nirvex::testing

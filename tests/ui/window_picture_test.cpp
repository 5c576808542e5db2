// The picture the window shows: the backdrop continued into the margins,
// small windows filtered as cleanly as the pictures at their natural size,
// large ones as sharp as plain bilinear scaling, and repaints that redo
// only what changed yet always give the picture made whole.
#include <QPainter>
#include <QPicture>
#include <cstdlib>

#include "tests/ui/window_fixture.h"
#include "ui/window_picture.h"

namespace nirvex::testing {
namespace {

// The largest difference of a colour channel between two pixels.
int channel_difference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

// Mean difference of the three channels over a rectangle of two pictures.
double mean_difference(const QImage& a, const QImage& b, const QRect& r) {
  double sum = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
              std::abs(qBlue(p) - qBlue(q))) / 3.0;
    }
  return sum / (static_cast<double>(r.width()) * r.height());
}

class WindowPictureTest : public WindowTest {
 protected:
  const int buffer_w = surface_width_twips * 4 / 15;   // 2528
  const int buffer_h = surface_height_twips * 4 / 15;  // 1616
  const int period_w = 152, period_h = 176;            // one cell of the tiling

  // The picture made whole for the board view as it is now.
  QImage made_whole() {
    BoardView* v = w->board_view();
    const QRectF t = v->target_rect();
    return WindowPicture::whole(w->canvas, v->size(), t.topLeft(), t.width() / buffer_w);
  }
  qint64 redone() {
    w->board_view()->show_sharp_now();
    return w->board_view()->pixels_redone();
  }
  qint64 picture_pixels() {
    const QSize shown = w->board_view()->size();
    return static_cast<qint64>(shown.width()) * shown.height();
  }
};

// At one window pixel to a buffer pixel, a margin of one cell round the
// buffer holds exactly the tiles the buffer holds one cell further in,
// where nothing but tiles is painted (the tiles painted again over the
// backdrop, beside the labels, overlap their neighbours and are left out).
TEST_F(WindowPictureTest, TheMarginsContinueTheBackdropTiles) {
  start();
  for (int id : {background_green, background_tatami, background_bamboo, background_space,
                 background_brick}) {
    background_Click(w->game, id);
    const QImage shown =
        WindowPicture::whole(w->canvas, QSize(buffer_w + 2 * period_w, buffer_h + 2 * period_h),
                             QPointF(period_w, period_h), 1.0);
    const QImage& buffer = w->canvas.image();
    // Margin rectangle (buffer coordinates, outside it) and the shift by a
    // whole number of cells into the buffer's plain tiles.
    struct Strip {
      QRect margin;
      QPoint into;
    };
    const Strip strips[] = {
        {QRect(-period_w, 400, 128, 800), QPoint(period_w, 0)},             // left
        {QRect(buffer_w, 760, period_w, 440), QPoint(-period_w, 0)},        // right
        {QRect(1360, -period_h, 440, period_h), QPoint(0, period_h)},       // top
        {QRect(560, buffer_h, 1840, period_h), QPoint(0, -period_h)},       // bottom
        {QRect(-period_w, -period_h, 128, period_h), QPoint(period_w, period_h)},  // corner
    };
    for (const Strip& s : strips) {
      int worst = 0;
      for (int y = s.margin.top(); y <= s.margin.bottom(); ++y)
        for (int x = s.margin.left(); x <= s.margin.right(); ++x)
          worst = std::max(worst, channel_difference(shown.pixel(x + period_w, y + period_h),
                                                     buffer.pixel(x + s.into.x(), y + s.into.y())));
      EXPECT_LE(worst, 2) << "background " << id << " margin at " << s.margin.x() << ","
                          << s.margin.y();
    }
  }
}

// A window far wider than the board: its side strips show the backdrop,
// not a flat colour.
TEST_F(WindowPictureTest, AWideWindowShowsTheBackdropToItsEdges) {
  start_on_screen();
  background_Click(w->game, background_brick);
  w->resize(1600, 636);
  QApplication::processEvents();
  const QRectF target = w->board_view()->target_rect();
  ASSERT_GT(target.left(), 100);
  const QImage shown = w->board_view()->shown();
  QHash<QRgb, int> colours;
  int flat_green = 0, pixels = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < static_cast<int>(target.left()) - 2; ++x) {
      const QRgb p = shown.pixel(x, y);
      ++colours[p];
      flat_green += (p & 0xffffff) == 0x008000;
      ++pixels;
    }
  EXPECT_GT(colours.size(), 200);
  EXPECT_LT(flat_green, pixels / 100);
  // And the far edges match the strip beside the board a cell's width in.
  const double cell_px = target.width() / buffer_w * period_w;
  const int x_edge = 2, x_in = static_cast<int>(std::lround(x_edge + 2 * cell_px));
  double diff = 0;
  for (int y = 200; y < 400; ++y)
    diff += channel_difference(shown.pixel(x_edge, y), shown.pixel(x_in, y));
  EXPECT_LT(diff / 200, 40);  // the same brick pattern, give or take a pixel's phase
}

// At a quarter of the buffer's size the pieces look like their pictures
// at natural size: every buffer pixel counts, none is skipped over.
TEST_F(WindowPictureTest, ASmallWindowShowsThePiecesAsCleanlyAsAtNaturalSize) {
  start();
  const QSize natural_size(buffer_w / 4, buffer_h / 4);
  const QImage picture = WindowPicture::whole(w->canvas, natural_size, QPointF(0, 0), 0.25);
  // The natural-size pictures painted at the same twips.
  QImage natural(natural_size, QImage::Format_RGB32);
  natural.fill(Qt::black);
  {
    QPainter p(&natural);
    p.scale(1 / 15.0, 1 / 15.0);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int x = 1; x <= 6; ++x)
      for (int y = 1; y <= 6; ++y) {
        const QImage img = Canvas::picture(w->g.board[x][y], false);
        p.drawImage(QRectF(Canvas::cell_to_twips(x, y), QSizeF(img.size()) * 15.0), img);
      }
  }
  double total = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      // Inside the square's frame.
      const QPointF t = Canvas::cell_to_twips(x, y) / 15.0;
      const QRect inside(QPoint(static_cast<int>(t.x()) + 2, static_cast<int>(t.y()) + 2),
                         QSize(34, 39));
      total += mean_difference(picture, natural, inside);
    }
  // Shrinking in one bilinear step gives about 3.6 here, filtering 2.6.
  EXPECT_LT(total / 36, 3.0);
}

// Enlarged, the picture is the buffer blended bilinearly, as sharp as
// Qt's own smooth scaling.
TEST_F(WindowPictureTest, ALargeWindowIsAsSharpAsBilinearScaling) {
  start();
  const double scale = 1.5;
  const QSize size(static_cast<int>(buffer_w * scale), static_cast<int>(buffer_h * scale));
  const QImage picture = WindowPicture::whole(w->canvas, size, QPointF(0, 0), scale);
  QImage bilinear(size, QImage::Format_RGB32);
  {
    QPainter p(&bilinear);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, buffer_w * scale, buffer_h * scale), w->canvas.image());
  }
  EXPECT_LT(mean_difference(picture, bilinear, QRect(QPoint(8, 8), size - QSize(16, 16))),
            1.0);
}

// Through a whole game, with guidance frames, clocks, captures and drops,
// each repaint redoes only what changed, and the picture is always the
// one made whole.
TEST_F(WindowPictureTest, RepaintsRedoOnlyWhatChangedAndGiveTheWholePicture) {
  start_on_screen();
  trigger("SIDOU");
  trigger("KEIKA");
  trigger("START");
  ASSERT_TRUE(w->board_view()->shown() == made_whole());

  // A pick with guidance: a few frames.
  qint64 before = redone();
  click(5, 6);
  EXPECT_LT(redone() - before, picture_pixels() / 50);
  EXPECT_TRUE(w->board_view()->shown() == made_whole());

  // A clock second: the digits that changed.
  before = redone();
  clock.time += 1;
  Timer1_Timer(w->game);
  EXPECT_GT(redone() - before, 0);
  EXPECT_LT(redone() - before, picture_pixels() / 100);
  EXPECT_TRUE(w->board_view()->shown() == made_whole());

  const int moves[][4] = {{1, 5, 1, 4}, {6, 2, 6, 3}, {5, 6, 2, 3}, {6, 3, 6, 4},
                          {2, 3, 4, 1}, {5, 1, 4, 1}, {8, 3, 3, 3}, {-1, 2, 2, 4}};
  for (const auto& m : moves) {
    click(m[0], m[1]);
    clock.time += 2;
    Timer1_Timer(w->game);
    click(m[2], m[3], m[2] == 4 && m[3] == 1 && m[0] == 2 ? Qt::RightButton : Qt::LeftButton);
    ASSERT_TRUE(w->board_view()->shown() == made_whole())
        << m[0] << m[1] << m[2] << m[3];
  }
  EXPECT_EQ(w->g.record_len, 8);

  // Painting what is there already redoes nothing.
  draw_board(w->game);
  draw_hand_lower(w->game);
  refresh(w->game);
  before = redone();
  draw_board(w->game);
  draw_hand_lower(w->game);
  refresh(w->game);
  EXPECT_EQ(redone(), before);

  // A new backdrop is the whole picture anew.
  background_Click(w->game, background_space);
  EXPECT_TRUE(w->board_view()->shown() == made_whole());
}

// A grab of the view (a screenshot) shows the canvas as it is now, and
// leaves what the window has yet to show to the window's own next paint.
TEST_F(WindowPictureTest, AGrabLeavesTheWindowWhatItHasYetToShow) {
  start_on_screen();
  trigger("START");
  BoardView* v = w->board_view();
  const QImage before = v->shown();
  // A piece painted on the canvas, not shown yet.
  std::swap(w->g.board[3][3], w->g.board[3][6]);
  draw_board(w->game);
  const QImage grabbed = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(grabbed == made_whole());
  EXPECT_FALSE(grabbed == before);
  EXPECT_TRUE(v->shown() == made_whole());
}

// Painted on a device that is no picture in memory (a recording of
// painting commands, as a printer receives them), the view gives the same
// picture, a few rows at a time.
TEST_F(WindowPictureTest, AnyOtherDeviceGetsTheSamePicture) {
  start_on_screen();
  trigger("START");
  BoardView* v = w->board_view();
  QPicture recorded;
  v->render(&recorded);
  QImage replayed(v->size(), QImage::Format_RGB32);
  replayed.fill(Qt::black);
  {
    QPainter p(&replayed);
    p.drawPicture(0, 0, recorded);
  }
  EXPECT_TRUE(replayed == made_whole());
}

// The program loads, then shows its window: the picture is made once, for
// the size it shows at (the menu bar already as tall as that size makes
// it), not first for a size it then leaves.
TEST_F(WindowPictureTest, TheFirstPictureIsMadeOnceForTheSizeShown) {
  w = std::make_unique<MainWindow>(platform_);
  w->Form_Load();
  w->resize(1500, 980);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  QCoreApplication::processEvents();
  BoardView* v = w->board_view();
  EXPECT_EQ(v->pixels_redone(), qint64(v->width()) * v->height());
  EXPECT_TRUE(v->shown() == made_whole());
}

// While the window's size changes the picture of the old size is shown
// scaled quickly, without making it anew (only a clock's digits redone in
// it); once the size has stayed, the window shows the sharp picture made
// whole for its new size.
TEST_F(WindowPictureTest, AResizeShowsAQuickPictureThenTheSharpOne) {
  start_on_screen();
  trigger("KEIKA");
  trigger("START");
  BoardView* v = w->board_view();
  const QImage before_resize = v->shown();
  // Read without bringing the picture up to date.
  const auto computed = [&] { return v->pixels_redone(); };
  const qint64 before = computed();
  int unpainted_in_quick = 0;
  for (int step = 1; step <= 5; ++step) {
    w->resize(1000 + 40 * step, 660 + 26 * step);
    QCoreApplication::processEvents();
    ASSERT_TRUE(v->resizing());
    // Every pixel of the quick picture is painted, also where the old
    // picture's edge falls between two pixels.
    QImage probe(v->size(), QImage::Format_RGB32);
    probe.fill(Qt::magenta);
    v->render(&probe, QPoint(), QRegion(), QWidget::RenderFlags());
    for (int y = 0; y < probe.height(); ++y)
      for (int x = 0; x < probe.width(); ++x)
        unpainted_in_quick += probe.pixel(x, y) == qRgb(255, 0, 255);
    // A clock second meanwhile is shown too, the same quick way.
    clock.time += 1;
    Timer1_Timer(w->game);
  }
  const qint64 during = computed() - before;
  EXPECT_GT(during, 0);
  EXPECT_LT(during, before_resize.width() * before_resize.height() / 20);
  const QImage quick = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(quick.size(), before_resize.size());


  ASSERT_TRUE(QTest::qWaitFor([&] { return !v->resizing(); }, 5000));
  QCoreApplication::processEvents();
  const QSize shown = v->size();
  EXPECT_EQ(computed() - before - during, qint64(shown.width()) * shown.height());
  const QImage sharp = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(sharp == made_whole());
  EXPECT_TRUE(v->shown() == made_whole());
  // The quick picture was the same scene, only less smooth.
  ASSERT_EQ(quick.size(), sharp.size());
  EXPECT_LT(mean_difference(quick, sharp, quick.rect()), 8.0);
  EXPECT_EQ(unpainted_in_quick, 0);
}

}  // namespace
}  // namespace nirvex::testing

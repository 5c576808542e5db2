// The window on a screen of two device pixels to a pixel: the picture is
// made in device pixels, so the board stays as sharp as on the screen's
// own pixels, and repaints still redo only what changed.
#include <QApplication>
#include <cstdlib>

#include "tests/ui/window_fixture.h"
#include "ui/window_picture.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, OnADoubleDensityScreenThePictureHasTheDevicesPixels) {
  start_on_screen();
  BoardView* v = w->board_view();
  ASSERT_EQ(v->devicePixelRatioF(), 2.0);
  const QImage shown = v->shown();
  EXPECT_EQ(shown.size(), v->size() * 2);

  // A pick and a clock second later it is still the picture made whole.
  trigger("KEIKA");
  trigger("START");
  click(5, 6);
  clock.time += 1;
  Timer1_Timer(w->game);
  const QRectF t = v->target_rect();
  EXPECT_TRUE(v->shown() == WindowPicture::whole(w->canvas, v->size() * 2, t.topLeft() * 2,
                                                  t.width() * 2 / w->canvas.image().width()));

  // What reaches the screen: the widget grabbed at device pixels shows the
  // picture one to one.
  const QImage grabbed = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(grabbed.size(), shown.size());
  const QRect middle(shown.width() / 4, shown.height() / 4, shown.width() / 2, shown.height() / 2);
  EXPECT_TRUE(grabbed.copy(middle) == v->shown().copy(middle));
}

// While the size changes, the quick picture fills the window's device
// pixels with the board where it belongs; once settled, the sharp one.
TEST_F(WindowTest, OnADoubleDensityScreenAResizeSettlesToTheSharpPicture) {
  start_on_screen();
  BoardView* v = w->board_view();
  v->show_sharp_now();
  w->resize(w->width() + 60, w->height() + 40);
  QCoreApplication::processEvents();
  ASSERT_TRUE(v->resizing());
  const QImage quick = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !v->resizing(); }, 5000));
  const QImage sharp = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(sharp.size(), v->size() * 2);
  EXPECT_TRUE(sharp == v->shown());
  ASSERT_EQ(quick.size(), sharp.size());
  double diff = 0;
  for (int y = 0; y < sharp.height(); y += 7)
    for (int x = 0; x < sharp.width(); x += 7) {
      const QRgb a = quick.pixel(x, y), b = sharp.pixel(x, y);
      diff += (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b))) / 3.0;
    }
  EXPECT_LT(diff / ((sharp.height() / 7 + 1) * (sharp.width() / 7 + 1)), 12.0);
}

}  // namespace
}  // namespace nirvex::testing

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

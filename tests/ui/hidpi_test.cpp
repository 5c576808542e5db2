// The window on a screen of two device pixels to a pixel: the picture is
// made in device pixels, so the board stays as sharp as on the screen's
// own pixels, and repaints still redo only what changed.
#include <QApplication>

#include "tests/ui/window_fixture.h"
#include "ui/window_picture.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, OnADoubleDensityScreenThePictureHasTheDevicesPixels) {
  start();
  BoardView* v = w->board_view();
  ASSERT_EQ(v->devicePixelRatioF(), 2.0);
  const QImage& shown = v->picture().image();
  EXPECT_EQ(shown.size(), v->size() * 2);

  // A pick and a clock second later it is still the picture made whole.
  trigger("KEIKA");
  trigger("START");
  click(5, 6);
  clock.time += 1;
  Timer1_Timer(w->game);
  const QRectF t = v->target_rect();
  WindowPicture fresh;
  fresh.rebuild(w->canvas, v->size() * 2, t.topLeft() * 2,
                t.width() * 2 / w->canvas.image().width());
  EXPECT_TRUE(v->picture().image() == fresh.image());

  // What reaches the screen: the widget grabbed at device pixels shows the
  // picture one to one.
  const QImage grabbed = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(grabbed.size(), shown.size());
  const QRect middle(shown.width() / 4, shown.height() / 4, shown.width() / 2, shown.height() / 2);
  EXPECT_TRUE(grabbed.copy(middle) == v->picture().image().copy(middle));
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

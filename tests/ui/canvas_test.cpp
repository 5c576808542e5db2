// The back buffer's own painting: frames fill exactly the pixels the
// painter fills for a rectangle, and a picture or a frame painted over
// what it already shows is no change.
#include <QPainter>
#include <gtest/gtest.h>

#include "model/game_state.h"
#include "ui/canvas.h"

namespace nirvex {
namespace {

// Every cell a frame can stand on and beyond, and the inner frames of a
// hint, in colours that differ from one frame to the next.
TEST(Canvas, FramesFillThePixelsThePainterFillsForThem) {
  Canvas canvas;
  canvas.fill(0);
  QImage painted(canvas.image().size(), QImage::Format_RGB32);
  painted.fill(palette_colour(0));
  QPainter p(&painted);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  int colour = 1;
  for (int col = -3; col <= 16; ++col)
    for (int row = -2; row <= 9; ++row)
      for (double inset : {0.0, 15.0}) {
        colour = colour % 15 + 1;
        const QPointF a = Canvas::cell_to_twips(col, row) + QPointF(inset, inset);
        const QPointF b = Canvas::cell_to_twips(col + 1, row + 1) - QPointF(inset, inset);
        canvas.paint_frame(colour, a.x(), a.y(), b.x(), b.y());
        const double w = 15.0;
        for (const QRectF& line : {QRectF(a.x(), a.y(), b.x() - a.x() + w, w),
                                   QRectF(a.x(), b.y(), b.x() - a.x() + w, w),
                                   QRectF(a.x(), a.y(), w, b.y() - a.y() + w),
                                   QRectF(b.x(), a.y(), w, b.y() - a.y() + w)})
          p.fillRect(line, palette_colour(colour));
      }
  p.end();
  EXPECT_TRUE(canvas.image() == painted);
}

TEST(Canvas, PaintingWhatIsThereIsNoChange) {
  Canvas canvas;
  canvas.fill(colour_background);
  canvas.paint_picture(empty_code, board_left + cell_width, board_top + cell_height);
  canvas.paint_frame(colour_frame, 1000, 1000, 1570, 1660);
  canvas.take_changes();

  canvas.paint_picture(empty_code, board_left + cell_width, board_top + cell_height);
  canvas.paint_frame(colour_frame, 1000, 1000, 1570, 1660);
  EXPECT_TRUE(canvas.take_changes().empty());

  // A frame of another colour and back again within one showing: no change.
  canvas.paint_frame(colour_pick, 1000, 1000, 1570, 1660);
  canvas.paint_frame(colour_frame, 1000, 1000, 1570, 1660);
  EXPECT_TRUE(canvas.take_changes().empty());
  // And one that stays is the change.
  canvas.paint_frame(colour_pick, 1000, 1000, 1570, 1660);
  const std::vector<QRect> changed = canvas.take_changes();
  ASSERT_FALSE(changed.empty());
  for (const QRect& r : changed)
    EXPECT_TRUE(r.intersects(QRectF(QPointF(1000, 1000) * buffer_pixels_per_twip,
                                    QPointF(1586, 1676) * buffer_pixels_per_twip)
                                 .toAlignedRect()));
}

}  // namespace
}  // namespace nirvex

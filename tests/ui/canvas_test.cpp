// The back buffer's own painting: frames fill exactly the pixels the
// painter fills for a rectangle, and a picture or a frame painted over
// what it already shows is no change.
#include <QPainter>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Pictures come out of the canvas pixel for pixel as the painter paints
// them, wherever they stand: on cells, between them, over each other and
// beyond the buffer's edges.
TEST(Canvas, PicturesArePaintedAsThePainterPaintsThem) {
  std::vector<int> ids = {empty_code,       title_picture_id,  background_green,
                          background_tatami, background_bamboo, background_space,
                          background_brick};
  for (int code : {20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950}) {
    ids.push_back(code);
    ids.push_back(-code);
  }
  Canvas canvas;
  canvas.fill(colour_background);
  QImage painted(canvas.image().size(), QImage::Format_RGB32);
  painted.fill(palette_colour(colour_background));
  QPainter p(&painted);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // A backdrop's tiles: the same picture at the same fraction, many times.
  for (int id : {background_brick, empty_code, -950})
    for (int col = -3; col <= 15; ++col)
      for (int row = -2; row <= 9; ++row) {
        const QPointF at = Canvas::cell_to_twips(col, row);
        canvas.paint_picture(id, at.x(), at.y());
        const QImage natural = Canvas::picture(id, false);
        p.drawImage(QRectF(at, QSizeF(natural.size()) * 15.0), Canvas::picture(id, true));
      }
  std::size_t n = 0;
  for (double col : {-3.0, -1.0, 0.0, 1.0, 2.5, 3.0, 6.0, 7.5, 8.0, 10.2, 12.0, 15.0, 16.3})
    for (double row : {-2.0, 0.0, 0.5, 1.0, 3.3, 6.0, 7.0, 9.0}) {
      // Each picture at least twice at each fraction, mostly at others'.
      const int id = ids[n++ % ids.size()];
      const QPointF at = Canvas::cell_to_twips(col, row);
      canvas.paint_picture(id, at.x(), at.y());
      const QImage natural = Canvas::picture(id, false);
      p.drawImage(QRectF(at, QSizeF(natural.size()) * 15.0), Canvas::picture(id, true));
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

// Minor page faults of this process so far.
long minor_faults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Starting another program (an outside engine, the desktop's helpers)
// copies this process for a moment; the buffer stays out of that copy, so
// painting it afterwards does not fault on every page of it again.
TEST(Canvas, TheBufferStaysOutOfStartedPrograms) {
  Canvas canvas;
  canvas.fill(colour_background);
  const QImage& image = canvas.image();
  const long pages = image.sizeInBytes() / sysconf(_SC_PAGESIZE);
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  int status = 0;
  waitpid(child, &status, 0);
  const int other = (colour_background + 1) % 16;
  const long before = minor_faults();
  canvas.fill(other);
  const long faults = minor_faults() - before;
  EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), palette_colour(other).rgb());
  EXPECT_LT(faults, pages / 10) << pages << " pages";
}

}  // namespace
}  // namespace nirvex

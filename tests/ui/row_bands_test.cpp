// Painting in bands of rows must give the pixels of painting at once: a
// translucent picture smoothed across a fraction of a pixel, under a clip
// that ends inside a pixel, as the last move's tint is laid.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ui/row_bands.h"

namespace nirvex::testing {
namespace {

// A picture of stripes and a translucent wash with a hole in it.
QImage patterned(QSize size, bool translucent) {
  QImage out(size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      out.setPixel(x, y,
                   translucent ? qPremultiply(qRgba(40, 90, 200, (x - 60) * (x - 60) +
                                                                        (y - 70) * (y - 70) <
                                                                    900
                                                                ? 0
                                                                : 110))
                               : qRgb((x * 7) % 256, (y * 5) % 256, ((x + y) * 3) % 256));
  return out;
}

TEST(RowBands, GiveThePixelsOfPaintingAtOnce) {
  const QImage wash = patterned(QSize(170, 230), true);
  for (double offset : {0.0, 0.25, 0.6}) {
    QImage whole = patterned(QSize(300, 400), false).convertToFormat(QImage::Format_RGB32);
    QImage banded = whole;
    const QRectF target(10.3 + offset, 20.7 + offset, 170 / 1.07, 230 / 1.07);
    const auto setup = [&](QPainter& p) {
      p.scale(1.07, 1.07);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.setClipRect(QRectF(12.4, 25.1, 150.5, 200.3));
    };
    {
      QPainter p(&whole);
      setup(p);
      p.drawImage(target, wash);
    }
    {
      QPainter p(&banded);
      setup(p);
      paint_in_bands(p, QRect(0, 0, 300, 400), [&] { p.drawImage(target, wash); });
    }
    EXPECT_EQ(banded, whole) << "offset " << offset;
  }
}

}  // namespace
}  // namespace nirvex::testing

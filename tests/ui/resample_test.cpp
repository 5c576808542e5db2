// Scaling the back buffer to the window: the rows taken whole and the
// rows blended give the pixels the arithmetic says, to the last bit.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "ui/resample.h"

namespace nirvex::testing {
namespace {

// A picture of varied pixels; its alpha is left as the pattern makes it.
QImage pattern(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) row[x] = (x * 7u + y * 13u) * 2654435761u;
  }
  return image;
}

// Rows of `image`, nothing beyond it.
RowSource rows_of(const QImage& image) {
  return [&image](int y, int x0, int x1, QRgb* out) {
    std::memcpy(out, reinterpret_cast<const QRgb*>(image.constScanLine(y)) + x0,
                static_cast<std::size_t>(x1 - x0) * sizeof(QRgb));
  };
}

// `source` scaled by `scale` on both axes into a w × h picture.
QImage scaled(const QImage& source, int w, int h, double scale) {
  QImage out(w, h, QImage::Format_RGB32);
  resample(rows_of(source), ScaleTaps(w, scale, 0), ScaleTaps(h, scale, 0), out.rect(),
           PixelRows::of(out));
  return out;
}

// The rounded mean of two channels' values, as one blending step makes it.
int half_way(int a, int b) { return (a + b + 1) >> 1; }

TEST(Resample, OneToOneCopiesEveryPixelOpaque) {
  const QImage source = pattern(97, 41);
  const QImage out = scaled(source, 97, 41, 1.0);
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 97; ++x)
      ASSERT_EQ(out.pixel(x, y), source.pixel(x, y) | 0xff000000u) << x << "," << y;
}

TEST(Resample, HalvingBlendsDownThenAcrossRoundingEachStep) {
  const QImage source = pattern(130, 66);
  const QImage out = scaled(source, 65, 33, 0.5);
  for (int y = 0; y < 33; ++y)
    for (int x = 0; x < 65; ++x) {
      const QRgb a = source.pixel(2 * x, 2 * y), b = source.pixel(2 * x + 1, 2 * y);
      const QRgb c = source.pixel(2 * x, 2 * y + 1), d = source.pixel(2 * x + 1, 2 * y + 1);
      const auto blend = [&](int (*channel)(QRgb)) {
        return half_way(half_way(channel(a), channel(c)), half_way(channel(b), channel(d)));
      };
      ASSERT_EQ(out.pixel(x, y), qRgb(blend(qRed), blend(qGreen), blend(qBlue)))
          << x << "," << y;
    }
}

// A part of the window computed into a picture of its own, standing for
// the window from the part's corner on, is that part of the whole picture;
// nothing is written outside it.
TEST(Resample, APartComputedIntoAPictureOfItsOwnIsThatPartOfTheWhole) {
  const QImage source = pattern(200, 120);
  const ScaleTaps xs(150, 0.75, 0), ys(90, 0.75, 0);
  const QImage whole = scaled(source, 150, 90, 0.75);
  const QRect part(37, 21, 60, 30);
  // Read back as it is, alpha and all.
  QImage own(part.width() + 2, part.height() + 2, QImage::Format_ARGB32);
  own.fill(0u);
  // One pixel of border all round, left untouched.
  const PixelRows inner = {reinterpret_cast<QRgb*>(own.scanLine(1)) + 1, own.bytesPerLine() / 4,
                           part.width(), part.height()};
  resample(rows_of(source), xs, ys, part.adjusted(-5, -5, 5, 5), inner.at(part.left(), part.top()));
  EXPECT_TRUE(own.copy(1, 1, part.width(), part.height()).convertToFormat(QImage::Format_RGB32) ==
              whole.copy(part));
  for (int x = 0; x < own.width(); ++x) {
    EXPECT_EQ(own.pixel(x, 0), 0u);
    EXPECT_EQ(own.pixel(x, own.height() - 1), 0u);
  }
  for (int y = 0; y < own.height(); ++y) {
    EXPECT_EQ(own.pixel(0, y), 0u);
    EXPECT_EQ(own.pixel(own.width() - 1, y), 0u);
  }
}

}  // namespace
}  // namespace nirvex::testing

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

}  // namespace
}  // namespace nirvex::testing

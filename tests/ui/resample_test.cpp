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

// Pixel (x, y) of a source without edges, its alpha as varied as the rest.
QRgb endless(int x, int y) { return (x * 7919u + y * 104729u + 17u) * 2654435761u; }

// The arithmetic the filter promises, one window pixel at a time: each
// source column scaled down by the row's taps and rounded, then those
// scaled across by the column's taps and rounded.
QRgb promised(const ScaleTaps& xs, const ScaleTaps& ys, int dx, int dy) {
  const auto sum = [](auto&& pixel, int first, int count, const std::int32_t* w) {
    std::uint32_t rb = 0, g = 0;
    for (int k = 0; k < count; ++k) {
      const QRgb p = pixel(first + k);
      rb += (p & 0xff00ffu) * static_cast<std::uint32_t>(w[k]);
      g += ((p >> 8) & 0xffu) * static_cast<std::uint32_t>(w[k]);
    }
    return 0xff000000u | (((rb + 0x800080u) >> 8) & 0xff00ffu) | ((g + 0x80u) & 0xff00u);
  };
  const auto down = [&](int sx) {
    return sum([&](int sy) { return endless(sx, sy); }, ys.first(dy), ys.count(dy),
               ys.weights(dy));
  };
  return sum(down, xs.first(dx), xs.count(dx), xs.weights(dx));
}

// At every scale the window may show, from a sliver of the buffer to five
// times it, and at odd corners, every pixel is the promised one (the
// quick ways of a fixed number of taps, four pixels at once, included).
TEST(Resample, EveryScaleGivesThePromisedPixels) {
  const RowSource source = [](int y, int x0, int x1, QRgb* out) {
    for (int x = x0; x < x1; ++x) *out++ = endless(x, y);
  };
  for (const double scale : {0.11, 0.137, 0.2, 0.25, 0.41, 0.5, 0.77, 0.97, 1.0, 1.7, 5.0})
    for (const double origin : {0.0, 3.3}) {
      const ScaleTaps xs(83, scale, origin), ys(29, scale, origin);
      QImage out(83, 29, QImage::Format_RGB32);
      resample(source, xs, ys, out.rect(), PixelRows::of(out));
      for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 83; ++x)
          ASSERT_EQ(out.pixel(x, y), promised(xs, ys, x, y))
              << "scale " << scale << " origin " << origin << " at " << x << "," << y;
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

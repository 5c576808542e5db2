// Scaling a picture with proper filtering, any part of it on its own: a
// window pixel shrunk from the back buffer averages every buffer pixel it
// covers (by the area it covers), one enlarged from it blends the four
// nearest (bilinear).  Each window pixel depends only on its own taps, so
// redoing a part gives exactly the pixels redoing the whole would.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

namespace nirvex {

// The taps of one axis: for each window pixel, the first source pixel it
// takes from, how many and with which weights (fixed point, summing to
// tap_one).
class ScaleTaps {
 public:
  static constexpr int tap_one = 256;

  ScaleTaps() = default;
  // `size` window pixels; window pixel d shows source position
  // (d + 0.5 - origin) / scale, source pixel i covering [i, i + 1).
  ScaleTaps(int size, double scale, double origin);

  int size() const { return static_cast<int>(first_.size()); }
  int first(int d) const { return first_[d]; }
  int count(int d) const { return count_[d]; }
  const std::int32_t* weights(int d) const { return weights_.data() + start_[d]; }
  // One past the last source pixel window pixel d takes from.
  int end(int d) const { return first_[d] + count_[d]; }
  // The most taps any window pixel has, and each pixel's weights padded
  // with zeros to that many, each weight four times over in 16 bits (one
  // for each channel of a pixel): the same sums, in loops of one fixed
  // length, several window pixels at once.
  int most() const { return most_; }
  const std::uint64_t* padded_weights(int d) const {
    return padded_.data() + static_cast<std::size_t>(d) * static_cast<std::size_t>(most_);
  }
  // The window pixels [lo, hi) that take from any source pixel in
  // [from, to); empty when none does.
  void reach(int from, int to, int& lo, int& hi) const;

 private:
  std::vector<int> first_, count_, start_;
  std::vector<std::int32_t> weights_;
  int most_ = 0;
  std::vector<std::uint64_t> padded_;
};

// Fills `out` (ARGB32 pixels) with the source pixels [x0, x1) of row y;
// the source may go on beyond any picture (the window's margins).
using RowSource = std::function<void(int y, int x0, int x1, QRgb* out)>;

// Where the window pixels go: window rows [top, top + height) and columns
// [left, left + width), the first of them at `bits`, `stride` pixels from
// one row to the next (an RGB32 picture's bits, or a part of them).
struct PixelRows {
  QRgb* bits = nullptr;
  qsizetype stride = 0;
  int width = 0, height = 0;
  int left = 0, top = 0;
  static PixelRows of(QImage& image) {
    return {reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / 4, image.width(),
            image.height()};
  }
  // The same picture's pixels standing for the window's from (left, top) on.
  PixelRows at(int window_left, int window_top) const {
    PixelRows moved = *this;
    moved.left = window_left;
    moved.top = window_top;
    return moved;
  }
};

// Computes the window pixels of `area` into `target` from the source
// through the taps of both axes.  Parts of the picture that do not overlap
// may be computed on different threads at once.
void resample(const RowSource& source, const ScaleTaps& xs, const ScaleTaps& ys,
              const QRect& area, const PixelRows& target);

}  // namespace nirvex

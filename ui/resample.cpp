#include "ui/resample.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nirvex {

namespace {

// Rounds weights to fixed point so that they sum to exactly one: what the
// rounding left over goes to the largest.
void append_fixed(const std::vector<double>& w, std::vector<std::int32_t>& out) {
  double total = 0;
  for (double x : w) total += x;
  int sum = 0;
  std::size_t largest = 0;
  const std::size_t base = out.size();
  for (std::size_t i = 0; i < w.size(); ++i) {
    const int f = static_cast<int>(std::lround(w[i] / total * ScaleTaps::tap_one));
    out.push_back(f);
    sum += f;
    if (w[i] > w[largest]) largest = i;
  }
  out[base + largest] += ScaleTaps::tap_one - sum;
}

// Window rows computed at a time: the rows they take from stay in cache.
constexpr int band_rows = 32;

}  // namespace

ScaleTaps::ScaleTaps(int size, double scale, double origin) {
  first_.resize(size);
  count_.resize(size);
  start_.resize(size);
  std::vector<double> w;
  for (int d = 0; d < size; ++d) {
    w.clear();
    int first = 0;
    if (scale < 1) {
      // Shrinking: the source interval the window pixel covers, each source
      // pixel weighted by how much of it lies inside.
      const double a = (d - origin) / scale;
      const double b = (d + 1 - origin) / scale;
      first = static_cast<int>(std::floor(a));
      const int last = static_cast<int>(std::ceil(b)) - 1;
      for (int i = first; i <= last; ++i)
        w.push_back(std::min<double>(b, i + 1) - std::max<double>(a, i));
      // Drop slivers too thin to count, at either end.
      while (w.size() > 1 && w.back() < 1e-9) w.pop_back();
      while (w.size() > 1 && w.front() < 1e-9) w.erase(w.begin()), ++first;
    } else {
      // Enlarging: the two nearest source pixels, blended by distance.
      const double t = (d + 0.5 - origin) / scale - 0.5;
      first = static_cast<int>(std::floor(t));
      const double f = t - first;
      w = {1 - f, f};
      if (f < 1e-9) w = {1.0};
    }
    first_[d] = first;
    count_[d] = static_cast<int>(w.size());
    start_[d] = static_cast<int>(weights_.size());
    append_fixed(w, weights_);
    most_ = std::max(most_, count_[d]);
  }
  padded_.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(most_), 0);
  for (int d = 0; d < size; ++d)
    for (int k = 0; k < count_[d]; ++k)
      padded_[static_cast<std::size_t>(d) * static_cast<std::size_t>(most_) +
              static_cast<std::size_t>(k)] =
          0x0001000100010001ull * static_cast<std::uint64_t>(weights(d)[k]);
}

void ScaleTaps::reach(int from, int to, int& lo, int& hi) const {
  // Both the first and the end of the taps grow with the window pixel.
  int a = 0, b = size();
  while (a < b) {  // first window pixel whose taps end after `from`
    const int m = (a + b) / 2;
    if (end(m) > from) b = m; else a = m + 1;
  }
  lo = a;
  a = lo, b = size();
  while (a < b) {  // first window pixel whose taps start at or after `to`
    const int m = (a + b) / 2;
    if (first(m) >= to) b = m; else a = m + 1;
  }
  hi = a;
  // Taps grow by at most a pixel out of step; take any such in as well.
  while (lo > 0 && end(lo - 1) > from) --lo;
  while (hi < size() && first(hi) < to) ++hi;
}

namespace {

// Red and blue of a pixel apart by 16 bits, and green alone: a sum of up
// to 256 parts of either stays within its half of 32 bits.
inline std::uint32_t red_blue(QRgb p) { return p & 0xff00ffu; }
inline std::uint32_t green(QRgb p) { return (p >> 8) & 0xffu; }
// The pixel of the sums, rounded.
inline QRgb pixel_of(std::uint32_t rb, std::uint32_t g) {
  return 0xff000000u | (((rb + 0x800080u) >> 8) & 0xff00ffu) | ((g + 0x80u) & 0xff00u);
}

// One window pixel from `n` pixels in a row and their padded weights.
inline QRgb one_pixel(const QRgb* p, const std::uint64_t* w, int n) {
  std::uint32_t rb = 0, g = 0;
  for (int k = 0; k < n; ++k) {
    const auto wk = static_cast<std::uint32_t>(w[k] & 0xffffu);
    rb += red_blue(p[k]) * wk;
    g += green(p[k]) * wk;
  }
  return pixel_of(rb, g);
}

#if defined(__SSE2__)
// Four pixels of sums in 16-bit lanes (two pixels' channels in each
// half), rounded as pixel_of rounds, and opaque.
inline __m128i four_pixels(__m128i lo, __m128i hi) {
  const __m128i half = _mm_set1_epi16(0x80);
  lo = _mm_srli_epi16(_mm_add_epi16(lo, half), 8);
  hi = _mm_srli_epi16(_mm_add_epi16(hi, half), 8);
  return _mm_or_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(static_cast<int>(0xff000000u)));
}
#endif

// One window row across from the row scaled down (`down`, from source
// pixel sx0 on), each pixel taking N taps (padded with weight nought).
// With SSE2, four window pixels at a time, each channel in 16 bits: a
// channel times a weight, and their sum, stay within 255 * 256; the
// rounding is the one pixel_of does.
template <int N>
void across(const QRgb* down, int sx0, const ScaleTaps& xs, int dx0, int dx1, QRgb* out) {
  int dx = dx0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; dx + 4 <= dx1; dx += 4) {
    const QRgb* p0 = down + (xs.first(dx) - sx0);
    const QRgb* p1 = down + (xs.first(dx + 1) - sx0);
    const QRgb* p2 = down + (xs.first(dx + 2) - sx0);
    const QRgb* p3 = down + (xs.first(dx + 3) - sx0);
    const std::uint64_t* w = xs.padded_weights(dx);
    __m128i lo = zero, hi = zero;  // window pixels 0 and 1, 2 and 3
    for (int k = 0; k < N; ++k) {
      const __m128i px = _mm_setr_epi32(static_cast<int>(p0[k]), static_cast<int>(p1[k]),
                                        static_cast<int>(p2[k]), static_cast<int>(p3[k]));
      const __m128i w01 = _mm_set_epi64x(static_cast<long long>(w[N + k]),
                                         static_cast<long long>(w[k]));
      const __m128i w23 = _mm_set_epi64x(static_cast<long long>(w[3 * N + k]),
                                         static_cast<long long>(w[2 * N + k]));
      lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(px, zero), w01));
      hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(px, zero), w23));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (dx - dx0)), four_pixels(lo, hi));
  }
#endif
  for (; dx < dx1; ++dx)
    out[dx - dx0] = one_pixel(down + (xs.first(dx) - sx0), xs.padded_weights(dx), N);
}

// One window row scaled down: each pixel of the span the sum of the `n`
// source rows from `first` on (`span` pixels apart) by their weights,
// rounded.  With SSE2, four pixels at a time in 16-bit lanes, the taps'
// sums held in registers; without, the sums run along whole rows.
void down_row(const QRgb* first, std::size_t span, int n, const std::int32_t* w,
              QRgb* out, std::uint32_t* sum_rb, std::uint32_t* sum_g) {
  std::size_t x = 0;
#if defined(__SSE2__)
  constexpr int most = 16;
  if (n <= most) {
    __m128i weight[most];
    for (int k = 0; k < n; ++k) weight[k] = _mm_set1_epi16(static_cast<short>(w[k]));
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= span; x += 4) {
      __m128i lo = zero, hi = zero;
      for (int k = 0; k < n; ++k) {
        const __m128i px = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(first + static_cast<std::size_t>(k) * span + x));
        lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(px, zero), weight[k]));
        hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(px, zero), weight[k]));
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), four_pixels(lo, hi));
    }
  }
#endif
  if (x == span) return;
  std::uint32_t* __restrict rb = sum_rb;
  std::uint32_t* __restrict g = sum_g;
  std::fill(rb + x, rb + span, 0u);
  std::fill(g + x, g + span, 0u);
  for (int k = 0; k < n; ++k) {
    const QRgb* __restrict src = first + static_cast<std::size_t>(k) * span;
    const auto wk = static_cast<std::uint32_t>(w[k]);
    for (std::size_t i = x; i < span; ++i) {
      rb[i] += red_blue(src[i]) * wk;
      g[i] += green(src[i]) * wk;
    }
  }
  for (std::size_t i = x; i < span; ++i) out[i] = pixel_of(rb[i], g[i]);
}

// A row across for any number of taps, one pixel at a time.
void across_any(const QRgb* down, int sx0, const ScaleTaps& xs, int dx0, int dx1, QRgb* out) {
  for (int dx = dx0; dx < dx1; ++dx)
    out[dx - dx0] = one_pixel(down + (xs.first(dx) - sx0), xs.padded_weights(dx), xs.most());
}

}  // namespace

// Down first, then across: the first step, the larger, goes along whole
// rows, several pixels at once.
void resample(const RowSource& source, const ScaleTaps& xs, const ScaleTaps& ys,
              const QRect& area, const PixelRows& target) {
  const QRect r = area & QRect(0, 0, xs.size(), ys.size()) &
                 QRect(target.left, target.top, target.width, target.height);
  if (r.isEmpty()) return;
  const int dx0 = r.left(), dx1 = r.right() + 1;
  const int sx0 = xs.first(dx0), sx1 = xs.end(dx1 - 1);
  const std::size_t span = static_cast<std::size_t>(sx1 - sx0);
  // Kept from call to call: a repaint redoes many small parts.
  thread_local std::vector<QRgb> rows;  // the band's source rows
  thread_local std::vector<QRgb> down;  // one window row, scaled down but not across
  thread_local std::vector<std::uint32_t> sum_rb, sum_g;
  // Padded taps may reach past the span's end, with weight nought.
  down.resize(span + static_cast<std::size_t>(xs.most()));
  sum_rb.resize(span);
  sum_g.resize(span);

  for (int band = r.top(); band <= r.bottom(); band += band_rows) {
    const int dy0 = band, dy1 = std::min(r.bottom() + 1, band + band_rows);
    const int sy0 = ys.first(dy0), sy1 = ys.end(dy1 - 1);
    rows.resize(static_cast<std::size_t>(sy1 - sy0) * span);
    for (int sy = sy0; sy < sy1; ++sy)
      source(sy, sx0, sx1, rows.data() + static_cast<std::size_t>(sy - sy0) * span);

    for (int dy = dy0; dy < dy1; ++dy) {
      // Down: the row's taps over the span.
      const QRgb* first = rows.data() + static_cast<std::size_t>(ys.first(dy) - sy0) * span;
      down_row(first, span, ys.count(dy), ys.weights(dy), down.data(), sum_rb.data(),
               sum_g.data());

      // Across.
      QRgb* line = target.bits + (dy - target.top) * target.stride + (dx0 - target.left);
      switch (xs.most()) {
        case 1: across<1>(down.data(), sx0, xs, dx0, dx1, line); break;
        case 2: across<2>(down.data(), sx0, xs, dx0, dx1, line); break;
        case 3: across<3>(down.data(), sx0, xs, dx0, dx1, line); break;
        case 4: across<4>(down.data(), sx0, xs, dx0, dx1, line); break;
        case 5: across<5>(down.data(), sx0, xs, dx0, dx1, line); break;
        case 6: across<6>(down.data(), sx0, xs, dx0, dx1, line); break;
        default: across_any(down.data(), sx0, xs, dx0, dx1, line);
      }
    }
  }
  // A whole picture's bands are not kept.
  if (rows.capacity() > (std::size_t(1) << 16)) std::vector<QRgb>().swap(rows);
}

}  // namespace nirvex

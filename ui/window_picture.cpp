#include "ui/window_picture.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "ui/canvas.h"

namespace nirvex {

bool WindowPicture::fits(const Canvas& canvas, QSize size, QPointF origin, double scale) const {
  return size_ == size && origin_ == origin && scale_ == scale && shows_backdrop_of(canvas);
}

bool WindowPicture::shows_backdrop_of(const Canvas& canvas) const {
  return placed() && backdrop_ == canvas.backdrop() && fill_colour_ == canvas.fill_colour();
}

void WindowPicture::place(const Canvas& canvas, QSize size, QPointF origin, double scale) {
  size_ = size;
  origin_ = origin;
  scale_ = scale;
  xs_ = ScaleTaps(size.width(), scale, origin.x());
  ys_ = ScaleTaps(size.height(), scale, origin.y());
  if (backdrop_ != canvas.backdrop() || period_.isNull() != (canvas.backdrop() == 0))
    period_ = canvas.backdrop() ? Canvas::backdrop_period(canvas.backdrop()) : QImage();
  backdrop_ = canvas.backdrop();
  fill_colour_ = canvas.fill_colour();
}

QImage WindowPicture::whole(const Canvas& canvas, QSize size, QPointF origin, double scale) {
  WindowPicture picture;
  picture.place(canvas, size, origin, scale);
  QImage image(size, QImage::Format_RGB32);
  picture.paint(canvas, image.rect(), PixelRows::of(image));
  return image;
}

namespace {

// Rectangles that touch or nearly do are joined into one where that adds
// little: fewer, larger parts to redo and to repaint.
std::vector<QRect> joined(std::vector<QRect> rects) {
  constexpr int near = 4;
  const auto area = [](const QRect& r) { return static_cast<qint64>(r.width()) * r.height(); };
  for (bool again = true; again;) {
    again = false;
    for (std::size_t i = 0; i < rects.size() && !again; ++i)
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        if (!rects[i].adjusted(-near, -near, near, near).intersects(rects[j])) continue;
        const QRect both = rects[i] | rects[j];
        if (area(both) * 4 > (area(rects[i]) + area(rects[j])) * 5) continue;
        rects[i] = both;
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
        again = true;
        break;
      }
  }
  return rects;
}

}  // namespace

// Window rectangles that overlap are joined first, so no window pixel is
// redone twice.
QRegion WindowPicture::reach(const Canvas& canvas, const std::vector<QRect>& changed) const {
  const QImage& buffer = canvas.image();
  const QRect all(QPoint(0, 0), size_);
  // Most of the buffer painted (a new game, a flip): all of it redone.
  qint64 area = 0;
  for (const QRect& r : changed) area += static_cast<qint64>(r.width()) * r.height();
  if (area * 2 > static_cast<qint64>(buffer.width()) * buffer.height()) return QRegion(all);
  std::vector<QRect> window_rects;
  for (const QRect& r : changed) {
    int x0, x1, y0, y1;
    xs_.reach(r.left(), r.right() + 1, x0, x1);
    ys_.reach(r.top(), r.bottom() + 1, y0, y1);
    if (x1 > x0 && y1 > y0) window_rects.emplace_back(x0, y0, x1 - x0, y1 - y0);
  }
  QRegion done;
  for (const QRect& r : joined(std::move(window_rects))) done += r & all;
  return done;
}

// A large part is shared out among the processor's cores, in stripes of
// rows.
void WindowPicture::paint(const Canvas& canvas, const QRect& area, const PixelRows& target) {
  const QRect r = area & QRect(QPoint(0, 0), size_) &
                  QRect(target.left, target.top, target.width, target.height);
  if (r.isEmpty()) return;
  const RowSource source = plane(canvas);
  const qint64 pixels = static_cast<qint64>(r.width()) * r.height();
  redone_ += pixels;
  if (pixels < 200000) {
    resample(source, xs_, ys_, r, target);
    return;
  }
  // Asked once: the system reads it from its files each time.
  static const int cores =
      static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  const int stripes = std::min(cores, r.height() / 64 + 1);
  if (stripes == 1) {
    resample(source, xs_, ys_, r, target);
    return;
  }
  std::vector<std::thread> helpers;
  const int rows = (r.height() + stripes - 1) / stripes;
  for (int i = 1; i < stripes; ++i) {
    const QRect stripe(r.left(), r.top() + i * rows, r.width(), rows);
    helpers.emplace_back([&, stripe] { resample(source, xs_, ys_, stripe & r, target); });
  }
  resample(source, xs_, ys_, QRect(r.left(), r.top(), r.width(), rows), target);
  for (std::thread& t : helpers) t.join();
}

RowSource WindowPicture::plane(const Canvas& canvas) const {
  const QImage* buffer = &canvas.image();
  const QImage* period = period_.isNull() ? nullptr : &period_;
  const QRgb fill = palette_colour(fill_colour_).rgb();
  return [buffer, period, fill](int y, int x0, int x1, QRgb* out) {
    // Beyond the buffer: the backdrop's period, or the fill colour.
    auto beyond = [&](int from, int to, QRgb* o) {
      if (from >= to) return;
      if (!period) {
        std::fill(o, o + (to - from), fill);
        return;
      }
      const QPoint at = Canvas::backdrop_period_origin;
      const int pw = period->width(), ph = period->height();
      const auto* row = reinterpret_cast<const QRgb*>(
          period->constScanLine(((y - at.y()) % ph + ph) % ph));
      int px = ((from - at.x()) % pw + pw) % pw;
      for (int x = from; x < to; ++x) {
        *o++ = row[px];
        if (++px == pw) px = 0;
      }
    };
    const int a = std::max(x0, 0), b = std::min(x1, buffer->width());
    if (y < 0 || y >= buffer->height() || a >= b) {
      beyond(x0, x1, out);
      return;
    }
    beyond(x0, a, out);
    std::memcpy(out + (a - x0), reinterpret_cast<const QRgb*>(buffer->constScanLine(y)) + a,
                static_cast<std::size_t>(b - a) * sizeof(QRgb));
    beyond(b, x1, out + (b - x0));
  };
}

}  // namespace nirvex

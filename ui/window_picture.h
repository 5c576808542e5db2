// The picture the board view shows: the back buffer scaled to the window
// with proper filtering (ui/resample.h), in device pixels, its margins the
// background tiling continued beyond the buffer's edges.  It holds no
// pixels of its own: it knows where the buffer lies in the window and
// computes any part of the picture straight into the pixels the window
// shows.  It is made whole when the window's size or the backdrop changes;
// otherwise only the window pixels that show buffer pixels which really
// changed are redone (the canvas tells which: the buffer is often painted
// over with what it already held, all 36 frames at every pick, a clock's
// strip each second for one new digit).
#pragma once

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QSize>
#include <vector>

#include "ui/resample.h"

namespace nirvex {

class Canvas;

class WindowPicture {
 public:
  // Whether the picture is laid out for this window and the canvas's
  // backdrop.
  bool fits(const Canvas& canvas, QSize size, QPointF origin, double scale) const;
  // Whether it shows the canvas's backdrop (whatever the window's size).
  bool shows_backdrop_of(const Canvas& canvas) const;
  // Whether it was ever laid out.
  bool placed() const { return scale_ > 0; }
  // Where it puts the buffer's top-left corner, and its device pixels to a
  // buffer pixel.
  QPointF origin() const { return origin_; }
  double scale() const { return scale_; }
  QSize size() const { return size_; }
  // Lays the picture out anew: `size` device pixels, the buffer's top-left
  // corner at `origin`, `scale` device pixels to a buffer pixel; all of it
  // is then to be shown again.
  void place(const Canvas& canvas, QSize size, QPointF origin, double scale);
  // The window pixels that show the buffer pixels `changed`.
  QRegion reach(const Canvas& canvas, const std::vector<QRect>& changed) const;
  // Computes the window pixels of `area` into `target`.
  void paint(const Canvas& canvas, const QRect& area, const PixelRows& target);
  // The whole picture for a window so laid out, as a picture of its own.
  static QImage whole(const Canvas& canvas, QSize size, QPointF origin, double scale);

  // Window pixels computed so far, for whoever watches the cost.
  qint64 pixels_redone() const { return redone_; }

 private:
  // The buffer and beyond it the backdrop, without end.
  RowSource plane(const Canvas& canvas) const;

  QSize size_;
  ScaleTaps xs_, ys_;
  QPointF origin_;
  double scale_ = 0;
  int backdrop_ = -1, fill_colour_ = -1;
  QImage period_;
  qint64 redone_ = 0;
};

}  // namespace nirvex

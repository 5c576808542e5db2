// The picture the board view shows: the back buffer scaled to the window
// with proper filtering (ui/resample.h), in device pixels, its margins the
// background tiling continued beyond the buffer's edges.  It is made whole
// when the window's size or the backdrop changes; otherwise only the
// window pixels that show buffer pixels which really changed are redone
// (the canvas tells which: the buffer is often painted over with what it
// already held, all 36 frames at every pick, a clock's strip each second
// for one new digit).
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
  // Whether the picture was made for this window and the canvas's backdrop.
  bool fits(const Canvas& canvas, QSize size, QPointF origin, double scale) const;
  // Whether it shows the canvas's backdrop (whatever the window's size).
  bool shows_backdrop_of(const Canvas& canvas) const;
  // Where it put the buffer's top-left corner, and its device pixels to a
  // buffer pixel.
  QPointF origin() const { return origin_; }
  double scale() const { return scale_; }
  // Makes the whole picture: `size` device pixels, the buffer's top-left
  // corner at `origin`, `scale` device pixels to a buffer pixel.
  void rebuild(const Canvas& canvas, QSize size, QPointF origin, double scale);
  // Redoes the window pixels that show the buffer pixels `changed`, and
  // returns them.
  QRegion update(const Canvas& canvas, const std::vector<QRect>& changed);

  const QImage& image() const { return image_; }
  // Window pixels computed so far, for whoever watches the cost.
  qint64 pixels_redone() const { return redone_; }

 private:
  // The buffer and beyond it the backdrop, without end.
  RowSource plane(const Canvas& canvas) const;
  void redo(const Canvas& canvas, const QRect& area);

  QImage image_;
  ScaleTaps xs_, ys_;
  QPointF origin_;
  double scale_ = 0;
  int backdrop_ = -1, fill_colour_ = -1;
  QImage period_;
  qint64 redone_ = 0;
};

}  // namespace nirvex

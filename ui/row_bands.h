// Qt's raster engine shares a fill or a blend taller than 96 rows among
// the threads of its pool, in pieces of 64 rows.  For the small areas a
// move or a scroll repaints, waking those threads costs more than the
// work; painted in bands of 64 rows each the same area stays on this
// thread, with the same pixels.
#pragma once

#include <QPainter>
#include <QRect>
#include <QTransform>
#include <algorithm>

namespace nirvex {

// Rows of one band: fewer than the raster engine shares out.
constexpr int single_thread_rows = 64;

// Runs `paint` once for each band of `device_area` (the painter's device
// pixels), the painter clipped to the band besides its own clip.
template <typename Paint>
void paint_in_bands(QPainter& p, const QRect& device_area, Paint&& paint) {
  for (int top = device_area.top(); top <= device_area.bottom(); top += single_thread_rows) {
    const int rows = std::min(single_thread_rows, device_area.bottom() + 1 - top);
    p.save();
    const QTransform kept = p.transform();
    p.resetTransform();
    p.setClipRect(QRect(device_area.left(), top, device_area.width(), rows), Qt::IntersectClip);
    p.setTransform(kept);
    paint();
    p.restore();
  }
}

}  // namespace nirvex

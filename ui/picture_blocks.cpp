#include "ui/picture_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nirvex {

// Painted on a clear picture with the same fraction of a pixel, a pixel
// or two of room all round: every pixel the picture covers comes out
// whole (the painter does not smooth a picture's edges), the others clear.
const PictureBlocks::Block& PictureBlocks::block(int id, int phase_x, int phase_y,
                                                 QSize size,
                                                 const std::function<void(QPainter&)>& draw,
                                                 QPoint at) {
  ++clock_;
  for (Block& b : blocks_)
    if (b.id == id && b.phase_x == phase_x && b.phase_y == phase_y) {
      b.used = clock_;
      return b;
    }
  if (blocks_.size() >= kept_blocks)
    blocks_.erase(std::min_element(blocks_.begin(), blocks_.end(),
                                   [](const Block& a, const Block& b) { return a.used < b.used; }));
  Block made{id, phase_x, phase_y, QRect(), QImage(), clock_};
  QImage scratch(size + QSize(5, 5), QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  {
    QPainter p(&scratch);
    p.translate(2 - at.x(), 2 - at.y());
    draw(p);
  }
  int top = scratch.height(), bottom = -1, left = scratch.width(), right = -1;
  for (int y = 0; y < scratch.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < scratch.width(); ++x) {
      if (qAlpha(row[x]) == 0) continue;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  // The covered pixels must be a whole rectangle of whole pixels, away
  // from the scratch's edges.
  const QRect covered(QPoint(left, top), QPoint(right, bottom));
  if (!covered.isEmpty() && covered.left() > 0 && covered.top() > 0 &&
      covered.right() < scratch.width() - 1 && covered.bottom() < scratch.height() - 1) {
    const QImage inside = scratch.copy(covered);
    bool all_opaque = true;
    for (int y = 0; y < inside.height() && all_opaque; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
      all_opaque = std::all_of(row, row + inside.width(), [](QRgb p) { return qAlpha(p) == 255; });
    }
    if (all_opaque) {
      made.covered = covered.translated(-2, -2);
      made.pixels = inside.convertToFormat(QImage::Format_RGB32);
    }
  }
  blocks_.push_back(std::move(made));
  return blocks_.back();
}

bool PictureBlocks::paint(QImage& buffer, int id, QPointF corner, QSize size,
                          const std::function<void(QPainter&)>& draw) {
  // The pixel the corner lies in, and the fraction, a hair short of a whole
  // pixel counting as the next pixel's start.
  QPoint at(static_cast<int>(std::floor(corner.x())), static_cast<int>(std::floor(corner.y())));
  int phase_x = static_cast<int>(std::lround((corner.x() - at.x()) * phase_steps));
  int phase_y = static_cast<int>(std::lround((corner.y() - at.y()) * phase_steps));
  if (phase_x == phase_steps) phase_x = 0, at.rx() += 1;
  if (phase_y == phase_steps) phase_y = 0, at.ry() += 1;
  const Block& b = block(id, phase_x, phase_y, size, draw, at);
  if (b.pixels.isNull()) return false;
  const QRect onto = b.covered.translated(at) & buffer.rect();
  for (int y = onto.top(); y <= onto.bottom(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(b.pixels.constScanLine(y - at.y() -
                                                                             b.covered.top())) +
                       (onto.left() - at.x() - b.covered.left());
    std::memcpy(buffer.scanLine(y) + onto.left() * sizeof(QRgb), from,
                static_cast<std::size_t>(onto.width()) * sizeof(QRgb));
  }
  return true;
}

}  // namespace nirvex

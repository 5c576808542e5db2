// Opaque pictures as the back buffer receives them.  A picture painted
// with its corner at the same fraction of a buffer pixel comes out as the
// same block of pixels wherever it lands (smoothed across that fraction),
// so the block is made once and copied after that: the backdrop's tiles,
// the empty squares and the pieces as they move.  Fractions closer than
// the painter can tell apart count as the same.  A few of the latest
// blocks are kept.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

namespace nirvex {

class PictureBlocks {
 public:
  // Paints picture `id`, `size` buffer pixels at most, onto `buffer` with
  // its top-left corner at buffer pixel `corner` by copying its block;
  // `draw` paints it the ordinary way on a painter given in the buffer's
  // pixels, for making the block.  False when the picture is not opaque
  // there, and must be painted the ordinary way.
  bool paint(QImage& buffer, int id, QPointF corner, QSize size,
             const std::function<void(QPainter&)>& draw);

  static constexpr std::size_t kept_blocks = 8;

 private:
  // Fractions of a pixel in these steps: far finer than the painter's
  // smoothing, which weighs neighbouring pixels in 256ths.
  static constexpr int phase_steps = 1 << 12;

  struct Block {
    int id;
    int phase_x, phase_y;     // the corner's fraction of a pixel, in steps
    QRect covered;            // from the pixel the corner lies in
    QImage pixels;            // null: the picture is not opaque there
    std::uint64_t used;
  };
  // The block for a picture at that fraction of a pixel, made if need be.
  const Block& block(int id, int phase_x, int phase_y, QSize size,
                     const std::function<void(QPainter&)>& draw, QPoint at);

  std::vector<Block> blocks_;
  std::uint64_t clock_ = 0;
};

}  // namespace nirvex

// The back buffer everything on the board side of the window is painted
// onto, in twips of the painted area.  Its log of what was painted speaks
// in cells of the board grid (fractions and negative values allowed): a
// cell is 570 x 660 twips and cell (0, 0) starts at (1050, 100).  The
// buffer is kept at four pixels per 15 twips, so the window can show it
// scaled to any size and stay sharp; it also notes which of its pixels
// changed since the window last took them (it keeps the pixels an
// operation paints over the first time one does, and compares: the board
// is often painted over with what it already shows), so that
// the window redoes only those, and which background it was tiled with,
// which the window continues into its margins.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QString>
#include <thread>
#include <vector>

#include "ui/picture_blocks.h"

namespace nirvex {

// Size of the painted area in twips.
constexpr int surface_width_twips = 9480;
constexpr int surface_height_twips = 6060;
// Buffer pixels per twip: pictures are painted at 15 twips per natural
// pixel, and the buffer holds four pixels for each of those.
constexpr double buffer_pixels_per_twip = 4.0 / 15.0;

QColor palette_colour(int index);

// One text as painted, at its cell position, for whoever wants to read
// the screen back.
struct PaintedText {
  double x = 0, y = 0;
  QString text;
  int colour = 0;
  int size = 0;
};

class Canvas {
 public:
  // The buffer is filled with the window's colour on a thread of its own
  // (the memory's first touch is most of a start's cost), while the
  // window is made; the first use waits for it.
  Canvas();
  ~Canvas();

  const QImage& image() const {
    ready();
    return image_;
  }

  // Twip position of a cell position, and the cell position of twips.
  static QPointF cell_to_twips(double x, double y);
  static QPointF twips_to_cell(double x, double y);

  // Fills the whole surface with a palette colour.
  void fill(int colour);
  // Paints a picture (piece code, picture id or background id) at its
  // natural size with its top-left corner at (x, y) twips; unknown ids
  // paint nothing.
  void paint_picture(int id, double x, double y);
  // Outlines the rectangle from (left, top) to (right, bottom) twips with
  // lines one natural pixel (15 twips) wide from its edges, so
  // neighbouring frames share their lines.
  void paint_frame(int colour, double left, double top, double right, double bottom);
  // Prints text with its top-left corner at (x, y) twips.
  void print_text(double x, double y, const QString& text, int colour, int size, bool bold);
  // Lays a translucent wash of a palette colour over the rectangle of a
  // square or hand slot whose picture stands at (left, top) twips: the
  // wood takes the colour, a piece's own pixels keep theirs.
  void paint_tint(int colour, double left, double top, double right, double bottom);

  // What was painted since the log was last cleared, by cell position.
  const std::vector<PaintedText>& text_log() const { return text_log_; }
  void clear_log() { text_log_.clear(); pictures_.clear(); frames_.clear(); }
  // Last picture id painted at exactly this cell position (or -99999).
  int picture_at(double x, double y) const;
  // Last frame colour drawn at this cell (or -1).
  int frame_at(int col, int row) const;
  // Texts whose top-left corner lies in the cell rectangle [x0,x1)x[y0,y1).
  QStringList texts_in(double x0, double y0, double x1, double y1) const;

  // The picture painted for an id, natural size; null for none.
  static QImage picture(int id, bool hires);
  // A piece's 4x picture with the square's wood around it clear.
  static QImage piece_cut_out(int id);

  // The rectangles of buffer pixels that changed since the window last
  // took them (they may overlap).
  std::vector<QRect> take_changes();
  // The background id of the tiles painted last, 0 when the surface was
  // filled with a colour after them (or none was ever painted), and the
  // palette colour of the last fill.
  int backdrop() const { return backdrop_; }
  int fill_colour() const { return fill_colour_; }
  // The tiling of a background id as the buffer holds it, continued
  // without end: one period of it, which starts at buffer pixel
  // backdrop_period_origin (and repeats every period's size both ways).
  static QImage backdrop_period(int id);
  static constexpr QPoint backdrop_period_origin{280, 176};

 private:
  // Paints a picture with its top-left corner at twips (x, y) on a painter
  // scaled to buffer pixels; the rectangle it covers, in twips.
  static QRectF draw_picture(QPainter& p, const QImage& natural, const QImage& hires, double x,
                             double y);
  // The buffer pixels a frame's line of twips fills.
  static QRect line_pixels(const QRectF& twips_rect);
  // Whether every pixel of `r` has that colour.
  bool filled_with(const QRect& r, QRgb colour) const;
  // Frame lines painted over within `area` are no longer known.
  void forget_lines(const QRect& area);
  // The buffer pixels a rectangle of twips touches, grown by `spill_twips`.
  QRect pixel_rect(const QRectF& twips_rect, double spill_twips = 0) const;
  // The wash of a colour over a picture's wood, at the 4x size: clear
  // where the piece itself is.
  static QImage wash(int id, int colour);
  // Runs `paint`, which paints within the buffer pixels `area`, keeping
  // first what they were as the window last took them.
  template <typename Paint>
  void paint_within(const QRect& area, Paint&& paint);
  // Keeps the pixels of `area` not kept yet, unless so much is painted
  // that all of it is to be shown anew.
  void keep(const QRect& area);
  // Everything is to be shown anew; nothing is kept.
  void change_all();

  QImage image_;
  PictureBlocks blocks_;
  // Frame lines known to be of one colour: nothing painted over them since.
  struct KnownLine {
    QRect rect;
    QRgb colour;
  };
  QHash<qint64, KnownLine> line_colours_;
  int uniform_colour_ = -1;  // the fill colour while nothing else is painted
  bool all_changed_ = true;
  // Waits for the first fill.
  void ready() const {
    if (filling_.joinable()) filling_.join();
  }

  mutable std::thread filling_;
  // The pixels kept, and where they were.
  struct Kept {
    QRect rect;
    std::vector<QRgb> pixels;
  };
  QRegion kept_region_;
  std::vector<Kept> kept_rects_;
  std::size_t kept_pixels_ = 0;
  int backdrop_ = 0;
  int fill_colour_ = 0;
  std::vector<PaintedText> text_log_;
  QHash<qint64, int> pictures_;
  QHash<qint64, int> frames_;
  // The picture standing at each twip position painted, for the tints.
  QHash<qint64, int> standing_;
};

}  // namespace nirvex

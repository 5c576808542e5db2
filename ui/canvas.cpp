#include "ui/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "model/game_state.h"

namespace nirvex {

namespace {

// Keys for the paint logs: cell positions to a tenth of a cell.
qint64 position_key(double x, double y) {
  const qint64 kx = std::llround(x * 10) + 1000;
  const qint64 ky = std::llround(y * 10) + 1000;
  return kx * 100000 + ky;
}

// Name of the picture painted for an id, empty when there is none.
QString picture_name(int id) {
  switch (id) {
    case empty_code: return "KARA_MASU";
    case title_picture_id: return "NIRVEX";
    case background_green: return "HAIKEI_MIDORI";
    case background_tatami: return "HAIKEI_TATAMI";
    case background_bamboo: return "HAIKEI_TAKE";
    case background_space: return "HAIKEI_UCHU";
    case background_brick: return "HAIKEI_RENGA";
    default: break;
  }
  const QString side = id < 0 ? "SITA_" : "UE_";
  switch (std::abs(id)) {
    case 20: return side + "HU_0";
    case 21: return side + "HU_1";
    case 30: return side + "KEI_0";
    case 31: return side + "KEI_1";
    case 100: return side + "GIN_0";
    case 101: return side + "GIN_1";
    case 110: return side + "KIN";
    case 800: return side + "KAKU_0";
    case 801: return side + "KAKU_1";
    case 900: return side + "SYA_0";
    case 901: return side + "SYA_1";
    case 950: return side + "OU";
    default: return {};
  }
}

constexpr std::size_t text_log_limit = 20000;

// How strongly a tint colours the wood.
constexpr double tint_opacity = 0.42;

// Keys for the pictures standing on the surface: whole twips.
qint64 twips_key(double x, double y) {
  return (std::llround(x) + 100000) * 1000000 + (std::llround(y) + 100000);
}

// Which pixels of a piece picture (4x) are the piece: row by row, from the
// first to the last pixel that differs clearly from the empty square's
// wood at that place.  The shadow beside the piece stays wood.
QImage piece_mask(const QImage& piece, const QImage& empty) {
  QImage mask(piece.size(), QImage::Format_Alpha8);
  mask.fill(0);
  if (empty.size() != piece.size()) return mask;
  constexpr int clear_difference = 24;
  for (int y = 0; y < piece.height(); ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < piece.width(); ++x) {
      const QRgb a = piece.pixel(x, y), b = empty.pixel(x, y);
      const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
      if (d <= clear_difference) continue;
      if (first < 0) first = x;
      last = x;
    }
    uchar* line = mask.scanLine(y);
    for (int x = first; first >= 0 && x <= last; ++x) line[x] = 255;
  }
  return mask;
}

// The mask of a piece picture, made once.
QImage mask_of(int id) {
  static QHash<int, QImage> cache;
  auto it = cache.find(id);
  if (it != cache.end()) return it.value();
  const QImage piece = Canvas::picture(id, true);
  QImage mask;
  if (!piece.isNull() && id != empty_code)
    mask = piece_mask(piece.convertToFormat(QImage::Format_RGB32),
                      Canvas::picture(empty_code, true).convertToFormat(QImage::Format_RGB32));
  cache.insert(id, mask);
  return mask;
}

}  // namespace

QColor palette_colour(int index) {
  static const QRgb colours[16] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
      0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
      0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  return QColor(colours[index & 15]);
}

QImage Canvas::picture(int id, bool hires) {
  static QHash<qint64, QImage> cache;
  const qint64 key = static_cast<qint64>(id) * 2 + (hires ? 1 : 0);
  auto it = cache.find(key);
  if (it != cache.end()) return it.value();
  const QString name = picture_name(id);
  QImage img;
  if (!name.isEmpty())
    img = QImage(":/pictures/" + name + (hires ? "@4x.png" : ".png"));
  cache.insert(key, img);
  return img;
}

Canvas::Canvas()
    : image_(static_cast<int>(std::lround(surface_width_twips * buffer_pixels_per_twip)),
             static_cast<int>(std::lround(surface_height_twips * buffer_pixels_per_twip)),
             QImage::Format_RGB32) {
  fill(colour_background);
}

QPointF Canvas::cell_to_twips(double x, double y) {
  return QPointF(board_left + x * cell_width, board_top + y * cell_height);
}

QPointF Canvas::twips_to_cell(double x, double y) {
  return QPointF((x - board_left) / cell_width, (y - board_top) / cell_height);
}

void Canvas::fill(int colour) {
  image_.fill(palette_colour(colour));
  standing_.clear();
  changes_.assign(1, image_.rect());
  backdrop_ = 0;
  fill_colour_ = colour;
}

// Natural size at 15 twips a pixel, from the 4x picture where there is one.
QRectF Canvas::draw_picture(QPainter& p, const QImage& natural, const QImage& hires, double x,
                            double y) {
  const QRectF target(QPointF(x, y), QSizeF(natural.width() * 15.0, natural.height() * 15.0));
  p.drawImage(target, hires.isNull() ? natural : hires);
  return target;
}

void Canvas::paint_picture(int id, double x, double y) {
  const QImage natural = picture(id, false);
  if (natural.isNull()) return;
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  changed(draw_picture(p, natural, picture(id, true), x, y));
  standing_.insert(twips_key(x, y), id);
  const QPointF cell = twips_to_cell(x, y);
  pictures_.insert(position_key(cell.x(), cell.y()), id);
  if (id >= background_green && id <= background_brick) backdrop_ = id;
}

// Painted in the order the backdrop is, column by column and down each
// column, so the later tiles overlap the earlier ones the same way.
QImage Canvas::backdrop_period(int id) {
  const QImage natural = picture(id, false);
  const QPoint origin = backdrop_period_origin;
  const int pw = static_cast<int>(std::lround(cell_width * buffer_pixels_per_twip));
  const int ph = static_cast<int>(std::lround(cell_height * buffer_pixels_per_twip));
  QImage around(3 * pw, 3 * ph, QImage::Format_RGB32);
  around.fill(palette_colour(colour_background));
  if (!natural.isNull()) {
    const QImage hires = picture(id, true);
    QPainter p(&around);
    p.translate(-(origin.x() - pw), -(origin.y() - ph));
    p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF corner = twips_to_cell((origin.x() - pw) / buffer_pixels_per_twip,
                                         (origin.y() - ph) / buffer_pixels_per_twip);
    const int cx = static_cast<int>(std::floor(corner.x())) - 1;
    const int cy = static_cast<int>(std::floor(corner.y())) - 1;
    for (int x = cx; x <= cx + 4; ++x)
      for (int y = cy; y <= cy + 4; ++y) {
        const QPointF t = cell_to_twips(x, y);
        draw_picture(p, natural, hires, t.x(), t.y());
      }
  }
  return around.copy(pw, ph, pw, ph);
}

// The same rectangle painted twice (a line two frames share) once.
std::vector<QRect> Canvas::take_changes() {
  std::vector<QRect> out;
  out.swap(changes_);
  const auto key = [](const QRect& r) {
    return std::tuple(r.top(), r.left(), r.bottom(), r.right());
  };
  std::sort(out.begin(), out.end(),
            [&](const QRect& a, const QRect& b) { return key(a) < key(b); });
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

// A painted rectangle in twips as whole buffer pixels, with a pixel more
// all round for the smoothing at its edges.
QRect Canvas::pixel_rect(const QRectF& twips_rect, double spill_twips) const {
  const QRectF t = twips_rect.adjusted(-spill_twips, -spill_twips, spill_twips, spill_twips);
  const QRectF px(t.topLeft() * buffer_pixels_per_twip, t.bottomRight() * buffer_pixels_per_twip);
  return px.toAlignedRect().adjusted(-1, -1, 1, 1) & image_.rect();
}

void Canvas::changed(const QRectF& twips_rect, double spill_twips) {
  const QRect r = pixel_rect(twips_rect, spill_twips);
  if (r.isEmpty()) return;
  // Painting the whole surface over and over leaves it one rectangle.
  if (changes_.size() >= 4096) changes_.assign(1, image_.rect());
  if (changes_.size() == 1 && changes_[0] == image_.rect()) return;
  changes_.push_back(r);
}

void Canvas::paint_frame(int colour, double left, double top, double right, double bottom) {
  const double w = 15.0;
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  const QColor c = palette_colour(colour);
  const QRectF lines[4] = {QRectF(left, top, right - left + w, w),
                           QRectF(left, bottom, right - left + w, w),
                           QRectF(left, top, w, bottom - top + w),
                           QRectF(right, top, w, bottom - top + w)};
  for (const QRectF& line : lines) {
    p.fillRect(line, c);
    changed(line);
  }
  const QPointF cell = twips_to_cell(left, top);
  frames_.insert(position_key(cell.x(), cell.y()), colour);
}

QImage Canvas::piece_cut_out(int id) {
  const QImage mask = mask_of(id);
  if (mask.isNull()) return {};
  QImage out = picture(id, true).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const uchar* alpha = mask.constScanLine(y);
    for (int x = 0; x < out.width(); ++x) line[x] = (line[x] & 0x00FFFFFF) | (alpha[x] << 24);
  }
  return out;
}

QImage Canvas::wash(int id, int colour) {
  static QHash<qint64, QImage> cache;
  const qint64 key = static_cast<qint64>(id) * 16 + (colour & 15);
  auto it = cache.find(key);
  if (it != cache.end()) return it.value();
  const QImage mask = mask_of(id);
  QImage out(picture(empty_code, true).size(), QImage::Format_ARGB32_Premultiplied);
  const QColor c = palette_colour(colour);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const uchar* inside = mask.isNull() ? nullptr : mask.constScanLine(y);
    for (int x = 0; x < out.width(); ++x)
      line[x] = qPremultiply(qRgba(c.red(), c.green(), c.blue(),
                                   inside && inside[x] ? 0 : std::lround(255 * tint_opacity)));
  }
  cache.insert(key, out);
  return out;
}

void Canvas::paint_tint(int colour, double left, double top, double right, double bottom) {
  const QRectF cell(QPointF(left, top), QPointF(right, bottom));
  const QImage natural = picture(empty_code, false);
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setClipRect(cell);
  const QRectF target(QPointF(left, top), QSizeF(natural.width() * 15.0, natural.height() * 15.0));
  p.drawImage(target, wash(standing_.value(twips_key(left, top), empty_code), colour));
  changed(cell);
}

void Canvas::print_text(double x, double y, const QString& text, int colour, int size,
                        bool bold) {
  if (text_log_.size() >= text_log_limit)
    text_log_.erase(text_log_.begin(), text_log_.begin() + text_log_limit / 2);
  const QPointF cell = twips_to_cell(x, y);
  text_log_.push_back({cell.x(), cell.y(), text, colour, size});
  if (text.isEmpty()) return;

  QFont font(QStringLiteral("IPAPMincho"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(size * 20);  // points to twips
  font.setBold(bold);
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(font);
  p.setPen(palette_colour(colour));
  const QFontMetricsF fm(font);
  const QPointF baseline(x, y + fm.ascent());
  p.drawText(baseline, text);
  // Glyphs may reach a little beyond their advance and the line's height.
  const QRectF ink = fm.boundingRect(text).translated(baseline);
  changed(ink | QRectF(x, y, fm.horizontalAdvance(text), fm.height()), size * 4.0);
}

int Canvas::picture_at(double x, double y) const {
  return pictures_.value(position_key(x, y), -99999);
}

int Canvas::frame_at(int col, int row) const {
  return frames_.value(position_key(col, row), -1);
}

QStringList Canvas::texts_in(double x0, double y0, double x1, double y1) const {
  QStringList out;
  for (const PaintedText& t : text_log_)
    if (t.x >= x0 - 1e-9 && t.x < x1 && t.y >= y0 - 1e-9 && t.y < y1) out << t.text;
  return out;
}

}  // namespace nirvex

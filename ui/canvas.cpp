#include "ui/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "assets/stored_pictures.h"
#include "model/game_state.h"
#include "ui/buffer_memory.h"
#include "ui/row_bands.h"

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
  if (!name.isEmpty()) img = stored_picture(hires ? name + "@4x" : name);
  cache.insert(key, img);
  return img;
}

Canvas::Canvas()
    : image_(buffer_picture(
          static_cast<int>(std::lround(surface_width_twips * buffer_pixels_per_twip)),
          static_cast<int>(std::lround(surface_height_twips * buffer_pixels_per_twip)))) {
  uniform_colour_ = colour_background;
  change_all();
  filling_ = std::thread([this] { image_.fill(palette_colour(colour_background)); });
}

Canvas::~Canvas() { ready(); }

QPointF Canvas::cell_to_twips(double x, double y) {
  return QPointF(board_left + x * cell_width, board_top + y * cell_height);
}

QPointF Canvas::twips_to_cell(double x, double y) {
  return QPointF((x - board_left) / cell_width, (y - board_top) / cell_height);
}

// Filling with the colour the buffer is filled with already changes
// nothing.
void Canvas::fill(int colour) {
  ready();
  line_colours_.clear();
  standing_.clear();
  if (uniform_colour_ != colour) image_.fill(palette_colour(colour));
  uniform_colour_ = colour;
  change_all();
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
  const QRectF target(QPointF(x, y), QSizeF(natural.width() * 15.0, natural.height() * 15.0));
  const QImage hires = picture(id, true);
  const auto draw = [&](QPainter& p) {
    p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    draw_picture(p, natural, hires, x, y);
  };
  const QSize size = (target.size() * buffer_pixels_per_twip).toSize() + QSize(2, 2);
  paint_within(pixel_rect(target), [&] {
    if (blocks_.paint(image_, id, target.topLeft() * buffer_pixels_per_twip, size, draw)) return;
    QPainter p(&image_);
    draw(p);
  });
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

// Each kept rectangle compared with the buffer now: the part of it whose
// pixels differ, in strips of rows.
std::vector<QRect> Canvas::take_changes() {
  ready();
  constexpr int strip_rows = 32;
  std::vector<QRect> out;
  if (all_changed_) {
    out.push_back(image_.rect());
    kept_rects_.clear();
  }
  for (const Kept& k : kept_rects_) {
    const QRect& r = k.rect;
    for (int top = 0; top < r.height(); top += strip_rows) {
      const int rows = std::min(strip_rows, r.height() - top);
      int left = r.width(), right = -1;
      for (int y = top; y < top + rows; ++y) {
        const auto* now = reinterpret_cast<const QRgb*>(image_.constScanLine(r.top() + y)) +
                          r.left();
        const QRgb* was = k.pixels.data() + static_cast<std::size_t>(y) * r.width();
        if (std::memcmp(now, was, r.width() * sizeof(QRgb)) == 0) continue;
        int a = 0, b = r.width() - 1;
        while (now[a] == was[a]) ++a;
        while (now[b] == was[b]) --b;
        left = std::min(left, a);
        right = std::max(right, b);
      }
      if (right >= 0) out.emplace_back(r.left() + left, r.top() + top, right - left + 1, rows);
    }
  }
  all_changed_ = false;
  kept_region_ = QRegion();
  kept_rects_.clear();
  kept_pixels_ = 0;
  return out;
}

// A painted rectangle in twips as whole buffer pixels, with a pixel more
// all round for the smoothing at its edges.
QRect Canvas::pixel_rect(const QRectF& twips_rect, double spill_twips) const {
  const QRectF t = twips_rect.adjusted(-spill_twips, -spill_twips, spill_twips, spill_twips);
  const QRectF px(t.topLeft() * buffer_pixels_per_twip, t.bottomRight() * buffer_pixels_per_twip);
  return px.toAlignedRect().adjusted(-1, -1, 1, 1) & image_.rect();
}

void Canvas::change_all() {
  all_changed_ = true;
  kept_region_ = QRegion();
  kept_rects_.clear();
  kept_pixels_ = 0;
}

// Painting over more than half of the surface shows all of it anew.
void Canvas::keep(const QRect& area) {
  const QRegion fresh = QRegion(area) - kept_region_;
  if (fresh.isEmpty()) return;
  std::size_t pixels = kept_pixels_;
  for (const QRect& r : fresh) pixels += static_cast<std::size_t>(r.width()) * r.height();
  if (pixels * 2 > static_cast<std::size_t>(image_.width()) * image_.height()) {
    change_all();
    return;
  }
  kept_pixels_ = pixels;
  for (const QRect& r : fresh) {
    Kept& k = kept_rects_.emplace_back();
    k.rect = r;
    k.pixels.resize(static_cast<std::size_t>(r.width()) * r.height());
    QRgb* to = k.pixels.data();
    for (int y = r.top(); y <= r.bottom(); ++y, to += r.width())
      std::memcpy(to, image_.constScanLine(y) + r.left() * sizeof(QRgb), r.width() * sizeof(QRgb));
  }
  kept_region_ += fresh;
}

template <typename Paint>
void Canvas::paint_within(const QRect& area, Paint&& paint) {
  ready();
  uniform_colour_ = -1;
  forget_lines(area);
  if (!area.isEmpty() && !all_changed_) keep(area);
  paint();
}

namespace {

// A frame line's pixels as a key.
qint64 line_key(const QRect& r) {
  return (qint64(r.x() & 0xffff) << 48) | (qint64(r.y() & 0xffff) << 32) |
         (qint64(r.width() & 0xffff) << 16) | qint64(r.height() & 0xffff);
}

}  // namespace

void Canvas::forget_lines(const QRect& area) {
  for (auto it = line_colours_.begin(); it != line_colours_.end();)
    it = it->rect.intersects(area) ? line_colours_.erase(it) : std::next(it);
}

// The painter's own rule for a rectangle filled without smoothing: its
// corners rounded to the nearest pixel corners.
QRect Canvas::line_pixels(const QRectF& twips_rect) {
  const double s = buffer_pixels_per_twip;
  const double x = s * twips_rect.x(), y = s * twips_rect.y();
  const int x1 = qRound(x), y1 = qRound(y);
  const int x2 = qRound(x + s * twips_rect.width()), y2 = qRound(y + s * twips_rect.height());
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

// Whole rows at a time, without stopping early: the compiler makes that
// work on several pixels at once.
bool Canvas::filled_with(const QRect& r, QRgb colour) const {
  ready();
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y)) + r.left();
    QRgb differs = 0;
    for (int x = 0; x < r.width(); ++x) differs |= row[x] ^ colour;
    if (differs != 0) return false;
  }
  return true;
}

// A line already of the frame's colour is left as it is (every pick
// paints all 36 frames again).
void Canvas::paint_frame(int colour, double left, double top, double right, double bottom) {
  const double w = 15.0;
  const QRgb c = palette_colour(colour).rgb();
  const QRectF lines[4] = {QRectF(left, top, right - left + w, w),
                           QRectF(left, bottom, right - left + w, w),
                           QRectF(left, top, w, bottom - top + w),
                           QRectF(right, top, w, bottom - top + w)};
  for (const QRectF& line : lines) {
    const QRect r = line_pixels(line) & image_.rect();
    if (r.isEmpty()) continue;
    const auto known = line_colours_.find(line_key(r));
    if (known != line_colours_.end() && known->colour == c) continue;
    if (!filled_with(r, c))
      paint_within(r, [&] {
        for (int y = r.top(); y <= r.bottom(); ++y) {
          auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y)) + r.left();
          std::fill(row, row + r.width(), c);
        }
      });
    line_colours_.insert(line_key(r), {r, c});
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
  const QRectF target(QPointF(left, top), QSizeF(natural.width() * 15.0, natural.height() * 15.0));
  const QImage washed = wash(standing_.value(twips_key(left, top), empty_code), colour);
  paint_within(pixel_rect(cell), [&] {
    QPainter p(&image_);
    p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRect(cell);
    paint_in_bands(p, pixel_rect(cell), [&] { p.drawImage(target, washed); });
  });
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
  const QFontMetricsF fm(font);
  const QPointF baseline(x, y + fm.ascent());
  // Glyphs may reach a little beyond their advance and the line's height.
  const QRectF ink = fm.boundingRect(text).translated(baseline);
  paint_within(pixel_rect(ink | QRectF(x, y, fm.horizontalAdvance(text), fm.height()), size * 4.0),
               [&] {
                 QPainter p(&image_);
                 p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
                 p.setRenderHint(QPainter::TextAntialiasing);
                 p.setFont(font);
                 p.setPen(palette_colour(colour));
                 p.drawText(baseline, text);
               });
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

#include "ui/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstdlib>

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

void Canvas::fill(int colour) { image_.fill(palette_colour(colour)); }

void Canvas::paint_picture(int id, double x, double y) {
  const QImage natural = picture(id, false);
  if (natural.isNull()) return;
  const QImage hires = picture(id, true);
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // Natural size at 15 twips a pixel.
  const QRectF target(QPointF(x, y), QSizeF(natural.width() * 15.0, natural.height() * 15.0));
  p.drawImage(target, hires.isNull() ? natural : hires);
  const QPointF cell = twips_to_cell(x, y);
  pictures_.insert(position_key(cell.x(), cell.y()), id);
}

void Canvas::paint_frame(int colour, double left, double top, double right, double bottom) {
  const double w = 15.0;
  QPainter p(&image_);
  p.scale(buffer_pixels_per_twip, buffer_pixels_per_twip);
  const QColor c = palette_colour(colour);
  p.fillRect(QRectF(left, top, right - left + w, w), c);
  p.fillRect(QRectF(left, bottom, right - left + w, w), c);
  p.fillRect(QRectF(left, top, w, bottom - top + w), c);
  p.fillRect(QRectF(right, top, w, bottom - top + w), c);
  const QPointF cell = twips_to_cell(left, top);
  frames_.insert(position_key(cell.x(), cell.y()), colour);
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
  p.drawText(QPointF(x, y + fm.ascent()), text);
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

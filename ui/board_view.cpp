#include "ui/board_view.h"

#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "model/game_state.h"
#include "ui/canvas.h"
#include "ui/row_bands.h"

namespace nirvex {

namespace {

// What a painter paints on, past any redirection (a widget's paint goes
// to its window's backing store).
QPaintDevice* painted_device(QPainter& p) {
  return p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
}

}  // namespace

BoardView::BoardView(Canvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(surface_width_twips / 15 / 2, surface_height_twips / 15 / 2);
  settle_.setSingleShot(true);
  settle_.setInterval(settle_ms);
  connect(&settle_, &QTimer::timeout, this, [this] { update(); });
}

QSize BoardView::sizeHint() const {
  return QSize(surface_width_twips / 15, surface_height_twips / 15);
}

int BoardView::heightForWidth(int w) const {
  return static_cast<int>(std::lround(w * double(surface_height_twips) / surface_width_twips));
}

QRectF BoardView::target_rect() const {
  const double sx = width() / double(surface_width_twips);
  const double sy = height() / double(surface_height_twips);
  const double s = std::min(sx, sy);
  const double w = surface_width_twips * s;
  const double h = surface_height_twips * s;
  return QRectF((width() - w) / 2.0, (height() - h) / 2.0, w, h);
}

QPointF BoardView::to_twips(QPointF p) const {
  const QRectF r = target_rect();
  return QPointF((p.x() - r.left()) * surface_width_twips / r.width(),
                 (p.y() - r.top()) * surface_height_twips / r.height());
}

QPointF BoardView::from_twips(QPointF t) const {
  const QRectF r = target_rect();
  return QPointF(r.left() + t.x() * r.width() / surface_width_twips,
                 r.top() + t.y() * r.height() / surface_height_twips);
}

BoardView::Placement BoardView::placement() const {
  const double dpr = devicePixelRatioF();
  const QRectF target = target_rect();
  return {QSize(static_cast<int>(std::ceil(width() * dpr)),
                static_cast<int>(std::ceil(height() * dpr))),
          target.topLeft() * dpr, target.width() * dpr / canvas_.image().width()};
}

bool BoardView::picture_fits() const {
  const Placement at = placement();
  return picture_.fits(canvas_, at.size, at.origin, at.scale);
}

QRegion BoardView::take_changes() {
  const Placement at = placement();
  if (!picture_.fits(canvas_, at.size, at.origin, at.scale)) {
    canvas_.take_changes();
    picture_.place(canvas_, at.size, at.origin, at.scale);
    old_picture_ = QImage();
    return QRegion(QRect(QPoint(0, 0), at.size));
  }
  return picture_.reach(canvas_, canvas_.take_changes());
}

QRegion BoardView::to_widget(const QRegion& device) const {
  const double dpr = devicePixelRatioF();
  if (dpr == 1.0) return device;
  QRegion logical;
  for (const QRect& r : device)
    logical += QRectF(r.x() / dpr, r.y() / dpr, r.width() / dpr, r.height() / dpr).toAlignedRect();
  return logical;
}

QRegion BoardView::bring_up_to_date() { return to_widget(take_changes()); }

bool BoardView::quick() const {
  return resizing() && picture_.shows_backdrop_of(canvas_) && !picture_fits();
}

// A view not on the screen yet waits for its first paint; while the size
// changes the picture of the old size is brought up to date and shown
// quickly scaled.
void BoardView::show_changes() {
  if (!isVisible()) return;
  if (quick()) {
    const QRegion changed = picture_.reach(canvas_, canvas_.take_changes());
    for (const QRect& r : changed) picture_.paint(canvas_, r, PixelRows::of(old_picture_));
    if (!changed.isEmpty()) repaint();
    return;
  }
  const QRegion device = take_changes();
  if (device.isEmpty()) return;
  compute_ahead(device);
  repaint(to_widget(device));
  ahead_.clear();
}

// Before Qt's painting begins, which may wait for the display and leave
// the processor's caches cold, what the canvas just painted is still in
// them: a few squares are computed now and only copied by the paint.
void BoardView::compute_ahead(const QRegion& device) {
  const QSize size = picture_.size();
  qint64 area = 0;
  for (const QRect& r : device) area += qint64(r.width()) * r.height();
  if (area * 8 > qint64(size.width()) * size.height()) return;
  for (const QRect& r : device) {
    QImage pixels(r.size(), QImage::Format_RGB32);
    picture_.paint(canvas_, r, PixelRows::of(pixels).at(r.left(), r.top()));
    ahead_.push_back({r, std::move(pixels)});
  }
}

void BoardView::show_sharp_now() {
  settle_.stop();
  const QRegion changed = bring_up_to_date();
  if (!changed.isEmpty()) repaint(changed);
}

// Qt's backing store holds them as a picture in memory on the usual
// platforms; elsewhere there is none to read.
const QImage* BoardView::window_pixels() const {
  QBackingStore* store = window()->backingStore();
  return store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
}

QImage BoardView::shown() {
  show_sharp_now();
  const QSize size = picture_.size();
  const QImage* pixels = window_pixels();
  if (!pixels) return grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = mapTo(window(), QPoint(0, 0)) * devicePixelRatioF();
  return pixels->copy(QRect(at, size)).convertToFormat(QImage::Format_RGB32);
}

void BoardView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (quick()) {
    paint_quickly(p, event->region());
    return;
  }
  // Painted elsewhere (grabbed, printed): the picture as the canvas is
  // now, what the window shows left to the window's own paints.
  QBackingStore* store = window()->backingStore();
  if (!store || painted_device(p) != store->paintDevice()) {
    const Placement at = placement();
    WindowPicture elsewhere;
    elsewhere.place(canvas_, at.size, at.origin, at.scale);
    paint_sharply(p, event->region(), elsewhere);
    return;
  }
  const QRegion changed = bring_up_to_date();
  // Painted meanwhile but not asked for here: shown by the next paint.
  if (!(changed - event->region()).isEmpty()) update(changed - event->region());
  paint_sharply(p, event->region(), picture_);
}

// The window's own pixels are a picture in memory: the picture is computed
// straight into them.  Any other device (a printer, say) gets it through
// a picture of a few rows at a time.
void BoardView::paint_sharply(QPainter& p, const QRegion& region, WindowPicture& picture) {
  const double dpr = devicePixelRatioF();
  QRegion device;
  for (const QRect& r : region)
    device += QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr).toAlignedRect();
  QPaintDevice* target = painted_device(p);
  auto* pixels = target && target->devType() == QInternal::Image ? static_cast<QImage*>(target)
                                                                 : nullptr;
  const QTransform t = p.deviceTransform();
  const QPointF corner = t.map(QPointF(0, 0));
  // Opaque pixels are stored alike in these three.
  const bool direct = pixels && pixels->isDetached() &&
                      (pixels->format() == QImage::Format_RGB32 ||
                       pixels->format() == QImage::Format_ARGB32 ||
                       pixels->format() == QImage::Format_ARGB32_Premultiplied) &&
                      t.type() <= QTransform::TxScale && t.m11() == dpr && t.m22() == dpr &&
                      corner == corner.toPoint();
  if (direct) {
    // The view's own corner in those pixels; what lies outside them is
    // never shown.
    const QPoint at = corner.toPoint();
    const QRect inside = QRect(QPoint(0, 0), pixels->size()).translated(-at);
    const PixelRows rows = PixelRows::of(*pixels).at(-at.x(), -at.y());
    const bool own = &picture == &picture_;
    if (own) {
      shown_at_ = at;
      shown_in_ = pixels->size();
    }
    for (const QRect& r : device) {
      const QRegion rest = own ? paste_ahead(r & inside, rows) : QRegion(r & inside);
      for (const QRect& part : rest) picture.paint(canvas_, part, rows);
    }
    return;
  }
  QImage band;
  p.save();
  p.resetTransform();
  p.scale(1 / dpr, 1 / dpr);
  for (const QRect& r : device)
    for (int top = r.top(); top <= r.bottom(); top += single_thread_rows) {
      const QRect part(r.left(), top, r.width(), std::min(single_thread_rows, r.bottom() + 1 - top));
      if (band.width() < part.width() || band.height() < part.height())
        band = QImage(r.width(), single_thread_rows, QImage::Format_RGB32);
      picture.paint(canvas_, part, PixelRows::of(band).at(part.left(), part.top()));
      p.drawImage(part.topLeft(), band, QRect(QPoint(0, 0), part.size()));
    }
  p.restore();
}

// Copies the pixels computed ahead that fall in `area`; what they do not
// cover is left.
QRegion BoardView::paste_ahead(const QRect& area, const PixelRows& rows) const {
  QRegion rest(area);
  for (const Ahead& done : ahead_) {
    const QRect both = area & done.area;
    if (both.isEmpty()) continue;
    for (int y = both.top(); y <= both.bottom(); ++y)
      std::memcpy(rows.bits + (y - rows.top) * rows.stride + (both.left() - rows.left),
                  reinterpret_cast<const QRgb*>(done.pixels.constScanLine(y - done.area.top())) +
                      (both.left() - done.area.left()),
                  static_cast<std::size_t>(both.width()) * sizeof(QRgb));
    rest -= both;
  }
  return rest;
}

// Nearest pixels, no filtering: a small part of the cost of the picture.
// The old picture is laid so that its board lies on the new one.
void BoardView::paint_quickly(QPainter& p, const QRegion& region) {
  const Placement now = placement();
  const double dpr = devicePixelRatioF();
  const double k = now.scale / picture_.scale();
  const QPointF corner = (now.origin - picture_.origin() * k) / dpr;
  const QRectF laid(corner, QSizeF(picture_.size()) * (k / dpr));
  // Pixels the old picture covers only in part take the backdrop first.
  const QRect covered(QPoint(static_cast<int>(std::ceil(laid.left())),
                             static_cast<int>(std::ceil(laid.top()))),
                      QPoint(static_cast<int>(std::floor(laid.right())) - 1,
                             static_cast<int>(std::floor(laid.bottom())) - 1));
  const QRegion beyond = region - QRegion(covered);
  if (!beyond.isEmpty()) {
    const int backdrop = canvas_.backdrop();
    QBrush brush(palette_colour(canvas_.fill_colour()));
    if (backdrop != 0) {
      if (quick_period_of_ != backdrop) {
        quick_period_ = Canvas::backdrop_period(backdrop);
        quick_period_of_ = backdrop;
      }
      brush = QBrush(quick_period_);
      const QRectF target = target_rect();
      const double to_widget = target.width() / canvas_.image().width();
      QTransform t;
      t.translate(target.left(), target.top());
      t.scale(to_widget, to_widget);
      t.translate(Canvas::backdrop_period_origin.x(), Canvas::backdrop_period_origin.y());
      brush.setTransform(t);
    }
    p.setClipRegion(beyond);
    p.fillRect(rect(), brush);
  }
  p.setClipRegion(region & laid.toAlignedRect());
  p.drawImage(laid, old_picture_);
}

// The picture the window showed before its size began to change: read
// back from the window's pixels while they still hold it, or made anew.
void BoardView::keep_old_picture() {
  const QImage* pixels = window_pixels();
  const QRect old_place(shown_at_, picture_.size());
  if (pixels && pixels->size() == shown_in_ && QRect(QPoint(0, 0), shown_in_).contains(old_place))
    old_picture_ = pixels->copy(old_place).convertToFormat(QImage::Format_RGB32);
  else
    old_picture_ = WindowPicture::whole(canvas_, picture_.size(), picture_.origin(), picture_.scale());
}

// A new size of a window whose picture is on the screen: quick pictures
// until it settles.
void BoardView::resizeEvent(QResizeEvent*) {
  if (!picture_.placed() || !shown_in_.isValid()) return;
  if (old_picture_.isNull()) keep_old_picture();
  settle_.start();
}

namespace {

// The game's number of a mouse button (1 left, 2 right, 4 middle), or 0.
int button_number(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return button_left;
    case Qt::RightButton: return button_right;
    case Qt::MiddleButton: return button_middle;
    default: return 0;
  }
}

}  // namespace

void BoardView::mousePressEvent(QMouseEvent* event) {
  const int button = button_number(event->button());
  const QPointF t = to_twips(event->position());
  if (button && on_mouse_down) on_mouse_down(button, t.x(), t.y());
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
  const int button = button_number(event->button());
  const QPointF t = to_twips(event->position());
  if (button && on_mouse_up) on_mouse_up(button, t.x(), t.y());
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() != Qt::NoButton && on_drag) on_drag(event->position());
}

}  // namespace nirvex

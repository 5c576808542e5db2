#include "ui/board_view.h"

#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

#include "model/game_state.h"
#include "ui/canvas.h"
#include "ui/row_bands.h"

namespace nirvex {

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

QRegion BoardView::bring_up_to_date() {
  const double dpr = devicePixelRatioF();
  const Placement at = placement();
  QRegion device;
  if (!picture_.fits(canvas_, at.size, at.origin, at.scale)) {
    canvas_.take_changes();
    picture_.place(canvas_, at.size, at.origin, at.scale);
    device = QRegion(QRect(QPoint(0, 0), at.size));
  } else {
    device = picture_.reach(canvas_, canvas_.take_changes());
  }
  if (dpr == 1.0) return device;
  QRegion logical;
  for (const QRect& r : device)
    logical += QRectF(r.x() / dpr, r.y() / dpr, r.width() / dpr, r.height() / dpr).toAlignedRect();
  return logical;
}

bool BoardView::quick() const { return resizing() && !picture_fits(); }

// A view not on the screen yet waits for its first paint; while the size
// changes the whole view is shown quickly again.
void BoardView::show_changes() {
  if (!isVisible()) return;
  if (quick()) {
    if (!canvas_.take_changes().empty()) repaint();
    return;
  }
  const QRegion changed = bring_up_to_date();
  if (!changed.isEmpty()) repaint(changed);
}

void BoardView::show_sharp_now() {
  settle_.stop();
  const QRegion changed = bring_up_to_date();
  if (!changed.isEmpty()) repaint(changed);
}

QImage BoardView::shown() {
  show_sharp_now();
  const QSize size = picture_.size();
  QBackingStore* store = window()->backingStore();
  const auto* pixels = store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
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
  QPaintDevice* device = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
  if (!store || device != store->paintDevice()) {
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
  QPaintDevice* target = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
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
    for (const QRect& r : device) picture.paint(canvas_, r & inside, rows);
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

// Nearest pixels, no filtering: a small part of the cost of the picture.
void BoardView::paint_quickly(QPainter& p, const QRegion& region) {
  const QRectF laid = target_rect();
  const QRegion beyond = region - QRegion(laid.toRect());
  if (!beyond.isEmpty()) {
    const int backdrop = canvas_.backdrop();
    QBrush brush(palette_colour(canvas_.fill_colour()));
    if (backdrop != 0) {
      if (quick_period_of_ != backdrop) {
        quick_period_ = Canvas::backdrop_period(backdrop);
        quick_period_of_ = backdrop;
      }
      brush = QBrush(quick_period_);
      const double to_widget = laid.width() / canvas_.image().width();
      QTransform t;
      t.translate(laid.left(), laid.top());
      t.scale(to_widget, to_widget);
      t.translate(Canvas::backdrop_period_origin.x(), Canvas::backdrop_period_origin.y());
      brush.setTransform(t);
    }
    p.setClipRegion(beyond);
    p.fillRect(rect(), brush);
  }
  p.setClipRegion(region & laid.toAlignedRect());
  p.drawImage(laid, canvas_.image());
}

// A new size of a window already shown: quick pictures until it settles.
void BoardView::resizeEvent(QResizeEvent*) {
  if (picture_.placed()) settle_.start();
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

#include "ui/board_view.h"

#include <QMouseEvent>
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
  const QSize size = at.size;
  QRegion device;
  if (!picture_.fits(canvas_, size, at.origin, at.scale)) {
    canvas_.take_changes();
    picture_.rebuild(canvas_, size, at.origin, at.scale);
    device = QRegion(QRect(QPoint(0, 0), size));
  } else {
    device = picture_.update(canvas_, canvas_.take_changes());
  }
  if (dpr == 1.0) return device;
  QRegion logical;
  for (const QRect& r : device)
    logical += QRectF(r.x() / dpr, r.y() / dpr, r.width() / dpr, r.height() / dpr).toAlignedRect();
  return logical;
}

bool BoardView::quick() const {
  return resizing() && picture_.shows_backdrop_of(canvas_) && !picture_fits();
}

// A view not on the screen yet waits for its first paint; while the size
// changes the picture is brought up to date at its old size and shown
// quickly scaled.
void BoardView::show_changes() {
  if (!isVisible()) return;
  if (quick()) {
    if (!picture_.update(canvas_, canvas_.take_changes()).isEmpty()) repaint();
    return;
  }
  const QRegion changed = bring_up_to_date();
  if (!changed.isEmpty()) repaint(changed);
}

const WindowPicture& BoardView::picture() {
  const QRegion changed = bring_up_to_date();
  if (!changed.isEmpty()) update(changed);  // shown by the next paint
  return picture_;
}

// The picture is in device pixels: it goes on one to one.
void BoardView::paintEvent(QPaintEvent* event) {
  if (quick()) {
    QPainter p(this);
    paint_quickly(p, event->region());
    return;
  }
  const QRegion changed = bring_up_to_date();
  // Painted meanwhile but not asked for here: shown by the next paint.
  if (!(changed - event->region()).isEmpty()) update(changed - event->region());
  QPainter p(this);
  const double dpr = devicePixelRatioF();
  for (const QRect& r : event->region())
    paint_in_bands(p, r, [&] {
      p.drawImage(QRectF(r), picture_.image(),
                  QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
    });
}

// Nearest pixels, no filtering: a small part of the cost of the picture.
// The old picture is laid so that its board lies on the new one.
void BoardView::paint_quickly(QPainter& p, const QRegion& region) {
  const Placement now = placement();
  const double dpr = devicePixelRatioF();
  const double k = now.scale / picture_.scale();
  const QPointF corner = (now.origin - picture_.origin() * k) / dpr;
  const QRectF laid(corner, QSizeF(picture_.image().size()) * (k / dpr));
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
  p.drawImage(laid, picture_.image());
}

// A new size of a window already shown: quick pictures until it settles.
void BoardView::resizeEvent(QResizeEvent*) {
  if (!picture_.image().isNull()) settle_.start();
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

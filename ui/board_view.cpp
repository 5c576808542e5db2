#include "ui/board_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "model/game_state.h"
#include "ui/canvas.h"

namespace nirvex {

BoardView::BoardView(Canvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(surface_width_twips / 15 / 2, surface_height_twips / 15 / 2);
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

QRegion BoardView::bring_up_to_date() {
  const double dpr = devicePixelRatioF();
  const QSize size(static_cast<int>(std::ceil(width() * dpr)),
                   static_cast<int>(std::ceil(height() * dpr)));
  const QRectF target = target_rect();
  const QPointF origin = target.topLeft() * dpr;
  const double scale = target.width() * dpr / canvas_.image().width();
  QRegion device;
  if (!picture_.fits(canvas_, size, origin, scale)) {
    canvas_.take_changes();
    picture_.rebuild(canvas_, size, origin, scale);
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

// A view not on the screen yet waits for its first paint.
void BoardView::show_changes() {
  if (!isVisible()) return;
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
  const QRegion changed = bring_up_to_date();
  // Painted meanwhile but not asked for here: shown by the next paint.
  if (!(changed - event->region()).isEmpty()) update(changed - event->region());
  QPainter p(this);
  const double dpr = devicePixelRatioF();
  for (const QRect& r : event->region())
    p.drawImage(QRectF(r), picture_.image(),
                QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  int button = 0;
  switch (event->button()) {
    case Qt::LeftButton: button = button_left; break;
    case Qt::RightButton: button = button_right; break;
    case Qt::MiddleButton: button = button_middle; break;
    default: return;
  }
  const QPointF t = to_twips(event->position());
  if (on_mouse_down) on_mouse_down(button, t.x(), t.y());
}

}  // namespace nirvex

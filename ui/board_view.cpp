#include "ui/board_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "model/game_state.h"
#include "ui/canvas.h"

namespace nirvex {

BoardView::BoardView(const Canvas& canvas, QWidget* parent)
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

void BoardView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The margins left by keeping the proportions take the window's colour.
  p.fillRect(rect(), palette_colour(colour_background));
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target_rect(), canvas_.image());
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

#include "ui/drag_piece.h"

#include <QPainter>
#include <cmath>

#include "ui/board_view.h"
#include "ui/canvas.h"

namespace nirvex {

DragPiece::DragPiece(BoardView* view) : QWidget(view), view_(view) {
  setObjectName(QStringLiteral("DragPiece"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
}

void DragPiece::carry(int code, QPointF pointer) {
  const QImage natural = Canvas::picture(code, false);
  if (natural.isNull() || Canvas::piece_cut_out(code).isNull()) return;
  // A picture is its natural size at 15 twips a pixel, scaled as the view.
  const double scale = view_->target_rect().width() / surface_width_twips;
  const QSizeF size(natural.width() * 15.0 * scale, natural.height() * 15.0 * scale);
  const QRect place(QPoint(static_cast<int>(std::lround(pointer.x() - size.width() / 2)),
                           static_cast<int>(std::lround(pointer.y() - size.height() / 2))),
                    size.toSize());
  if (code != code_) update();
  code_ = code;
  setGeometry(place);
  if (isHidden()) {
    show();
    raise();
  }
}

void DragPiece::drop() {
  code_ = 0;
  hide();
}

void DragPiece::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(rect()), Canvas::piece_cut_out(code_));
}

}  // namespace nirvex

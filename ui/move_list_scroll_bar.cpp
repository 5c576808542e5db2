#include "ui/move_list_scroll_bar.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <algorithm>

#include "ui/row_bands.h"

namespace nirvex {

// The application's own style, with standing bars drawn in bands.
BandedScrollBarStyle::BandedScrollBarStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

// Each band of the painter's area drawn by the application's style on a
// picture of its own and laid on: the style sets clips of its own, so a
// band has to be a surface of its own, not a clip on the bar's.  Only a
// standing bar is cut (the list has no other): a lying one's handle ends
// would fall across the bands.
void BandedScrollBarStyle::drawComplexControl(ComplexControl control,
                                              const QStyleOptionComplex* option,
                                              QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical ||
      painter->device()->devType() != QInternal::Widget) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect area =
      painting.isEmpty() ? option->rect : painting.boundingRect() & option->rect;
  const qreal dpr = painter->device()->devicePixelRatioF();
  QImage band((QSizeF(area.width(), single_thread_rows) * dpr).toSize(),
              QImage::Format_ARGB32_Premultiplied);
  band.setDevicePixelRatio(dpr);
  for (int top = area.top(); top <= area.bottom(); top += single_thread_rows) {
    const QRect part(area.left(), top, area.width(),
                     std::min(single_thread_rows, area.bottom() + 1 - top));
    if (!painting.isEmpty() && !painting.intersects(part)) continue;
    band.fill(Qt::transparent);
    QPainter on_band(&band);
    on_band.setRenderHints(painter->renderHints());
    on_band.setFont(painter->font());
    on_band.setPen(painter->pen());
    on_band.setBrush(painter->brush());
    on_band.translate(-part.topLeft());
    QProxyStyle::drawComplexControl(control, option, &on_band, widget);
    on_band.end();
    painter->drawImage(QRectF(part), band, QRectF(QPointF(0, 0), QSizeF(part.size()) * dpr));
  }
}

// A bar drawn through the banded style.
MoveListScrollBar::MoveListScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
  style_ = new BandedScrollBarStyle;
  style_->setParent(this);
  setStyle(style_);
  // The plain style shades a bar across it: all rows of its handle alike.
  uniform_handle_ = QApplication::style()->name().compare(QStringLiteral("fusion"),
                                                           Qt::CaseInsensitive) == 0;
}

// The strip across the bar where the handle is now, with its outline.
QRect MoveListScrollBar::handle_strip() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect handle =
      style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  if (orientation() == Qt::Vertical)
    return QRect(0, handle.top() - outline, width(), handle.height() + 2 * outline);
  return QRect(handle.left() - outline, 0, handle.width() + 2 * outline, height());
}

// A new range, page or value repaints the handle's old and new places (the
// arrows look the same at either end); a new orientation, or a bar that
// comes or goes from having something to scroll, the whole bar.
void MoveListScrollBar::sliderChange(SliderChange change) {
  const bool has_range = maximum() > minimum();
  const bool partial = change != SliderOrientationChange &&
                       has_range == had_range_ && !shown_handle_.isNull() &&
                       !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this);
  had_range_ = has_range;
  if (!partial) {
    QScrollBar::sliderChange(change);
    shown_handle_ = QRect();
    return;
  }
  const QRect now = handle_strip();
  update(handle_change(shown_handle_, now));
  shown_handle_ = now;
}

// What differs between the handle drawn over `was` and over `now`: both
// strips where a plain style draws its handle's shading across the bar
// (every row of the handle between its ends alike), so only the rows in
// one strip and not the other and the ends with their outlines; for any
// other style the two strips whole.
QRegion MoveListScrollBar::handle_change(const QRect& was, const QRect& now) const {
  if (!uniform_handle_) return QRegion(was) + now;
  const bool standing = orientation() == Qt::Vertical;
  const auto ends = [standing](const QRect& strip) {
    constexpr int end = 2 * outline + 2;
    if (standing)
      return QRegion(strip.left(), strip.top(), strip.width(), end) +
             QRegion(strip.left(), strip.bottom() + 1 - end, strip.width(), end);
    return QRegion(strip.left(), strip.top(), end, strip.height()) +
           QRegion(strip.right() + 1 - end, strip.top(), end, strip.height());
  };
  return QRegion(was).xored(now) + ends(was) + ends(now);
}

// Paints only the asked region, and remembers where the handle was drawn.
void MoveListScrollBar::paintEvent(QPaintEvent* event) {
  style_->painting = event->region();
  QScrollBar::paintEvent(event);
  style_->painting = QRegion();
  shown_handle_ = handle_strip();
  had_range_ = maximum() > minimum();
}

}  // namespace nirvex

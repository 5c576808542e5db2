// The move list's scroll bar: drawn by the style like any other, but
// cheaper to keep on the screen.  A move lengthens the list and scrolls it
// by a row, and only the rows where the handle's drawing changed are
// painted again, not the whole bar.  The style's drawing is done in bands
// of rows (ui/row_bands.h), each on a small picture of its own, as the
// style sets clips of its own.
#pragma once

#include <QProxyStyle>
#include <QRegion>
#include <QScrollBar>

namespace nirvex {

// The application's style with a standing scroll bar drawn band by band.
class BandedScrollBarStyle : public QProxyStyle {
 public:
  // Draws as the application's style does (a fresh one of its kind).
  BandedScrollBarStyle();

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;

  // The part of the bar being painted (empty: all of it); bands outside it
  // are not drawn.
  QRegion painting;
};

class MoveListScrollBar : public QScrollBar {
 public:
  explicit MoveListScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The strip across the bar that the handle's drawing covers.
  QRect handle_strip() const;
  // The part of the bar to paint again when the handle's strip moves.
  QRegion handle_change(const QRect& was, const QRect& now) const;

  // The style's outline may reach a pixel or two beyond the handle.
  static constexpr int outline = 3;

  BandedScrollBarStyle* style_;
  QRect shown_handle_;      // the handle's strip as last painted or asked for
  bool had_range_ = false;  // whether there was anything to scroll then
  bool uniform_handle_ = false;  // the style draws every row of the handle alike
};

}  // namespace nirvex

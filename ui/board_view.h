// Shows the back buffer scaled to the window, keeping its proportions, and
// turns mouse presses back into twips of the painted area.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <functional>

namespace nirvex {

class Canvas;

class BoardView : public QWidget {
  Q_OBJECT

 public:
  BoardView(const Canvas& canvas, QWidget* parent = nullptr);

  // Receives button (1 left, 2 right, 4 middle) and position in twips.
  std::function<void(int button, double x, double y)> on_mouse_down;

  // Where the painted area lies in the widget, in widget pixels.
  QRectF target_rect() const;
  // Widget pixel position to twips of the painted area.
  QPointF to_twips(QPointF widget_pos) const;
  // Twips of the painted area to widget pixel position.
  QPointF from_twips(QPointF twips) const;

  QSize sizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int w) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const Canvas& canvas_;
};

}  // namespace nirvex

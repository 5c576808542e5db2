// Shows the back buffer scaled to the window, keeping its proportions, the
// backdrop continued to the window's edges, and turns mouse presses back
// into twips of the painted area.  It keeps the window-sized picture and
// brings only what was painted since up to date.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <functional>

#include "ui/window_picture.h"

namespace nirvex {

class Canvas;

class BoardView : public QWidget {
  Q_OBJECT

 public:
  BoardView(Canvas& canvas, QWidget* parent = nullptr);

  // Shows what was painted on the canvas now, repainting only that.
  void show_changes();
  // The picture as the window shows it, brought up to date.
  const WindowPicture& picture();

  // Receive button (1 left, 2 right, 4 middle) and position in twips.
  std::function<void(int button, double x, double y)> on_mouse_down;
  std::function<void(int button, double x, double y)> on_mouse_up;
  // Receives the pointer's widget position while a button is held.
  std::function<void(QPointF pointer)> on_drag;

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
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Makes the picture anew when the window or the backdrop changed, else
  // redoes what was painted; the widget's region that changed.
  QRegion bring_up_to_date();

  Canvas& canvas_;
  WindowPicture picture_;
};

}  // namespace nirvex

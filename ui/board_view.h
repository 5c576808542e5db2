// Shows the back buffer scaled to the window, keeping its proportions, the
// backdrop continued to the window's edges, and turns mouse presses back
// into twips of the painted area.  It keeps the window-sized picture and
// brings only what was painted since up to date.  While the window's size
// changes it shows that picture, kept up to date at its old size, scaled
// quickly to the new one, and makes the sharp picture once the size has
// stayed the same for a moment.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTimer>
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
  // Window pixels the picture computed so far, as it stands, for whoever
  // watches the cost.
  qint64 pixels_redone() const { return picture_.pixels_redone(); }
  // Whether the window's size is changing: shown scaled quickly until
  // the sharp picture is made.
  bool resizing() const { return settle_.isActive(); }
  // How long the size stays the same before the sharp picture is made.
  static constexpr int settle_ms = 150;

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
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Where the picture goes: its size in device pixels, the buffer's corner
  // and the device pixels to a buffer pixel.
  struct Placement {
    QSize size;
    QPointF origin;
    double scale = 0;
  };
  Placement placement() const;
  // Whether the picture was made for the window as it is now.
  bool picture_fits() const;
  // Makes the picture anew when the window or the backdrop changed, else
  // redoes what was painted; the widget's region that changed.
  QRegion bring_up_to_date();
  // Whether the quick picture shows the window now: while its size
  // changes, and the picture shows the canvas's backdrop.
  bool quick() const;
  // The picture made for the old size scaled without filtering, what it
  // does not cover the backdrop's tiling likewise.
  void paint_quickly(QPainter& p, const QRegion& region);

  Canvas& canvas_;
  WindowPicture picture_;
  QTimer settle_;
  QImage quick_period_;  // the backdrop's tiling for paint_quickly
  int quick_period_of_ = 0;
};

}  // namespace nirvex

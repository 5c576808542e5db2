// Shows the back buffer scaled to the window, keeping its proportions, the
// backdrop continued to the window's edges, and turns mouse presses back
// into twips of the painted area.  It computes the picture straight into
// the window's own pixels, and then only what was painted since.  While
// the window's size changes it keeps the picture it showed, brought up to
// date at its old size and scaled quickly to the new one, and makes the
// sharp picture once the size has stayed the same for a moment.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/window_picture.h"

namespace nirvex {

class Canvas;

class BoardView : public QWidget {
  Q_OBJECT

 public:
  BoardView(Canvas& canvas, QWidget* parent = nullptr);

  // Shows what was painted on the canvas now, repainting only that.
  void show_changes();
  // Shows the sharp picture of all that changed now, even while the size
  // changes.
  void show_sharp_now();
  // The window's pixels under the view, brought up to date first.
  QImage shown();
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
  // Whether the picture is laid out for the window as it is now.
  bool picture_fits() const;
  // Lays the picture out anew when the window or the backdrop changed;
  // the widget's region to be painted again: all of it then, else what was
  // painted on the canvas since.
  QRegion bring_up_to_date();
  // The same in device pixels.
  QRegion take_changes();
  // Device pixels to the widget's.
  QRegion to_widget(const QRegion& device) const;
  // Computes a few changed squares' pixels now, for the paint to copy.
  void compute_ahead(const QRegion& device);
  // Copies those of them in `area` (device pixels) into `rows`; returns
  // the part of `area` they do not cover.
  QRegion paste_ahead(const QRect& area, const PixelRows& rows) const;
  // Whether the quick picture shows the window now: while its size
  // changes, and the old picture shows the canvas's backdrop.
  bool quick() const;
  // The old picture scaled without filtering, what it does not cover the
  // backdrop's tiling likewise.
  void paint_quickly(QPainter& p, const QRegion& region);
  // Keeps the picture shown before the size began to change.
  void keep_old_picture();
  // The window's own pixels, where they are a picture in memory; else null.
  const QImage* window_pixels() const;
  // The sharp picture of `region` (widget pixels), as `picture` lays it
  // out.
  void paint_sharply(QPainter& p, const QRegion& region, WindowPicture& picture);

  Canvas& canvas_;
  WindowPicture picture_;
  // Window pixels computed ahead of a repaint, with where they go.
  struct Ahead {
    QRect area;
    QImage pixels;
  };
  std::vector<Ahead> ahead_;
  // Where the window's own pixels last received the picture, and their size.
  QPoint shown_at_;
  QSize shown_in_;
  // The picture of the old size while the size changes.
  QImage old_picture_;
  QTimer settle_;
  QImage quick_period_;  // the backdrop's tiling for paint_quickly
  int quick_period_of_ = 0;
};

}  // namespace nirvex

// The bare Qt window the game's window is measured against: a menu bar
// over a widget that shows a picture of its own size, made anew when the
// window's size changes and repainted whole on every click.  What any
// window that paints its own picture cannot do without.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace nirvex::bench {

class BarePicture : public QWidget {
 public:
  BarePicture() { setAttribute(Qt::WA_OpaquePaintEvent); }

 protected:
  // A picture of the new size, in device pixels, filled.
  void resizeEvent(QResizeEvent*) override {
    const qreal dpr = devicePixelRatioF();
    picture_ = QImage(size() * dpr, QImage::Format_RGB32);
    picture_.fill(QColor(0x008000));
  }
  // The picture one to one onto what is asked for.
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    for (const QRect& r : event->region())
      p.drawImage(QRectF(r), picture_, QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
  }
  // Every click repaints the whole window.
  void mousePressEvent(QMouseEvent*) override { repaint(); }

 private:
  QImage picture_;
};

class BareWindow : public QMainWindow {
 public:
  BareWindow() {
    setWindowTitle(QStringLiteral("bare"));
    menuBar()->addMenu(QStringLiteral("対局"))->addAction(QStringLiteral("スタート"));
    setCentralWidget(new BarePicture);
  }
  QWidget* picture_widget() const { return centralWidget(); }
};

}  // namespace nirvex::bench

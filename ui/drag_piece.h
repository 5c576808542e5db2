// The piece a drag carries: its picture over the board view, following
// the pointer, at the size the view shows the squares.  It lets every
// mouse event through to the board below.
#pragma once

#include <QWidget>

namespace nirvex {

class BoardView;

class DragPiece : public QWidget {
  Q_OBJECT

 public:
  explicit DragPiece(BoardView* view);

  // Shows the picture of `code` centred on the pointer (widget pixels of
  // the view).
  void carry(int code, QPointF pointer);
  // Puts it away.
  void drop();
  int code() const { return code_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  BoardView* view_;
  int code_ = 0;
};

}  // namespace nirvex

// The about box: the game's picture with its version, and the buttons
// "ホームページ" and "O K".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace nirvex {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // `scale` is screen pixels per twip, as the main window shows its board.
  AboutBox(double scale, QWidget* parent = nullptr);

  QLabel* picture = nullptr;
  QPushButton* Command1 = nullptr;  // "ホームページ"
  QPushButton* Command2 = nullptr;  // "O K"

 signals:
  void home_page_requested();
};

}  // namespace nirvex

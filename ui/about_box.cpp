#include "ui/about_box.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

namespace nirvex {

namespace {

// The box in twips: the picture across the top, the buttons below it.
constexpr int box_width = 5055;
constexpr int box_height = 1695;
constexpr int picture_left = 120;
constexpr int picture_top = 60;

QRect scaled(double scale, int left, int top, int width, int height) {
  return QRect(static_cast<int>(std::lround(left * scale)), static_cast<int>(std::lround(top * scale)),
               static_cast<int>(std::lround(width * scale)),
               static_cast<int>(std::lround(height * scale)));
}

}  // namespace

AboutBox::AboutBox(double scale, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFixedSize(scaled(scale, 0, 0, box_width, box_height).size());

  // The picture carries the name and the version; drawn at 4x so it stays
  // sharp at any size.
  picture = new QLabel(this);
  const QRect pr = scaled(scale, picture_left, picture_top, 320 * 15, 64 * 15);
  picture->setGeometry(pr);
  QPixmap pix(QStringLiteral(":/pictures/ABOUT@4x.png"));
  if (pix.isNull()) pix = QPixmap(QStringLiteral(":/pictures/ABOUT.png"));
  // The "@4x" name makes Qt take it for a high-density picture; here it is
  // simply the large drawing, scaled to the screen pixels it covers.
  pix.setDevicePixelRatio(1);
  const qreal dpr = devicePixelRatioF();
  QPixmap shown = pix.scaled(pr.size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  shown.setDevicePixelRatio(dpr);
  picture->setPixmap(shown);

  QFont font = this->font();
  font.setPixelSize(std::max(9, static_cast<int>(std::lround(180 * scale))));
  Command1 = new QPushButton(QStringLiteral("ホームページ"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(scaled(scale, 600, 1080, 1575, 375));
  Command1->setFont(font);
  Command2 = new QPushButton(QStringLiteral("O K"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  Command2->setGeometry(scaled(scale, 2880, 1080, 1575, 375));
  Command2->setFont(font);
  Command2->setDefault(true);

  connect(Command1, &QPushButton::clicked, this, [this] {
    emit home_page_requested();
    accept();
  });
  connect(Command2, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace nirvex

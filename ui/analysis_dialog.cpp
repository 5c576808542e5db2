#include "ui/analysis_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace nirvex {

namespace {

// The depth offered first: deep enough to judge a 6×6 game well in about
// a second a position.
constexpr int default_depth = 12;

}  // namespace

AnalysisDialog::AnalysisDialog(const AnalysisLimit& current, const QString& engine,
                               QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AnalysisDialog"));
  setWindowTitle(QStringLiteral("棋譜解析"));

  auto* engine_label = new QLabel(QStringLiteral("エンジン：") + engine, this);
  engine_label->setWordWrap(true);
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

  by_time = new QRadioButton(QStringLiteral("1局面の思考時間"), this);
  seconds = new QDoubleSpinBox(this);
  seconds->setObjectName(QStringLiteral("seconds"));
  seconds->setDecimals(1);
  seconds->setRange(analysis_min_time_ms / 1000.0, analysis_max_time_ms / 1000.0);
  seconds->setSingleStep(0.1);
  seconds->setSuffix(QStringLiteral(" 秒"));
  seconds->setValue(current.move_time_ms / 1000.0);

  by_depth = new QRadioButton(QStringLiteral("深さを決める"), this);
  depth = new QSpinBox(this);
  depth->setObjectName(QStringLiteral("depth"));
  depth->setRange(1, analysis_max_depth);
  depth->setValue(current.depth > 0 ? current.depth : default_depth);

  (current.depth > 0 ? by_depth : by_time)->setChecked(true);
  const auto enable = [this] {
    seconds->setEnabled(by_time->isChecked());
    depth->setEnabled(by_depth->isChecked());
  };
  connect(by_time, &QRadioButton::toggled, this, enable);
  enable();

  auto* grid = new QGridLayout;
  grid->addWidget(by_time, 0, 0);
  grid->addWidget(seconds, 0, 1);
  grid->addWidget(by_depth, 1, 0);
  grid->addWidget(depth, 1, 1);

  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("解析開始"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(engine_label);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

AnalysisLimit AnalysisDialog::limit() const {
  AnalysisLimit l;
  l.move_time_ms = static_cast<int>(std::lround(seconds->value() * 1000));
  l.depth = by_depth->isChecked() ? depth->value() : 0;
  return l;
}

}  // namespace nirvex

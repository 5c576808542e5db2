#include "ui/engine_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "ui/engine_process.h"

namespace nirvex {

namespace {

// "0.1 秒", "1 秒", "10 秒".
QString seconds_text(int ms) {
  return (ms % 1000 == 0 ? QString::number(ms / 1000) : QString::number(ms / 1000.0, 'f', 1)) +
         QStringLiteral(" 秒");
}

}  // namespace

EngineDialog::EngineDialog(const EngineSettings& current, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EngineDialog"));
  setWindowTitle(QStringLiteral("外部エンジン"));

  program = new QLineEdit(this);
  program->setObjectName(QStringLiteral("program"));
  program->setText(current.program.empty() ? installed_fairy_stockfish()
                                           : QString::fromStdString(current.program));
  program->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
  browse = new QPushButton(QStringLiteral("参照…"), this);
  auto* program_row = new QHBoxLayout;
  program_row->addWidget(program, 1);
  program_row->addWidget(browse);

  move_time = new QComboBox(this);
  move_time->setObjectName(QStringLiteral("move_time"));
  for (int ms : engine_move_times_ms) move_time->addItem(seconds_text(ms), ms);
  const int at = move_time->findData(current.move_time_ms);
  move_time->setCurrentIndex(at >= 0 ? at : move_time->findData(1000));

  skill = new QSpinBox(this);
  skill->setObjectName(QStringLiteral("skill"));
  skill->setSpecialValueText(QStringLiteral("エンジンの既定"));

  status = new QLabel(this);
  status->setObjectName(QStringLiteral("status"));
  status->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("エンジン："), program_row);
  form->addRow(QStringLiteral("思考時間（1手）："), move_time);
  form->addRow(QStringLiteral("棋力："), skill);
  form->addRow(status);

  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(program, &QLineEdit::editingFinished, this, [this] { check_engine(); });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("外部エンジンを選ぶ"),
                                                      program->text());
    if (file.isEmpty()) return;
    program->setText(file);
    check_engine();
  });

  check_engine();
  if (current.skill && skill->isEnabled()) skill->setValue(*current.skill);
}

void EngineDialog::check_engine() {
  usable_ = false;
  identity_ = EngineIdentity{};
  QString error;
  const QString path = program->text().trimmed();
  if (path.isEmpty()) {
    status->setText(QStringLiteral("エンジンのプログラムを選んでください。"));
  } else if (!probe_engine(path, identity_, error)) {
    status->setText(QStringLiteral("このエンジンは使えません：") + error);
  } else if (!identity_.plays_variant) {
    status->setText(QStringLiteral("%1 はこの将棋（%2）を指せません。")
                        .arg(QString::fromStdString(identity_.name), QLatin1String(usi_variant)));
  } else {
    usable_ = true;
    status->setText(QStringLiteral("%1：この将棋（%2）を指せます。")
                        .arg(QString::fromStdString(identity_.name), QLatin1String(usi_variant)));
  }
  // The skill's lowest step stands for the engine's own setting.
  skill->setEnabled(usable_ && identity_.offers_skill);
  if (skill->isEnabled()) {
    skill->setRange(identity_.skill_min - 1, identity_.skill_max);
    skill->setValue(identity_.skill_min - 1);
  } else {
    skill->setRange(0, 0);
  }
  buttons->button(QDialogButtonBox::Ok)->setEnabled(usable_);
}

EngineSettings EngineDialog::choice() const {
  EngineSettings c;
  c.program = program->text().trimmed().toStdString();
  c.move_time_ms = move_time->currentData().toInt();
  if (skill->isEnabled() && skill->value() >= identity_.skill_min) c.skill = skill->value();
  c.plays = true;
  return c;
}

}  // namespace nirvex

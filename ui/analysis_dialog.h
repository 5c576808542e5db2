// "棋譜解析": how long the engine looks at each position of the record,
// a time from 0.1 to 10 seconds or a fixed depth, before the analysis
// starts.
#pragma once

#include <QDialog>

#include "ui/flow/analysis_results.h"

class QDialogButtonBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace nirvex {

class AnalysisDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts from the last choice; names the engine that will judge.
  AnalysisDialog(const AnalysisLimit& current, const QString& engine, QWidget* parent = nullptr);

  // The time or the depth as chosen.
  AnalysisLimit limit() const;

  QRadioButton* by_time = nullptr;
  QDoubleSpinBox* seconds = nullptr;  // per position
  QRadioButton* by_depth = nullptr;
  QSpinBox* depth = nullptr;
  QDialogButtonBox* buttons = nullptr;
};

}  // namespace nirvex

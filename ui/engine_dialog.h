// "外部エンジン…": the outside engine that plays the computer's side, its
// think time per move and, where the engine offers it, its skill level.
// The engine is asked at once whether it plays this game.
#pragma once

#include <QDialog>

#include "engine/usi_client.h"
#include "settings/settings_values.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace nirvex {

class EngineDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts from the choice so far; an empty program is Fairy-Stockfish
  // where it is installed.
  EngineDialog(const EngineSettings& current, QWidget* parent = nullptr);

  // The choice as the dialog holds it (the engine plays).
  EngineSettings choice() const;

  QLineEdit* program = nullptr;
  QPushButton* browse = nullptr;
  QComboBox* move_time = nullptr;
  QSpinBox* skill = nullptr;  // its lowest value means the engine's own
  QLabel* status = nullptr;
  QDialogButtonBox* buttons = nullptr;

  // Asks the engine in the program field what it is and whether it plays
  // this game; OK is possible only when it does.
  void check_engine();

 private:
  EngineIdentity identity_;
  bool usable_ = false;
};

// The think times offered, in milliseconds.
inline constexpr int engine_move_times_ms[] = {100, 300, 500, 1000, 2000, 3000, 5000, 10000};

}  // namespace nirvex

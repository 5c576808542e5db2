// The window's use of the sound library: the device, the four waves and
// the music switch.
#include <QAction>
#include <QFile>
#include <QFileInfo>

#include "ui/main_window.h"

namespace nirvex {

// Opens the sound device; without one the game runs on silently.
void MainWindow::sound_init() {
  sound_device = platform_.sound->dsInitialize(static_cast<std::intptr_t>(winId()));
  if (sound_device == 0)
    platform_.dialogs->message(QStringLiteral("Direct Soundインターフェースが作成できません。"),
                               QStringLiteral("Nirvex将棋.dll"), MsgButtons::ok,
                               MsgIcon::warning);
}

// Loads a wave file found by bare name in the current directory into a
// sound buffer; 0 when there is no device or no such file.
int MainWindow::load_wave(const QString& name, int flags) {
  if (sound_device == 0) return 0;
  if (!QFileInfo::exists(name)) return 0;
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) {
    platform_.dialogs->message(file.errorString(), QStringLiteral("Nirvex将棋.dll"),
                               MsgButtons::ok, MsgIcon::warning);
    return 0;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    platform_.dialogs->message(file.errorString(), QStringLiteral("Nirvex将棋.dll"),
                               MsgButtons::ok, MsgIcon::warning);
    return 0;
  }
  return platform_.sound->dsCreateDSB(sound_device, bytes.constData(),
                                      static_cast<std::size_t>(bytes.size()), flags);
}

void MainWindow::play(int buffer) { platform_.sound->dsPlay(buffer); }

void MainWindow::BGM_Click() {
  QAction* item = menu_item("BGM");
  if (item->isChecked()) {
    item->setChecked(false);
    platform_.sound->dsStop(snd_bgm);
  } else {
    item->setChecked(true);
    platform_.sound->dsPlayLooping(snd_bgm);
  }
  write_settings();
}

}  // namespace nirvex

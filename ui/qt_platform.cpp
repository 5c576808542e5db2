#include "ui/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QMessageBox>
#include <QTime>
#include <QUrl>
#include <chrono>
#include <thread>
#include <utility>

#include "ui/program_modules.h"
#include "ui/qt_translation.h"

namespace nirvex {

// An empty title is shown as a blank one: given none at all, the window
// system would put the program's file name there.  Esc answers Yes, the
// answer that loses nothing: it keeps a loaded record and starts afresh
// after a game.
MsgAnswer QtDialogs::message(const QString& text, const QString& title,
                             MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(icon == MsgIcon::warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                  title.isEmpty() ? QStringLiteral(" ") : title, text,
                  buttons == MsgButtons::yes_no ? (QMessageBox::Yes | QMessageBox::No)
                                                : QMessageBox::Ok,
                  parent);
  if (buttons == MsgButtons::yes_no) box.setEscapeButton(QMessageBox::Yes);
  const int r = box.exec();
  if (buttons == MsgButtons::ok) return MsgAnswer::ok;
  return r == QMessageBox::Yes ? MsgAnswer::yes : MsgAnswer::no;
}

double SystemClock::seconds_since_midnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

// A wait that blocks the game without keeping a core busy.
void SystemClock::pause(double seconds) {
  if (seconds > 0)
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

const SoundLibrary* sound_library() {
  const auto of =
      reinterpret_cast<SoundLibraryOf>(module_symbol("nirvex-sound", "nirvex_sound_library"));
  return of ? of() : nullptr;
}

SdlSound::SdlSound(std::function<const SoundLibrary*()> load)
    : opening_([this, load = std::move(load)] {
        library_ = load();
        opened_ = library_ ? library_->dsInitialize(0) : 0;
      }) {}

SdlSound::~SdlSound() {
  if (opening_.joinable()) opening_.join();
}

const SoundLibrary* SdlSound::library() {
  if (opening_.joinable()) opening_.join();
  return library_;
}

// The first call takes the device opened at start; later ones open it anew.
int SdlSound::dsInitialize(std::intptr_t h) {
  if (opening_.joinable()) {
    opening_.join();
    return opened_;
  }
  return library_ ? library_->dsInitialize(h) : 0;
}
int SdlSound::dsCreateDSB(int device, const void* wave, std::size_t size, int flags) {
  return library() ? library_->dsCreateDSB(device, wave, size, flags) : 0;
}
void SdlSound::dsPlay(int id) {
  if (library()) library_->dsPlay(id);
}
void SdlSound::dsPlayLooping(int id) {
  if (library()) library_->dsPlayLooping(id);
}
void SdlSound::dsStop(int id) {
  if (library()) library_->dsStop(id);
}
void SdlSound::dsFree(int id) {
  if (library()) library_->dsFree(id);
}
void SdlSound::dsTerminate(int device) {
  if (library()) library_->dsTerminate(device);
}

void prepare_application(QApplication& app) {
  install_qt_japanese(app);
  QGuiApplication::setDesktopFileName(QStringLiteral(NIRVEX_APP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(NIRVEX_APP_ID)));
}

Platform DesktopPlatform::platform(std::function<void()> end_program) {
  Platform p;
  p.dialogs = &dialogs;
  p.clock = &clock;
  p.sound = &sound;
  p.browser = &browser;
  p.end_program = std::move(end_program);
  return p;
}

bool DesktopBrowser::open(const QString& address) {
  const QUrl url = QUrl::fromUserInput(address);
  return QDesktopServices::openUrl(url);
}

}  // namespace nirvex

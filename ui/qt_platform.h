// The desktop's own message boxes, clock, sound library and browser.
#pragma once

#include <QWidget>
#include <functional>
#include <thread>

#include "sound/sound_library.h"
#include "ui/platform.h"

class QApplication;

namespace nirvex {

class QtDialogs : public Dialogs {
 public:
  QWidget* parent = nullptr;
  MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                    MsgIcon icon) override;
};

class SystemClock : public Clock {
 public:
  double seconds_since_midnight() override;
  void pause(double seconds) override;
};

// The sound library's calls, from its module (sound/sound_library.h),
// loaded the first time; null when the module cannot be found.
const SoundLibrary* sound_library();

// The game's sound library over SDL2.  The library is loaded and the
// device starts opening at once, on a thread of its own, while the window
// is made; the game's dsInitialize takes what that gave.  Without the
// library every call does nothing and the device is 0, as when no device
// can be opened.
class SdlSound : public SoundPort {
 public:
  // The library comes from `load`, on the opening thread.
  explicit SdlSound(std::function<const SoundLibrary*()> load = sound_library);
  ~SdlSound() override;
  int dsInitialize(std::intptr_t window_handle) override;
  int dsCreateDSB(int device, const void* wave, std::size_t size, int flags) override;
  void dsPlay(int id) override;
  void dsPlayLooping(int id) override;
  void dsStop(int id) override;
  void dsFree(int id) override;
  void dsTerminate(int device) override;

 private:
  // The library, once the thread that loads it is done.
  const SoundLibrary* library();

  const SoundLibrary* library_ = nullptr;
  int opened_ = 0;
  std::thread opening_;
};

class DesktopBrowser : public Browser {
 public:
  bool open(const QString& address) override;
};

// What the program sets for the whole application before its window:
// Qt's own texts in Japanese, the menu entry and the icon of the
// installed game (none in the build tree).
void prepare_application(QApplication& app);

// The desktop's own dialogs, clock, sound and browser, as the program
// hands them to its window.
struct DesktopPlatform {
  QtDialogs dialogs;
  SystemClock clock;
  SdlSound sound;
  DesktopBrowser browser;
  // The platform over these, ending the program through `end_program`.
  Platform platform(std::function<void()> end_program);
};

}  // namespace nirvex

// The desktop's own message boxes, clock, sound library and browser.
#pragma once

#include <QWidget>

#include "ui/platform.h"

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

// The game's sound library over SDL2_mixer.
class SdlSound : public SoundPort {
 public:
  int dsInitialize(std::intptr_t window_handle) override;
  int dsCreateDSB(int device, const void* wave, std::size_t size, int flags) override;
  void dsPlay(int id) override;
  void dsPlayLooping(int id) override;
  void dsStop(int id) override;
  void dsFree(int id) override;
  void dsTerminate(int device) override;
};

class DesktopBrowser : public Browser {
 public:
  bool open(const QString& address) override;
};

}  // namespace nirvex

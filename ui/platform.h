// The few things the game asks of the desktop: message boxes, the clock,
// the sound library, the web browser and ending the program.  Each is a
// small interface so that tests can answer dialogs, fix the time and
// record what was shown and played.
#pragma once

#include <QString>

class QDialog;
#include <cstddef>
#include <cstdint>
#include <functional>

namespace nirvex {

enum class MsgButtons { ok, yes_no };
enum class MsgIcon { none, warning };
enum class MsgAnswer { ok, yes, no };

// Modal message boxes.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgAnswer message(const QString& text, const QString& title,
                            MsgButtons buttons, MsgIcon icon) = 0;
};

// Seconds since midnight, and a short wait that blocks the game.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double seconds_since_midnight() = 0;
  virtual void pause(double seconds) = 0;
};

// The game's sound library: seven calls, all ids plain numbers, 0 = none.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual int dsInitialize(std::intptr_t window_handle) = 0;
  virtual int dsCreateDSB(int device, const void* wave, std::size_t size,
                          int flags) = 0;
  virtual void dsPlay(int id) = 0;
  virtual void dsPlayLooping(int id) = 0;
  virtual void dsStop(int id) = 0;
  virtual void dsFree(int id) = 0;
  virtual void dsTerminate(int device) = 0;
};

// Opens a page in the system's web browser; false when that failed.
class Browser {
 public:
  virtual ~Browser() = default;
  virtual bool open(const QString& address) = 0;
};

// Everything the window needs from outside, handed over at construction.
struct Platform {
  Dialogs* dialogs = nullptr;
  Clock* clock = nullptr;
  SoundPort* sound = nullptr;
  Browser* browser = nullptr;
  // Shows a dialog modally (the about box); exec() when not set.
  std::function<void(QDialog*)> show_modal;
  // Ends the program (the event loop); the window has released its sounds.
  std::function<void()> end_program;
};

}  // namespace nirvex

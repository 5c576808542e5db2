// The few things the window asks of the desktop: message boxes, the clock,
// the sound library (ui/flow/ports.h), the web browser and ending the
// program.  Each is a small interface so that tests can answer dialogs,
// fix the time and record what was shown and played.
#pragma once

#include <QString>
#include <functional>

#include "ui/flow/form.h"
#include "ui/flow/ports.h"

class QDialog;

namespace nirvex {

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

// Stand-ins for the desktop: dialogs answered from a script, a clock the
// test sets, a sound library that records what it was asked to play.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "ui/platform.h"

namespace nirvex::testing {

struct ShownMessage {
  QString text;
  QString title;
  MsgButtons buttons;
  MsgIcon icon;
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<ShownMessage> shown;
  std::deque<MsgAnswer> answers;  // for Yes/No questions; Yes when empty
  MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                    MsgIcon icon) override {
    shown.push_back({text, title, buttons, icon});
    if (buttons == MsgButtons::ok) return MsgAnswer::ok;
    if (answers.empty()) return MsgAnswer::yes;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  QStringList texts() const {
    QStringList out;
    for (const auto& m : shown) out << m.text;
    return out;
  }
};

class FakeClock : public Clock {
 public:
  double time = 36000;  // 10:00:00
  double paused = 0;
  bool advance_on_pause = true;  // false: a clock that stands still
  double seconds_since_midnight() override { return time; }
  void pause(double seconds) override {
    paused += seconds;
    if (!advance_on_pause) return;
    time += seconds;
    if (time >= 86400) time -= 86400;
  }
};

class FakeSound : public SoundPort {
 public:
  bool device_available = true;
  int next_id = 1;
  std::vector<int> played, looped, stopped, freed;
  std::vector<std::size_t> created_sizes;
  int terminated = 0;
  int dsInitialize(std::intptr_t) override { return device_available ? 7 : 0; }
  int dsCreateDSB(int device, const void* wave, std::size_t size, int) override {
    if (device == 0 || wave == nullptr || size == 0) return 0;
    created_sizes.push_back(size);
    return next_id++;
  }
  void dsPlay(int id) override { played.push_back(id); }
  void dsPlayLooping(int id) override { looped.push_back(id); }
  void dsStop(int id) override { stopped.push_back(id); }
  void dsFree(int id) override { freed.push_back(id); }
  void dsTerminate(int device) override { terminated = device; }
};

class FakeBrowser : public Browser {
 public:
  QStringList opened;
  bool works = true;
  bool open(const QString& address) override {
    opened << address;
    return works;
  }
};

}  // namespace nirvex::testing

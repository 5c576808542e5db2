// A window that shows nothing: what the game flow paints goes nowhere,
// sounds are never played, and every message box is answered at once (OK,
// or Yes) and handed to whoever listens.  The console tool plays whole
// games on it.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "ui/flow/form.h"
#include "ui/flow/ports.h"

namespace nirvex {

class HeadlessWindow : public Form {
 public:
  // Hears every message box, in the order shown.
  std::function<void(const std::string& text, const std::string& title)> on_message;
  // The time of day the clock reads; a negative value means the real clock.
  double fixed_time_of_day = -1;

  void fill(int) override {}
  void paint_picture(int, double, double) override {}
  void paint_frame(int, double, double, double, double) override {}
  void paint_tint(int, double, double, double, double) override {}
  void print_text(double, double, const std::string&, int, int, bool) override {}
  void refresh() override {}
  MsgAnswer message(const std::string& text, const std::string& title, MsgButtons buttons,
                    MsgIcon icon) override;
  void start_timer() override { timer_ = true; }
  void stop_timer() override { timer_ = false; }
  bool timer_running() const override { return timer_; }
  double now() override;
  LocalDateTime date_time() override;
  void pause(double) override {}
  bool checked(std::string_view item) const override;
  void set_checked(std::string_view item, bool on) override;
  void show_file_lists(bool, bool, bool) override {}
  void show_name_panel(int) override {}
  std::string text_field(int) const override { return {}; }
  std::string record_folder() const override { return {}; }
  std::intptr_t window_handle() const override { return 0; }
  void end_program() override { ended_ = true; }

  bool ended() const { return ended_; }

 private:
  bool timer_ = false;
  bool ended_ = false;
  std::map<std::string, bool, std::less<>> marks_;
};

// A sound library with a device that plays nothing.
class SilentSound : public SoundPort {
 public:
  int dsInitialize(std::intptr_t) override { return 1; }
  int dsCreateDSB(int, const void*, std::size_t, int) override { return ++buffers_; }
  void dsPlay(int) override {}
  void dsPlayLooping(int) override {}
  void dsStop(int) override {}
  void dsFree(int) override {}
  void dsTerminate(int) override {}

 private:
  int buffers_ = 0;
};

// No settings file: the defaults, and nothing is written.
class NoSettings : public SettingsStore {
 public:
  SettingsRead read() override { return {}; }
  bool write(const SettingsValues&) override { return true; }
};

// The real clock, in seconds since midnight (local time).
double seconds_since_midnight();

}  // namespace nirvex

// A window for the game flow that shows nothing and remembers everything:
// the message boxes with their answers, the sounds, the check marks, the
// clock the test sets, and what was painted where.  Standard C++ only.
#pragma once

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/flow/form.h"
#include "ui/flow/game.h"
#include "ui/flow/ports.h"

namespace nirvex::testing {

struct Shown {
  std::string text, title;
  MsgButtons buttons;
};


class FakeForm : public Form {
 public:
  std::vector<Shown> shown;
  std::deque<MsgAnswer> answers;  // for Yes/No questions; Yes when empty
  double time = 36000;            // 10:00:00
  bool timer = false;
  bool ended = false;
  std::map<std::string, bool, std::less<>> marks;
  std::map<std::pair<long, long>, int> pictures;  // last picture by twip position
  std::vector<std::string> texts;
  std::string fields[5];
  int refreshes = 0;
  LocalDateTime today{2026, 12, 8, 0, 0, 0};  // the date; the time of day is `time`

  void fill(int) override {}
  void paint_picture(int id, double x, double y) override {
    pictures[{std::lround(x), std::lround(y)}] = id;
  }
  void paint_frame(int, double, double, double, double) override {}
  void paint_tint(int, double, double, double, double) override {}
  void print_text(double, double, const std::string& text, int, int, bool) override {
    texts.push_back(text);
  }
  void refresh() override { ++refreshes; }
  MsgAnswer message(const std::string& text, const std::string& title, MsgButtons buttons,
                    MsgIcon) override {
    shown.push_back({text, title, buttons});
    if (buttons == MsgButtons::ok) return MsgAnswer::ok;
    if (answers.empty()) return MsgAnswer::yes;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void start_timer() override { timer = true; }
  void stop_timer() override { timer = false; }
  bool timer_running() const override { return timer; }
  double now() override { return time; }
  LocalDateTime date_time() override {
    LocalDateTime t = today;
    const int s = static_cast<int>(time);
    t.hour = s / 3600;
    t.minute = s / 60 % 60;
    t.second = s % 60;
    return t;
  }
  void pause(double seconds) override { time += seconds; }
  bool checked(std::string_view item) const override {
    const auto it = marks.find(item);
    return it != marks.end() && it->second;
  }
  void set_checked(std::string_view item, bool on) override {
    marks.insert_or_assign(std::string(item), on);
  }
  void show_file_lists(bool, bool, bool) override {}
  void show_name_panel(int mode) override {
    if (mode != 0)
      for (std::string& f : fields) f.clear();
  }
  std::string text_field(int n) const override { return n >= 1 && n <= 4 ? fields[n] : ""; }
  std::string record_folder() const override { return "."; }
  std::intptr_t window_handle() const override { return 1; }
  void end_program() override { ended = true; }

  // The texts of the message boxes shown, in order.
  std::vector<std::string> texts_shown() const {
    std::vector<std::string> out;
    for (const Shown& s : shown) out.push_back(s.text);
    return out;
  }
  bool showed(const std::string& text) const {
    for (const Shown& s : shown)
      if (s.text == text) return true;
    return false;
  }
};

class FakeSound : public SoundPort {
 public:
  std::vector<int> played;
  int next = 1;
  int dsInitialize(std::intptr_t) override { return 7; }
  int dsCreateDSB(int, const void*, std::size_t, int) override { return next++; }
  void dsPlay(int id) override { played.push_back(id); }
  void dsPlayLooping(int) override {}
  void dsStop(int) override {}
  void dsFree(int) override {}
  void dsTerminate(int) override {}
};

// Settings kept in memory: the file "holds" what was last written.
class FakeSettings : public SettingsStore {
 public:
  SettingsRead file;
  int writes = 0;
  SettingsRead read() override { return file; }
  bool write(const SettingsValues& v) override {
    ++writes;
    file = SettingsRead{};
    file.ok = true;
    file.background = v.background;
    file.guidance = v.guidance;
    file.elapsed_time = v.elapsed_time;
    file.music = v.music;
    file.move_list = v.view.move_list;
    file.last_move_tint = v.view.last_move_tint;
    file.ask_promotion = v.view.ask_promotion;
    if (!v.engine.program.empty() || v.engine.plays) {
      file.engine_program = v.engine.program;
      file.engine_move_time_ms = v.engine.move_time_ms;
      file.engine_skill = v.engine.skill;
      file.engine_plays = v.engine.plays;
    }
    return true;
  }
};

// Records kept in memory by name, and folders that hold the names of the
// records saved into them.
class FakeRecords : public RecordStore {
 public:
  std::map<std::string, record::LoadedRecord> files;
  std::map<std::string, std::string> texts;  // each saved file as the format writes it
  std::map<std::string, std::set<std::string>> folders;
  std::string refused_folder;  // a folder that cannot be made or written
  int saves = 0;
  bool load(const std::string& path, record::LoadedRecord& out, std::string& error) override {
    const auto it = files.find(path);
    if (it == files.end()) {
      error = "no such file";
      return false;
    }
    out = it->second;
    return true;
  }
  bool save(const std::string& folder, const std::string& name,
            const record::RecordHeader& header, const MoveRecord* moves, int count,
            std::string& error) override {
    ++saves;
    if (folder == refused_folder) {
      error = "Permission denied";
      return false;
    }
    files[name] = {header, std::vector<MoveRecord>(moves, moves + count)};
    if (!record::compose_record(header, moves, count, texts[name], error)) return false;
    folders[folder].insert(name);
    return true;
  }
  bool make_folder(const std::string& folder, std::string& error) override {
    if (folder == refused_folder) {
      error = "Permission denied";
      return false;
    }
    folders[folder];
    return true;
  }
  std::vector<std::string> record_names(const std::string& folder) override {
    const auto it = folders.find(folder);
    if (it == folders.end()) return {};
    return {it->second.begin(), it->second.end()};
  }
  bool remove(const std::string& folder, const std::string& name) override {
    return folders[folder].erase(name) == 1;
  }
};

// The move list beside the board as the flow tells it: its rows, the
// position, and every message in order.
class FakeMoveList : public MoveListView {
 public:
  std::vector<MoveListRow> rows;
  int position = -1;
  std::vector<std::string> told;  // "rows FIRST COUNT" and "position N"
  void rows_changed(int first, const std::vector<MoveListRow>& changed) override {
    rows.resize(first);
    rows.insert(rows.end(), changed.begin(), changed.end());
    told.push_back("rows " + std::to_string(first) + " " + std::to_string(changed.size()));
  }
  void position_changed(int moves) override {
    position = moves;
    told.push_back("position " + std::to_string(moves));
  }
};

// A started program on the fake window: every option off, no game yet.
struct FlowFixture {
  FakeForm form;
  FakeSound sound;
  FakeSettings settings;
  FakeRecords records;
  FakeMoveList move_list;
  Game game;

  FlowFixture();
  // Clicks the middle of a cell with a button (1 left, 2 right).
  void click(int col, int row, int button = button_left);
  // A move by two clicks.
  void move(int fc, int fr, int tc, int tr, int button = button_left);
};

}  // namespace nirvex::testing

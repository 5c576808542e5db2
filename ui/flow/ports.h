// The game's other surroundings, each a small interface the program, the
// console tool and the tests fill in their own way: the sound library,
// the settings file, record files, an outside engine's process, the
// list of the game's moves beside the board and the record analysis's
// results there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "record/record_file.h"
#include "settings/settings_values.h"
#include "ui/flow/analysis_results.h"

namespace nirvex {

// The game's sound library: seven calls, all ids plain numbers, 0 = none.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual int dsInitialize(std::intptr_t window_handle) = 0;
  virtual int dsCreateDSB(int device, const void* wave, std::size_t size, int flags) = 0;
  virtual void dsPlay(int id) = 0;
  virtual void dsPlayLooping(int id) = 0;
  virtual void dsStop(int id) = 0;
  virtual void dsFree(int id) = 0;
  virtual void dsTerminate(int device) = 0;
};

// The settings file "Nirvex将棋.ini" in the current folder.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // What the file says; ok is false when it is missing or broken.
  virtual SettingsRead read() = 0;
  // Writes the four lines; false when that could not be done.
  virtual bool write(const SettingsValues& values) = 0;
};

// Game record files ("*.棋譜").  Paths and texts are UTF-8.
class RecordStore {
 public:
  virtual ~RecordStore() = default;
  // Reads and checks a whole file; on failure `error` says why, in the
  // words shown to the player.
  virtual bool load(const std::string& path, record::LoadedRecord& out, std::string& error) = 0;
  // Writes `count` moves under the header as the file `name` (without the
  // extension) in `folder`, replacing a file of that name only once the
  // new one is complete; on failure `error` says why.
  virtual bool save(const std::string& folder, const std::string& name,
                    const record::RecordHeader& header, const MoveRecord* moves, int count,
                    std::string& error) = 0;
  // Makes the folder (and those above it) unless it is there; on failure
  // `error` says why.
  virtual bool make_folder(const std::string& folder, std::string& error) = 0;
  // The names, without the extension, of the record files in the folder.
  virtual std::vector<std::string> record_names(const std::string& folder) = 0;
  // Removes the record file `name` (without the extension) from the folder.
  virtual bool remove(const std::string& folder, const std::string& name) = 0;
};

// One row of the move list: a record entry as the player reads it.
struct MoveListRow {
  int number = 0;        // the move number
  std::string side;      // "▲" for the side that moved first, "△" for the other
  std::string move;      // as the game writes it: "６四歩", "３三歩打", "６一歩成"
  double seconds = 0;    // the time the move took
  bool operator==(const MoveListRow&) const = default;
};

// The list of the game's moves beside the board.  The flow tells it every
// change of the record and of the position in it.
class MoveListView {
 public:
  virtual ~MoveListView() = default;
  // The rows from index `first` on (0 is the first move) are now `rows`;
  // rows beyond them are gone.
  virtual void rows_changed(int first, const std::vector<MoveListRow>& rows) = 0;
  // The board shows the position after `moves` rows (0: before the first).
  virtual void position_changed(int moves) = 0;
};

// What the record analysis shows beside the board.  The flow tells it when
// the analysis starts or stops, when it has judged another position, and
// when its results stop (or start again) belonging to the record.
class AnalysisView {
 public:
  virtual ~AnalysisView() = default;
  virtual void show_analysis(const AnalysisShown& shown) = 0;
};

// The longest line an engine may write before its output counts as
// broken; real USI lines are far shorter.
inline constexpr int longest_engine_line = 64 * 1024;

// Whoever an outside engine's process speaks to: the computer's play
// (ui/flow/outside_engine.h) or the record analysis (record_analysis.h).
class EngineListener {
 public:
  virtual ~EngineListener() = default;
  // A line the engine said.
  virtual void said(const std::string& line) = 0;
  // The process ended of itself.
  virtual void ended() = 0;
  // The deadline passed without the answer.
  virtual void deadline_passed() = 0;
  // It wrote a line longer than any USI line can be (longest_engine_line).
  virtual void overflowed() = 0;
  // Is an answer still awaited?  The console waits on the engine only then.
  virtual bool awaiting() const = 0;
};

// An outside engine's program, spoken to in lines.  What it says, its end
// and the deadline reach the one EngineListener it was made for.
class EngineProcess {
 public:
  virtual ~EngineProcess() = default;
  // Starts the program; false with the system's reason when it cannot be.
  virtual bool start(const std::string& program, std::string& error) = 0;
  // Sends one line.
  virtual void send(const std::string& line) = 0;
  // Ends the process and waits for it: it is never left running.
  virtual void end() = 0;
  virtual bool running() const = 0;
  // Arms the one deadline, in milliseconds from now; 0 disarms it.
  virtual void set_deadline(int milliseconds) = 0;
};

}  // namespace nirvex

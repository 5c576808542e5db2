// Game record files ("*.棋譜"): three header lines and one fixed-column
// line of 37 characters per move.  This part works on text that is already
// decoded to UTF-8 and split into lines; record_text.h adds the byte level
// (Shift_JIS or UTF-8, CR LF) and the files themselves.
//
// A move line, columns counted from 1, every number right-aligned in its
// field and padded with spaces on the left:
//
//    1-2  from_col        6-9   piece_after     18-22 lower_clock_before
//    3    from_row        10-13 piece_before    23-27 lower_clock_after
//    4    to_col          14-17 captured        28-32 upper_clock_before
//    5    to_row                                33-37 upper_clock_after
//
// piece_after comes before piece_before; clocks are whole seconds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"

namespace nirvex::record {

constexpr int move_line_width = 37;
// The widest value a five-column clock field holds.
constexpr int max_clock_seconds = 99999;
// No record file is anywhere near this size; anything larger is refused
// before it is read.
constexpr long long max_file_bytes = 1 << 20;

// The three header lines, in file order.
struct RecordHeader {
  std::string game_name;   // line 1
  std::string upper_name;  // line 2: the player of the upper side
  std::string lower_name;  // line 3: the player of the lower side
};

struct LoadedRecord {
  RecordHeader header;
  std::vector<MoveRecord> moves;
};

// Why a file was refused: the line (1-based; 0 for the file as a whole)
// and what is wrong with it, in the words shown to the player.
struct RecordFault {
  int line = 0;
  std::string text;
};

// The fault as shown to the player: "5行目: ..." or just the text.
std::string describe(const RecordFault& fault);

// A clock value as its field holds it: the whole seconds (rounded down),
// kept within 0..99999.
int clock_field_value(double seconds);

// One move as its 37-character line.  False (and `out` untouched) when a
// coordinate or code does not fit its field, which no game produces.
bool format_move_line(const MoveRecord& move, std::string& out);

// The whole file as UTF-8 text with CR LF line ends.  Header texts that
// would break the line structure (a line break inside) are refused, as is
// a move that cannot be written; `error` then says why.
bool compose_record(const RecordHeader& header, const MoveRecord* moves,
                    int count, std::string& text, std::string& error);

// Reads one move line.  False with the reason in `fault` (line left 0)
// when it is not exactly 37 characters of fields in range.
bool parse_move_line(std::string_view line, MoveRecord& move,
                     RecordFault& fault);

// Replays moves one by one on a scratch game from the initial position
// and checks that each one fits the position it is played on; see
// record_file.cpp for the list of checks.  `first_line` is the file line
// of moves[0], used to name the line of a fault.
bool check_moves(const std::vector<MoveRecord>& moves, int first_line,
                 RecordFault& fault);

// Checks, before a record is written, that it would load again: false
// with the reason in `error`, in the words shown to the player.
bool record_replays(const MoveRecord* moves, int count, std::string& error);

// A line of text that a record file may hold: no control characters but
// the tab.  Binary data fails here.
bool plain_text_line(std::string_view line);

// Reads a whole record from its lines (UTF-8, line ends removed): the
// header, then every move line, each checked in full.  Empty lines at the
// end of the file are ignored.  `out` is filled only when everything is
// sound.
bool parse_record_lines(const std::vector<std::string>& lines,
                        LoadedRecord& out, RecordFault& fault);

}  // namespace nirvex::record

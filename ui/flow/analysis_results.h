// What the record analysis ("棋譜解析") finds, as plain values the window
// reads: an evaluation of every position of the record, and for every move
// what it cost its mover, a mark by that cost and the engine's better move;
// for each side a summary.
#pragma once

#include <string>
#include <vector>


namespace nirvex {

// An engine's judgement of a position from the view of the side at the
// bottom of the board (the lower side): centipawns, or a forced mate.
struct Evaluation {
  int centipawns = 0;         // positive: good for the bottom side
  bool mate = false;          // a mate instead of centipawns
  int mate_plies = 0;         // plies to the mate; 0: it has happened
  bool bottom_mates = false;  // for a mate: the bottom side is the winner
  bool operator==(const Evaluation&) const = default;
};

// How bad a move was, by the winning chance it threw away.
enum class MoveMark { none, dubious, bad, blunder };

// One position of the record as the analysis found it.
struct AnalysedPosition {
  Evaluation evaluation;
  std::string best_usi, best_text;  // the best move here; empty: none
  std::vector<std::string> pv;      // the line the engine expects, in USI
  // Judged by the rules rather than the engine: the side to move can take
  // the king (the capture is its best move), or has lost its own.
  bool king_to_take = false;
  bool king_taken = false;
};

// One move of the record as the analysis judged it.
struct AnalysedMove {
  int ply = 0;         // its place in the record, from 1
  bool upper = false;  // made by the upper side
  std::string move_usi, move_text;  // the move: "6e6d", "６四歩"
  Evaluation evaluation;            // of the position after it
  // The engine's best move in the position before it.
  std::string best_usi, best_text;
  int loss_cp = 0;            // centipawns the move cost its mover
  double lost_chance = 0;     // winning chance it cost, 0..1
  MoveMark mark = MoveMark::none;
};

// One side's moves summed up.
struct SideSummary {
  int moves = 0;
  int dubious = 0, bad = 0, blunders = 0;
  double average_loss_cp = 0;
};

struct AnalysisResults {
  // Position k follows move k; position 0 is the record's first.
  std::vector<AnalysedPosition> positions;
  std::vector<AnalysedMove> moves;
  SideSummary lower, upper;
};

// How far an analysis is.
struct AnalysisProgress {
  int done = 0;    // positions evaluated
  int total = 0;   // positions in all: the moves and one
  double seconds_left = -1;  // an estimate; negative: not known yet
  bool operator==(const AnalysisProgress&) const = default;
};

// What the window shows of the analysis: whether it runs and how far it
// is, and the results while they belong to the record on the board.
struct AnalysisShown {
  bool running = false;
  AnalysisProgress progress;
  int first_number = 1;  // the move number of the record's first move
  // The players as the summary names them, each with the mark of its
  // moves in the list: "▲あなた", "△LEVEL3", "▲先手".
  std::string lower_name, upper_name;
  // Empty unless they belong to the record as it stands.
  AnalysisResults results;
};

// How long the engine looks at each position: a time, or a fixed depth.
struct AnalysisLimit {
  int move_time_ms = 500;  // 100 .. 10000
  int depth = 0;           // 1 .. 30 searches to this depth instead; 0: by time
};
inline constexpr int analysis_min_time_ms = 100;
inline constexpr int analysis_max_time_ms = 10000;
inline constexpr int analysis_max_depth = 30;

}  // namespace nirvex

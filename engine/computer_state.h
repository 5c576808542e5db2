// What the computer player keeps from the start of its turn to the end of
// its search: the board and the maps as they stood before any trial move,
// the best move found so far, and the facts about the move being tried
// that the scoring reads.  A default-constructed ComputerState is the state
// at program start: everything zero, no time of day.
#pragma once

#include <cstdio>
#include <string>

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex {

// One candidate of the computer as the search settled it: the move it
// would play (promoted or not) and the score it competes with.  A drop has
// from_col -1 and from_row the hand kind 1..6; piece_before and
// piece_after are then both the dropped code.
struct ComCandidate : Move {
  double score = 0;
  bool promoted() const { return promotes(); }
};

// The computer's choice: the best candidate, if any passed the rules.
struct ComMove : ComCandidate {
  bool found = false;
};

struct ComputerState {
  // The board as it stood when the computer's turn began.
  BoardArray board_backup{};
  // Flight squares of the lower king before the computer's move.
  int root_flight_count = 0;

  // The best candidate so far; the score keeps its fractions.
  double best_score = 0;
  ComMove best{};

  // The candidate being scored: the mover before promotion (the dropped
  // piece for a drop) and how far its origin lies from the lower king
  // (0 for a drop, which comes from nowhere).
  PieceCode moving_piece = 0;
  int origin_king_distance = 0;

  // Copies taken before any trial move, for comparing before and after.
  int root_upper_hand_total = 0;
  SquareMap root_lower_attacks{};
  SquareMap root_upper_attacks{};
  SquareMap root_upper_threat_x{};
  SquareMap root_upper_threat_y{};

  // The time of day as text, seconds since midnight ("45296.52"); the
  // opening choice of the strongest level reads its last character.
  std::string time_of_day;
};

// Seconds since midnight as text the way the clock shows them: at most
// seven significant digits, no trailing zeros ("45296.52", "7.5", "61").
inline std::string time_of_day_text(double seconds_since_midnight) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(static_cast<float>(seconds_since_midnight)));
  return text;
}

}  // namespace nirvex

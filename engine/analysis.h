// Everything the position analysis and the computer player keep between
// calls: the square maps rebuilt from the board, and the pin and
// bishop-drop tables of the computer's position tests.  The window owns one
// of these next to its GameState.  A default-constructed Analysis is the
// state at program start: every table zero.
#pragma once

#include <array>

namespace nirvex {

// A per-square table indexed [column][row], both 1..6; index 0 unused.
using SquareMap = std::array<std::array<int, 7>, 7>;

// Values the maps take at the start of every build, meaning "nobody".
constexpr int no_guard = 999;        // lower_guard, upper_guard
constexpr int no_upper_threat = 999;  // upper_threat
constexpr int no_lower_threat = -999; // lower_threat

// Marks of the check maps.
constexpr int check_piece = 9;    // a checking piece (and a knight's target king)
constexpr int check_between = 1;  // a square between a checking slider and the king

struct Analysis {
  // How many pieces of each side attack each square.
  SquareMap lower_attacks{};
  SquareMap upper_attacks{};

  // On a square holding a piece of the same side: the smallest recorded
  // code among that side's attackers.  Squares of the guard are kept from
  // build to build where no mover writes them.
  SquareMap lower_guard{};
  SquareMap upper_guard{};
  SquareMap upper_guard_x{};
  SquareMap upper_guard_y{};

  // On a square holding an enemy piece: the cheapest attacker's recorded
  // code and square.  The upper squares are kept from build to build where
  // no mover writes them; the lower ones are reset.
  SquareMap lower_threat{};
  SquareMap lower_threat_x{};
  SquareMap lower_threat_y{};
  SquareMap upper_threat{};
  SquareMap upper_threat_x{};
  SquareMap upper_threat_y{};

  // Check geometry against the opposing king: check_piece on a checker's
  // square, check_between on the squares a slider's check passes.
  SquareMap lower_check_map{};
  SquareMap upper_check_map{};

  // Lower pieces that shield their king from an upper slider.
  SquareMap lower_pinned{};
  // Some upper piece shields its king from a lower slider.
  bool upper_pin_found = false;
  // Empty squares where a dropped lower bishop would hit the upper king.
  SquareMap bishop_drop_danger{};
};

}  // namespace nirvex

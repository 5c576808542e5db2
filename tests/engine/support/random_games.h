// Positions reached by random play under the movement rules, from a fixed
// seed, for tests and benchmarks that want many ordinary positions.
#pragma once

#include <cstdint>
#include <vector>

#include "model/game_state.h"

namespace nirvex::testing {

// The part of a game that decides a position.
struct PlayedPosition {
  BoardArray board{};
  HandArray lower_hand{};
  HandArray upper_hand{};
  bool upper_to_move = false;

  // A fresh game standing at this position.
  GameState to_game() const;
};

// `count` positions from random games, each game starting at the initial
// position and ending when a king is taken or after `max_plies` moves.
// The same seed always gives the same positions.
std::vector<PlayedPosition> random_positions(int count, std::uint32_t seed, int max_plies = 80);

}  // namespace nirvex::testing

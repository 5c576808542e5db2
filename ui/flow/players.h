// Who plays the game, as records and summaries name them: against the
// computer "あなた" below and the level or the engine above; between two
// players "先手" and "後手".
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

struct PlayerNames {
  std::string lower, upper;
};

// The names of the player below and the player above.
PlayerNames player_names(const Game& game);

}  // namespace nirvex

#include "ui/flow/players.h"

#include "ui/flow/outside_engine.h"

namespace nirvex {

namespace {

// The outside engine's name as it gave it, else its program's file name.
std::string engine_name(const Game& game) {
  const OutsideEngine& e = game.engine;
  if (!e.identity.name.empty()) return e.identity.name;
  const std::string& program = e.choice.program;
  return program.substr(program.find_last_of('/') + 1);
}

}  // namespace

PlayerNames player_names(const Game& game) {
  const GameState& g = game.g;
  if (g.play_mode == mode_vs_computer)
    return {"あなた", engine_plays(game) ? engine_name(game) : "LEVEL" + std::to_string(g.level)};
  const bool lower_first = g.lower_side == g.first_side;
  return {lower_first ? "先手" : "後手", lower_first ? "後手" : "先手"};
}

}  // namespace nirvex

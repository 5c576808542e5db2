// Cost of one computer turn's engine work (the analysis before the move
// and the one-ply search) at each level, over fixed positions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/com_search.h"
#include "engine/square_maps.h"
#include "tests/engine/support/random_games.h"

namespace nirvex {
namespace {

// A position with the computer to move, the maps built as after the
// human's move.
struct Turn {
  std::unique_ptr<GameState> game;
  Analysis maps;
  ComputerState computer;
};

Turn make_turn(const GameState& g, int level) {
  Turn t{std::make_unique<GameState>(g), Analysis{}, ComputerState{}};
  t.game->level = level;
  t.game->turn = t.game->upper_side;
  t.computer.time_of_day = "45296.59";
  build_square_maps(*t.game, t.maps);
  return t;
}

// The opening position, the computer moving first.
std::vector<Turn> opening_turns(int level) {
  GameState g;
  new_game(g);
  std::vector<Turn> out;
  out.push_back(make_turn(g, level));
  return out;
}

// Positions from random play (always the same) with the computer to move
// and no lower king to take: full searches, drops included where the
// upper hand holds pieces.
std::vector<Turn> middle_game_turns(int level) {
  std::vector<Turn> out;
  for (const auto& p : testing::random_positions(400, 2024u, 60)) {
    if (!p.upper_to_move) continue;
    Turn t = make_turn(p.to_game(), level);
    if (t.maps.upper_attacks[t.game->lower_king_x][t.game->lower_king_y] > 0) continue;
    out.push_back(std::move(t));
    if (out.size() == 32) break;
  }
  return out;
}

// One prepare_com_turn and search_com_move per position and iteration.
void run_turns(benchmark::State& state, std::vector<Turn>& turns) {
  for (auto _ : state)
    for (Turn& t : turns) {
      prepare_com_turn(*t.game, t.maps, t.computer);
      const ComMove m = search_com_move(*t.game, t.maps, t.computer, {});
      benchmark::DoNotOptimize(m);
    }
  state.counters["positions"] = static_cast<double>(turns.size());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(turns.size()));
}

void BM_SearchOpening(benchmark::State& state) {
  auto turns = opening_turns(static_cast<int>(state.range(0)));
  run_turns(state, turns);
}
BENCHMARK(BM_SearchOpening)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

void BM_SearchMiddleGame(benchmark::State& state) {
  auto turns = middle_game_turns(static_cast<int>(state.range(0)));
  run_turns(state, turns);
}
BENCHMARK(BM_SearchMiddleGame)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nirvex

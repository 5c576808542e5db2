// Cost of the square maps and of the two mate tests over a fixed set of
// positions from random play (the same seed every run).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "model/rules.h"
#include "tests/engine/support/random_games.h"

namespace nirvex {
namespace {

constexpr int position_count = 512;

// A prepared position: the game with its pawn tables and fresh maps.
struct Prepared {
  std::unique_ptr<GameState> game;
  Analysis maps;
};

// The fixed positions, or only those where the given king is in check
// (the positions where a mate test does real work).
std::vector<Prepared> prepare(int which_check) {
  std::vector<Prepared> out;
  for (const auto& p : testing::random_positions(position_count, 7u)) {
    Prepared prep{std::make_unique<GameState>(p.to_game()), Analysis{}};
    GameState& g = *prep.game;
    mark_pawn_columns(g);
    build_square_maps(g, prep.maps);
    const bool lower_checked = prep.maps.upper_attacks[g.lower_king_x][g.lower_king_y] > 0;
    const bool upper_checked = prep.maps.lower_attacks[g.upper_king_x][g.upper_king_y] > 0;
    if (which_check == 0 || (which_check < 0 && lower_checked) ||
        (which_check > 0 && upper_checked))
      out.push_back(std::move(prep));
  }
  return out;
}

// build_square_maps over every position.
void BM_BuildSquareMaps(benchmark::State& state) {
  auto positions = prepare(0);
  for (auto _ : state)
    for (auto& p : positions) {
      build_square_maps(*p.game, p.maps);
      benchmark::DoNotOptimize(p.maps.lower_attacks);
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(positions.size()));
  state.counters["positions"] = static_cast<double>(positions.size());
}
BENCHMARK(BM_BuildSquareMaps);

// upper_side_mated over every position.
void BM_UpperSideMated(benchmark::State& state) {
  auto positions = prepare(static_cast<int>(state.range(0)));
  for (auto _ : state)
    for (auto& p : positions) benchmark::DoNotOptimize(upper_side_mated(*p.game, p.maps));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(positions.size()));
  state.counters["positions"] = static_cast<double>(positions.size());
}
BENCHMARK(BM_UpperSideMated)->Arg(0)->Arg(1)->ArgName("only_checked");

// lower_side_mated over every position.
void BM_LowerSideMated(benchmark::State& state) {
  auto positions = prepare(-static_cast<int>(state.range(0)));
  for (auto _ : state)
    for (auto& p : positions) benchmark::DoNotOptimize(lower_side_mated(*p.game, p.maps));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(positions.size()));
  state.counters["positions"] = static_cast<double>(positions.size());
}
BENCHMARK(BM_LowerSideMated)->Arg(0)->Arg(1)->ArgName("only_checked");

}  // namespace
}  // namespace nirvex

// The record analysis of a 60-move game at depth 10 with Fairy-Stockfish,
// beside the engine's own time for the same 61 positions spoken to it
// directly: what the conversation, the checks and the judging add.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <random>
#include <sstream>
#include <vector>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tests/engine/support/engine_pipe.h"
#include "tools/usi/console_analysis.h"

namespace nirvex {
namespace {

constexpr int plies = 60;
constexpr int depth = 10;

// A game of `plies` random moves that engines take (no king left to be
// taken, no mate by a pawn drop), from a fixed seed.
GameState sixty_move_game() {
  for (std::uint32_t seed = 1;; ++seed) {
    std::mt19937 rng(seed);
    GameState g;
    std::string error;
    read_sfen(start_sfen, g, error);
    for (int ply = 0; ply < plies; ++ply) {
      const bool upper = g.turn == g.upper_side;
      mark_pawn_columns(g);
      std::vector<RuleMove> taken;
      for (const RuleMove& m : list_rule_moves(g, upper)) {
        GameState after = g;
        apply_move(after, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
        if (!engine_refuses_move(after, m) && !king_attacked(after, !upper)) taken.push_back(m);
      }
      if (taken.empty()) break;
      play_rule_move(g, taken[std::uniform_int_distribution<size_t>(0, taken.size() - 1)(rng)]);
      g.turn = -g.turn;
    }
    if (g.record_len == plies) return g;
  }
}

// Is Fairy-Stockfish there to be asked?
bool fairy_available() {
  const std::string program = NIRVEX_FAIRY_STOCKFISH;
  return !program.empty() && access(program.c_str(), X_OK) == 0;
}

// Reads the engine's lines up to one that starts with `prefix`.
void read_until(testing::EnginePipe& engine, const std::string& prefix) {
  std::string line;
  while (engine.read_line(line))
    if (line.rfind(prefix, 0) == 0) return;
}

// The engine alone: started, told the variant, and asked about every
// position of the game with the commands the analysis sends.
void BM_EngineAlone(benchmark::State& state) {
  if (!fairy_available()) return state.SkipWithError("fairy-stockfish is not installed");
  const GameState game = sixty_move_game();
  std::vector<std::string> moves;
  for (int i = 1; i <= plies; ++i) moves.push_back(recorded_move_text(game.move_records[i]));
  for (auto _ : state) {
    testing::EnginePipe fsf(NIRVEX_FAIRY_STOCKFISH);
    fsf.send("usi");
    read_until(fsf, "usiok");
    fsf.send(std::string("setoption name UCI_Variant value ") + usi_variant);
    fsf.send("isready");
    read_until(fsf, "readyok");
    fsf.send("usinewgame");
    for (int k = 0; k <= plies; ++k) {
      fsf.send(position_command(std::string(start_sfen),
                                std::vector<std::string>(moves.begin(), moves.begin() + k)));
      fsf.send(go_depth_command(depth));
      read_until(fsf, "bestmove");
    }
  }
  state.counters["positions"] = plies + 1;
}
BENCHMARK(BM_EngineAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The whole analysis as the console runs it: its own process, the checks
// of every answer, the judging of every move.
void BM_RecordAnalysis(benchmark::State& state) {
  if (!fairy_available()) return state.SkipWithError("fairy-stockfish is not installed");
  const GameState game = sixty_move_game();
  AnalysisLimit limit;
  limit.depth = depth;
  for (auto _ : state) {
    std::ostringstream out;
    analyse_record(game, NIRVEX_FAIRY_STOCKFISH, limit, out);
    if (out.str().find("analysis done") == std::string::npos)
      return state.SkipWithError(("the analysis failed: " + out.str()).c_str());
  }
  state.counters["positions"] = plies + 1;
}
BENCHMARK(BM_RecordAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace nirvex

BENCHMARK_MAIN();

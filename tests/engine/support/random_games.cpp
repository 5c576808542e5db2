#include "tests/engine/support/random_games.h"

#include <memory>
#include <random>

#include "engine/move_list.h"
#include "model/rules.h"

namespace nirvex::testing {

// Board, hands, kings and side to move of a fresh game.
GameState PlayedPosition::to_game() const {
  GameState g;
  g.board = board;
  g.lower_hand = lower_hand;
  g.upper_hand = upper_hand;
  count_hand_totals(g);
  locate_kings(g);
  g.turn = upper_to_move ? g.upper_side : g.lower_side;
  return g;
}

// Plays random legal moves game after game until enough positions.
std::vector<PlayedPosition> random_positions(int count, std::uint32_t seed, int max_plies) {
  std::mt19937 rng(seed);
  std::vector<PlayedPosition> out;
  auto game = std::make_unique<GameState>();
  while (static_cast<int>(out.size()) < count) {
    *game = GameState{};
    new_game(*game);
    bool upper = false;
    for (int ply = 0; ply < max_plies && static_cast<int>(out.size()) < count; ++ply) {
      mark_pawn_columns(*game);
      const std::vector<RuleMove> moves = list_rule_moves(*game, upper);
      if (moves.empty()) break;
      play_rule_move(*game, moves[rng() % moves.size()]);
      upper = !upper;
      if (game->winner != side_none) break;
      out.push_back({game->board, game->lower_hand, game->upper_hand, upper});
    }
  }
  return out;
}

}  // namespace nirvex::testing

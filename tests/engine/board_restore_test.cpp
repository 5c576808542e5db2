// Over many positions from random play: the tests that try moves on the
// real board put it back exactly, and leave the maps describing it.
#include <gtest/gtest.h>

#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"
#include "tests/engine/support/random_games.h"

namespace nirvex {
namespace {

using testing::expect_same_position_maps;
using testing::random_positions;

constexpr int position_count = 3000;

// Everything of the game that the analysis might touch by mistake.
void expect_same_game(const GameState& before, const GameState& after, int index) {
  EXPECT_EQ(after.board, before.board) << "position " << index;
  EXPECT_EQ(after.lower_hand, before.lower_hand) << "position " << index;
  EXPECT_EQ(after.upper_hand, before.upper_hand) << "position " << index;
  EXPECT_EQ(after.lower_hand_total, before.lower_hand_total) << "position " << index;
  EXPECT_EQ(after.upper_hand_total, before.upper_hand_total) << "position " << index;
  EXPECT_EQ(after.lower_king_x, before.lower_king_x) << "position " << index;
  EXPECT_EQ(after.lower_king_y, before.lower_king_y) << "position " << index;
  EXPECT_EQ(after.upper_king_x, before.upper_king_x) << "position " << index;
  EXPECT_EQ(after.upper_king_y, before.upper_king_y) << "position " << index;
}

TEST(BoardRestore, TrialMovesLeaveBoardAndMapsAsTheyWere) {
  const auto positions = random_positions(position_count, 20240611u);
  int upper_mates = 0, lower_mates = 0, upper_checks = 0, lower_checks = 0;
  for (int i = 0; i < static_cast<int>(positions.size()); ++i) {
    auto g = std::make_unique<GameState>(positions[i].to_game());
    Analysis a;
    mark_pawn_columns(*g);
    build_square_maps(*g, a);
    auto before = std::make_unique<GameState>(*g);
    const Analysis maps = a;

    lower_checks += a.upper_attacks[g->lower_king_x][g->lower_king_y] > 0;
    lower_mates += lower_side_mated(*g, a) == flag_on;
    expect_same_game(*before, *g, i);
    EXPECT_TRUE(a.lower_attacks == maps.lower_attacks && a.upper_guard_x == maps.upper_guard_x &&
                a.upper_check_map == maps.upper_check_map)
        << "position " << i;

    mark_pinned_pieces(*g, a);
    expect_same_game(*before, *g, i);
    expect_same_position_maps(maps, a, "mark_pinned_pieces, position " + std::to_string(i));

    upper_checks += a.lower_attacks[g->upper_king_x][g->upper_king_y] > 0;
    upper_mates += upper_side_mated(*g, a) == flag_on;
    expect_same_game(*before, *g, i);
    expect_same_position_maps(maps, a, "upper_side_mated, position " + std::to_string(i));
    if (::testing::Test::HasFailure()) break;
  }
  // The random games must reach the interesting paths, not only quiet
  // positions.
  EXPECT_GT(lower_checks, 100);
  EXPECT_GT(upper_checks, 100);
  EXPECT_GT(lower_mates, 5);
  EXPECT_GT(upper_mates, 5);
  std::cout << "checks on the lower king " << lower_checks << ", mates " << lower_mates
            << "; checks on the upper king " << upper_checks << ", mates " << upper_mates
            << " in " << positions.size() << " positions\n";
}

}  // namespace
}  // namespace nirvex

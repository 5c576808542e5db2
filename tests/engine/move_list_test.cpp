// Every move the rules allow one side.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/move_list.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::give;
using testing::put;

// USI texts of the moves, in order.
std::vector<std::string> texts(const std::vector<RuleMove>& moves) {
  std::vector<std::string> out;
  for (const RuleMove& m : moves) out.push_back(move_text(m));
  return out;
}

TEST(MoveList, InitialPositionHasTwentyMovesEachSide) {
  GameState g;
  new_game(g);
  mark_pawn_columns(g);
  EXPECT_EQ(list_rule_moves(g, false).size(), 20u);
  EXPECT_EQ(list_rule_moves(g, true).size(), 20u);
}

TEST(MoveList, PromotionBothWaysOrForced) {
  GameState g = empty_game();
  put(g, 3, 3, -20);   // to row 2: may promote or not
  put(g, 5, 2, -20);   // to row 1: must promote
  put(g, 1, 1, 30);    // upper knight: from row 1 it lands on row 3
  mark_pawn_columns(g);
  const auto lower = texts(list_rule_moves(g, false));
  EXPECT_EQ(lower, (std::vector<std::string>{"4c4b", "4c4b+", "2b2a+"}));
  put(g, 1, 3, 30);    // from row 3 it lands on row 5 and must promote
  const auto upper = texts(list_rule_moves(g, true));
  EXPECT_EQ(upper, (std::vector<std::string>{"6a5c", "6c5e+"}));
}

TEST(MoveList, DropsFromTheRightHand) {
  GameState g = empty_game();
  put(g, 2, 3, -20);
  give(g, false, 1);
  give(g, true, 5);
  mark_pawn_columns(g);
  const auto lower = list_rule_moves(g, false);
  // 6 columns, minus the pawn's own column; rows 2..6 minus occupied squares.
  const auto drops = std::count_if(lower.begin(), lower.end(), [](const RuleMove& m) {
    return m.from_col == lower_hand_col && m.from_row == 1;
  });
  EXPECT_EQ(drops, 25);
  const auto upper = list_rule_moves(g, true);
  EXPECT_EQ(upper.size(), 35u);
  EXPECT_EQ(upper.front(), (RuleMove{-1, 5, 1, 1, 800, 800}));
}

}  // namespace
}  // namespace nirvex

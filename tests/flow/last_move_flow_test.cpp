// The last move's tint as the flow paints it on the fake window: which
// squares and hand slots carry it after each kind of move, a step, a new
// game, a flip and the menu item.
#include <gtest/gtest.h>

#include "tests/flow/fake_form.h"
#include "ui/flow/last_move_mark.h"
#include "ui/flow/preferences.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

using Cells = std::set<std::pair<int, int>>;

TEST(LastMoveFlow, EachMoveTintsItsSquaresAndTheStepsMoveTheTint) {
  FlowFixture f;
  START_Click(f.game);
  EXPECT_TRUE(f.tinted_cells().empty());
  f.move(1, 5, 1, 4);
  EXPECT_EQ(f.tinted_cells(), (Cells{{1, 5}, {1, 4}}));
  EXPECT_EQ(f.form.tint_colour, colour_last_move_tint);
  f.move(6, 2, 6, 3);
  EXPECT_EQ(f.tinted_cells(), (Cells{{6, 2}, {6, 3}}));

  REPLAY_Click(f.game);
  EXPECT_EQ(f.tinted_cells(), (Cells{{1, 5}, {1, 4}}));
  REPLAY_Click(f.game);
  EXPECT_TRUE(f.tinted_cells().empty());
  AFTER_Click(f.game);
  AFTER_Click(f.game);
  EXPECT_EQ(f.tinted_cells(), (Cells{{6, 2}, {6, 3}}));

  // A new background repaints everything, the tint with it.
  background_Click(f.game, background_space);
  EXPECT_EQ(f.tinted_cells(), (Cells{{6, 2}, {6, 3}}));
  // The half turn turns the mark with the board.
  REVERSE_Click(f.game);
  EXPECT_EQ(f.tinted_cells(), (Cells{{1, 5}, {1, 4}}));
  CANCEL_Click(f.game);
  EXPECT_TRUE(f.tinted_cells().empty());
}

TEST(LastMoveFlow, TheComputersMoveAndADropFromTheHand) {
  FlowFixture f;
  SENTE_Click(f.game);
  f.move(1, 5, 1, 4);  // the computer's rook takes the pawn with check
  ASSERT_EQ(f.game.g.board[1][4], code_rook);
  EXPECT_EQ(f.tinted_cells(), (Cells{{1, 1}, {1, 4}}));

  // The player's king takes the rook and drops it back from the hand.
  FlowFixture drop;
  START_Click(drop.game);
  drop.move(1, 5, 1, 4);
  drop.move(1, 1, 1, 4);   // the upper rook takes the pawn
  drop.move(2, 6, 1, 5);   // the lower gold steps up
  drop.move(1, 4, 2, 4);   // the rook steps aside
  drop.move(1, 5, 1, 4);   // the gold steps up again
  drop.move(-1, 6, 1, 2);  // the upper pawn dropped from its hand
  ASSERT_EQ(drop.game.g.board[1][2], code_pawn);
  EXPECT_EQ(drop.tinted_cells(), (Cells{{-1, 6}, {1, 2}}));
  // Turned, the upper hand's pawn slot is the lower hand's.
  REVERSE_Click(drop.game);
  EXPECT_EQ(drop.tinted_cells(), (Cells{{8, 1}, {6, 5}}));
}

TEST(LastMoveFlow, TheMenuItemTakesTheTintAwayAndBringsItBack) {
  FlowFixture f;
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  SAISYUTE_Click(f.game);
  EXPECT_FALSE(f.form.checked("SAISYUTE"));
  EXPECT_EQ(f.settings.file.last_move_tint, false);
  EXPECT_TRUE(f.tinted_cells().empty());
  f.move(6, 2, 6, 3);
  EXPECT_TRUE(f.tinted_cells().empty());
  SAISYUTE_Click(f.game);
  EXPECT_EQ(f.tinted_cells(), (Cells{{6, 2}, {6, 3}}));
}

}  // namespace
}  // namespace nirvex::testing

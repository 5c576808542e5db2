// Play against the computer: the human's moves, the mate test after them
// and the end of the game.
#include "tests/ui/window_fixture.h"

namespace nirvex::testing {
namespace {

class VsComputer : public WindowTest {
 protected:
  // A running game against the computer with the human (lower side) to
  // move, on an empty board with only the two kings.
  void bare_kings() {
    start();
    w->g.play_mode = mode_vs_computer;
    w->g.lower_side = w->g.first_side;
    w->g.upper_side = w->g.second_side;
    w->g.turn = w->g.lower_side;
    for (auto& col : w->g.board) col.fill(0);
    w->g.board[6][1] = 950;
    w->g.board[1][6] = -950;
    w->redraw_all();
  }
};

TEST_F(VsComputer, MatingTheComputersKingWinsTheGame) {
  bare_kings();
  w->g.board[5][3] = -100;  // guards the gold's square
  w->g.board[6][3] = -110;
  dialogs.answers = {MsgAnswer::yes};
  move(6, 3, 6, 2);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("あなたの勝ちです"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("終了"));
  EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("続けますか？"));
  EXPECT_EQ(w->g.turn, side_none);  // a new game waits to be started
}

TEST_F(VsComputer, TakingTheComputersKingWinsEvenWithoutMate) {
  bare_kings();
  w->g.board[6][3] = -900;
  dialogs.answers = {MsgAnswer::no};
  move(6, 3, 6, 1);
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("あなたの勝ちです"));
  EXPECT_EQ(ended, 1);
}

TEST_F(VsComputer, ACheckThatIsNoMateHandsTheTurnOver) {
  bare_kings();
  w->g.board[6][4] = -900;  // the king can step aside
  move(6, 4, 6, 3);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(w->g.board[6][3], -900);
  EXPECT_FALSE(w->timer_running());
  EXPECT_EQ(w->g.move_number, w->g.turn == w->g.upper_side ? 1 : 2);
}

}  // namespace
}  // namespace nirvex::testing

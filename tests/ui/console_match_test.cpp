// The window, driven by clicks through its real mouse handler, and the
// console tool's game mode play the same computer moves: both are the one
// game flow.  Seeded whole games at every level, the player first and
// second.
#include <random>
#include <sstream>

#include "engine/move_list.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tests/ui/window_fixture.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"
#include "tests/engine/support/console_lines.h"

namespace nirvex::testing {
namespace {

std::vector<std::string> console(UsiSession& s, const std::string& line) { return console_lines(s, line); }

std::string bestmove_of(const std::vector<std::string>& lines) {
  for (const std::string& l : lines)
    if (l.starts_with("bestmove ")) return l.substr(9);
  return {};
}

class ConsoleMatch : public WindowTest {
 protected:
  // The same position, hands, record and side to move in both.
  void expect_same_game(const GameState& c, int ply) {
    const GameState& g = w->g;
    ASSERT_EQ(g.board, c.board) << "ply " << ply;
    ASSERT_EQ(g.lower_hand, c.lower_hand) << "ply " << ply;
    ASSERT_EQ(g.upper_hand, c.upper_hand) << "ply " << ply;
    ASSERT_EQ(g.record_pos, c.record_pos) << "ply " << ply;
    ASSERT_EQ(g.turn, c.turn) << "ply " << ply;
  }

  // The player's move by clicks on the window: the hand slot or the
  // piece, then the square; the right button for a promotion.
  void click_move(const RuleMove& m) {
    click(m.from_col, m.from_row);  // the lower hand lists kind k in row k
    click(m.to_col, m.to_row, m.promotes() ? Qt::RightButton : Qt::LeftButton);
  }
};

TEST_F(ConsoleMatch, TheWindowAndTheConsolePlayTheSameComputerMoves) {
  int games = 0, computer_moves = 0;
  for (int level = 1; level <= 3; ++level)
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
      const bool sente = seed % 2 == 1;
      start();
      clock.advance_on_pause = false;
      trigger(level == 1 ? "LEVEL1" : level == 2 ? "LEVEL2" : "LEVEL3");
      trigger(sente ? "SENTE" : "GOTE");

      UsiSession s;
      console(s, "setoption name Level value " + std::to_string(level));
      console(s, "setoption name TimeOfDay value 36000");
      const std::vector<std::string> first = console(s, sente ? "newgame sente" : "newgame gote");
      if (!sente) {
        ASSERT_EQ(bestmove_of(first), move_text(w->game.last_com_move));
      }
      expect_same_game(s.console_game()->game().g, 0);

      std::mt19937 rng(seed * 31 + level);
      for (int ply = 1; ply <= 80; ++ply) {
        GameState g = w->g;
        mark_pawn_columns(g);
        const std::vector<RuleMove> moves = list_rule_moves(g, false);
        ASSERT_FALSE(moves.empty());
        const RuleMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
        const int com_turns = w->game.com_turns;
        dialogs.shown.clear();
        click_move(m);
        const std::vector<std::string> out = console(s, "play " + move_text(m));
        if (w->g.turn == side_none) {
          // Someone won; both said so, and both start afresh.
          EXPECT_FALSE(out.empty());
          EXPECT_TRUE(out.back().starts_with("info string winner ")) << out.back();
          EXPECT_EQ(s.console_game()->game().g.turn, side_none);
          break;
        }
        ASSERT_EQ(w->game.com_turns, com_turns + 1);
        ASSERT_EQ(bestmove_of(out), move_text(w->game.last_com_move)) << "ply " << ply;
        ++computer_moves;
        expect_same_game(s.console_game()->game().g, ply);
      }
      ++games;
      w.reset();
    }
  EXPECT_EQ(games, 18);
  EXPECT_GT(computer_moves, 60);
}

}  // namespace
}  // namespace nirvex::testing

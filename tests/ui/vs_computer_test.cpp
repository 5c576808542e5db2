// Play against the computer: the human's moves, the mate test after them
// and the end of the game.
#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "model/rules.h"
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
    redraw_all(w->game);
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

TEST_F(WindowTest, GoteLetsTheComputerMoveFirst) {
  start();
  trigger("GOTE");
  EXPECT_EQ(w->g.play_mode, mode_vs_computer);
  EXPECT_EQ(w->g.lower_side, w->g.second_side);
  EXPECT_EQ(w->g.upper_side, w->g.first_side);
  EXPECT_EQ(w->g.move_number, 1);
  EXPECT_EQ(w->g.record_len, 1);
  const MoveRecord& r = w->g.move_records[1];
  EXPECT_GE(r.piece_before, 20);  // one of the computer's pieces
  EXPECT_EQ(w->g.board[r.to_col][r.to_row], r.piece_after);
  EXPECT_EQ(w->g.turn, w->g.lower_side);
  EXPECT_EQ(played_names(), QStringList{"piece"});
  EXPECT_TRUE(dialogs.shown.empty());
  // The computer's move is shown under its hand, framed in white.
  const QStringList shown = w->canvas.texts_in(-1.7, 8.3, -0.55, 8.45);
  ASSERT_GE(shown.size(), 4);
  EXPECT_EQ(shown.front(), QStringLiteral("思考中"));  // while it thought
  EXPECT_EQ(shown.mid(shown.size() - 3),
            (QStringList{QString::fromStdString(piece_text(7 - r.to_col)),
                         QString::fromStdString(piece_text(1000 + r.to_row)),
                         QString::fromStdString(piece_text(r.piece_after))}));
  EXPECT_EQ(w->canvas.frame_at(r.to_col, r.to_row), colour_text);
  // The level is shown while playing the computer.
  EXPECT_FALSE(w->canvas.texts_in(-1.6, 0, 0.2, 0.3).isEmpty());
}

TEST_F(WindowTest, SenteWaitsForTheHumanThenTheComputerAnswers) {
  start();
  trigger("SENTE");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("MANの番です"));
  EXPECT_EQ(last_message().title, QStringLiteral(" "));
  EXPECT_EQ(w->g.lower_side, w->g.first_side);
  EXPECT_EQ(w->g.turn, w->g.lower_side);
  EXPECT_TRUE(w->timer_running());  // the turn is always timed
  clock.time += 4;
  Timer1_Timer(w->game);
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.move_number, 2);
  EXPECT_EQ(w->g.turn, w->g.lower_side);
  EXPECT_DOUBLE_EQ(w->g.move_records[1].lower_clock_after, 4);
  EXPECT_DOUBLE_EQ(w->g.lower_time_total, 4);
  const MoveRecord& r = w->g.move_records[2];
  EXPECT_GE(r.piece_before, 20);
  // The computer's own time: the pauses it took while thinking.
  EXPECT_DOUBLE_EQ(r.lower_clock_before, r.lower_clock_after);
  EXPECT_GT(r.upper_clock_after, r.upper_clock_before);
  EXPECT_DOUBLE_EQ(w->g.upper_time_total, r.upper_clock_after);
}

TEST_F(WindowTest, SenteWithTheComputerToMoveMovesAtOnce) {
  start();
  trigger("START");
  move(1, 5, 1, 4);  // now the upper side is to move
  dialogs.shown.clear();
  trigger("SENTE");
  // No "MANの番です": only the computer's check on the open file.
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("   ** 王手 **"));
  EXPECT_EQ(w->g.move_number, 2);
  EXPECT_EQ(w->g.turn, w->g.lower_side);
}

TEST_F(WindowTest, ClickWhileTheComputerHasTheMoveLetsItMoveFirst) {
  start();
  trigger("START");
  move(1, 5, 1, 4);
  w->g.play_mode = mode_vs_computer;  // as after stepping a record
  dialogs.shown.clear();
  click(2, 6);  // the lower gold
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("OKですか？"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("再開(COM)"));
  // The rook takes the pawn in front of the king: a check, announced.
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("   ** 王手 **"));
  EXPECT_EQ(w->g.board[1][4], 900);
  EXPECT_EQ(w->g.move_number, 2);
  // The same click then picked the gold.
  EXPECT_EQ(w->g.pick_state, 1);
  EXPECT_EQ(w->g.pick_piece, -110);
}

TEST_F(VsComputer, TheComputerTakesAnUnguardedKingAndWins) {
  bare_kings();
  w->g.board[1][6] = 0;
  w->g.board[3][3] = -950;
  w->g.board[3][1] = 900;  // the upper rook looks down the file
  w->g.turn = w->g.upper_side;
  dialogs.answers = {MsgAnswer::yes};
  com_ban(w->game);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ｺﾝﾋﾟｭｰﾀの勝ちです"));
  EXPECT_EQ(w->g.turn, side_none);
}

TEST_F(VsComputer, TheComputersCheckIsAnnounced) {
  bare_kings();
  // Only the rook can move usefully: every rook move but one leaves
  // the king where the rook can no longer reach.  Whatever it picks, a
  // check is announced with three leading blanks and no title.
  w->g.board[1][6] = 0;
  w->g.board[4][6] = -950;
  w->g.board[5][5] = -20;
  w->g.board[1][2] = 900;
  w->g.turn = w->g.upper_side;
  com_ban(w->game);
  const int kx = w->g.lower_king_x, ky = w->g.lower_king_y;
  build_square_maps(w->g, w->game.analysis);
  if (w->game.analysis.upper_attacks[kx][ky] > 0 && lower_side_mated(w->g, w->game.analysis) == flag_off) {
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(last_message().text, QStringLiteral("   ** 王手 **"));
    EXPECT_EQ(last_message().title, QString());
  }
  for (const auto& m : dialogs.shown) EXPECT_NE(m.text, QStringLiteral("よし！!"));
}

TEST_F(VsComputer, MateByTheComputerSaysSoAndTheGameGoesOn) {
  bare_kings();
  // The lower king in the corner behind its own pawn; an upper gold
  // dropped or moved in front of it with support mates.
  w->g.board[1][6] = -950;
  w->g.board[1][4] = 110;
  w->g.board[2][4] = 100;
  w->g.turn = w->g.upper_side;
  com_ban(w->game);
  build_square_maps(w->g, w->game.analysis);
  if (lower_side_mated(w->g, w->game.analysis) == flag_on) {
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("よし！!"));
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("詰め ?"));
    EXPECT_EQ(w->g.turn, w->g.lower_side);  // the human still has to move
  }
}

// A whole game by clicks: the human plays the first legal move it finds,
// the computer answers, at every level, until someone wins.
TEST_F(WindowTest, WholeGamesAgainstTheComputerAtEveryLevel) {
  for (int level = 1; level <= 3; ++level) {
    start();
    trigger(level == 1 ? "LEVEL1" : level == 2 ? "LEVEL2" : "LEVEL3");
    dialogs.answers = {MsgAnswer::no};
    trigger("SENTE");
    int moves = 0;
    while (ended == 0 && w->g.turn == w->g.lower_side && moves < 150) {
      bool moved = false;
      for (int x = 1; x <= 6 && !moved; ++x)
        for (int y = 1; y <= 6 && !moved; ++y) {
          if (!is_lower_piece(w->g.board[x][y])) continue;
          for (int tx = 1; tx <= 6 && !moved; ++tx)
            for (int ty = 1; ty <= 6 && !moved; ++ty) {
              if (is_legal_move(w->g, x, y, tx, ty, w->g.board[x][y]) != flag_on) continue;
              const int before = w->g.move_number;
              move(x, y, tx, ty, Qt::RightButton);
              moved = w->g.move_number != before || ended != 0 || w->g.turn != w->g.lower_side;
            }
        }
      ASSERT_TRUE(moved) << "no move for the human at level " << level;
      ++moves;
    }
    EXPECT_TRUE(ended == 1 || moves == 150) << level;
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("続けますか？"));
    ended = 0;
    w.reset();
  }
}

}  // namespace
}  // namespace nirvex::testing

// Scores of single candidate moves, worked out by hand, level by level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "engine/com_search.h"
#include "engine/scoring.h"
#include "engine/square_maps.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::give;
using testing::put;

// Scores one candidate as the search does: the turn is prepared on the
// position (maps built as after the human's move), the move is played,
// the maps rebuilt, the move scored and taken back.  A drop has from_col
// -1 and from_row the hand kind.
double score_candidate(GameState g, int level, int fx, int fy, int tx, int ty, PieceCode after,
                       const std::string& time = "45296.52") {
  g.level = level;
  Analysis a;
  ComputerState c;
  c.time_of_day = time;
  build_square_maps(g, a);
  prepare_com_turn(g, a, c);
  const bool drop = fx == upper_hand_col;
  c.moving_piece = drop ? hand_kind_code(fy, true) : g.board[fx][fy];
  c.origin_king_distance =
      drop ? 0 : std::max(std::abs(g.lower_king_x - fx), std::abs(g.lower_king_y - fy));
  const PieceCode captured = g.board[tx][ty];
  if (!drop) g.board[fx][fy] = 0;
  g.board[tx][ty] = after;
  build_square_maps(g, a);
  return score_move(g, a, c, captured, after, fx, fy, tx, ty);
}

// Upper king on (6,1), lower king on (1,6), nothing else.
GameState kings_apart() {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  return g;
}

TEST(ComputerScoring, TakingTheKingScores9999) {
  GameState g = kings_apart();
  put(g, 1, 1, 900);
  put(g, 6, 5, -900);  // the upper king is attacked, which does not matter
  for (int level = 1; level <= 3; ++level)
    EXPECT_EQ(score_candidate(g, level, 1, 1, 1, 6, 900), 9999);
}

TEST(ComputerScoring, LeavingTheKingAttackedScoresMinus9998) {
  GameState g = kings_apart();
  put(g, 6, 2, 110);
  put(g, 6, 5, -900);
  put(g, 2, 3, 900);
  for (int level = 1; level <= 3; ++level) {
    EXPECT_EQ(score_candidate(g, level, 6, 2, 5, 3, 110), -9998);
  }
  // Even when the move gives check.
  g.board[6][2] = 0;
  for (int level = 1; level <= 3; ++level)
    EXPECT_EQ(score_candidate(g, level, 2, 3, 1, 3, 900), -9998);
}

// Lower king cornered on (1,6); an upper silver on (2,4) covers (1,5) and
// (2,5), an upper knight on (1,4) covers (2,6).
GameState corner_mate() {
  GameState g = kings_apart();
  put(g, 2, 4, 100);
  put(g, 1, 4, 30);
  give(g, true, 1);
  give(g, true, 4);
  return g;
}

TEST(ComputerScoring, MateScores9998ButPawnDropMateMinus9998) {
  GameState g = corner_mate();
  for (int level = 1; level <= 3; ++level) {
    EXPECT_EQ(score_candidate(g, level, -1, 4, 1, 5, 110), 9998);
    EXPECT_EQ(score_candidate(g, level, -1, 1, 1, 5, 20), -9998);
  }
}

// A rook from (3,3) to (1,3) checks along the empty first column.
TEST(ComputerScoring, RookCheckByLevel) {
  GameState g = kings_apart();
  put(g, 3, 3, 900);
  // Level 1: +10 unattacked checker, +0.1 the king as a fork target.
  EXPECT_NEAR(score_candidate(g, 1, 3, 3, 1, 3, 900), 10.1, 1e-9);
  // Level 2: +1 for taking the flight (1,5); no approach (3 is not above 3).
  EXPECT_NEAR(score_candidate(g, 2, 3, 3, 1, 3, 900), 11.1, 1e-9);
  // Level 3: nine safe squares, not within two rows of the king: nothing.
  EXPECT_NEAR(score_candidate(g, 3, 3, 3, 1, 3, 900), 11.1, 1e-9);
}

// A silver dropped on (3,5), checking the lower king on (3,6) and
// defended by a pawn: only the king attacks it.
TEST(ComputerScoring, DefendedSilverDropCheckByLevel) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 3, 4, 20);
  put(g, 3, 6, -950);
  give(g, true, 3);
  // Level 1: +100 checker attacked by the king alone and defended, -5 drop.
  EXPECT_NEAR(score_candidate(g, 1, -1, 3, 3, 5, 100), 95, 1e-9);
  // Level 2: +100 the king takes only toward its own camp while in check.
  EXPECT_NEAR(score_candidate(g, 2, -1, 3, 3, 5, 100), 195, 1e-9);
  EXPECT_NEAR(score_candidate(g, 3, -1, 3, 3, 5, 100), 195, 1e-9);
}

// An upper knight from (3,2) to (4,4) forks an undefended lower silver on
// (3,6) and a lower bishop on (5,6).
TEST(ComputerScoring, KnightForkByLevel) {
  GameState g = kings_apart();
  put(g, 3, 2, 30);
  put(g, 3, 6, -100);
  put(g, 5, 6, -800);
  // Level 1: safety +100 (fork) +0.2 (two targets) -0.2 (two weak squares).
  EXPECT_NEAR(score_candidate(g, 1, 3, 2, 4, 4, 30), 100, 1e-9);
  // Level 2: +1 approach (4 > 3 columns); -30 the lower bishop on (5,6) can
  // reach the bishop-drop square (3,4) next to the knight.
  EXPECT_NEAR(score_candidate(g, 2, 3, 2, 4, 4, 30), 71, 1e-9);
  // Level 3: knight -0.1, and -1 for its attacked front square (4,5).
  EXPECT_NEAR(score_candidate(g, 3, 3, 2, 4, 4, 30), 69.9, 1e-9);
}

// An upper silver from (3,3) to (3,4), where a lower pawn on (3,5) takes
// it; with a lower gold on (3,4) it captures first.
TEST(ComputerScoring, HangingSilverByLevel) {
  GameState g = kings_apart();
  put(g, 3, 3, 100);
  put(g, 3, 5, -20);
  EXPECT_NEAR(score_candidate(g, 1, 3, 3, 3, 4, 100), -180, 1e-9);
  EXPECT_NEAR(score_candidate(g, 2, 3, 3, 3, 4, 100), -179.9, 1e-9);
  EXPECT_NEAR(score_candidate(g, 3, 3, 3, 3, 4, 100), -179.9, 1e-9);
  put(g, 3, 4, -110);
  // Level 1 gives the captured gold back; level 2 adds nothing for the
  // capture: the silver still had four safe squares at home.
  EXPECT_NEAR(score_candidate(g, 1, 3, 3, 3, 4, 100), -70, 1e-9);
  EXPECT_NEAR(score_candidate(g, 2, 3, 3, 3, 4, 100), -69.9, 1e-9);
}

TEST(ComputerScoring, PromotionAddsTen) {
  GameState g = kings_apart();
  put(g, 4, 4, 100);
  EXPECT_NEAR(score_candidate(g, 1, 4, 4, 4, 5, 100), 0, 1e-9);
  EXPECT_NEAR(score_candidate(g, 1, 4, 4, 4, 5, 101), 10, 1e-9);
}

// Capture of a promoted pawn by a piece the lower side does not attack
// then: the value plus 50 at level 2, nothing for it at level 1.
TEST(ComputerScoring, SafeCaptureOfPromotedPawn) {
  GameState g = kings_apart();
  put(g, 4, 2, 110);
  put(g, 4, 3, -21);
  EXPECT_NEAR(score_candidate(g, 1, 4, 2, 4, 3, 110), 0, 1e-9);
  // 21 + 50 for the capture, +0.1 for the approach (origin 4 rows away,
  // more than the 3 rows left).
  EXPECT_NEAR(score_candidate(g, 2, 4, 2, 4, 3, 110), 71.1, 1e-9);
}

// An undefended rook dropped where a lower pawn takes it: level 2 loses
// the piece and 50 more on top of level 1.
TEST(ComputerScoring, HangingDropLosesValuePlusFifty) {
  GameState g = kings_apart();
  put(g, 3, 5, -20);
  give(g, true, 6);
  const double level1 = score_candidate(g, 1, -1, 6, 3, 4, 900);
  const double level2 = score_candidate(g, 2, -1, 6, 3, 4, 900);
  // Level 1: -5 drop; safety -(900 - 20) and -900 undefended.
  EXPECT_NEAR(level1, -5 - 880 - 900, 1e-9);
  // Level 2: -(900 + 50) for the hanging drop.
  EXPECT_NEAR(level2, level1 - 950, 1e-9);
}

// The first move of a game at level 3: one of four openings, chosen by the
// last character of the time of day.
TEST(ComputerScoring, OpeningChoiceFollowsTheClockText) {
  GameState g;
  new_game(g);
  struct Opening {
    int fx, fy, tx, ty;
    PieceCode piece;
    char digit;
  };
  const Opening openings[] = {{4, 1, 5, 2, 100, '0'}, {4, 1, 5, 2, 100, '1'},
                              {5, 1, 5, 2, 110, '2'}, {5, 1, 5, 2, 110, '3'},
                              {2, 1, 4, 3, 800, '4'}, {2, 1, 4, 3, 800, '5'},
                              {1, 1, 1, 3, 900, '6'}, {1, 1, 1, 3, 900, '7'}};
  for (const Opening& o : openings) {
    const double plain = score_candidate(g, 3, o.fx, o.fy, o.tx, o.ty, o.piece, "45296.59");
    const double chosen = score_candidate(g, 3, o.fx, o.fy, o.tx, o.ty, o.piece,
                                          std::string("45296.5") + o.digit);
    EXPECT_NEAR(chosen - plain, 100, 1e-9) << o.piece << " with " << o.digit;
    const double other = score_candidate(g, 3, o.fx, o.fy, o.tx, o.ty, o.piece,
                                         std::string("45296.5") + (o.digit == '0' ? '8' : 'x'));
    EXPECT_EQ(other, plain);
    // Levels 1 and 2 do not look at the clock.
    EXPECT_EQ(score_candidate(g, 2, o.fx, o.fy, o.tx, o.ty, o.piece,
                              std::string("45296.5") + o.digit),
              score_candidate(g, 2, o.fx, o.fy, o.tx, o.ty, o.piece, "45296.59"));
  }
  // Once the record holds a move the opening choice is over.
  g.record_pos = 1;
  EXPECT_EQ(score_candidate(g, 3, 1, 1, 1, 3, 900, "45296.56"),
            score_candidate(g, 3, 1, 1, 1, 3, 900, "45296.59"));
}

TEST(ComputerScoring, OpeningMoveChosenBySearch) {
  GameState g;
  new_game(g);
  g.level = 3;
  g.turn = g.upper_side;
  Analysis a;
  ComputerState c;
  build_square_maps(g, a);
  c.time_of_day = "45296.56";
  ComMove m = choose_com_move(g, a, c);
  EXPECT_EQ((std::array{m.from_col, m.from_row, m.to_col, m.to_row}), (std::array{1, 1, 1, 3}));
  c.time_of_day = "45296.53";
  m = choose_com_move(g, a, c);
  EXPECT_EQ((std::array{m.from_col, m.from_row, m.to_col, m.to_row}), (std::array{5, 1, 5, 2}));
  EXPECT_EQ(m.piece_after, 110);
}

// The level-3 terms alone: the difference between levels 3 and 2.
double piece_terms_of(const GameState& g, int fx, int fy, int tx, int ty, PieceCode after) {
  return score_candidate(g, 3, fx, fy, tx, ty, after, "45296.59") -
         score_candidate(g, 2, fx, fy, tx, ty, after, "45296.59");
}

TEST(ComputerScoring, PawnFacingADefendedPawn) {
  GameState g = kings_apart();
  put(g, 3, 2, 20);
  put(g, 3, 4, -20);
  put(g, 3, 5, -110);
  // -0.1 board move, -5 defended lower pawn in front, -5 facing it
  // without support.
  EXPECT_NEAR(piece_terms_of(g, 3, 2, 3, 3, 20), -10.1, 1e-9);
}

TEST(ComputerScoring, KingWithOneSafeSquare) {
  GameState g = kings_apart();
  put(g, 5, 1, 110);
  put(g, 5, 2, 100);
  put(g, 1, 3, -900);
  EXPECT_NEAR(piece_terms_of(g, 6, 1, 6, 2, 950), -20, 1e-9);
}

TEST(ComputerScoring, GoldBackingSilverAndBishopAgainstRookInHand) {
  GameState g = kings_apart();
  put(g, 4, 1, 110);
  put(g, 3, 3, 100);
  put(g, 3, 4, 800);
  give(g, false, 6);
  EXPECT_NEAR(piece_terms_of(g, 4, 1, 3, 2, 110), 127, 1e-9);
  g.lower_hand[6] = 0;
  give(g, false, 5);
  EXPECT_NEAR(piece_terms_of(g, 4, 1, 3, 2, 110), 0, 1e-9);
}

TEST(ComputerScoring, TimeOfDayText) {
  EXPECT_EQ(time_of_day_text(45296.52), "45296.52");
  EXPECT_EQ(time_of_day_text(7.5), "7.5");
  EXPECT_EQ(time_of_day_text(61), "61");
  EXPECT_EQ(time_of_day_text(86399.99), "86399.99");
}

TEST(ComputerScoring, Helpers) {
  GameState g = kings_apart();
  put(g, 5, 2, 900);
  put(g, 4, 1, 801);
  put(g, 6, 3, 110);
  EXPECT_EQ(major_crowding(g, 5, 1), -3);  // king, rook, promoted bishop
  EXPECT_EQ(major_crowding(g, 6, 2), -2);
  EXPECT_EQ(major_crowding(g, 1, 1), 0);
  Analysis a;
  build_square_maps(g, a);
  // The lower king on (1,6) may go to (1,5), (2,5), (2,6); the rook on
  // (5,2) attacks none of them.
  EXPECT_EQ(count_safe_moves(g, a, 1, 6, -950), 3);
  put(g, 2, 2, 900);  // covers (2,5) and (2,6) along its column
  build_square_maps(g, a);
  EXPECT_EQ(count_safe_moves(g, a, 1, 6, -950), 1);
}

}  // namespace
}  // namespace nirvex

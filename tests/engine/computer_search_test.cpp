// The one-ply search of the computer's turn: loop order, promotion choice,
// early stops, and that every trial is taken back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <memory>
#include <vector>

#include "engine/com_search.h"
#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "engine/scoring.h"
#include "engine/square_maps.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"
#include "tests/engine/support/random_games.h"

namespace nirvex {
namespace {

using testing::empty_game;
using testing::give;
using testing::put;

// One search as the computer's turn runs it, with every candidate and the
// ticks recorded.
struct SearchRun {
  ComMove move;
  std::vector<ComCandidate> candidates;
  int ticks = 0;
};

SearchRun run_search(GameState& g, Analysis& a, ComputerState& c) {
  SearchRun run;
  build_square_maps(g, a);
  prepare_com_turn(g, a, c);
  run.move = search_com_move(
      g, a, c, [&] { ++run.ticks; },
      [&](const ComCandidate& m) { run.candidates.push_back(m); });
  return run;
}

SearchRun run_search(GameState& g, int level, const char* time = "45296.52") {
  g.level = level;
  Analysis a;
  ComputerState c;
  c.time_of_day = time;
  return run_search(g, a, c);
}

// Scores one candidate with a fresh turn, as score_candidate does in the
// scoring tests.
double score_candidate(GameState g, int level, int fx, int fy, int tx, int ty, PieceCode after) {
  g.level = level;
  Analysis a;
  ComputerState c;
  c.time_of_day = "45296.52";
  build_square_maps(g, a);
  prepare_com_turn(g, a, c);
  c.moving_piece = g.board[fx][fy];
  c.origin_king_distance = std::max(std::abs(g.lower_king_x - fx), std::abs(g.lower_king_y - fy));
  const PieceCode captured = g.board[tx][ty];
  g.board[fx][fy] = 0;
  g.board[tx][ty] = after;
  build_square_maps(g, a);
  return score_move(g, a, c, captured, after, fx, fy, tx, ty);
}

// The candidate from (fx, fy) to (tx, ty), which must have been tried.
const ComCandidate& candidate(const SearchRun& run, int fx, int fy, int tx, int ty) {
  for (const ComCandidate& m : run.candidates)
    if (m.from_col == fx && m.from_row == fy && m.to_col == tx && m.to_row == ty) return m;
  ADD_FAILURE() << "no candidate " << fx << fy << tx << ty;
  return run.candidates.front();
}

// The first candidate in loop order with the highest score.
const ComCandidate& first_best(const SearchRun& run) {
  const ComCandidate* best = &run.candidates.front();
  for (const ComCandidate& m : run.candidates)
    if (m.score > best->score) best = &m;
  return *best;
}

void expect_move(const ComMove& m, int fx, int fy, int tx, int ty) {
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.from_col, fx);
  EXPECT_EQ(m.from_row, fy);
  EXPECT_EQ(m.to_col, tx);
  EXPECT_EQ(m.to_row, ty);
}

TEST(ComputerSearch, KingCaptureEndsTheSearch) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 1, 1, 900);
  put(g, 3, 3, 110);
  give(g, true, 1);
  for (int level = 1; level <= 3; ++level) {
    const SearchRun run = run_search(g, level);
    expect_move(run.move, 1, 1, 1, 6);
    EXPECT_EQ(run.move.score, 9999);
    // The capture is the last candidate: no later target, origin or drop.
    const ComCandidate& last = run.candidates.back();
    EXPECT_EQ((std::array{last.from_col, last.from_row, last.to_col, last.to_row}),
              (std::array{1, 1, 1, 6}));
    EXPECT_EQ(run.ticks, 1);
  }
}

TEST(ComputerSearch, TicksOncePerColumnAndHandKind) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  EXPECT_EQ(run_search(g, 3).ticks, 6);
  give(g, true, 4);
  EXPECT_EQ(run_search(g, 3).ticks, 12);
}

TEST(ComputerSearch, EqualScoresKeepTheFirstInLoopOrder) {
  // Two golds far from everything: many candidates tie.
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 2, 1, 110);
  put(g, 4, 1, 110);
  for (int level = 1; level <= 3; ++level) {
    const SearchRun run = run_search(g, level, "45296.59");  // no opening choice
    const ComCandidate& best = first_best(run);
    const auto ties = std::count_if(run.candidates.begin(), run.candidates.end(),
                                    [&](const ComCandidate& m) { return m.score == best.score; });
    EXPECT_GE(ties, 2) << "level " << level;
    expect_move(run.move, best.from_col, best.from_row, best.to_col, best.to_row);
    EXPECT_EQ(run.move.score, best.score);
  }
}

// An upper pawn on (3,4) steps to (3,5) in front of a lower knight on
// (3,6) that has nowhere to go: unpromoted it scores the knight's value,
// promoted it does not; the pawn is played promoted all the same.
TEST(ComputerSearch, PawnPromotesEvenWhenUnpromotedScoresHigher) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 3, 4, 20);
  put(g, 3, 6, -30);
  put(g, 2, 4, -110);
  put(g, 4, 4, -100);
  const double unpromoted = score_candidate(g, 3, 3, 4, 3, 5, 20);
  const double promoted = score_candidate(g, 3, 3, 4, 3, 5, 21);
  ASSERT_GT(unpromoted, promoted);
  const SearchRun run = run_search(g, 3);
  const ComCandidate& m = candidate(run, 3, 4, 3, 5);
  EXPECT_EQ(m.piece_after, 21);
  EXPECT_TRUE(m.promoted());
  EXPECT_EQ(m.score, unpromoted);
}

// Over many positions: whenever promotion is optional, pawns, bishops and
// rooks are played promoted with the better of the two scores, and the
// other pieces promote only when that scores strictly higher.
TEST(ComputerSearch, PromotionChoiceOverRandomPositions) {
  const auto positions = testing::random_positions(1500, 4242, 60);
  int higher_unpromoted[1000] = {};
  for (const auto& p : positions) {
    if (!p.upper_to_move) continue;
    auto g = std::make_unique<GameState>(p.to_game());
    const SearchRun run = run_search(*g, 3);
    for (const ComCandidate& m : run.candidates) {
      if (m.from_col == upper_hand_col) continue;
      GameState& game = *g;
      const PieceCode piece = m.piece_before;
      if (promotion_possible(game, m.from_col, m.from_row, m.to_col, m.to_row, piece) == flag_off) {
        EXPECT_EQ(m.piece_after, piece);
        continue;
      }
      const PieceCode up = piece + 1;
      if (may_stay_unpromoted(m.to_row, piece) == flag_off) {
        EXPECT_EQ(m.piece_after, up);
        continue;
      }
      const double s1 = score_candidate(game, 3, m.from_col, m.from_row, m.to_col, m.to_row, piece);
      const double s2 = score_candidate(game, 3, m.from_col, m.from_row, m.to_col, m.to_row, up);
      EXPECT_EQ(m.score, std::max(s1, s2));
      if (piece == 20 || piece == 800 || piece == 900) {
        EXPECT_EQ(m.piece_after, up);
        if (s1 > s2) ++higher_unpromoted[piece];
      } else {
        EXPECT_EQ(m.piece_after, s2 > s1 ? up : piece);
      }
    }
  }
  // The rule did override a better unpromoted score for each kind.
  EXPECT_GT(higher_unpromoted[800] + higher_unpromoted[900], 0);
}

TEST(ComputerSearch, PawnToLastRowAndKnightToFarRowsOnlyPromoted) {
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 3, -950);
  put(g, 1, 5, 20);
  put(g, 3, 3, 30);
  put(g, 5, 4, 30);
  const SearchRun run = run_search(g, 3);
  int pawn = 0, knight = 0;
  for (const ComCandidate& m : run.candidates) {
    if (m.from_col == 1 && m.from_row == 5) {
      ++pawn;
      EXPECT_EQ(m.piece_after, 21);
    }
    if ((m.from_col == 3 && m.from_row == 3) || (m.from_col == 5 && m.from_row == 4)) {
      ++knight;
      EXPECT_EQ(m.piece_after, 31) << m.to_col << m.to_row;
    }
  }
  EXPECT_EQ(pawn, 1);
  EXPECT_EQ(knight, 4);
  // The must-promote score is the promoted piece's own score.
  EXPECT_EQ(candidate(run, 1, 5, 1, 6).score, score_candidate(g, 3, 1, 5, 1, 6, 21));
}

TEST(ComputerSearch, HandWithoutDropSquareLeavesTheBoardMove) {
  // A pawn in hand but an upper pawn on every column: no drop anywhere.
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  for (int col = 1; col <= 5; ++col) put(g, col, 2, 20);
  put(g, 6, 3, 20);
  give(g, true, 1);
  const SearchRun run = run_search(g, 3);
  EXPECT_TRUE(run.move.found);
  EXPECT_NE(run.move.from_col, upper_hand_col);
  EXPECT_TRUE(std::none_of(run.candidates.begin(), run.candidates.end(),
                           [](const ComCandidate& m) { return m.from_col == upper_hand_col; }));
}

TEST(ComputerSearch, MatingDropEndsTheDrops) {
  // Lower king cornered on (1,6); silver on (2,4) and knight on (1,4)
  // cover its flights; a gold dropped on (1,5) mates.
  GameState g = empty_game();
  put(g, 6, 1, 950);
  put(g, 1, 6, -950);
  put(g, 2, 4, 100);
  put(g, 1, 4, 30);
  give(g, true, 1);
  give(g, true, 4);
  give(g, true, 6);
  for (int level = 1; level <= 3; ++level) {
    const SearchRun run = run_search(g, level);
    expect_move(run.move, upper_hand_col, 4, 1, 5);
    EXPECT_EQ(run.move.piece_after, 110);
    EXPECT_EQ(run.move.score, 9998);
    const ComCandidate& last = run.candidates.back();
    EXPECT_EQ((std::array{last.from_col, last.from_row, last.to_col, last.to_row}),
              (std::array{upper_hand_col, 4, 1, 5}));
    EXPECT_EQ(candidate(run, upper_hand_col, 1, 1, 5).score, -9998);  // pawn-drop mate
    EXPECT_EQ(run.ticks, 6 + 4);  // the rook's kind is never reached
  }
}

TEST(ComputerSearch, NoCandidateFindsNoMove) {
  GameState g = empty_game();
  put(g, 1, 6, -950);
  const SearchRun run = run_search(g, 3);
  EXPECT_FALSE(run.move.found);
  EXPECT_TRUE(run.candidates.empty());
}

// Over many positions: the position is unchanged after the search, the
// move is the first best candidate, and a second search agrees.
TEST(ComputerSearch, RandomPositionsRestoredDeterministicFirstBest) {
  const auto positions = testing::random_positions(1500, 777, 80);
  int searched = 0;
  for (const auto& p : positions) {
    if (!p.upper_to_move) continue;
    for (int level = 1; level <= 3; ++level) {
      auto g = std::make_unique<GameState>(p.to_game());
      g->level = level;
      const auto before = std::make_unique<GameState>(*g);
      const SearchRun run = run_search(*g, level);
      ++searched;
      EXPECT_EQ(g->board, before->board);
      EXPECT_EQ(g->upper_hand, before->upper_hand);
      EXPECT_EQ(g->lower_hand, before->lower_hand);
      EXPECT_EQ(g->upper_hand_total, before->upper_hand_total);
      EXPECT_EQ(g->lower_hand_total, before->lower_hand_total);
      EXPECT_EQ(g->lower_king_x, before->lower_king_x);
      EXPECT_EQ(g->lower_king_y, before->lower_king_y);
      EXPECT_EQ(g->winner, before->winner);
      EXPECT_EQ(g->record_pos, before->record_pos);
      ASSERT_TRUE(run.move.found);
      const ComCandidate& best = first_best(run);
      expect_move(run.move, best.from_col, best.from_row, best.to_col, best.to_row);
      EXPECT_EQ(run.move.piece_after, best.piece_after);
      EXPECT_EQ(run.move.score, best.score);
      mark_pawn_columns(*g);
      EXPECT_EQ(is_legal_move(*g, run.move.from_col, run.move.from_row, run.move.to_col,
                              run.move.to_row, run.move.piece_before),
                flag_on);
      const SearchRun again = run_search(*g, level);
      expect_move(again.move, run.move.from_col, run.move.from_row, run.move.to_col,
                  run.move.to_row);
      EXPECT_EQ(again.move.piece_after, run.move.piece_after);
      EXPECT_EQ(again.move.score, run.move.score);
    }
  }
  EXPECT_GT(searched, 300);
}

// Every score is a whole number of tenths exactly as the decimal reads
// (0.1 as 0.1 is read, never 0.09999999999999998): terms that cancel leave
// nothing behind, whatever the order they come in.
TEST(ComputerSearch, ScoresAreWholeTenthsWithoutResidue) {
  const auto positions = testing::random_positions(400, 4242, 80);
  int scored = 0;
  for (const auto& p : positions) {
    if (!p.upper_to_move) continue;
    for (int level = 1; level <= 3; ++level) {
      auto g = std::make_unique<GameState>(p.to_game());
      for (const ComCandidate& m : run_search(*g, level).candidates) {
        ASSERT_EQ(m.score, std::round(m.score * 10) / 10) << "level " << level;
        ++scored;
      }
    }
  }
  EXPECT_GT(scored, 5000);
}

// A position of a random game at level 2 where two candidates score the
// same 0.1: the bishop from (2,1) to (4,3) (safety -1, the approach +0.1,
// a flight square taken +1) and then the king from (6,1) to (5,2) (the
// approach alone).  Added as binary fractions, the first came to
// 0.09999999999999998 and the king's move was played; equal scores keep
// the first.
TEST(ComputerSearch, ARoundingResidueNeverDecidesTheFirstBest) {
  GameState g;
  std::string error;
  ASSERT_TRUE(read_sfen(start_sfen, g, error)) << error;
  for (const char* text : {"2f6b+", "6a6b", "5f4e", "B*1e", "6e6d", "6b6d", "6f5f"}) {
    RuleMove m;
    ASSERT_TRUE(read_move(g, text, g.turn == g.upper_side, m, error)) << text << error;
    play_rule_move(g, m);
    g.turn = g.turn == g.upper_side ? g.lower_side : g.upper_side;
  }
  std::vector<ComCandidate> candidates;
  const ComMove best = search_side_to_move(
      g, 2, "45296.52", [&](const ComCandidate& m) { candidates.push_back(m); });
  std::vector<std::string> at_best;
  for (const ComCandidate& m : candidates)
    if (m.score == best.score) at_best.push_back(move_text(m));
  EXPECT_EQ(best.score, 0.1);
  EXPECT_EQ(at_best, (std::vector<std::string>{"5a3c", "1a2b"}));
  EXPECT_EQ(move_text(best), "5a3c");
}

}  // namespace
}  // namespace nirvex

// Whole games of the computer against a lower side that moves at random:
// every computer move must be one the rules allow, and the games must end
// by taking a king or by mate.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/com_search.h"
#include "engine/move_list.h"
#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "model/rules.h"
#include "tests/engine/support/board_setup.h"

namespace nirvex {
namespace {

using testing::pieces_in_play;

enum class Outcome { computer_won, human_won, unfinished };

struct GameReport {
  Outcome outcome = Outcome::unfinished;
  int moves = 0;
  int mate_announcements = 0;
};

// The computer's move must pass the same rules a human move passes.
void expect_lawful(GameState& g, const ComMove& m) {
  mark_pawn_columns(g);
  ASSERT_EQ(is_legal_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_before), flag_on)
      << m.from_col << m.from_row << m.to_col << m.to_row << " " << m.piece_before;
  if (m.from_col == upper_hand_col) {
    ASSERT_GE(g.upper_hand[m.from_row], 1);
    ASSERT_EQ(m.piece_before, hand_kind_code(m.from_row, true));
    ASSERT_EQ(m.piece_after, m.piece_before);
    return;
  }
  ASSERT_EQ(g.board[m.from_col][m.from_row], m.piece_before);
  if (m.piece_after != m.piece_before) {
    ASSERT_EQ(promotion_possible(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_before),
              flag_on);
    ASSERT_EQ(m.piece_after, g.promoted_piece);
  } else {
    ASSERT_EQ(may_stay_unpromoted(m.to_row, m.piece_before), flag_on);
  }
}

// A random move of the lower side; a careful mover keeps to moves after
// which no upper piece attacks its king, when it has any.
RuleMove pick_lower_move(GameState& g, Analysis& a, std::mt19937& rng, bool careful) {
  mark_pawn_columns(g);
  std::vector<RuleMove> moves = list_rule_moves(g, false);
  if (careful) {
    std::vector<RuleMove> safe;
    for (const RuleMove& m : moves) {
      auto trial = std::make_unique<GameState>(g);
      apply_move(*trial, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
      build_square_maps(*trial, a);
      if (a.upper_attacks[trial->lower_king_x][trial->lower_king_y] == 0) safe.push_back(m);
    }
    if (!safe.empty()) moves = safe;
  }
  return moves[rng() % moves.size()];
}

// Plays one game the way the window does: the computer's turn with its
// analysis, record and move, the human's moves picked at random, the mate
// tests after each move.
GameReport play_game(int level, bool computer_first, std::uint32_t seed, int max_moves,
                     bool careful = false) {
  std::mt19937 rng(seed);
  auto g = std::make_unique<GameState>();
  Analysis a;
  ComputerState c;
  new_game(*g);
  g->play_mode = mode_vs_computer;
  g->level = level;
  g->upper_side = computer_first ? g->first_side : g->second_side;
  g->lower_side = computer_first ? g->second_side : g->first_side;
  g->turn = g->first_side;
  GameReport report;
  while (report.moves < max_moves) {
    build_square_maps(*g, a);
    if (g->turn == g->upper_side) {
      c.time_of_day = time_of_day_text(30000 + 7.31 * report.moves + seed);
      prepare_com_turn(*g, a, c);
      const ComMove m = search_com_move(*g, a, c, {});
      if (!m.found) {
        report.outcome = Outcome::human_won;
        break;
      }
      expect_lawful(*g, m);
      if (::testing::Test::HasFatalFailure()) break;
      append_move_record(*g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_before,
                         m.piece_after, g->lower_time_total, g->lower_time_total,
                         g->upper_time_total, g->upper_time_total);
      ++g->move_number;
      apply_move(*g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
      ++report.moves;
      if (g->winner == g->upper_side) {
        report.outcome = Outcome::computer_won;
        break;
      }
      build_square_maps(*g, a);
      if (lower_side_mated(*g, a) == flag_on) ++report.mate_announcements;
      g->turn = g->lower_side;
    } else {
      play_rule_move(*g, pick_lower_move(*g, a, rng, careful));
      ++report.moves;
      if (g->winner == g->lower_side) {
        report.outcome = Outcome::human_won;
        break;
      }
      build_square_maps(*g, a);
      if (upper_side_mated(*g, a) == flag_on) {
        report.outcome = Outcome::human_won;
        break;
      }
      g->turn = g->upper_side;
    }
    EXPECT_EQ(pieces_in_play(*g), 14);
  }
  return report;
}

class ComputerGames : public ::testing::TestWithParam<int> {};

TEST_P(ComputerGames, PlaysWholeGamesLawfully) {
  const int level = GetParam();
  int won = 0, games = 0;
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    for (bool computer_first : {true, false}) {
      const GameReport r = play_game(level, computer_first, seed * 7919 + level, 200);
      ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
      EXPECT_NE(r.outcome, Outcome::unfinished) << "seed " << seed << " moves " << r.moves;
      ++games;
      if (r.outcome == Outcome::computer_won) ++won;
    }
  }
  // A random mover should hardly ever beat the computer.
  EXPECT_GE(won, games * 9 / 10) << "level " << level;
  RecordProperty("computer_wins", won);
}

// Against a mover that never leaves its king hanging the games run
// longer, through drops and promotions on both sides.
TEST_P(ComputerGames, PlaysLawfullyAgainstACarefulMover) {
  const int level = GetParam();
  int won = 0, games = 0, moves = 0;
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    for (bool computer_first : {true, false}) {
      const GameReport r = play_game(level, computer_first, seed * 104729 + level, 200, true);
      ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
      ++games;
      moves += r.moves;
      if (r.outcome == Outcome::computer_won) ++won;
    }
  }
  RecordProperty("computer_wins", won);
  RecordProperty("games", games);
  RecordProperty("moves", moves);
}

INSTANTIATE_TEST_SUITE_P(Levels, ComputerGames, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace nirvex

// The console tool's game mode: whole games against the computer with
// "newgame" and "play", through the same game flow as the window.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "engine/move_list.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"

namespace nirvex {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> ask(UsiSession& s, const std::string& line) {
  std::ostringstream out;
  s.handle(line, out);
  return lines_of(out.str());
}

const GameState& board_of(const UsiSession& s) { return s.console_game()->game().g; }

// A random move the rules allow the lower side, as USI text.
std::string random_move(const UsiSession& s, std::mt19937& rng) {
  GameState g = board_of(s);
  mark_pawn_columns(g);
  const std::vector<RuleMove> moves = list_rule_moves(g, false);
  return move_text(moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)]);
}

TEST(UsiGame, NewgameSenteWaitsAndGoteMovesAtOnce) {
  UsiSession s;
  EXPECT_EQ(ask(s, "play 6e6d"), std::vector<std::string>{"info string error no game"});
  EXPECT_EQ(ask(s, "newgame sente"), std::vector<std::string>{"info string newgame"});
  EXPECT_EQ(board_of(s).turn, board_of(s).lower_side);
  EXPECT_EQ(board_of(s).level, 3);

  ask(s, "setoption name Level value 1");
  const std::vector<std::string> gote = ask(s, "newgame gote");
  ASSERT_EQ(gote.size(), 3u);
  EXPECT_EQ(gote[0], "info string newgame");
  EXPECT_TRUE(gote[1].starts_with("info string score "));
  EXPECT_TRUE(gote[2].starts_with("bestmove "));
  EXPECT_EQ(board_of(s).move_number, 1);
  EXPECT_EQ(board_of(s).level, 1);
  EXPECT_TRUE(ask(s, "newgame").front().starts_with("info string error"));
}

TEST(UsiGame, ARefusedMoveChangesNothing) {
  UsiSession s;
  ask(s, "newgame sente");
  const GameState before = board_of(s);
  for (const char* bad : {"6e6c", "6f6e", "P*3c", "1a1b", "6e6d+x"}) {
    const std::vector<std::string> out = ask(s, std::string("play ") + bad);
    ASSERT_EQ(out.size(), 1u) << bad;
    EXPECT_TRUE(out[0] == std::string("info string refused ") + bad ||
                out[0].starts_with("info string error malformed"))
        << bad << " -> " << out[0];
    EXPECT_EQ(board_of(s).board, before.board);
    EXPECT_EQ(board_of(s).record_pos, 0);
    EXPECT_EQ(board_of(s).pick_state, 0);
  }
  // "position" examines a position of its own, not the game's.
  ask(s, "position startpos moves 6e6d");
  EXPECT_EQ(board_of(s).record_pos, 0);
}

TEST(UsiGame, ThePlayersMoveIsClickedAndTheComputerAnswers) {
  UsiSession s;
  ask(s, "setoption name TimeOfDay value 36000");
  ask(s, "setoption name ShowCandidates value true");
  ask(s, "newgame sente");
  const std::vector<std::string> out = ask(s, "play 6e6d");
  // Candidates in loop order, the score, the move, then the check.
  ASSERT_GE(out.size(), 4u);
  size_t i = 0;
  while (i < out.size() && out[i].starts_with("info string candidate ")) ++i;
  EXPECT_GT(i, 5u);
  ASSERT_EQ(out.size(), i + 3);
  EXPECT_TRUE(out[i].starts_with("info string score "));
  EXPECT_EQ(out[i + 1], "bestmove 6a6d");
  EXPECT_EQ(out[i + 2], "info string announce 王手");
  const GameState& g = board_of(s);
  EXPECT_EQ(g.board[1][4], 900);  // already on the game's board
  EXPECT_EQ(g.move_records[1].piece_before, -20);
  EXPECT_EQ(g.turn, g.lower_side);
}

TEST(UsiGame, WholeGamesEndWithAWinnerAndThenNoGame) {
  int winners = 0;
  for (int level = 1; level <= 3; ++level)
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
      UsiSession s;
      std::mt19937 rng(seed + 100 * level);
      ask(s, "setoption name Level value " + std::to_string(level));
      ask(s, seed % 2 ? "newgame sente" : "newgame gote");
      bool over = false;
      for (int ply = 0; ply < 150 && !over; ++ply) {
        const std::string move = random_move(s, rng);
        const std::vector<std::string> out = ask(s, "play " + move);
        ASSERT_FALSE(out.empty());
        ASSERT_NE(out.front(), "info string refused " + move);
        for (const std::string& line : out)
          if (line.starts_with("info string winner ")) over = true;
        if (!over) {
          // The computer answered: its move is the last record entry.
          const GameState& g = board_of(s);
          bool said = false;
          for (const std::string& line : out) said |= line.starts_with("bestmove ");
          ASSERT_TRUE(said);
          ASSERT_TRUE(is_upper_piece(g.move_records[g.record_pos].piece_after));
        }
      }
      if (!over) continue;
      ++winners;
      EXPECT_EQ(ask(s, "play 6e6d"), std::vector<std::string>{"info string error no game"});
    }
  EXPECT_GE(winners, 15);
}

}  // namespace
}  // namespace nirvex

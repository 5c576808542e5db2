// What an outside engine's "info" lines say of its search: the score as
// centipawns or a mate, bounds, several lines, and the line of play; and
// the moves our rules allow that engines refuse or may refuse.
#include <gtest/gtest.h>

#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"

namespace nirvex {
namespace {

EngineInfo info_of(const std::string& line) {
  EngineInfo info;
  EXPECT_TRUE(read_info(line, info)) << line;
  return info;
}

TEST(UsiClient, InfoLinesGiveTheScoreAndTheLine) {
  EngineInfo i = info_of(
      "info depth 10 seldepth 18 multipv 1 score cp -157 nodes 38962 nps 316764 tbhits 0 "
      "time 123 pv 2f4d 5a3c 4f4e");
  EXPECT_TRUE(i.has_score);
  EXPECT_FALSE(i.mate);
  EXPECT_EQ(i.value, -157);
  EXPECT_FALSE(i.bound);
  EXPECT_EQ(i.multipv, 1);
  EXPECT_EQ(i.pv, (std::vector<std::string>{"2f4d", "5a3c", "4f4e"}));

  i = info_of("info depth 7 score cp 30 lowerbound nodes 5 pv P*2b");
  EXPECT_TRUE(i.bound);
  EXPECT_EQ(i.pv, std::vector<std::string>{"P*2b"});
  EXPECT_EQ(info_of("info multipv 2 score cp 3 pv 1a2a").multipv, 2);

  // Without a score, or with free text only.
  EXPECT_FALSE(info_of("info depth 3 currmove 6e6d").has_score);
  EXPECT_FALSE(info_of("info string score cp 5 pv 6e6d").has_score);
  EXPECT_FALSE(info_of("info score cp x").has_score);
  EXPECT_FALSE(read_info("bestmove 6e6d", i));
}

TEST(UsiClient, MatesAreCountedInPliesForOrAgainstTheSideToMove) {
  struct Case {
    const char* line;
    int plies;
    bool mated;
  } cases[] = {{"info depth 5 score mate 1 pv G*2b", 1, false},
               {"info depth 5 score mate -2 pv 1a2a G*2b", 2, true},
               {"info depth 0 score mate 0", 0, true},
               {"info score mate -0", 0, true},
               {"info score mate +", 0, false},
               {"info score mate -", 0, true}};
  for (const Case& c : cases) {
    const EngineInfo i = info_of(c.line);
    EXPECT_TRUE(i.has_score && i.mate) << c.line;
    EXPECT_EQ(i.value, c.plies) << c.line;
    EXPECT_EQ(i.mated, c.mated) << c.line;
  }
}

// Plays the move on the position of the SFEN text and asks whether engines
// would refuse it.
bool refused(const std::string& sfen, const std::string& move) {
  GameState g;
  std::string error;
  EXPECT_TRUE(read_sfen(sfen, g, error)) << error;
  RuleMove m;
  EXPECT_TRUE(read_move(g, move, g.turn == g.upper_side, m, error)) << error;
  apply_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
  return engine_refuses_move(g, m);
}

TEST(UsiClient, EnginesMayRefuseAKingLeftAttackedOrAPawnDropThatMates) {
  // The upper king on 1a, hemmed in by its knight and silver; the lower
  // gold on 2c guards 1b.
  const std::string hemmed = "4nk/4s1/4G1/6/6/K5 b P 1";
  EXPECT_TRUE(refused(hemmed, "P*1b"));
  EXPECT_FALSE(refused(hemmed, "2c2b"));
  EXPECT_FALSE(refused(hemmed, "P*2d"));
  // Without the gold the king takes the pawn: a check, not a mate.
  EXPECT_FALSE(refused("4nk/4s1/6/6/6/K5 b P 1", "P*1b"));
  // A mate by the gold is fine.
  EXPECT_FALSE(refused("4nk/4s1/4G1/6/6/K5 b G 1", "G*1b"));
  // The lower king in check from the rook on 6e: anything but an answer is
  // refused.
  EXPECT_TRUE(refused("4nk/4s1/4G1/6/r5/K5 b P 1", "2c2b"));
  EXPECT_FALSE(refused("4nk/4s1/4G1/6/r5/K5 b P 1", "6f5f"));
}

}  // namespace
}  // namespace nirvex

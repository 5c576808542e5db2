// What an outside engine's "info" lines say of its search: the score as
// centipawns or a mate, bounds, several lines, and the line of play.
#include <gtest/gtest.h>

#include "engine/usi_client.h"

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

}  // namespace
}  // namespace nirvex

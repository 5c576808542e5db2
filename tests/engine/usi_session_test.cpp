// The console tool's USI conversation, command by command.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine/sfen.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"

namespace nirvex {
namespace {

// Sends one line and returns what the session answered.
std::string ask(UsiSession& s, const std::string& line) {
  std::ostringstream out;
  s.handle(line, out);
  return out.str();
}

TEST(UsiSession, Handshake) {
  UsiSession s;
  const std::string id = ask(s, "usi");
  EXPECT_NE(id.find("id name "), std::string::npos);
  EXPECT_NE(id.find("option name Level type spin default 3 min 1 max 3"), std::string::npos);
  EXPECT_NE(id.find("option name TimeOfDay type string"), std::string::npos);
  EXPECT_NE(id.find("option name ShowCandidates type check default false"), std::string::npos);
  EXPECT_TRUE(id.ends_with("usiok\n"));
  EXPECT_EQ(ask(s, "isready"), "readyok\n");
  EXPECT_EQ(ask(s, "usinewgame"), "");
  std::ostringstream out;
  EXPECT_FALSE(s.handle("quit", out));
}

TEST(UsiSession, Options) {
  UsiSession s;
  EXPECT_EQ(ask(s, "setoption name Level value 1"), "");
  EXPECT_EQ(s.options().level, 1);
  EXPECT_EQ(s.game().level, 1);
  EXPECT_EQ(ask(s, "setoption name TimeOfDay value 43210.5"), "");
  EXPECT_EQ(s.options().time_of_day, "43210.5");
  EXPECT_EQ(ask(s, "setoption name TimeOfDay value"), "");
  EXPECT_EQ(s.options().time_of_day, "");
  EXPECT_EQ(ask(s, "setoption name ShowCandidates value true"), "");
  EXPECT_TRUE(s.options().show_candidates);
  EXPECT_TRUE(ask(s, "setoption name Level value 4").starts_with("info string error"));
  EXPECT_TRUE(ask(s, "setoption name Hash value 16").starts_with("info string error"));
  EXPECT_EQ(s.options().level, 1);
}

TEST(UsiSession, PositionAndPerft) {
  UsiSession s;
  EXPECT_EQ(ask(s, "position startpos moves 6e6d 1b1c"), "");
  EXPECT_EQ(s.game().record_pos, 2);
  EXPECT_EQ(s.game().move_number, 2);
  EXPECT_EQ(write_sfen(s.game()), "rbnsgk/6/5p/P5/6/KGSNBR b - 3");
  const std::string perft = ask(s, "go perft 1");
  EXPECT_NE(perft.find("6d6c: 1\n"), std::string::npos);
  EXPECT_NE(perft.find("2f6b+: 1\n"), std::string::npos);
  EXPECT_TRUE(perft.ends_with("\nNodes searched: 20\n"));

  EXPECT_EQ(ask(s, "position sfen k5/6/6/6/6/K5 w 2p 9 moves P*2c"), "");
  EXPECT_EQ(s.game().record_pos, 9);
  EXPECT_EQ(s.game().move_records[9].from_col, -1);
  EXPECT_EQ(s.game().board[5][3], 20);
  const std::string lower = ask(s, "go perft 1");
  EXPECT_EQ(lower, "6f6e: 1\n6f5e: 1\n6f5f: 1\n\nNodes searched: 3\n");
}

TEST(UsiSession, BadInputChangesNothing) {
  UsiSession s;
  ask(s, "position startpos moves 6e6d");
  const std::string before = write_sfen(s.game());
  for (const char* bad :
       {"position startpos moves 6e6d 6d6c", "position startpos moves 1b1c",
        "position startpos moves 6e6d xx", "position sfen 6/6 b - 1", "position",
        "position startpos 6e6d", "position sfen k5/6/6/6/6/K5 w - 500 moves 1a1b 6f6e",
        "position startpos moves 6e6d 6a6b+"}) {
    const std::string answer = ask(s, bad);
    EXPECT_TRUE(answer.starts_with("info string error ")) << bad << " -> " << answer;
    EXPECT_EQ(std::count(answer.begin(), answer.end(), '\n'), 1) << bad;
    EXPECT_EQ(write_sfen(s.game()), before) << bad;
  }
  EXPECT_TRUE(ask(s, "hello").starts_with("info string error unknown command"));
  EXPECT_TRUE(ask(s, "go perft 2").starts_with("info string error"));
  EXPECT_EQ(ask(s, ""), "");
  EXPECT_EQ(ask(s, "isready\r"), "readyok\n");
}

TEST(UsiSession, MateReport) {
  UsiSession s;
  EXPECT_EQ(ask(s, "mate"), "info string upper_side_mated 0 lower_side_mated 0\n");
  // Upper king in the corner, checked along row 1, flights covered.
  ask(s, "position sfen k3R1/6/S5/6/6/5K w - 1");
  EXPECT_EQ(ask(s, "mate"), "info string upper_side_mated 1 lower_side_mated 0\n");
  ask(s, "position sfen k3R1/6/S5/6/6/5K w 2p 1");
  EXPECT_EQ(ask(s, "mate"), "info string upper_side_mated 0 lower_side_mated 0\n");
  // Lower king in the corner, rook check down column 6, pawn in column 6.
  ask(s, "position sfen k5/5P/6/5r/3g2/5K b P 1");
  EXPECT_EQ(ask(s, "mate"), "info string upper_side_mated 0 lower_side_mated 1\n");
}

}  // namespace
}  // namespace nirvex

namespace nirvex {
namespace {

// The lines of an answer.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

TEST(UsiSession, GoPlaysTheSideToMoveTheSameWayEveryTime) {
  UsiSession s;
  ask(s, "setoption name TimeOfDay value 45296.5");
  // The lower side to move: the position is searched turned round and the
  // answer is a move of the lower side.
  const std::string first = ask(s, "go");
  EXPECT_EQ(first, ask(s, "go"));
  const std::vector<std::string> lines = lines_of(first);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("info string score ")) << lines[0];
  ASSERT_TRUE(lines[1].starts_with("bestmove ")) << lines[1];
  const std::string move = lines[1].substr(9);
  const std::string perft = ask(s, "go perft 1");
  EXPECT_NE(perft.find(move + ": 1\n"), std::string::npos) << move;
  // It can be played.
  EXPECT_FALSE(ask(s, "position startpos moves " + move).starts_with("info string error"));

  // The upper side to move: a move of the upper side.
  ask(s, "position startpos moves 6e6d");
  const std::vector<std::string> upper = lines_of(ask(s, "go"));
  ASSERT_EQ(upper.size(), 2u);
  const std::string reply = upper[1].substr(9);
  EXPECT_NE(ask(s, "go perft 1").find(reply + ": 1\n"), std::string::npos) << reply;
}

TEST(UsiSession, CandidatesComeInSearchOrderBeforeTheChoice) {
  UsiSession s;
  ask(s, "setoption name TimeOfDay value 45296.5");
  ask(s, "setoption name ShowCandidates value true");
  ask(s, "position startpos moves 6e6d");
  const std::vector<std::string> lines = lines_of(ask(s, "go"));
  ASSERT_GE(lines.size(), 3u);
  int candidates = 0;
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with("info string candidate ")) << lines[i];
    ++candidates;
  }
  // Every move of the upper side is a candidate: the eighteen of the start
  // less the rook's, which now meets the pawn one square earlier.
  EXPECT_EQ(candidates, 17);
  EXPECT_TRUE(lines[lines.size() - 2].starts_with("info string score "));
  // The chosen move is the first candidate with the best score.
  const std::string best = lines.back().substr(9);
  double best_score = -1e9;
  std::string first_best;
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    std::istringstream in(lines[i].substr(22));
    std::string mv;
    double sc;
    in >> mv >> sc;
    if (sc > best_score) {
      best_score = sc;
      first_best = mv;
    }
  }
  EXPECT_EQ(best, first_best);
}

TEST(UsiSession, LevelReachesTheScoring) {
  UsiSession s;
  ask(s, "setoption name TimeOfDay value 8");
  ask(s, "setoption name ShowCandidates value true");
  ask(s, "position startpos moves 6e6d 1a1b");
  ask(s, "setoption name Level value 1");
  const std::string weak = ask(s, "go");
  ask(s, "setoption name Level value 3");
  const std::string strong = ask(s, "go");
  // Level 3 adds terms to level 1's: some candidate scores differ.
  EXPECT_NE(weak, strong);
  EXPECT_TRUE(lines_of(weak).back().starts_with("bestmove "));
}

// Scores print with at most four decimals, without trailing zeros or an
// exponent; what rounds to zero, such as a residue of terms that cancel,
// prints as "0".
TEST(UsiSession, ScoresPrintAsPlainDecimals) {
  EXPECT_EQ(score_text(-2.775557562e-17), "0");
  EXPECT_EQ(score_text(2.775557562e-17), "0");
  EXPECT_EQ(score_text(-0.00004), "0");
  EXPECT_EQ(score_text(0), "0");
  EXPECT_EQ(score_text(0.1), "0.1");
  EXPECT_EQ(score_text(0.09999999999999998), "0.1");
  EXPECT_EQ(score_text(-27.200000000000003), "-27.2");
  EXPECT_EQ(score_text(12.34567), "12.3457");
  EXPECT_EQ(score_text(-0.5), "-0.5");
  EXPECT_EQ(score_text(100), "100");
  EXPECT_EQ(score_text(-99999), "-99999");
  EXPECT_EQ(score_text(1e21), "1000000000000000000000");
}

}  // namespace
}  // namespace nirvex

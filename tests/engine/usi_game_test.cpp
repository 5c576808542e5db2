// The console tool's game mode: whole games against the computer with
// "newgame" and "play", through the same game flow as the window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <vector>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"
#include "ui/flow/outside_engine.h"

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

// A game whose candidates include terms that cancel: every score the
// console prints is a plain decimal of at most four places, never "-0".
TEST(UsiGame, EveryScorePrintsAsAPlainDecimal) {
  UsiSession s;
  ask(s, "setoption name ShowCandidates value true");
  ask(s, "setoption name Level value 1");
  ask(s, "setoption name TimeOfDay value 74767.7");
  ask(s, "newgame sente");
  int scores = 0;
  for (const char* move : {"2f6b+", "3f4d", "4f4e", "1f3f", "3f3e", "6f5e", "5f6f", "5e5f",
                           "4d5b+", "5f4f", "4f3f", "3f3e", "3e3f", "3f2f", "2f2e"}) {
    for (const std::string& line : ask(s, std::string("play ") + move)) {
      ASSERT_FALSE(line.starts_with("info string refused")) << line;
      if (!line.starts_with("info string candidate ") && !line.starts_with("info string score "))
        continue;
      const std::string score = line.substr(line.rfind(' ') + 1);
      EXPECT_TRUE(std::regex_match(score, std::regex("-?[0-9]+(\\.[0-9]{0,3}[1-9])?"))) << line;
      EXPECT_NE(score, "-0") << line;
      ++scores;
    }
  }
  EXPECT_GT(scores, 300);
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

namespace nirvex {
namespace {

std::string fake_engine(const char* mode) {
  return std::string(NIRVEX_FAKE_ENGINE_DIR "/fake-usi-") + mode;
}

// The position of a "position sfen … moves …" line the engine heard.
GameState heard_position(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string x; in >> x;) w.push_back(x);
  GameState g;
  std::string error;
  EXPECT_TRUE(read_sfen(w[2] + ' ' + w[3] + ' ' + w[4] + ' ' + w[5], g, error)) << error;
  for (size_t i = 7; i < w.size(); ++i) {
    RuleMove m;
    EXPECT_TRUE(read_move(g, w[i], g.turn == g.upper_side, m, error)) << line;
    apply_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
    g.turn = -g.turn;
  }
  return g;
}

class UsiEngineGame : public ::testing::Test {
 protected:
  void SetUp() override {
    // The folder is shared with every other run on this machine: the name
    // carries this process's id, so that no other run's engines are heard.
    log_ = ::testing::TempDir() + "usi_engine_game_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    std::remove(log_.c_str());
    setenv("NIRVEX_FAKE_ENGINE_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("NIRVEX_FAKE_ENGINE_LOG");
    std::remove(log_.c_str());
  }
  std::vector<std::string> heard() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // The process ids the fake engines wrote, and how often they heard `line`.
  std::vector<int> engine_pids() const {
    std::vector<int> pids;
    for (const std::string& l : heard())
      if (l.starts_with("pid ")) pids.push_back(std::stoi(l.substr(4)));
    return pids;
  }
  int times_heard(const std::string& line) const {
    const std::vector<std::string> lines = heard();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }
  // The process no longer exists: it has ended and has been reaped.
  static bool gone(int pid) { return kill(pid, 0) != 0 && errno == ESRCH; }
  std::string log_;
};

// Random players leave their king open again and again: the computer
// takes it itself, and the engine only ever hears positions in which the
// side to move cannot take a king.
TEST_F(UsiEngineGame, TheEngineIsNeverAskedWhereTheKingCanBeTaken) {
  int engine_moves = 0, kings_taken = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    UsiSession s;
    std::mt19937 rng(seed);
    ask(s, "setoption name Engine value " + fake_engine("good"));
    ask(s, seed % 2 ? "newgame sente" : "newgame gote");
    for (int ply = 0; ply < 80; ++ply) {
      const std::vector<std::string> out = ask(s, "play " + random_move(s, rng));
      bool over = false;
      for (const std::string& line : out) {
        ASSERT_FALSE(line.starts_with("info string engine error")) << line;
        // Only taking a king is the built-in player's move (score 9999).
        if (line.starts_with("info string score")) {
          EXPECT_EQ(line, "info string score 9999");
        }
        if (line == "info string winner ｺﾝﾋﾟｭｰﾀ") ++kings_taken;
        over |= line.starts_with("info string winner ");
      }
      if (over) break;
    }
  }
  for (const std::string& line : heard()) {
    if (!line.starts_with("position ")) continue;
    ++engine_moves;
    const GameState g = heard_position(line);
    const bool upper = g.turn == g.upper_side;
    EXPECT_FALSE(king_attacked(g, !upper)) << line;
  }
  EXPECT_GT(engine_moves, 40);
  EXPECT_GT(kings_taken, 10);
}

TEST_F(UsiEngineGame, AFaultIsOneLineThenLevelThreeMovesAndTheEngineStaysOff) {
  UsiSession s;
  ask(s, "setoption name Engine value " + fake_engine("illegal"));
  ask(s, "setoption name EngineMoveTime value 100");
  const std::vector<std::string> out = ask(s, "newgame gote");
  ASSERT_GE(out.size(), 4u);
  EXPECT_EQ(out[0], "info string newgame");
  EXPECT_TRUE(out[1].starts_with("info string engine error 外部エンジン「Fake illegal」の指し手「6f1a」"))
      << out[1];
  EXPECT_TRUE(out[2].starts_with("info string score "));  // LEVEL3 plays as usual
  EXPECT_TRUE(out[3].starts_with("bestmove "));
  EXPECT_EQ(s.console_game()->game().g.level, 3);
  // The next game is the built-in player's until the engine is set again.
  const std::vector<std::string> again = ask(s, "newgame gote");
  for (const std::string& line : again) EXPECT_FALSE(line.starts_with("info string engine"));
  ask(s, "setoption name Engine value " + fake_engine("resign"));
  EXPECT_EQ(ask(s, "newgame gote"),
            (std::vector<std::string>{"info string newgame", "bestmove resign",
                                      "info string winner あなた"}));
  EXPECT_TRUE(ask(s, "setoption name EngineMoveTime value 5").front().starts_with("info string error"));
}

TEST_F(UsiEngineGame, TheEnginesMovesPrintWithoutScores) {
  UsiSession s;
  ask(s, "setoption name ShowCandidates value true");
  ask(s, "setoption name Engine value " + fake_engine("good"));
  const std::vector<std::string> first = ask(s, "newgame gote");
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[1], "bestmove 6a6e");  // the rook takes the pawn: the best capture
  for (const std::string& line : first) EXPECT_FALSE(line.starts_with("info string candidate"));
  ask(s, "setoption name Engine value <empty>");
  const std::vector<std::string> builtin = ask(s, "newgame gote");
  EXPECT_TRUE(builtin[1].starts_with("info string candidate "));
}

// Every way of switching the engine off ends its process at once: it is
// told "quit", and it is gone and reaped before the command returns.
TEST_F(UsiEngineGame, AnEngineSwitchedOffIsEndedAtOnce) {
  for (const std::string& off : {std::string("setoption name Engine value <empty>"),
                                 "setoption name Engine value " + fake_engine("resign"),
                                 std::string("setoption name Level value 2")}) {
    UsiSession s;
    ask(s, "setoption name Engine value " + fake_engine("good"));
    ASSERT_EQ(ask(s, "newgame gote")[1], "bestmove 6a6e") << off;
    const std::vector<int> pids = engine_pids();
    ASSERT_EQ(pids.size(), 1u) << off;
    EXPECT_FALSE(gone(pids[0])) << off;  // it stays between moves
    ask(s, off);
    EXPECT_TRUE(gone(pids[0])) << off;
    EXPECT_EQ(times_heard("quit"), 1) << off;
    std::remove(log_.c_str());
  }
}

// Engines that never stop writing: the fault is named when the awaited
// answer's deadline passes (at once for a line no USI line can be), the
// process is ended, LEVEL3 moves, and the output held waiting for a line's
// end stays bounded.
TEST_F(UsiEngineGame, AnEngineThatFloodsFailsWithinItsDeadline) {
  const struct {
    const char* mode;
    const char* says;
    int deadline_ms;
  } floods[] = {{"flood", "が応答しません（usi に usiok がありません）。", 10000},
                {"longline", "が応答しません（usi に usiok がありません）。", 10000},
                {"floodgo", "が時間内に指しませんでした。", 100 + 10000}};
  for (const auto& f : floods) {
    UsiSession s;
    ask(s, "setoption name EngineMoveTime value 100");
    ask(s, "setoption name Engine value " + fake_engine(f.mode));
    const auto asked = std::chrono::steady_clock::now();
    const std::vector<std::string> out = ask(s, "newgame gote");
    const auto took = std::chrono::steady_clock::now() - asked;
    ASSERT_GE(out.size(), 4u) << f.mode;
    EXPECT_EQ(out[1], std::string("info string engine error 外部エンジン「Fake ") + f.mode + "」" +
                          f.says + " LEVEL3 が代わりに指します。");
    EXPECT_TRUE(out[2].starts_with("info string score ")) << f.mode;
    EXPECT_TRUE(out[3].starts_with("bestmove ")) << f.mode;
    // The deadline with a margin for a loaded machine; without it holding
    // the command would never return.
    EXPECT_LT(took, std::chrono::milliseconds(f.deadline_ms) + std::chrono::seconds(20)) << f.mode;
    EXPECT_LE(s.console_game()->engine().most_buffered(),
              static_cast<size_t>(longest_engine_line) + 64 * 1024) << f.mode;
    for (int pid : engine_pids()) EXPECT_TRUE(gone(pid)) << f.mode;
    std::remove(log_.c_str());
  }
}

}  // namespace
}  // namespace nirvex

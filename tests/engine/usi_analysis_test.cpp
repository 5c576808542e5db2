// "analyse" in the console: the record analysis of the moves of the last
// "position" command or of the game of "newgame", with the scripted
// engines and with Fairy-Stockfish itself (depth-limited, so that its
// answers repeat).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <regex>
#include <sstream>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tools/usi/console_game.h"
#include "tools/usi/usi_session.h"
#include "tests/engine/support/console_lines.h"

namespace nirvex {
namespace {

std::vector<std::string> ask(UsiSession& s, const std::string& line) { return console_lines(s, line); }

std::string fake_engine(const char* mode) {
  return std::string(NIRVEX_FAKE_ENGINE_DIR "/fake-usi-") + mode;
}

// One printed line taken apart.
struct Line {
  int ply = 0;
  std::string move, score, best, mark;
  int loss = 0;
};

Line line_of(const std::string& text) {
  static const std::regex form(
      R"(info string analysis (\d+) (\S+) ((?:cp|mate) -?\d+) (\S+) (\d+) (\S+))");
  std::smatch m;
  EXPECT_TRUE(std::regex_match(text, m, form)) << text;
  if (m.empty()) return {};
  return {std::stoi(m[1]), m[2], m[3], m[4], m[6], std::stoi(m[5])};
}

TEST(UsiAnalysis, WithoutAnEngineOrWithBadWordsItSaysSo) {
  UsiSession s;
  ask(s, "position startpos moves 6e6d");
  EXPECT_EQ(ask(s, "analyse"), std::vector<std::string>{"info string analysis error no engine"});
  for (const char* bad : {"analyse movetime 50", "analyse depth 0", "analyse depth 31",
                          "analyse movetime 200x", "analyse quickly", "analyse depth"})
    EXPECT_TRUE(ask(s, bad).front().starts_with("info string error analyse needs")) << bad;
  ask(s, "setoption name Engine value " + fake_engine("good"));
  ask(s, "position startpos");
  EXPECT_EQ(ask(s, "analyse"), std::vector<std::string>{"info string analysis error no moves"});
}

TEST(UsiAnalysis, TheMovesOfThePositionCommandOneLineEach) {
  UsiSession s;
  ask(s, "setoption name Engine value " + fake_engine("good"));
  // From an SFEN with a move number: the plies count from its first move.
  ask(s, "position sfen rbnsgk/5p/6/6/P5/KGSNBR b - 9 moves 6e6d 1b1c 6d6c 1c1d");
  const std::vector<std::string> out = ask(s, "analyse movetime 100");
  ASSERT_EQ(out.size(), 5u);
  const char* moves[] = {"6e6d", "1b1c", "6d6c", "1c1d"};
  for (int i = 0; i < 4; ++i) {
    const Line l = line_of(out[i]);
    EXPECT_EQ(l.ply, i + 1);
    EXPECT_EQ(l.move, moves[i]);
  }
  EXPECT_EQ(out.back(), "info string analysis done");
  // The examined position stays where the moves left it.
  EXPECT_EQ(s.game().record_pos, 12);
  EXPECT_EQ(s.game().board[1][3], -code_pawn);
}

TEST(UsiAnalysis, TheCurrentGameAndItGoesOnAfterwards) {
  UsiSession s;
  ask(s, "setoption name Engine value " + fake_engine("good"));
  ask(s, "position startpos moves 6e6d");  // not this: there is a game
  ask(s, "newgame gote");  // the scripted engine takes the pawn with its rook
  ask(s, "play 6f6e");     // and the king takes the rook
  ASSERT_EQ(s.console_game()->game().g.record_pos, 3);
  const std::vector<std::string> out = ask(s, "analyse depth 2");
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(line_of(out[0]).move, "6a6e");
  EXPECT_EQ(line_of(out[1]).move, "6f6e");
  EXPECT_EQ(out.back(), "info string analysis done");
  const std::vector<std::string> next = ask(s, "play R*4d");
  ASSERT_FALSE(next.empty());
  EXPECT_TRUE(next.back().starts_with("bestmove ")) << next.back();
  EXPECT_EQ(s.console_game()->game().g.record_pos, 5);
}

TEST(UsiAnalysis, AFaultHalfwayPrintsWhatWasDoneThenTheEnginesMessage) {
  UsiSession s;
  ask(s, "setoption name Engine value " + fake_engine("fading"));
  ask(s, "position startpos moves 6e6d 1b1c 6d6c");
  const std::vector<std::string> out = ask(s, "analyse");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(line_of(out[0]).move, "6e6d");
  EXPECT_EQ(out[1], "info string analysis error 外部エンジン「Fake fading」が途中で終了しました。 "
                    "棋譜解析はここまでです。");
  ask(s, "setoption name Engine value " + fake_engine("novariant"));
  EXPECT_EQ(ask(s, "analyse").back(), "info string analysis error 外部エンジン「Fake novariant」"
                                      "はこの将棋（judkins）を指せません。 棋譜解析はここまでです。");
}

// An engine that never stops writing ends the analysis within its
// deadline: after "go" when the search's time is up, at once for a line no
// USI line can be.
TEST(UsiAnalysis, AnEngineThatFloodsEndsItWithinItsDeadline) {
  const struct {
    const char* mode;
    const char* says;
    int deadline_ms;
  } floods[] = {{"longline", "が応答しません（usi に usiok がありません）。", 0},
                {"floodgo", "が時間内に指しませんでした。", 100 + 10000}};
  for (const auto& f : floods) {
    UsiSession s;
    ask(s, "setoption name Engine value " + fake_engine(f.mode));
    ask(s, "position startpos moves 6e6d");
    const auto asked = std::chrono::steady_clock::now();
    const std::vector<std::string> out = ask(s, "analyse movetime 100");
    const auto took = std::chrono::steady_clock::now() - asked;
    ASSERT_EQ(out.size(), 1u) << f.mode;
    EXPECT_EQ(out[0], std::string("info string analysis error 外部エンジン「Fake ") + f.mode + "」" +
                          f.says + " 棋譜解析はここまでです。");
    // The deadline with a margin for a loaded machine.
    EXPECT_LT(took, std::chrono::milliseconds(f.deadline_ms) + std::chrono::seconds(20)) << f.mode;
  }
}

// The position of a "position sfen … [moves …]" line, each move checked
// to be one that engines take.
GameState handed_position(const std::string& line) {
  std::istringstream words(line);
  std::vector<std::string> w;
  for (std::string x; words >> x;) w.push_back(x);
  GameState at;
  std::string error;
  EXPECT_TRUE(read_sfen(w[2] + ' ' + w[3] + ' ' + w[4] + ' ' + w[5], at, error)) << line;
  for (size_t j = 7; j < w.size(); ++j) {
    RuleMove m;
    EXPECT_TRUE(read_move(at, w[j], at.turn == at.upper_side, m, error)) << line;
    apply_move(at, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
    at.turn = -at.turn;
    EXPECT_FALSE(engine_refuses_move(at, m)) << line;
  }
  return at;
}

// Random games under the movement rules, kings left open again and again:
// the engine only ever hears positions it can be given, and every move
// that leaves its king to be taken is a 大悪手 with the capture next.
TEST(UsiAnalysis, KingsLeftOpenAreJudgedByTheRulesAndNeverHandedOver) {
  const std::string log =
      ::testing::TempDir() + "usi_analysis_kings_" + std::to_string(getpid()) + ".log";
  setenv("NIRVEX_FAKE_ENGINE_LOG", log.c_str(), 1);
  int open_kings = 0;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    std::remove(log.c_str());
    std::mt19937 rng(seed);
    auto g = std::make_unique<GameState>();
    std::string error;
    read_sfen(start_sfen, *g, error);
    std::string moves;
    std::vector<GameState> after;  // the position after each move
    bool king_taken = false;
    for (int ply = 0; ply < 40 && !king_taken; ++ply) {
      const bool upper = g->turn == g->upper_side;
      mark_pawn_columns(*g);
      const std::vector<RuleMove> list = list_rule_moves(*g, upper);
      const RuleMove m = list[std::uniform_int_distribution<size_t>(0, list.size() - 1)(rng)];
      king_taken = std::abs(g->board[m.to_col][m.to_row]) == code_king;
      play_rule_move(*g, m);
      g->turn = -g->turn;
      moves += ' ' + move_text(m);
      after.push_back(*g);
    }
    UsiSession s;
    ask(s, "setoption name Engine value " + fake_engine("good"));
    ASSERT_TRUE(ask(s, "position startpos moves" + moves).empty());
    const std::vector<std::string> out = ask(s, "analyse movetime 100");
    ASSERT_EQ(out.back(), "info string analysis done") << moves;
    ASSERT_EQ(out.size(), after.size() + 1);
    // Taking the king wins, whatever it leaves open.
    const size_t open_to_judge = after.size() - (king_taken ? 1 : 0);
    for (size_t i = 0; i < open_to_judge; ++i) {
      GameState& at = after[i];
      if (!king_attacked(at, at.turn != at.upper_side)) continue;
      ++open_kings;
      EXPECT_EQ(line_of(out[i]).mark, "大悪手") << out[i];
      if (i + 1 == after.size()) continue;
      RuleMove capture;
      ASSERT_TRUE(read_move(at, line_of(out[i + 1]).best, at.turn == at.upper_side, capture, error));
      EXPECT_EQ(std::abs(at.board[capture.to_col][capture.to_row]), code_king) << out[i + 1];
    }
    std::ifstream heard(log);
    for (std::string line; std::getline(heard, line);) {
      if (!line.starts_with("position ")) continue;
      const GameState at = handed_position(line);
      EXPECT_FALSE(king_attacked(at, at.turn != at.upper_side)) << line;
    }
  }
  unsetenv("NIRVEX_FAKE_ENGINE_LOG");
  std::remove(log.c_str());
  EXPECT_GE(open_kings, 5);
}

// Is Fairy-Stockfish there to be asked?
bool fairy_available() {
  const std::string program = NIRVEX_FAIRY_STOCKFISH;
  return !program.empty() && access(program.c_str(), X_OK) == 0;
}

// Fairy-Stockfish's analysis of a game at depth 8, once and again.
std::vector<std::string> fairy_analysis(const std::string& position) {
  UsiSession s;
  ask(s, std::string("setoption name Engine value ") + NIRVEX_FAIRY_STOCKFISH);
  EXPECT_TRUE(ask(s, position).empty()) << position;
  return ask(s, "analyse depth 8");
}

TEST(UsiAnalysisWithFairyStockfish, APieceLeftHangingIsMarkedAndItsCaptureIsTheReply) {
  if (!fairy_available()) GTEST_SKIP() << "fairy-stockfish is not installed";
  // Its own opening, then the rook goes to 1c where the pawn takes it.
  const std::string game = "position startpos moves 2f4d 5a3c 4f4e 3a2b 1f1c 1b1c";
  const std::vector<std::string> out = fairy_analysis(game);
  ASSERT_EQ(out.size(), 7u);
  EXPECT_EQ(out.back(), "info string analysis done");
  const Line hang = line_of(out[4]);
  EXPECT_EQ(hang.move, "1f1c");
  EXPECT_TRUE(hang.mark == "悪手" || hang.mark == "大悪手") << out[4];
  EXPECT_EQ(line_of(out[5]).best, "1b1c") << out[5];
  EXPECT_EQ(line_of(out[5]).mark, "-");
  EXPECT_EQ(fairy_analysis(game), out);  // the same answers again
}

TEST(UsiAnalysisWithFairyStockfish, AMissedMateInOneIsMarked) {
  if (!fairy_available()) GTEST_SKIP() << "fairy-stockfish is not installed";
  // G*2b mates at once; the king steps aside instead, and the upper side's
  // rook, bishop and gold in hand turn on it.
  const std::vector<std::string> out =
      fairy_analysis("position sfen 5k/6/4G1/6/6/K5 b Grbg 1 moves 6f5f");
  ASSERT_EQ(out.size(), 2u);
  const Line miss = line_of(out[0]);
  EXPECT_EQ(miss.best, "G*2b");
  EXPECT_NE(miss.mark, "-") << out[0];
  // Played, the mate costs nothing and ends the game.
  const std::vector<std::string> mate =
      fairy_analysis("position sfen 5k/6/4G1/6/6/K5 b Grbg 1 moves G*2b");
  ASSERT_EQ(mate.size(), 2u);
  EXPECT_EQ(line_of(mate[0]).mark, "-");
  EXPECT_EQ(line_of(mate[0]).score, "mate 0");
}

}  // namespace
}  // namespace nirvex

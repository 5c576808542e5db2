// The tool's "go perft 1" against Fairy-Stockfish's "judkins" variant, the
// same game on the same board, over positions from random play.  Its rules
// differ from ours only in that it forbids leaving one's own king attacked
// and mating with a pawn drop, so every move it lists must be ours, and
// every extra move of ours must be one of those two.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <random>
#include <set>
#include <sstream>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "tests/engine/support/engine_pipe.h"
#include "tools/usi/usi_session.h"

namespace nirvex {
namespace {

using testing::EnginePipe;

constexpr int position_count = 2000;
constexpr int max_plies = 70;
constexpr std::uint32_t seed = 61166u;

// Reads lines until one starts with `prefix`; returns that line.
std::string read_until(EnginePipe& engine, const std::string& prefix) {
  std::string line;
  while (engine.read_line(line))
    if (line.rfind(prefix, 0) == 0) return line;
  return "";
}

// The moves of "go perft 1" output: lines "MOVE: 1" up to "Nodes searched".
std::vector<std::string> perft_moves(std::istream& in) {
  std::vector<std::string> moves;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Nodes searched", 0) == 0) break;
    const size_t colon = line.find(": ");
    if (colon != std::string::npos) moves.push_back(line.substr(0, colon));
  }
  return moves;
}

// Fairy-Stockfish's moves for the position it was given.
std::vector<std::string> fairy_perft(EnginePipe& fsf) {
  fsf.send("go perft 1");
  std::string text, line;
  while (fsf.read_line(line)) {
    text += line + '\n';
    if (line.rfind("Nodes searched", 0) == 0) break;
  }
  std::istringstream in(text);
  return perft_moves(in);
}

// Our tool's moves for its current position.
std::vector<std::string> our_perft(UsiSession& ours) {
  std::ostringstream out;
  ours.handle("go perft 1", out);
  std::istringstream in(out.str());
  return perft_moves(in);
}


// The game after one move, the pawn tables refreshed.
std::unique_ptr<GameState> after_move(const GameState& g, const RuleMove& m) {
  auto next = std::make_unique<GameState>(g);
  apply_move(*next, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
  mark_pawn_columns(*next);
  return next;
}

// Does the move leave the mover's own king attacked?
bool leaves_king_attacked(const GameState& g, const RuleMove& m, bool upper) {
  return king_attacked(*after_move(g, m), upper);
}

// Is the move a pawn drop after which the opponent is in check and has no
// move that gets its king out of attack?
bool pawn_drop_mate(const GameState& g, const RuleMove& m, bool upper) {
  if (!m.is_drop() || m.from_row != 1) return false;
  auto next = after_move(g, m);
  if (!king_attacked(*next, !upper)) return false;
  for (const RuleMove& reply : list_rule_moves(*next, !upper))
    if (!leaves_king_attacked(*next, reply, !upper)) return false;
  return true;
}

// Moves separated by blanks.
std::string joined(const std::vector<std::string>& moves) {
  std::string s;
  for (const auto& m : moves) s += (s.empty() ? "" : " ") + m;
  return s;
}

// Counts of what the comparison met.
struct Tally {
  int positions = 0, both = 0, self_check = 0, pawn_mate = 0, by_sfen = 0;
};

// Compares both move lists for the position `ours` now stands at, which
// the other program has been given too.  Returns the other program's list.
std::vector<std::string> compare_here(EnginePipe& fsf, UsiSession& ours, const std::string& where,
                                      Tally& tally) {
  const std::vector<std::string> theirs = fairy_perft(fsf);
  const std::vector<std::string> mine = our_perft(ours);
  ++tally.positions;
  tally.both += static_cast<int>(theirs.size());
  const std::set<std::string> mine_set(mine.begin(), mine.end());
  const std::set<std::string> their_set(theirs.begin(), theirs.end());
  EXPECT_EQ(mine_set.size(), mine.size()) << "a move listed twice at " << where;
  for (const std::string& m : theirs)
    EXPECT_TRUE(mine_set.count(m)) << "missing " << m << " at " << where;

  const bool upper = ours.game().turn == ours.game().upper_side;
  GameState g = ours.game();
  mark_pawn_columns(g);
  for (const std::string& text : mine) {
    if (their_set.count(text)) continue;
    RuleMove m;
    std::string error;
    if (!read_move(g, text, upper, m, error)) {
      ADD_FAILURE() << error << " at " << where;
    } else if (leaves_king_attacked(g, m, upper)) {
      ++tally.self_check;
    } else if (pawn_drop_mate(g, m, upper)) {
      ++tally.pawn_mate;
    } else {
      ADD_FAILURE() << "extra move " << text << " at " << where;
    }
  }
  return theirs;
}

// Starts the other program in the judkins variant and checks that it
// agrees on the start position.
void start_judkins(EnginePipe& fsf) {
  fsf.send("usi");
  ASSERT_EQ(read_until(fsf, "usiok"), "usiok");
  fsf.send("setoption name UCI_Variant value judkins");
  fsf.send("isready");
  ASSERT_EQ(read_until(fsf, "readyok"), "readyok");
  fsf.send("position startpos");
  fsf.send("d");
  ASSERT_EQ(read_until(fsf, "Sfen: "), "Sfen: " + std::string(start_sfen));
  fsf.send("isready");
  ASSERT_EQ(read_until(fsf, "readyok"), "readyok");
}

// Is the program there and executable?
bool fairy_available(const std::string& program) {
  return !program.empty() && access(program.c_str(), X_OK) == 0;
}

// Fairy-Stockfish 11.1 (Debian bookworm) lists a mating pawn drop in its
// judkins variant; the comparison accepts it either way, and both lists
// must then hold it.
TEST(PerftVsFairyStockfish, MatingPawnDrops) {
  const std::string program = NIRVEX_FAIRY_STOCKFISH;
  if (!fairy_available(program))
    GTEST_SKIP() << "fairy-stockfish is not installed (Debian package fairy-stockfish)";
  EnginePipe fsf(program);
  ASSERT_TRUE(fsf.running());
  start_judkins(fsf);
  UsiSession ours;
  Tally tally;
  // A lower pawn dropped on 6b mates the upper king; an upper pawn dropped
  // on 1e mates the lower king.
  const std::pair<const char*, const char*> cases[] = {{"k5/2S3/G5/6/6/5K b P 1", "P*6b"},
                                                       {"k5/6/6/5g/3s2/5K w p 1", "P*1e"}};
  for (const auto& [sfen, drop] : cases) {
    const std::string position = std::string("position sfen ") + sfen;
    std::ostringstream answer;
    ours.handle(position, answer);
    ASSERT_EQ(answer.str(), "");
    fsf.send(position);
    const Tally before = tally;
    const std::vector<std::string> theirs = compare_here(fsf, ours, position, tally);
    const std::vector<std::string> mine = our_perft(ours);
    EXPECT_NE(std::find(mine.begin(), mine.end(), drop), mine.end()) << position;
    if (std::find(theirs.begin(), theirs.end(), drop) == theirs.end()) {
      EXPECT_EQ(tally.pawn_mate, before.pawn_mate + 1) << position;
    }

    // After the drop the side to move has no answer in either program.
    GameState g = ours.game();
    mark_pawn_columns(g);
    RuleMove m;
    std::string error;
    ASSERT_TRUE(read_move(g, drop, g.turn == g.upper_side, m, error)) << error;
    EXPECT_TRUE(pawn_drop_mate(g, m, g.turn == g.upper_side)) << position;
  }
}

TEST(PerftVsFairyStockfish, JudkinsAgreesUpToKingSafetyAndPawnDropMate) {
  const std::string program = NIRVEX_FAIRY_STOCKFISH;
  if (!fairy_available(program))
    GTEST_SKIP() << "fairy-stockfish is not installed (Debian package fairy-stockfish)";
  EnginePipe fsf(program);
  ASSERT_TRUE(fsf.running());
  start_judkins(fsf);

  std::mt19937 rng(seed);
  UsiSession ours;
  Tally tally;
  while (tally.positions < position_count) {
    std::vector<std::string> history;
    for (int ply = 0; ply < max_plies && tally.positions < position_count; ++ply) {
      const std::string position =
          "position startpos" + (history.empty() ? "" : " moves " + joined(history));
      std::ostringstream answer;
      ours.handle(position, answer);
      ASSERT_EQ(answer.str(), "") << position;
      // Every other position reaches the other program as our own SFEN.
      if (tally.positions % 2 == 1) {
        fsf.send("position sfen " + write_sfen(ours.game()));
        ++tally.by_sfen;
      } else {
        fsf.send(position);
      }
      const std::vector<std::string> theirs = compare_here(fsf, ours, position, tally);
      if (HasFailure()) return;
      if (theirs.empty()) break;  // mate or no move: a new game
      history.push_back(theirs[rng() % theirs.size()]);
    }
  }
  std::cout << tally.positions << " positions (" << tally.by_sfen << " sent as SFEN), "
            << tally.both << " moves listed by both; extra moves of ours: " << tally.self_check
            << " leave the own king attacked, " << tally.pawn_mate << " mate by a pawn drop\n";
  EXPECT_GT(tally.self_check, 0);
}

}  // namespace
}  // namespace nirvex

// A scripted USI engine for the tests of the outside-engine opponent and
// of the record analysis.  Its behaviour is its name: fake-usi-good plays
// a legal move and scores the position by the pieces each side has,
// fake-usi-hang never answers "go", fake-usi-crash dies on "go",
// fake-usi-fading dies on its third "go", fake-usi-illegal answers a move
// the rules refuse, fake-usi-resign resigns, fake-usi-mute never says
// "usiok", fake-usi-novariant does not play this game.  Three never stop
// writing until their reader goes: fake-usi-flood writes endless info
// lines from its first line on, fake-usi-floodgo does so after "go", and
// fake-usi-longline answers "usi" with one line that never ends.  With
// NIRVEX_FAKE_ENGINE_LOG set, it writes its process id and every line it
// hears to that file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_client.h"
#include "engine/usi_move.h"
#include "model/rules.h"
#include "unistd.h"

namespace {

using namespace nirvex;

std::string mode_of(const char* argv0) {
  std::string name = argv0;
  const size_t slash = name.rfind('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const std::string prefix = "fake-usi-";
  return name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : "good";
}

// The position of a "position sfen … moves …" line.
bool read_position(const std::string& line, GameState& g) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string x; in >> x;) w.push_back(x);
  if (w.size() < 6 || w[1] != "sfen") return false;
  std::string error;
  if (!read_sfen(w[2] + ' ' + w[3] + ' ' + w[4] + ' ' + w[5], g, error)) return false;
  for (size_t i = 7; i < w.size(); ++i) {
    RuleMove m;
    if (!read_move(g, w[i], g.turn == g.upper_side, m, error)) return false;
    apply_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
    g.turn = -g.turn;
  }
  return true;
}

// The first move that keeps the mover's king safe, a capture first.
std::string good_move(GameState g) {
  const bool upper = g.turn == g.upper_side;
  mark_pawn_columns(g);
  std::string best;
  int best_gain = -1;
  for (const RuleMove& m : list_rule_moves(g, upper)) {
    GameState after = g;
    const int gain = std::abs(after.board[m.to_col][m.to_row]);
    apply_move(after, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
    if (king_attacked(after, upper)) continue;
    if (gain > best_gain) {
      best_gain = gain;
      best = move_text(m);
    }
  }
  return best.empty() ? "resign" : best;
}

// The side to move's pieces on the board and in hand, less the other's,
// each by its code's size (a pawn 20, a rook 900).
int material(const GameState& g) {
  const int sign = g.turn == g.upper_side ? 1 : -1;
  int sum = 0;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r) sum += sign * g.board[c][r];
  for (int k = 1; k <= 6; ++k)
    sum += std::abs(hand_kind_code(k, true)) * (sign > 0 ? g.upper_hand[k] - g.lower_hand[k]
                                                         : g.lower_hand[k] - g.upper_hand[k]);
  return sum;
}

// Writes `text` again and again as fast as the reader takes it; the
// reader's going ends the program (SIGPIPE).
[[noreturn]] void flood(const std::string& text) {
  std::string block;
  while (block.size() < 16 * 1024) block += text;
  for (;;) {
    std::cout.write(block.data(), static_cast<std::streamsize>(block.size()));
    std::cout.flush();
    if (!std::cout) std::exit(1);
  }
}

const std::string flood_line = "info string the engine has a lot to say\n";

}  // namespace

int main(int, char** argv) {
  const std::string mode = mode_of(argv[0]);
  std::ofstream log;
  if (const char* path = std::getenv("NIRVEX_FAKE_ENGINE_LOG")) {
    log.open(path, std::ios::app);
    log << "pid " << getpid() << std::endl;
  }
  GameState g;
  int searches = 0;
  for (std::string line; std::getline(std::cin, line);) {
    if (log.is_open()) log << line << std::endl;
    if (line == "usi") {
      std::cout << "id name Fake " << mode << "\n";
      if (mode == "flood") flood(flood_line);
      if (mode == "longline") flood("x");
      if (mode == "mute") {
        std::cout.flush();
        continue;
      }
      std::cout << "option name UCI_Variant type combo default chess var chess var shogi"
                << (mode == "novariant" ? "" : " var judkins") << "\n";
      std::cout << "option name Skill Level type spin default 20 min 0 max 20\n";
      std::cout << "usiok" << std::endl;
    } else if (line == "isready") {
      std::cout << "readyok" << std::endl;
    } else if (line.rfind("position ", 0) == 0) {
      read_position(line, g);
    } else if (line.rfind("go", 0) == 0) {
      if (mode == "hang") continue;
      if (mode == "floodgo") flood(flood_line);
      if (mode == "crash" || (mode == "fading" && ++searches == 3)) std::abort();
      const std::string move = good_move(g);
      if (mode == "illegal") std::cout << "bestmove 6f1a" << std::endl;
      else if (mode == "resign") std::cout << "bestmove resign" << std::endl;
      else if (move == "resign") std::cout << "info depth 0 score mate 0\nbestmove resign" << std::endl;
      else
        std::cout << "info depth 1 score cp " << material(g) << " pv " << move << "\nbestmove "
                  << move << std::endl;
    } else if (line == "quit") {
      return 0;
    }
  }
  return 0;
}

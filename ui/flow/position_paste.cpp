#include "ui/flow/position_paste.h"

#include <sstream>
#include <vector>

#include "engine/sfen.h"
#include "ui/flow/autosave.h"
#include "ui/flow/move_list.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/record_analysis.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// One king on each side: the rest of the game relies on both being there.
bool has_both_kings(const GameState& g) {
  int lower = 0, upper = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      if (g.board[x][y] == -code_king) ++lower;
      if (g.board[x][y] == code_king) ++upper;
    }
  return lower == 1 && upper == 1;
}

// The text on one line with single blanks, for showing it back; long text
// is cut after 60 characters.
std::string shown_text(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  int characters = 0;
  for (std::string w; in >> w;) {
    if (!out.empty()) {
      out += ' ';
      ++characters;
    }
    for (unsigned char c : w) {
      if ((c & 0xC0) != 0x80 && characters++ == 60) return out + "…";
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string sfen_fields(const std::string& clipboard) {
  std::istringstream in(clipboard);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  size_t first = 0;
  if (first < words.size() && words[first] == "position") ++first;
  if (words.size() - first == 1 && words[first] == "startpos") return std::string(start_sfen);
  if (first < words.size() && words[first] == "sfen") ++first;
  if (words.size() - first != 4) return {};
  return words[first] + ' ' + words[first + 1] + ' ' + words[first + 2] + ' ' + words[first + 3];
}

void SFEN_PASTE_Click(Game& game, const std::string& clipboard) {
  close_record_panel(game);
  const std::string fields = sfen_fields(clipboard);
  GameState next = game.g;
  std::string error;
  if (fields.empty() || !read_sfen(fields, next, error) || !has_both_kings(next)) {
    play(game, game.snd_forbidden);
    message(game,
            "クリップボードの文字列は正しい局面(SFEN)ではありません\n「" + shown_text(clipboard) +
                "」\n例: rbnsgk/5p/6/6/P5/KGSNBR b - 1（盤面 手番 持ち駒 手数）、王は両方に1枚ずつ",
            "SFEN");
    return;
  }
  // The game the pasted position replaces is kept first.
  autosave_game(game);
  stop_engine_errand(game);
  cancel_record_analysis(game);
  forget_engine_game(game);
  GameState& g = game.g;
  g = next;
  g.record_pos = 0;
  g.record_len = 0;
  g.kifu_mode = flag_off;
  g.pick_state = 0;
  g.winner = side_none;
  g.flipped = flag_on;
  game.position_pasted = true;
  g.announce_pending = flag_on;
  game.form->stop_timer();
  game.tinted_cells.clear();
  redraw_all(game);
  draw_move_number(game, g.move_number);
  play(game, game.snd_piece);
  tell_move_list(game);
  refresh(game);
}

}  // namespace nirvex

#include "ui/flow/record_menu.h"

#include "ui/flow/move_list.h"
#include "ui/flow/painting.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// A header line of a loaded record, centred over the board area.
void print_record_header(Game& game, const std::string& text, double y_twips, int colour) {
  game.form->print_text(centre_x(text), y_twips, text, colour, 12, game.text_bold);
}

}  // namespace

void KIFU_READ_Click(Game& game) {
  game.form->show_file_lists(true, true, true);
  game.form->show_name_panel(1);
}

void KIFU_WRITE_Click(Game& game) {
  if (game.g.flipped == flag_on) {
    message(game,
            game.position_pasted ? "貼り付けた局面からは書き込みできません"
                                 : "反転後は書き込みできません",
            "棋譜書込");
    return;
  }
  game.form->show_file_lists(true, true, false);
  game.form->show_name_panel(0);
}

void File1_Click(Game& game, const std::string& path) {
  GameState& g = game.g;
  game.form->show_file_lists(false, false, false);
  record::LoadedRecord loaded;
  std::string error;
  // The file is read and checked whole first: a refused one leaves the
  // game on the board as it was.
  if (!game.records->load(path, loaded, error)) {
    play(game, game.snd_forbidden);
    message(game, error, "ERR");
    return;
  }
  new_game(game);

  print_record_header(game, loaded.header.game_name, 5000, colour_pick);
  print_record_header(game, loaded.header.upper_name, 100, colour_text);
  print_record_header(game, loaded.header.lower_name, 4600, colour_text);
  const int n = static_cast<int>(loaded.moves.size());
  for (int i = 0; i < n; ++i) g.move_records[i + 1] = loaded.moves[i];
  g.record_pos = 0;
  g.move_number = 0;
  g.record_len = n;
  tell_move_list(game);
  refresh(game);
  if (n == 0) {
    // Nothing to step through: the game stays fresh.
    message(game, "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません", "棋譜");
    return;
  }
  g.kifu_mode = flag_on;
  message(game, " 読み込みました", "棋譜");
  message(game, "棋譜を '進 'で進めて下さい", "棋譜");

  // The side that made the first move moves first in the replay.
  const int lower = g.lower_side;
  const int upper = g.upper_side;
  if (g.move_records[1].piece_before >= code_pawn) {
    g.play_mode = mode_vs_computer;
    g.first_side = upper;
    g.second_side = lower;
  } else {
    g.play_mode = mode_two_players;
    g.first_side = lower;
    g.second_side = upper;
  }
  g.turn = g.first_side;
}

void Command1_Click(Game& game) {
  GameState& g = game.g;
  if (g.flipped == flag_on) {
    KIFU_WRITE_Click(game);
    return;
  }
  const std::string name = game.form->text_field(1);
  if (name.empty()) {
    message(game, "ﾌｧｲﾙ名が入力されていません", "  ");
    return;
  }
  if (g.record_pos < 1) {
    message(game, "保存するデータがありません", "棋譜保存");
    return;
  }
  record::RecordHeader header;
  header.game_name = game.form->text_field(2);
  const bool lower_first = g.lower_side == g.first_side;
  header.upper_name = game.form->text_field(lower_first ? 4 : 3);
  header.lower_name = game.form->text_field(lower_first ? 3 : 4);
  std::string error;
  if (!game.records->save(game.form->record_folder(), name, header, &g.move_records[1],
                          g.record_pos, error)) {
    play(game, game.snd_forbidden);
    message(game, error, "ERR");
    return;
  }
  close_record_panel(game);
  message(game, "棋譜を書き込みました", "  ");
}

}  // namespace nirvex

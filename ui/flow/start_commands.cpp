#include "ui/flow/start_commands.h"

#include "ui/flow/autosave.h"
#include "ui/flow/clocks.h"
#include "ui/flow/computer_turn.h"
#include "ui/flow/move_list.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/preferences.h"
#include "ui/flow/program.h"
#include "ui/flow/record_analysis.h"

namespace nirvex {

namespace {

// What every start command does first.  An engine still thinking is
// stopped, and the game starts afresh for it.
void common_start_steps(Game& game) {
  GameState& g = game.g;
  stop_engine_errand(game);
  cancel_record_analysis(game);
  forget_engine_game(game);
  clear_sides(game);
  // The strips just cleared run under the end of the upper clock's text;
  // show both clocks whole again.
  draw_clock(game, g.upper_side, g.upper_time_total);
  draw_clock(game, g.lower_side, g.lower_time_total);
  erase_frames(game);
  draw_hand_upper(game);
  draw_hand_lower(game);
  g.pick_state = 0;
  g.kifu_mode = flag_off;
}

// No game yet, or one without a move: the start command begins afresh.
// Otherwise it continues the position on the board.
bool game_is_fresh(const GameState& g) { return g.turn == side_none || g.move_number == 0; }

// The lower side takes the first side's token and the move.
void lower_side_moves_first(GameState& g) {
  g.lower_side = g.first_side;
  g.upper_side = g.second_side;
  g.turn = g.first_side;
}

// Background tiles over the level display.
void clear_level(Game& game) {
  for (int x = -2; x <= 0; ++x) draw_picture(game, game.g.background_id, x, 0);
}

}  // namespace

void new_game(Game& game) {
  autosave_game(game);
  stop_engine_errand(game);
  cancel_record_analysis(game);
  forget_engine_game(game);
  nirvex::new_game(game.g);
  game.form->stop_timer();
  game.tinted_cells.clear();
  redraw_all(game);
  tell_move_list(game);
  refresh(game);
}

void START_Click(Game& game) {
  GameState& g = game.g;
  common_start_steps(game);
  clear_level(game);
  g.turn_start_time = now(game);
  if (checked(game, "KEIKA")) game.form->start_timer();
  g.play_mode = mode_two_players;
  refresh(game);
  if (game_is_fresh(g)) {
    lower_side_moves_first(g);
    message(game, "先手の番です", " ");
  } else if (g.turn == g.first_side) {
    message(game, "先手の番です", " ");
  } else if (g.turn == g.second_side) {
    message(game, "後手の番です", " ");
  }
  g.announce_pending = flag_off;
}

void SENTE_Click(Game& game) {
  GameState& g = game.g;
  common_start_steps(game);
  draw_level(game, g.level);
  g.play_mode = mode_vs_computer;
  g.record_len = g.move_number;
  tell_move_list(game);
  g.turn_start_time = now(game);
  game.form->start_timer();
  refresh(game);
  // A fresh game, or a position with the player to move: the player takes
  // the first side.  The outside engine hears the game from here.
  const bool fresh = game_is_fresh(g);
  const bool player_to_move = !fresh && g.turn == g.lower_side;
  const bool computer_to_move = !fresh && !player_to_move && g.turn == g.upper_side;
  if (fresh || player_to_move) lower_side_moves_first(g);
  engine_game_starts_here(game);
  if (fresh)
    message(game, "MANの番です", " ");
  else if (player_to_move)
    message(game, "MANの番です", "対局");
  else if (computer_to_move)
    com_ban(game);
  g.announce_pending = flag_off;
}

void GOTE_Click(Game& game) {
  GameState& g = game.g;
  common_start_steps(game);
  draw_level(game, g.level);
  game.form->start_timer();
  g.play_mode = mode_vs_computer;
  g.record_len = g.move_number;
  tell_move_list(game);
  refresh(game);
  // A fresh game: the computer takes the first side and the first move.
  const bool fresh = game_is_fresh(g);
  if (fresh) {
    g.lower_side = g.second_side;
    g.upper_side = g.first_side;
    g.turn = g.first_side;
  }
  engine_game_starts_here(game);
  if (!fresh && g.turn == g.lower_side)
    message(game, "MANの番です", "対局");
  else if (fresh || g.turn == g.upper_side)
    com_ban(game);
  g.announce_pending = flag_off;
}

void LEVEL_Click(Game& game, int level) {
  clear_level(game);
  set_level(game, level);
  refresh(game);
}

void set_level(Game& game, int level) {
  // A level in place of the outside engine: its errand is called off, its
  // process told to quit and ended, and the choice saved.
  if (game.engine.choice.plays) {
    stop_engine_errand(game);
    close_engine(game);
    game.engine.choice.plays = false;
    write_settings(game);
  }
  game.form->set_checked("GAIBU", false);
  for (int i = 1; i <= 3; ++i) game.form->set_checked("LEVEL" + std::to_string(i), i == level);
  game.g.level = level;
  if (game.g.play_mode == mode_vs_computer) draw_level(game, game.g.level);
}

void announce_winner(Game& game, const std::string& name) {
  refresh(game);
  autosave_game(game);
  message(game, name + "の勝ちです", "終了");
  if (ask(game, "続けますか？", "再ゲーム") == MsgAnswer::yes) {
    new_game(game);
  } else {
    shut_down(game);
    end_program(game);
  }
}

void close_record_panel(Game& game) {
  game.form->show_file_lists(false, false, false);
  game.form->show_name_panel(1);
}

}  // namespace nirvex

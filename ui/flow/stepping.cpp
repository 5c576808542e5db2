#include "ui/flow/stepping.h"

#include "model/flip.h"
#include "model/record_steps.h"
#include "ui/flow/autosave.h"
#include "ui/flow/clocks.h"
#include "ui/flow/last_move_mark.h"
#include "ui/flow/move_list.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/record_analysis.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// Both clocks set to a record entry's values, and shown.
void set_clocks(Game& game, double upper, double lower) {
  GameState& g = game.g;
  g.upper_time_total = upper;
  draw_clock(game, g.upper_side, g.upper_time_total);
  g.lower_time_total = lower;
  draw_clock(game, g.lower_side, g.lower_time_total);
}

// A step lets go of any pick and stops the clock.
void begin_step(Game& game) {
  game.g.pick_state = 0;
  game.form->stop_timer();
  erase_frames(game);
}

}  // namespace

void AFTER_Click(Game& game) {
  GameState& g = game.g;
  close_record_panel(game);
  stop_engine_errand(game);
  cancel_record_analysis(game);
  if (g.turn == side_none) {
    play(game, game.snd_forbidden);
    message(game, "「対局」で始めて下さい", "開始");
    return;
  }
  g.announce_pending = flag_on;
  if (g.record_pos >= g.record_len) {
    if (g.kifu_mode == flag_on) {
      message(game, "終わり", "進む");
    } else {
      play(game, game.snd_forbidden);
      message(game, "できません", "進む");
    }
    return;
  }
  begin_step(game);

  g.record_pos += 1;
  g.move_number += 1;
  draw_move_number(game, g.move_number);
  const MoveRecord e = g.move_records[g.record_pos];
  redo_recorded_move(g, e);
  set_clocks(game, e.upper_clock_after, e.lower_clock_after);

  draw_square(game, empty_code, e.from_col, e.from_row);
  draw_square(game, e.piece_after, e.to_col, e.to_row);
  draw_hand_lower(game);
  draw_hand_upper(game);
  play(game, game.snd_piece);
  draw_last_move(game, e.piece_after > 0 ? g.upper_side : g.lower_side, e.to_col, e.to_row,
                 e.piece_after, colour_last_move);
  g.turn = -g.turn;
  draw_move_number(game, g.move_number);
  mark_current_move(game);
  tell_move_list(game);
  refresh(game);
}

void REPLAY_Click(Game& game) {
  GameState& g = game.g;
  close_record_panel(game);
  stop_engine_errand(game);
  cancel_record_analysis(game);
  g.announce_pending = flag_on;
  if (g.record_pos < 1) {
    play(game, game.snd_forbidden);
    message(game, "できません", "戻る");
    return;
  }
  begin_step(game);
  const MoveRecord e = g.move_records[g.record_pos];
  undo_recorded_move(g, e);
  if (e.from_col >= 1 && e.from_col <= 6) {
    draw_square(game, e.piece_before, e.from_col, e.from_row);
  }
  set_clocks(game, e.upper_clock_before, e.lower_clock_before);

  draw_hand_lower(game);
  draw_hand_upper(game);
  draw_square(game, empty_code, e.to_col, e.to_row);
  if (e.captured != empty_code) draw_square(game, e.captured, e.to_col, e.to_row);
  play(game, game.snd_piece);
  clear_last_move(game, e.piece_before > 0 ? g.upper_side : g.lower_side);
  g.record_pos -= 1;
  g.move_number -= 1;
  g.turn = -g.turn;
  draw_move_number(game, g.move_number);
  mark_current_move(game);
  tell_move_list(game);
  refresh(game);
}

void CANCEL_Click(Game& game) {
  new_game(game);
  play(game, game.snd_piece);
}

void REVERSE_Click(Game& game) {
  GameState& g = game.g;
  if (g.kifu_mode == flag_on) {
    play(game, game.snd_forbidden);
    message(game, "棋譜ﾓｰﾄﾞではできません", "反転");
    return;
  }
  // The record goes with the half turn: a game in it is kept first.
  autosave_game(game);
  stop_engine_errand(game);
  cancel_record_analysis(game);
  forget_engine_game(game);
  g.flipped = flag_on;
  game.position_pasted = false;
  g.pick_state = 0;
  turn_position(g);
  locate_kings(g);
  turn_last_move_mark(game);
  redraw_all(game);
  draw_move_number(game, g.move_number);
  play(game, game.snd_piece);
  g.turn = -g.turn;
  g.record_pos = 0;
  g.record_len = 0;
  tell_move_list(game);
  refresh(game);
}

void step_to_position(Game& game, int moves) {
  GameState& g = game.g;
  while (g.record_pos != moves && !game.program_ended) {
    const int before = g.record_pos;
    if (moves < g.record_pos)
      REPLAY_Click(game);
    else
      AFTER_Click(game);
    // A refused step has said why; the rest would be refused the same way.
    if (g.record_pos == before) return;
  }
}

}  // namespace nirvex

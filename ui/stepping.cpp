// Stepping through the game record one move at a time ("進", "戻"), back
// to the initial position ("最初"), and turning the board by half a turn
// ("反転").  Stepping works on a loaded record and on a game being played
// alike; after a step back, the next move made on the board replaces the
// rest of the record.
#include "model/flip.h"
#include "model/record_steps.h"
#include "ui/main_window.h"

namespace nirvex {

// "進": plays the next move of the record again.
void MainWindow::AFTER_Click() {
  show_file_lists(false, false, false);
  show_name_panel(1);
  if (g.turn == side_none) {
    play(snd_forbidden);
    message(QStringLiteral("「対局」で始めて下さい"), QStringLiteral("開始"));
    return;
  }
  g.announce_pending = flag_on;
  if (g.record_pos >= g.record_len) {
    if (g.kifu_mode == flag_on) {
      message(QStringLiteral("終わり"), QStringLiteral("進む"));
    } else {
      play(snd_forbidden);
      message(QStringLiteral("できません"), QStringLiteral("進む"));
    }
    return;
  }
  g.pick_state = 0;
  stop_timer();
  erase_frames();

  g.record_pos += 1;
  g.move_number += 1;
  draw_move_number(g.move_number);
  const MoveRecord e = g.move_records[g.record_pos];
  redo_recorded_move(g, e);

  g.upper_time_total = e.upper_clock_after;
  draw_clock(g.upper_side, g.upper_time_total);
  g.lower_time_total = e.lower_clock_after;
  draw_clock(g.lower_side, g.lower_time_total);

  draw_picture(empty_code, e.from_col, e.from_row);
  draw_frame(colour_frame, e.from_col, e.from_row);
  draw_picture(e.piece_after, e.to_col, e.to_row);
  draw_frame(colour_frame, e.to_col, e.to_row);
  draw_hand_lower();
  draw_hand_upper();
  play(snd_piece);
  draw_last_move(e.piece_after > 0 ? g.upper_side : g.lower_side, e.to_col,
                 e.to_row, e.piece_after, colour_last_move);
  g.turn = -g.turn;
  draw_move_number(g.move_number);
  refresh();
}

// "戻": takes the last applied move of the record back.
void MainWindow::REPLAY_Click() {
  show_file_lists(false, false, false);
  show_name_panel(1);
  g.announce_pending = flag_on;
  if (g.record_pos < 1) {
    play(snd_forbidden);
    message(QStringLiteral("できません"), QStringLiteral("戻る"));
    return;
  }
  g.pick_state = 0;
  stop_timer();
  erase_frames();
  const MoveRecord e = g.move_records[g.record_pos];
  undo_recorded_move(g, e);
  if (e.from_col >= 1 && e.from_col <= 6) {
    draw_picture(e.piece_before, e.from_col, e.from_row);
    draw_frame(colour_frame, e.from_col, e.from_row);
  }
  g.upper_time_total = e.upper_clock_before;
  draw_clock(g.upper_side, g.upper_time_total);
  g.lower_time_total = e.lower_clock_before;
  draw_clock(g.lower_side, g.lower_time_total);

  draw_hand_lower();
  draw_hand_upper();
  draw_picture(empty_code, e.to_col, e.to_row);
  draw_frame(colour_frame, e.to_col, e.to_row);
  if (e.captured != empty_code) {
    draw_picture(e.captured, e.to_col, e.to_row);
    draw_frame(colour_frame, e.to_col, e.to_row);
  }
  play(snd_piece);
  clear_last_move(e.piece_before > 0 ? g.upper_side : g.lower_side);
  g.record_pos -= 1;
  g.move_number -= 1;
  g.turn = -g.turn;
  draw_move_number(g.move_number);
  refresh();
}

// "最初": back to the initial position with nobody to move.  The record
// stays, so that a game started afterwards can step through it again.
void MainWindow::CANCEL_Click() {
  new_game();
  play(snd_piece);
}

// "反転": turns the position by half a turn; every piece changes side and
// the hands (with their totals) are exchanged.  The record no longer
// describes the position and is dropped.
void MainWindow::REVERSE_Click() {
  if (g.kifu_mode == flag_on) {
    play(snd_forbidden);
    message(QStringLiteral("棋譜ﾓｰﾄﾞではできません"), QStringLiteral("反転"));
    return;
  }
  g.flipped = flag_on;
  position_pasted_ = false;
  g.pick_state = 0;
  turn_position(g);
  locate_kings(g);
  redraw_all();
  draw_move_number(g.move_number);
  play(snd_piece);
  g.turn = -g.turn;
  g.record_pos = 0;
  g.record_len = 0;
  refresh();
}

}  // namespace nirvex

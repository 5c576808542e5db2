// Moves by mouse: the first click picks a piece on the board or in a hand,
// the second names the destination; the right button promotes.
#include <QAction>
#include <cmath>

#include "model/rules.h"
#include "ui/main_window.h"

namespace nirvex {

namespace {

// The code of a hand slot by screen row: the lower hand lists pawn to rook
// from the top, the upper hand rook to pawn.
PieceCode hand_slot_code(int col, int row) {
  return col == lower_hand_col ? hand_kind_code(row, false)
                               : hand_kind_code(7 - row, true);
}

}  // namespace

void MainWindow::Form_MouseDown(int button, double x, double y) {
  if (program_ended) return;
  show_file_lists(false, false, false);
  show_name_panel(2);

  if (g.kifu_mode == flag_on) {
    if (ask(QStringLiteral("棋譜を '進 'で進めて下さい"), QStringLiteral("棋譜")) ==
        MsgAnswer::no) {
      play(snd_forbidden);
      new_game();
    }
    return;
  }

  const int col = static_cast<int>(std::floor((x - board_left) / cell_width));
  const int row = static_cast<int>(std::floor((y - board_top) / cell_height));

  if (g.turn == side_none) {
    play(snd_forbidden);
    message(QStringLiteral("「対局」で始めて下さい"), QStringLiteral("開始"));
    return;
  }

  if (g.play_mode == mode_two_players) {
    if (g.announce_pending == flag_on) {
      g.announce_pending = flag_off;
      g.turn_start_time = now();
      if (keika_checked()) start_timer();
      if (g.turn == g.first_side)
        message(QStringLiteral("先手の番です"), QStringLiteral("対局"));
      else if (g.turn == g.second_side)
        message(QStringLiteral("後手の番です"), QStringLiteral("対局"));
    }
  } else if (g.play_mode == mode_vs_computer) {
    if (g.turn == g.upper_side) {
      g.announce_pending = flag_off;
      message(QStringLiteral("OKですか？"), QStringLiteral("再開(COM)"));
      com_ban();
      if (program_ended) return;
    } else if (g.turn == g.lower_side && g.announce_pending == flag_on) {
      g.announce_pending = flag_off;
      g.turn_start_time = now();
      if (keika_checked()) start_timer();
      message(QStringLiteral("MANの番です"), QStringLiteral("対局"));
    }
  }

  if (col >= 1 && col <= 6 && row >= 1 && row <= 6)
    board_click(button, col, row);
  else
    outside_click(col, row);
  refresh();
}

// A click on a board square: a pick, a re-pick or a destination.
void MainWindow::board_click(int button, int col, int row) {
  const PieceCode here = g.board[col][row];
  const bool own = (g.turn == g.lower_side && is_lower_piece(here)) ||
                   (g.turn == g.upper_side && is_upper_piece(here));

  if (g.pick_state == 0) {
    if (here == empty_code) return;
    g.pick_from_col = col;
    g.pick_from_row = row;
    g.pick_piece = here;
    show_guidance(col, row, g.colour_guide, here);
    if (own) {
      g.pick_state = 1;
      draw_frame(colour_pick, col, row);
    } else {
      draw_frame(g.colour_guide, col, row);
    }
    return;
  }

  g.pick_to_col = col;
  g.pick_to_row = row;
  if (own) {
    // Another piece of the side to move: pick it instead.
    draw_frame(colour_plain, g.pick_from_col, g.pick_from_row);
    g.pick_from_col = col;
    g.pick_from_row = row;
    g.pick_piece = here;
    show_guidance(col, row, g.colour_guide, here);
    draw_frame(colour_pick, col, row);
    return;
  }
  if (is_legal_move(g, g.pick_from_col, g.pick_from_row, col, row, g.pick_piece) ==
      flag_off) {
    play(snd_forbidden);
    g.pick_state = 0;
    erase_frames();
    return;
  }
  if (may_stay_unpromoted(g.pick_to_row, g.pick_piece) == flag_off &&
      button == button_left) {
    play(snd_forbidden);
    message(QStringLiteral("マウスの右をクリックして下さい"), QStringLiteral("成り"));
    return;
  }
  if (record_full(g)) {
    refuse_full_record();
    return;
  }
  make_human_move(button);
}

// The record holds 500 moves at most; a further move is refused.
void MainWindow::refuse_full_record() {
  play(snd_forbidden);
  g.pick_state = 0;
  erase_frames();
  message(QStringLiteral("棋譜が500手に達しました。これ以上は指せません"),
          QStringLiteral("棋譜"));
}

// Records, applies and announces the picked move, then hands the turn over.
void MainWindow::make_human_move(int button) {
  const int to_col = g.pick_to_col;
  const int to_row = g.pick_to_row;
  append_move_record(g, g.pick_from_col, g.pick_from_row, to_col, to_row,
                     g.pick_piece, g.board[to_col][to_row], g.lower_time_total,
                     g.turn_elapsed + g.lower_time_total, g.upper_time_total,
                     g.upper_time_total);
  g.move_number += 1;
  draw_move_number(g.move_number);
  if (button == button_right &&
      promotion_possible(g, g.pick_from_col, g.pick_from_row, to_col, to_row,
                         g.pick_piece) == flag_on)
    g.pick_piece = g.promoted_piece;
  g.move_records[g.record_pos].piece_after = g.pick_piece;

  g.pick_state = 0;
  draw_frame(colour_plain, g.pick_from_col, g.pick_from_row);
  draw_frame(colour_plain, to_col, to_row);
  show_guidance(g.pick_from_col, g.pick_from_row, colour_plain, g.pick_piece);
  // From here on an upper-hand origin is named by its hand kind.
  if (g.pick_from_col < 0) g.pick_from_row = 7 - g.pick_from_row;

  const PieceCode captured = g.board[to_col][to_row];
  apply_move(g.pick_from_col, g.pick_from_row, to_col, to_row, g.pick_piece);
  play(snd_piece);
  draw_last_move(is_upper_piece(g.pick_piece) ? g.upper_side : g.lower_side,
                 to_col, to_row, g.pick_piece, colour_last_move);

  if (g.play_mode == mode_vs_computer) {
    stop_timer();
    g.lower_time_total += g.turn_elapsed;
    if (computer_king_mated() || captured == code_king) {
      announce_winner(QStringLiteral("あなた"));
    } else if (g.winner == side_none) {
      g.turn = g.upper_side;
      com_ban();
    }
    return;
  }

  if (g.winner == g.lower_side)
    announce_winner(QStringLiteral("先手"));
  else if (g.winner == g.upper_side)
    announce_winner(QStringLiteral("後手"));
  if (program_ended) return;
  if (g.turn == g.first_side) {
    g.turn = g.second_side;
    g.lower_time_total += g.turn_elapsed;
  } else if (g.turn == g.second_side) {
    g.turn = g.first_side;
    g.upper_time_total += g.turn_elapsed;
  }
  g.turn_start_time = now();
}

// A click beside the board: drops the highlight, and picks from a hand.
void MainWindow::outside_click(int col, int row) {
  if (is_upper_piece(g.pick_piece) || is_lower_piece(g.pick_piece)) {
    show_guidance(g.pick_from_col, g.pick_from_row, colour_plain, g.pick_piece);
    draw_frame(colour_plain, g.pick_from_col, g.pick_from_row);
  }
  const bool lower_slot = col == lower_hand_col && row >= 1 && row <= 6;
  const bool upper_slot = col == upper_hand_col && row >= 1 && row <= 6;
  if (!lower_slot && !upper_slot) return;
  const int count = lower_slot ? g.lower_hand[row] : g.upper_hand[7 - row];
  if (count == 0) return;

  mark_pawn_columns(g);
  g.pick_from_col = col;
  g.pick_from_row = row;
  g.pick_piece = hand_slot_code(col, row);
  const bool own = (lower_slot && g.turn == g.lower_side) ||
                   (upper_slot && g.turn == g.upper_side);
  if (own) {
    g.pick_state = 1;
    draw_frame(colour_pick, col, row);
  } else {
    g.pick_state = 0;
    draw_frame(g.colour_guide, col, row);
  }
  show_guidance(col, row, g.colour_guide, g.pick_piece);
}

}  // namespace nirvex

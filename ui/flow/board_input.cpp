#include "ui/flow/board_input.h"

#include <cmath>

#include "model/rules.h"
#include "ui/flow/clocks.h"
#include "ui/flow/computer_turn.h"
#include "ui/flow/hint.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/play_move.h"
#include "ui/flow/record_analysis.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// The cell under a position in twips.
int cell_col(double x) { return static_cast<int>(std::floor((x - board_left) / cell_width)); }
int cell_row(double y) { return static_cast<int>(std::floor((y - board_top) / cell_height)); }

// With "成/不成を確認" on, a left click where the piece may promote asks
// whether it should, and one where it must promotes: the answer is the
// button the click stands for.
int button_for_promotion(Game& game, int button) {
  GameState& g = game.g;
  if (button != button_left || !checked(game, "NARI_KAKUNIN")) return button;
  if (may_stay_unpromoted(g.pick_to_row, g.pick_piece) == flag_off) return button_right;
  if (promotion_possible(g, g.pick_from_col, g.pick_from_row, g.pick_to_col, g.pick_to_row,
                         g.pick_piece) == flag_off)
    return button;
  return ask(game, "成りますか？", "成り") == MsgAnswer::yes ? button_right : button_left;
}

// The code of a hand slot by screen row: the lower hand lists pawn to rook
// from the top, the upper hand rook to pawn.
PieceCode hand_slot_code(int col, int row) {
  return col == lower_hand_col ? hand_kind_code(row, false) : hand_kind_code(7 - row, true);
}

// The first click after stepping through the record says whose turn it is.
void announce_turn_after_stepping(Game& game) {
  GameState& g = game.g;
  g.announce_pending = flag_off;
  g.turn_start_time = now(game);
  if (checked(game, "KEIKA")) game.form->start_timer();
}

// Records, applies and announces the picked move, then hands the turn over.
void make_human_move(Game& game, int button) {
  GameState& g = game.g;
  Move m;
  m.from_col = g.pick_from_col;
  m.from_row = g.pick_from_row;
  m.to_col = g.pick_to_col;
  m.to_row = g.pick_to_row;
  m.piece_before = m.piece_after = g.pick_piece;
  if (button == button_right &&
      promotion_possible(g, m.from_col, m.from_row, m.to_col, m.to_row, g.pick_piece) == flag_on)
    m.piece_after = g.promoted_piece;
  if (!record_full(g)) g.pick_piece = m.piece_after;

  const bool vs_computer = g.play_mode == mode_vs_computer;
  const MoveOutcome out =
      play_move(game, m, vs_computer ? Mover::human_vs_computer : Mover::human_two_players);
  if (out.computer_to_move) com_ban(game);
}

// A click on a board square: a pick, a re-pick or a destination.
void board_click(Game& game, int button, int col, int row) {
  GameState& g = game.g;
  const PieceCode here = g.board[col][row];
  const bool own = (g.turn == g.lower_side && is_lower_piece(here)) ||
                   (g.turn == g.upper_side && is_upper_piece(here));

  if (g.pick_state == 0) {
    if (here == empty_code) return;
    g.pick_from_col = col;
    g.pick_from_row = row;
    g.pick_piece = here;
    show_guidance(game, col, row, g.colour_guide, here);
    if (own) {
      g.pick_state = 1;
      draw_frame(game, colour_pick, col, row);
    } else {
      draw_frame(game, g.colour_guide, col, row);
    }
    return;
  }

  g.pick_to_col = col;
  g.pick_to_row = row;
  if (own) {
    // Another piece of the side to move: pick it instead.
    draw_frame(game, colour_plain, g.pick_from_col, g.pick_from_row);
    g.pick_from_col = col;
    g.pick_from_row = row;
    g.pick_piece = here;
    show_guidance(game, col, row, g.colour_guide, here);
    draw_frame(game, colour_pick, col, row);
    return;
  }
  if (is_legal_move(g, g.pick_from_col, g.pick_from_row, col, row, g.pick_piece) == flag_off) {
    play(game, game.snd_forbidden);
    g.pick_state = 0;
    erase_frames(game);
    return;
  }
  button = button_for_promotion(game, button);
  if (may_stay_unpromoted(g.pick_to_row, g.pick_piece) == flag_off && button == button_left) {
    play(game, game.snd_forbidden);
    message(game, "マウスの右をクリックして下さい", "成り");
    return;
  }
  make_human_move(game, button);
}

// A click beside the board: drops the highlight, and picks from a hand.
void outside_click(Game& game, int col, int row) {
  GameState& g = game.g;
  if (is_upper_piece(g.pick_piece) || is_lower_piece(g.pick_piece)) {
    show_guidance(game, g.pick_from_col, g.pick_from_row, colour_plain, g.pick_piece);
    draw_frame(game, colour_plain, g.pick_from_col, g.pick_from_row);
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
  const bool own = (lower_slot && g.turn == g.lower_side) || (upper_slot && g.turn == g.upper_side);
  if (own) {
    g.pick_state = 1;
    draw_frame(game, colour_pick, col, row);
  } else {
    g.pick_state = 0;
    draw_frame(game, g.colour_guide, col, row);
  }
  show_guidance(game, col, row, g.colour_guide, g.pick_piece);
}

}  // namespace

double cell_centre_x(int col) { return board_left + (col + 0.5) * cell_width; }
double cell_centre_y(int row) { return board_top + (row + 0.5) * cell_height; }

void Form_MouseDown(Game& game, int button, double x, double y) {
  GameState& g = game.g;
  game.press = {};
  if (game.program_ended) return;
  if (engine_busy(game) || analysis_running(game)) {
    // The outside engine is thinking, or the record is being analysed:
    // the board waits.
    play(game, game.snd_forbidden);
    return;
  }
  clear_hint(game);
  game.form->show_file_lists(false, false, false);
  game.form->show_name_panel(2);

  if (g.kifu_mode == flag_on) {
    if (ask(game, "棋譜を '進 'で進めて下さい", "棋譜") == MsgAnswer::no) {
      play(game, game.snd_forbidden);
      new_game(game);
    }
    return;
  }

  const int col = cell_col(x);
  const int row = cell_row(y);

  if (g.turn == side_none) {
    play(game, game.snd_forbidden);
    message(game, "「対局」で始めて下さい", "開始");
    return;
  }

  if (g.play_mode == mode_two_players) {
    if (g.announce_pending == flag_on) {
      announce_turn_after_stepping(game);
      if (g.turn == g.first_side)
        message(game, "先手の番です", "対局");
      else if (g.turn == g.second_side)
        message(game, "後手の番です", "対局");
    }
  } else if (g.play_mode == mode_vs_computer) {
    if (g.turn == g.upper_side) {
      g.announce_pending = flag_off;
      message(game, "OKですか？", "再開(COM)");
      com_ban(game);
      if (game.program_ended || engine_busy(game)) return;
    } else if (g.turn == g.lower_side && g.announce_pending == flag_on) {
      announce_turn_after_stepping(game);
      message(game, "MANの番です", "対局");
    }
  }

  if (col >= 1 && col <= 6 && row >= 1 && row <= 6)
    board_click(game, button, col, row);
  else
    outside_click(game, col, row);
  // A piece picked here may be carried to its destination.
  if (!game.program_ended && g.pick_state == 1 && g.pick_from_col == col && g.pick_from_row == row)
    game.press = {true, col, row, button};
  refresh(game);
}

void Form_MouseUp(Game& game, int button, double x, double y) {
  const Game::Press press = game.press;
  game.press = {};
  if (!press.picked || button != press.button || game.program_ended) return;
  // Let go where it was pressed: that was one click.
  if (cell_col(x) == press.col && cell_row(y) == press.row) return;
  Form_MouseDown(game, button, x, y);
}

PieceCode dragged_piece(const Game& game) {
  return game.press.picked && game.g.pick_state == 1 ? game.g.pick_piece : empty_code;
}

}  // namespace nirvex

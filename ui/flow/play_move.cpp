#include "ui/flow/play_move.h"

#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "ui/flow/clocks.h"
#include "ui/flow/last_move_mark.h"
#include "ui/flow/move_list.h"
#include "ui/flow/painting.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// The record entry with the clocks as the mover's side keeps them: a
// human's turn is counted on the lower side's clock fields, the
// computer's on the upper side's.
void record_entry(GameState& g, const Move& m, Mover mover) {
  const bool computer = mover == Mover::computer;
  append_move_record(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_before,
                     m.piece_after, g.lower_time_total,
                     computer ? g.lower_time_total : g.turn_elapsed + g.lower_time_total,
                     g.upper_time_total,
                     computer ? g.upper_time_total + g.turn_elapsed : g.upper_time_total);
}

// The human lets go of the picked piece: its frames and guidance go.
void release_pick(Game& game, const Move& m) {
  GameState& g = game.g;
  g.pick_state = 0;
  draw_frame(game, colour_plain, m.from_col, m.from_row);
  draw_frame(game, colour_plain, m.to_col, m.to_row);
  show_guidance(game, m.from_col, m.from_row, colour_plain, m.piece_after);
  // From here on an upper-hand origin is named by its hand kind.
  if (g.pick_from_col < 0) g.pick_from_row = 7 - g.pick_from_row;
}

// After the human's move against the computer: the computer's king taken
// or mated ends the game, else the computer moves next.
void after_human_vs_computer(Game& game, PieceCode captured, MoveOutcome& out) {
  GameState& g = game.g;
  game.form->stop_timer();
  g.lower_time_total += g.turn_elapsed;
  build_square_maps(g, game.analysis);
  if (upper_side_mated(g, game.analysis) == flag_on || captured == code_king) {
    out.winner = "あなた";
    announce_winner(game, out.winner);
  } else if (g.winner == side_none) {
    g.turn = g.upper_side;
    out.computer_to_move = true;
  }
}

// After a move between two humans: a taken king ends the game; the turn
// passes and the mover's time is added.
void after_two_players(Game& game, MoveOutcome& out) {
  GameState& g = game.g;
  if (g.winner == g.lower_side) out.winner = "先手";
  else if (g.winner == g.upper_side) out.winner = "後手";
  if (!out.winner.empty()) announce_winner(game, out.winner);
  if (game.program_ended) return;
  if (g.turn == g.first_side) {
    g.turn = g.second_side;
    g.lower_time_total += g.turn_elapsed;
  } else if (g.turn == g.second_side) {
    g.turn = g.first_side;
    g.upper_time_total += g.turn_elapsed;
  }
  g.turn_start_time = now(game);
}

// After the computer's move: mate, its own win or check is announced; then
// the human sees where it moved and has the turn.
void after_computer(Game& game, const Move& m, MoveOutcome& out) {
  GameState& g = game.g;
  build_square_maps(g, game.analysis);
  // A taken king ends the game first: with the king gone from the board
  // the mate test would read the square it stood on and could report a
  // mate, and the game would go on without a king.
  if (g.winner == g.upper_side) {
    out.winner = "ｺﾝﾋﾟｭｰﾀ";
    announce_winner(game, out.winner);
    return;
  }
  if (lower_side_mated(g, game.analysis) == flag_on) {
    out.mate_announced = true;
    message(game, "よし！!", "詰め ?");
  } else if (game.analysis.upper_attacks[g.lower_king_x][g.lower_king_y] > 0) {
    out.check_announced = true;
    message(game, "   ** 王手 **", "");
  }
  draw_last_move(game, g.upper_side, m.to_col, m.to_row, m.piece_after, colour_text);
  draw_frame(game, colour_text, m.to_col, m.to_row);
  g.upper_time_total += g.turn_elapsed;
  g.turn_start_time = now(game);
  g.turn = g.lower_side;
  if (checked(game, "KEIKA")) game.form->start_timer();
  refresh(game);
}

}  // namespace

void refuse_full_record(Game& game) {
  play(game, game.snd_forbidden);
  game.g.pick_state = 0;
  erase_frames(game);
  message(game, "棋譜が500手に達しました。これ以上は指せません", "棋譜");
}

MoveOutcome play_move(Game& game, const Move& m, Mover mover) {
  GameState& g = game.g;
  MoveOutcome out;
  const bool computer = mover == Mover::computer;
  if (record_full(g)) {
    if (computer) game.form->stop_timer();
    refuse_full_record(game);
    return out;
  }
  out.played = true;
  game.moves_played += 1;
  game.record_unsaved = true;
  if (computer) game.last_com_played = true;

  record_entry(g, m, mover);
  g.move_number += 1;
  draw_move_number(game, g.move_number);
  if (!computer) release_pick(game, m);

  // The hand a human drops from is named by its screen row in the record;
  // the upper hand lists its kinds from the bottom.
  const int from_row = !computer && m.from_col == upper_hand_col ? 7 - m.from_row : m.from_row;
  out.captured = g.board[m.to_col][m.to_row];
  // The tint goes to the new move first, so that the squares the move
  // repaints keep it and every frame drawn after lies over it.
  mark_last_move(game, move_cells(m));
  apply_move(game, m.from_col, from_row, m.to_col, m.to_row, m.piece_after);
  tell_move_list(game);
  if (computer) {
    refresh(game);
    pause_seconds(game, 0.5);
  }
  play(game, game.snd_piece);

  switch (mover) {
    case Mover::computer:
      game.form->stop_timer();
      after_computer(game, m, out);
      break;
    case Mover::human_vs_computer:
      draw_last_move(game, is_upper_piece(m.piece_after) ? g.upper_side : g.lower_side,
                     m.to_col, m.to_row, m.piece_after, colour_last_move);
      after_human_vs_computer(game, out.captured, out);
      break;
    case Mover::human_two_players:
      draw_last_move(game, is_upper_piece(m.piece_after) ? g.upper_side : g.lower_side,
                     m.to_col, m.to_row, m.piece_after, colour_last_move);
      after_two_players(game, out);
      break;
  }
  return out;
}

}  // namespace nirvex

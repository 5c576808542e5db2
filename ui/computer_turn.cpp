// The computer's turn as the player sees it: "思考中" while it thinks, the
// chosen move recorded and played with its sound, then mate, its own win
// or check announced, and the turn handed back.
#include "engine/com_search.h"
#include "engine/position_tests.h"
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "ui/main_window.h"

namespace nirvex {

void MainWindow::com_ban() {
  if (program_ended) return;
  g.turn_start_time = now();
  if (keika_checked()) start_timer();

  // The caption under the computer's hand.
  draw_picture(g.background_id, -2, 8);
  draw_picture(g.background_id, -1, 8);
  draw_picture(g.background_id, 0, 8);
  draw_frame(colour_frame, -1, 4);
  draw_text(-1.5, 8.5, QStringLiteral("思考中"), colour_shadow, 0, 12);
  draw_text(-1.6, 8.4, QStringLiteral("思考中"), colour_last_move, 0, 12);

  computer.time_of_day = time_of_day_text(now());
  prepare_com_turn(g, analysis, computer);
  refresh();
  pause_seconds(0.1);

  // The search gives no time to the window; it ticks the clock itself.
  const ComMove m = search_com_move(g, analysis, computer, [this] { Timer1_Timer(); });
  if (!m.found) {
    // Not a single move the rules allow: the computer has lost.
    stop_timer();
    announce_winner(QStringLiteral("あなた"));
    return;
  }
  if (record_full(g)) {
    stop_timer();
    refuse_full_record();
    return;
  }

  append_move_record(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_before,
                     m.piece_after, g.lower_time_total, g.lower_time_total,
                     g.upper_time_total, g.upper_time_total + g.turn_elapsed);
  g.move_number += 1;
  draw_move_number(g.move_number);
  apply_move(m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
  refresh();
  pause_seconds(0.5);
  play(snd_piece);
  stop_timer();

  build_square_maps(g, analysis);
  if (lower_side_mated(g, analysis) == flag_on) {
    message(QStringLiteral("よし！!"), QStringLiteral("詰め ?"));
  } else if (g.winner == g.upper_side) {
    announce_winner(QStringLiteral("ｺﾝﾋﾟｭｰﾀ"));
    return;
  } else if (analysis.upper_attacks[g.lower_king_x][g.lower_king_y] > 0) {
    message(QStringLiteral("   ** 王手 **"), QString());
  }

  // Show where the computer moved, and hand the turn back.
  draw_last_move(g.upper_side, m.to_col, m.to_row, m.piece_after, colour_text);
  draw_frame(colour_text, m.to_col, m.to_row);
  g.upper_time_total += g.turn_elapsed;
  g.turn_start_time = now();
  g.turn = g.lower_side;
  if (keika_checked()) start_timer();
  refresh();
}

}  // namespace nirvex

namespace nirvex {

// After the human's move: is the computer's king mated?
bool MainWindow::computer_king_mated() {
  build_square_maps(g, analysis);
  return upper_side_mated(g, analysis) == flag_on;
}

}  // namespace nirvex

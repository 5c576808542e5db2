// The turn timer with each side's elapsed time, and move guidance (frames
// around every square a picked piece may go to).
#include <QAction>
#include <cmath>

#include "model/clock_math.h"
#include "model/rules.h"
#include "ui/main_window.h"

namespace nirvex {

double MainWindow::now() const { return platform_.clock->seconds_since_midnight(); }

void MainWindow::pause_seconds(double seconds) { platform_.clock->pause(seconds); }

bool MainWindow::keika_checked() const { return menu_item("KEIKA")->isChecked(); }

bool MainWindow::timer_running() const { return timer1_->isActive(); }

void MainWindow::start_timer() { timer1_->start(); }

void MainWindow::stop_timer() { timer1_->stop(); }

// Every tick measures the running turn; once per whole second the side to
// move sees its total including the running turn.  The totals themselves
// grow only when a turn ends.
void MainWindow::Timer1_Timer() {
  if (!timer_running()) return;
  g.turn_elapsed = seconds_between(g.turn_start_time, now());
  const int whole = static_cast<int>(std::floor(g.turn_elapsed));
  if (whole == g.shown_seconds) return;
  g.shown_seconds = whole;
  if (g.turn == g.upper_side)
    draw_clock(g.upper_side, g.turn_elapsed + g.upper_time_total);
  else if (g.turn == g.lower_side)
    draw_clock(g.lower_side, g.turn_elapsed + g.lower_time_total);
  refresh();
}

void MainWindow::draw_clock(int side, double seconds) {
  if (!keika_checked()) return;
  const QString t = QString::fromStdString(format_duration(seconds));
  if (side == g.lower_side) {
    clear_clock(side);
    draw_text(10.1, 7.3, t, colour_shadow, 0, 12);
    draw_text(10, 7.2, t, colour_text, 0, 12);
  } else if (side == g.upper_side) {
    clear_clock(side);
    draw_text(-1.5, 7.3, t, colour_shadow, 0, 12);
    draw_text(-1.6, 7.2, t, colour_text, 0, 12);
  }
}

void MainWindow::clear_clock(int side) {
  if (side == g.lower_side) {
    draw_picture(g.background_id, 10, 7);
    draw_picture(g.background_id, 11, 7);
    draw_picture(g.background_id, 12, 7);
  } else if (side == g.upper_side) {
    draw_picture(g.background_id, -2, 7);
    draw_picture(g.background_id, -1, 7);
    draw_picture(g.background_id, 0, 7);
    draw_frame(colour_frame, -1, 6);
  }
}

void MainWindow::KEIKA_Click() {
  QAction* item = menu_item("KEIKA");
  if (item->isChecked()) {
    item->setChecked(false);
    stop_timer();
    clear_clock(g.lower_side);
    clear_clock(g.upper_side);
  } else {
    item->setChecked(true);
    start_timer();
    draw_clock(g.upper_side, g.upper_time_total);
    draw_clock(g.lower_side, g.lower_time_total);
  }
  write_settings();
  refresh();
}

void MainWindow::SIDOU_Click() {
  QAction* item = menu_item("SIDOU");
  if (item->isChecked()) {
    erase_frames();
    for (int i = 1; i <= 6; ++i) {
      draw_frame(colour_plain, upper_hand_col, i);
      draw_frame(colour_plain, lower_hand_col, i);
    }
    item->setChecked(false);
    g.guidance_on = flag_off;
    g.colour_guide = colour_plain;
  } else {
    item->setChecked(true);
    g.guidance_on = flag_on;
    g.colour_guide = colour_text;
  }
  write_settings();
  refresh();
}

// Erases the board frames, then, with guidance on, frames every square the
// piece may go to from there (for a hand slot: every square it may drop on).
void MainWindow::show_guidance(int from_col, int from_row, int colour,
                               PieceCode piece) {
  erase_frames();
  if (g.guidance_on != flag_on) return;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y)
      if (is_legal_move(g, from_col, from_row, x, y, piece) == flag_on)
        draw_frame(colour, x, y);
}

}  // namespace nirvex

#include "ui/flow/clocks.h"

#include <cmath>

#include "model/clock_math.h"
#include "model/rules.h"
#include "ui/flow/painting.h"
#include "ui/flow/preferences.h"

namespace nirvex {

// The totals themselves grow only when a turn ends.
void Timer1_Timer(Game& game) {
  GameState& g = game.g;
  if (!game.form->timer_running()) return;
  g.turn_elapsed = seconds_between(g.turn_start_time, now(game));
  const int whole = static_cast<int>(std::floor(g.turn_elapsed));
  if (whole == g.shown_seconds) return;
  g.shown_seconds = whole;
  if (g.turn == g.upper_side)
    draw_clock(game, g.upper_side, g.turn_elapsed + g.upper_time_total);
  else if (g.turn == g.lower_side)
    draw_clock(game, g.lower_side, g.turn_elapsed + g.lower_time_total);
  refresh(game);
}

void draw_clock(Game& game, int side, double seconds) {
  if (!checked(game, "KEIKA")) return;
  const std::string t = format_duration(seconds);
  if (side == game.g.lower_side) {
    clear_clock(game, side);
    draw_text(game, 10.1, 7.3, t, colour_shadow, 0, 12);
    draw_text(game, 10, 7.2, t, colour_text, 0, 12);
  } else if (side == game.g.upper_side) {
    clear_clock(game, side);
    draw_text(game, -1.5, 7.3, t, colour_shadow, 0, 12);
    draw_text(game, -1.6, 7.2, t, colour_text, 0, 12);
  }
}

void clear_clock(Game& game, int side) {
  const int bg = game.g.background_id;
  if (side == game.g.lower_side) {
    for (int x = 10; x <= 12; ++x) draw_picture(game, bg, x, 7);
  } else if (side == game.g.upper_side) {
    for (int x = -2; x <= 0; ++x) draw_picture(game, bg, x, 7);
    draw_frame(game, colour_frame, -1, 6);
  }
}

void KEIKA_Click(Game& game) {
  GameState& g = game.g;
  if (checked(game, "KEIKA")) {
    game.form->set_checked("KEIKA", false);
    game.form->stop_timer();
    clear_clock(game, g.lower_side);
    clear_clock(game, g.upper_side);
  } else {
    game.form->set_checked("KEIKA", true);
    game.form->start_timer();
    draw_clock(game, g.upper_side, g.upper_time_total);
    draw_clock(game, g.lower_side, g.lower_time_total);
  }
  write_settings(game);
  refresh(game);
}

void SIDOU_Click(Game& game) {
  GameState& g = game.g;
  if (checked(game, "SIDOU")) {
    erase_frames(game);
    for (int i = 1; i <= 6; ++i) {
      draw_frame(game, colour_plain, upper_hand_col, i);
      draw_frame(game, colour_plain, lower_hand_col, i);
    }
    game.form->set_checked("SIDOU", false);
    g.guidance_on = flag_off;
    g.colour_guide = colour_plain;
  } else {
    game.form->set_checked("SIDOU", true);
    g.guidance_on = flag_on;
    g.colour_guide = colour_text;
  }
  write_settings(game);
  refresh(game);
}

void show_guidance(Game& game, int from_col, int from_row, int colour, PieceCode piece) {
  erase_frames(game);
  if (game.g.guidance_on != flag_on) return;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y)
      if (is_legal_move(game.g, from_col, from_row, x, y, piece) == flag_on)
        draw_frame(game, colour, x, y);
}

void pause_seconds(Game& game, double seconds) { game.form->pause(seconds); }

}  // namespace nirvex

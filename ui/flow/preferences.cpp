#include "ui/flow/preferences.h"

#include "ui/flow/last_move_mark.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"

namespace nirvex {

namespace {

void set_guidance(Game& game, bool on) {
  game.form->set_checked("SIDOU", on);
  game.g.guidance_on = on ? flag_on : flag_off;
  game.g.colour_guide = on ? colour_text : colour_plain;
}

// The check marks of the player's additions under "ｵﾌﾟｼｮﾝ".
void set_view_choices(Game& game, const ViewChoices& v) {
  game.form->set_checked("KIFU_HYOUJI", v.move_list);
  game.form->set_checked("SAISYUTE", v.last_move_tint);
  game.form->set_checked("NARI_KAKUNIN", v.ask_promotion);
}

// Flips a choice's check mark and saves it.
void toggle_choice(Game& game, std::string_view item) {
  game.form->set_checked(item, !checked(game, item));
  write_settings(game);
}

// The outside engine the file names, and whether it plays.
void read_engine_settings(Game& game, const SettingsRead& r) {
  EngineSettings& e = game.engine.choice;
  if (r.engine_program) e.program = *r.engine_program;
  if (r.engine_move_time_ms) e.move_time_ms = *r.engine_move_time_ms;
  if (r.engine_skill) e.skill = *r.engine_skill;
  e.plays = r.engine_plays.value_or(false) && !e.program.empty();
  if (e.plays) mark_engine_choice(game);
}

}  // namespace

void apply_default_settings(Game& game, bool with_background) {
  const SettingsValues d = default_settings();
  mark_background_menu(game, *d.background);
  if (with_background) {
    draw_backdrop(game, *d.background);
    game.g.background_id = *d.background;
  }
  set_guidance(game, d.guidance);
  game.form->set_checked("KEIKA", d.elapsed_time);
  game.form->set_checked("BGM", d.music);
  set_view_choices(game, d.view);
  game.sound->dsPlayLooping(game.snd_bgm);
}

void read_settings(Game& game) {
  const SettingsRead r = game.settings->read();
  if (!r.ok) {
    game.settings->write(default_settings());
    apply_default_settings(game, true);
    return;
  }
  if (r.background) {
    mark_background_menu(game, *r.background);
    game.g.background_id = *r.background;
  }
  if (r.guidance) set_guidance(game, *r.guidance);
  if (r.elapsed_time) game.form->set_checked("KEIKA", *r.elapsed_time);
  if (r.music) {
    game.form->set_checked("BGM", *r.music);
    if (*r.music) game.sound->dsPlayLooping(game.snd_bgm);
  }
  // An older file without the additions' lines holds their defaults.
  const ViewChoices d;
  set_view_choices(game, {r.move_list.value_or(d.move_list),
                          r.last_move_tint.value_or(d.last_move_tint),
                          r.ask_promotion.value_or(d.ask_promotion)});
  read_engine_settings(game, r);
}

SettingsValues checked_settings(const Game& game) {
  SettingsValues v;
  static const std::pair<const char*, int> backgrounds[] = {
      {"MIDORI", background_green}, {"TAKE", background_bamboo},
      {"TATAMI", background_tatami}, {"UCHU", background_space},
      {"RENGA", background_brick}};
  for (const auto& [name, id] : backgrounds)
    if (checked(game, name)) {
      v.background = id;
      break;
    }
  v.guidance = checked(game, "SIDOU");
  v.elapsed_time = checked(game, "KEIKA");
  v.music = checked(game, "BGM");
  v.view.move_list = checked(game, "KIFU_HYOUJI");
  v.view.last_move_tint = checked(game, "SAISYUTE");
  v.view.ask_promotion = checked(game, "NARI_KAKUNIN");
  v.engine = game.engine.choice;
  return v;
}

void write_settings(Game& game) {
  if (game.settings->write(checked_settings(game))) return;
  // If the defaults cannot be written either, the game goes on with them
  // in memory.
  game.settings->write(default_settings());
  apply_default_settings(game, false);
}

void background_Click(Game& game, int background) {
  static const char* const names[] = {"", "", "MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"};
  if (background < background_green || background > background_brick) return;
  if (!checked(game, names[background])) {
    mark_background_menu(game, background);
    game.g.background_id = background;
  }
  write_settings(game);
  redraw_all(game);
  refresh(game);
}

void BGM_Click(Game& game) {
  if (checked(game, "BGM")) {
    game.form->set_checked("BGM", false);
    game.sound->dsStop(game.snd_bgm);
  } else {
    game.form->set_checked("BGM", true);
    game.sound->dsPlayLooping(game.snd_bgm);
  }
  write_settings(game);
}

void KIFU_HYOUJI_Click(Game& game) { toggle_choice(game, "KIFU_HYOUJI"); }

void SAISYUTE_Click(Game& game) {
  toggle_choice(game, "SAISYUTE");
  repaint_last_move(game);
  refresh(game);
}

void NARI_KAKUNIN_Click(Game& game) { toggle_choice(game, "NARI_KAKUNIN"); }

}  // namespace nirvex

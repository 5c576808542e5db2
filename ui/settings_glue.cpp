// The window's preferences: read from the settings file at start, written
// back after every change, with the menu check marks as the truth.
#include <QAction>

#include "settings/settings_file.h"
#include "ui/main_window.h"

namespace nirvex {

namespace {

void set_guidance(MainWindow& w, bool on) {
  w.menu_item("SIDOU")->setChecked(on);
  w.g.guidance_on = on ? flag_on : flag_off;
  w.g.colour_guide = on ? colour_text : colour_plain;
}

void set_music(MainWindow& w, bool on) {
  w.menu_item("BGM")->setChecked(on);
}

}  // namespace

// Puts the default choices on the menu: green background, no guidance,
// elapsed time shown and the music playing.
void MainWindow::apply_default_settings(bool with_background) {
  const SettingsValues d = default_settings();
  mark_background_menu(*d.background);
  if (with_background) {
    draw_backdrop(*d.background);
    g.background_id = *d.background;
  }
  set_guidance(*this, d.guidance);
  menu_item("KEIKA")->setChecked(d.elapsed_time);
  set_music(*this, d.music);
  platform_.sound->dsPlayLooping(snd_bgm);
}

void MainWindow::read_settings() {
  const SettingsRead r = read_settings_file(settings_file_name);
  if (!r.ok) {
    // Missing or broken: replaced by the defaults, silently.
    write_settings_file(settings_file_name, settings_lines(default_settings()));
    apply_default_settings(true);
    return;
  }
  if (r.background) {
    mark_background_menu(*r.background);
    g.background_id = *r.background;
  }
  if (r.guidance) set_guidance(*this, *r.guidance);
  if (r.elapsed_time) menu_item("KEIKA")->setChecked(*r.elapsed_time);
  if (r.music) {
    set_music(*this, *r.music);
    if (*r.music) platform_.sound->dsPlayLooping(snd_bgm);
  }
}

SettingsValues MainWindow::checked_settings() const {
  SettingsValues v;
  static const std::pair<const char*, int> backgrounds[] = {
      {"MIDORI", background_green}, {"TAKE", background_bamboo},
      {"TATAMI", background_tatami}, {"UCHU", background_space},
      {"RENGA", background_brick}};
  for (const auto& [name, id] : backgrounds)
    if (menu_item(QString::fromLatin1(name))->isChecked()) {
      v.background = id;
      break;
    }
  v.guidance = menu_item("SIDOU")->isChecked();
  v.elapsed_time = menu_item("KEIKA")->isChecked();
  v.music = menu_item("BGM")->isChecked();
  return v;
}

void MainWindow::write_settings() {
  if (write_settings_file(settings_file_name, settings_lines(checked_settings())))
    return;
  // Could not write: one more try with the defaults, which then apply;
  // if that fails too the game goes on with them in memory.
  write_settings_file(settings_file_name, settings_lines(default_settings()));
  apply_default_settings(false);
}

void MainWindow::background_Click(int background) {
  const char* names[] = {"", "", "MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"};
  if (!menu_item(QString::fromLatin1(names[background]))->isChecked()) {
    mark_background_menu(background);
    g.background_id = background;
  }
  write_settings();
  redraw_all();
  refresh();
}

}  // namespace nirvex

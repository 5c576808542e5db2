// The preferences: the design's four and the player's additions, read
// from the settings file at start, written back after every change, with
// the menu check marks as the truth.
#pragma once

#include "settings/settings_values.h"
#include "ui/flow/game.h"

namespace nirvex {

// Reads the settings file and puts its choices on the menu; a missing or
// broken file is replaced by the defaults, silently.
void read_settings(Game& game);
// Writes the checked choices; when that fails, one more try with the
// defaults, which then apply.
void write_settings(Game& game);
// The choices as the menu check marks hold them.
SettingsValues checked_settings(const Game& game);
// Puts the default choices on the menu (and the green background on the
// screen when asked) and starts the music.
void apply_default_settings(Game& game, bool with_background);
// A background item of "背景画".
void background_Click(Game& game, int background);
// "BGM": starts or stops the music.
void BGM_Click(Game& game);
// "棋譜表示": the move list beside the board shown or hidden (the window
// follows the check mark).
void KIFU_HYOUJI_Click(Game& game);
// "最終手強調": the last move's tint shown or not.
void SAISYUTE_Click(Game& game);
// "成/不成を確認": a left click where the piece may promote asks.
void NARI_KAKUNIN_Click(Game& game);

}  // namespace nirvex

// The program's start and end: the sound device and waves, the first
// values of the game, the settings, and leaving by menu, key or window.
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

// Program start: sound and waves, the first values, the check mark on
// LEVEL3, the window's colour, the settings, then a fresh game painted
// whole.  No game is running afterwards.
void Form_Load(Game& game);
// Opens the sound device; without one the game runs on silently.
void sound_init(Game& game);
// Loads a wave file found by bare name in the current folder into a sound
// buffer; 0 when there is no device or no such file.
int load_wave(Game& game, const std::string& name, int flags);
// Releases the four buffers and the device (once).
void shut_down(Game& game);
// Ends the program (once).
void end_program(Game& game);
// "終わり".
void OWARI_Click(Game& game);
// A key: Esc (27) ends the program, other keys do nothing.
void Form_KeyPress(Game& game, int key_ascii);
// The window is closing.
void Form_Unload(Game& game);

}  // namespace nirvex

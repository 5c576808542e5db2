// No game is ever lost: a game that ends with a winner, or is left for a
// new game, another position or the program's end while its record holds
// moves not kept yet, is written in the record format, as "書込" writes
// it, into the autosave folder under the date and time.  The newest
// games are kept; a folder that cannot be written is told once and costs
// the game nothing.
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

// The folder beside the settings file that the window keeps its games in.
inline constexpr const char* autosave_folder_name = "自動保存";
// How many kept games the folder holds at most.
constexpr int autosave_limit = 200;

// Keeps the game when its record holds moves not kept yet.
void autosave_game(Game& game);

// The name of a game kept at this moment, without the extension:
// "2026-12-08_14-05-33".
std::string autosave_name(const LocalDateTime& t);
// Is this the name of a kept game (that moment's name, perhaps with "_2",
// "_3" … after it)?
bool is_autosave_name(const std::string& name);

}  // namespace nirvex

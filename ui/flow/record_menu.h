// The record menu's decisions: "読込" opens the file lists, "書込" the name
// panel; a clicked file is loaded for replay, "RETURN" saves the record up
// to the current position.  The files themselves are the record store's.
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

// "読込".
void KIFU_READ_Click(Game& game);
// "書込": refused after a flip or a pasted position.
void KIFU_WRITE_Click(Game& game);
// A file clicked in the file list (its full path): every move is replayed
// on a scratch board first; a file with any fault replaces nothing.
void File1_Click(Game& game, const std::string& path);
// "RETURN": writes the record up to the current position.
void Command1_Click(Game& game);

}  // namespace nirvex

// A position pasted as SFEN text, to take positions from other shogi
// programs.  The clipboard itself is the window's.
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

// Replaces the position with the one in the clipboard text.  The record
// cannot lead to it, so it is dropped, and, as after a flip, the game
// cannot be saved.  Text that is no position is refused with a message.
void SFEN_PASTE_Click(Game& game, const std::string& clipboard);

// The four SFEN fields of clipboard text.  Also takes the text as USI
// writes it after "position": "sfen <fields>" or "startpos".  Empty when
// the text has some other shape (for example moves after the position).
std::string sfen_fields(const std::string& clipboard);

}  // namespace nirvex

// The computer's turn as the player sees it: "思考中" while it thinks, the
// chosen move played on the one road of every move, which records it,
// plays its sound and announces mate, the computer's win or check.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// Plays one move for the computer (the upper side), which has the move:
// the built-in player at the chosen level, or the outside engine, which
// answers later while the window goes on.  A king the computer can take
// is taken without asking the engine.
void com_ban(Game& game);

// The built-in player's search and move, once the turn has begun.
void play_builtin_com_move(Game& game);

// The start of the computer's turn: its clock runs and "思考中" shows
// under its hand.
void begin_com_turn(Game& game);

}  // namespace nirvex

// The turn timer with each side's elapsed time, and move guidance (frames
// around every square a picked piece may go to).
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// One tick of Timer1: measures the running turn and, once per whole
// second, shows the side to move its total including the running turn.
void Timer1_Timer(Game& game);
// A side's clock at its place beside the board, while "経過時間" is checked.
void draw_clock(Game& game, int side, double seconds);
void clear_clock(Game& game, int side);
// "経過時間": shows or hides the clocks.
void KEIKA_Click(Game& game);
// "移動指導": switches move guidance.
void SIDOU_Click(Game& game);
// Erases the board frames, then, with guidance on, frames every square the
// piece may go to from there (for a hand slot: every square it may drop on).
void show_guidance(Game& game, int from_col, int from_row, int colour, PieceCode piece);
// A short wait that blocks the game.
void pause_seconds(Game& game, double seconds);

}  // namespace nirvex

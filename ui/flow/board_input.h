// Moves by mouse: the first click picks a piece on the board or in a hand,
// the second names the destination; the right button promotes.  A drag
// from a piece to another square is the same two clicks.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// A mouse press at (x, y) twips of the painted area; button 1 left,
// 2 right, 4 middle.
void Form_MouseDown(Game& game, int button, double x, double y);
// The button let go at (x, y) twips.  After a press that picked a piece,
// a release on another cell is the second click, with the button pressed.
void Form_MouseUp(Game& game, int button, double x, double y);
// The piece a press picked and a drag carries, or 0 for none.
PieceCode dragged_piece(const Game& game);

// Twips of the middle of a cell, where a click on it lands.
double cell_centre_x(int col);
double cell_centre_y(int row);

}  // namespace nirvex

// Moves by mouse: the first click picks a piece on the board or in a hand,
// the second names the destination; the right button promotes.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// A mouse press at (x, y) twips of the painted area; button 1 left,
// 2 right, 4 middle.
void Form_MouseDown(Game& game, int button, double x, double y);

// Twips of the middle of a cell, where a click on it lands.
double cell_centre_x(int col);
double cell_centre_y(int row);

}  // namespace nirvex

// Painting of the board, the hands and the texts around them.  Positions
// are cells of the board grid (fractions and negative values allowed): a
// cell is 570 x 660 twips and cell (0, 0) starts at (1050, 100) twips.
// Every procedure paints its own cells over whatever is there; callers
// repaint exactly what they changed.  Every text goes on twice: a black
// shadow and the coloured copy a tenth of a cell to the left and higher.
#pragma once

#include <string>

#include "model/game_state.h"
#include "ui/flow/game.h"

namespace nirvex {

// Twips of a cell position.
double cell_x_twips(double x);
double cell_y_twips(double y);

// A piece code, picture id or background id at a cell position; ids that
// match no picture paint nothing.
void draw_picture(Game& game, int id, double x, double y);
// The outline of the cell from (col, row) to (col + 1, row + 1).
void draw_frame(Game& game, int colour, double col, double row);
// A picture at a cell with the cell's frame over it.
void draw_square(Game& game, int id, int col, int row);
// Frames all 36 board squares in the plain colour.
void erase_frames(Game& game);
// Style 0 prints a number after one space (the place of its sign); style 1
// prints 1..6 as the rank kanji and nothing for other numbers.
void draw_text(Game& game, double x, double y, int number, int colour, int style, int size);
// Prints text unchanged.
void draw_text(Game& game, double x, double y, const std::string& text, int colour, int style,
               int size);
// Text in size 12.
void draw_cell_text(Game& game, double x, double y, const std::string& text, int colour);
// Full-width digits for 1..9, kanji numerals for 1001..1009, the display
// name of a piece code, and empty text for anything else.
std::string piece_text(int number);
// A move as the player reads it, file and rank of the destination and the
// piece: "６四歩", "５四銀打", "２二角成".
std::string move_name(const Move& m);

// Tiles the background picture over every cell but the board squares.
void draw_backdrop(Game& game, int background);
// File numbers above the board, rank kanji at its right; bold from here on.
void draw_labels(Game& game);
void draw_board(Game& game);
// The lower hand at the right of the board: kind k in row k, counts beside.
void draw_hand_lower(Game& game);
// The upper hand at the left: the rook at the top, the pawn at the bottom.
void draw_hand_upper(Game& game);
// The move number with "手目"; short numbers stand a little further right.
void draw_move_number(Game& game, int n);
void draw_level(Game& game, int level);
// File, rank and piece of a side's last move: the upper side's under its
// hand, the lower side's at the right of the board.
void draw_last_move(Game& game, int side, int col, int row, PieceCode code, int colour);
void clear_last_move(Game& game, int side);
// Clears the strips beside the board before a new start.
void clear_sides(Game& game);
void redraw_all(Game& game);
// Puts the check mark on the background item of this id (none for others).
void mark_background_menu(Game& game, int background);
// x position (twips) that centres a text (UTF-8) over the record panel's
// header line.
double centre_x(const std::string& text);

// Moves a piece in the model and repaints the squares and hands it changed.
MoveChanges apply_move(Game& game, int from_col, int from_row, int to_col, int to_row,
                       PieceCode piece);

}  // namespace nirvex

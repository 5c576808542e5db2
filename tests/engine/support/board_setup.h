// Small positions for the engine tests: an empty board with pieces put on
// given squares, and exact comparisons of whole square maps.
#pragma once

#include <initializer_list>
#include <string>

#include "engine/analysis.h"
#include "model/game_state.h"

namespace nirvex::testing {

// One square of a map and the value expected there.
struct Cell {
  int col, row, value;
};

// A game with an empty board, empty hands and the lower side to move.
GameState empty_game();

// Puts `code` on (col, row).
void put(GameState& g, int col, int row, PieceCode code);

// Pawn tables and square maps of the position, as a fresh analysis
// builds them after a move.
Analysis analysed(GameState& g);

// Adds `count` pieces of hand kind 1..6 to the upper (or lower) hand,
// keeping the hand total in step.
void give(GameState& g, bool upper, int kind, int count = 1);

// Checks every square 1..6 of `map`: `cells` where listed, `fill` elsewhere.
// Each mismatch is reported as a test failure naming the map and square.
void expect_map(const SquareMap& map, int fill, std::initializer_list<Cell> cells,
                const std::string& name);

// Pieces on the board and in both hands: fourteen while both kings live.
int pieces_in_play(const GameState& g);

// A map holding `value` on every square (index 0 included).
SquareMap filled_map(int value);

}  // namespace nirvex::testing

namespace nirvex::testing {

// Checks that `after` describes the same position as `before`: every map a
// build starts afresh is equal, and the kept guard and threat squares are
// equal wherever the code map says a mover wrote them.
void expect_same_position_maps(const Analysis& before, const Analysis& after,
                               const std::string& where);

}  // namespace nirvex::testing

// The computer's turn without the window: the analysis of the position
// before the move, and the one-ply search that tries every board move and
// then every drop of the upper side on the live board, scores each and
// keeps the first best.
#pragma once

#include <functional>

#include "engine/analysis.h"
#include "engine/computer_state.h"
#include "model/game_state.h"

namespace nirvex {

// Start of the computer's turn: resets the best score, keeps a copy of the
// board, analyses the position (pawn columns, the lower king's flights,
// the square maps, bishop-drop danger, pins) and copies the maps the
// scoring compares against.
void prepare_com_turn(GameState& g, Analysis& a, ComputerState& c);

// Tries every candidate of the upper side: board moves by origin column,
// origin row, target column, target row, then drops by hand kind and
// target.  `tick` runs at the start of every origin column and every hand
// kind; `on_candidate`, when given, hears each candidate as settled.
// Stops at once on taking the lower king, and in the drops at a score of
// 9998 or more.  Every trial is taken back; the square maps are left as
// the last trial built them.  Call prepare_com_turn first.
ComMove search_com_move(GameState& g, Analysis& a, ComputerState& c,
                        const std::function<void()>& tick,
                        const std::function<void(const ComCandidate&)>& on_candidate = {});

// prepare_com_turn followed by search_com_move, for callers without a
// clock to tick.
ComMove choose_com_move(GameState& g, Analysis& a, ComputerState& c);

// The computer player's choice for whichever side is to move in a copy of
// the game, with a fresh analysis: the computer always plays the upper
// side, so with the lower side to move the position is turned by half a
// turn, searched, and the move (and every candidate heard) turned back.
// `time_of_day` is the clock text the strongest level's opening reads.
ComMove search_side_to_move(const GameState& game, int level, const std::string& time_of_day,
                            const std::function<void(const ComCandidate&)>& on_candidate = {});

}  // namespace nirvex

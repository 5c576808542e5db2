// "ヒント": the best move for the side to move, framed on the board in a
// colour of its own and named in a short message.  The position, the
// record and the clocks stay as they are.
#pragma once

#include <string>

#include "model/move.h"
#include "ui/flow/game.h"

namespace nirvex {

// The hint's frames: light cyan, a colour no other frame uses.
constexpr int colour_hint = 11;

// "ヒント" in the "局面" menu: from the outside engine where it plays,
// else from the built-in player.
void HINTO_Click(Game& game);
// The built-in player's best move for the side to move, shown.
void show_builtin_hint(Game& game);
// The engine's answer to a hint (its bestmove word), shown.
void engine_hint(Game& game, const std::string& move);
// Frames the move and names it.
void show_hint(Game& game, const Move& m);
// Takes the last hint's frames away.
void clear_hint(Game& game);

}  // namespace nirvex

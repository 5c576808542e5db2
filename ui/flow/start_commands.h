// The frame of a game: starting one between two players or against the
// computer (the player moving first or second), the computer's level, a
// fresh game, and the winner announcement with the offer of another game.
#pragma once

#include <string>

#include "ui/flow/game.h"

namespace nirvex {

// Resets the game to the initial position with nobody to move, stops the
// clock display and repaints everything.
void new_game(Game& game);
// "スタート": two players at one board.
void START_Click(Game& game);
// "先手": against the computer, the player moving first.
void SENTE_Click(Game& game);
// "後手": against the computer, the computer moving first.
void GOTE_Click(Game& game);
// "LEVEL1" to "LEVEL3".
void LEVEL_Click(Game& game, int level);
// Moves the check mark to the level and, against the computer, shows it.
// An outside engine that played is switched off and its process ended.
void set_level(Game& game, int level);
// "<name>の勝ちです", then "続けますか？": Yes starts afresh, No ends the
// program.
void announce_winner(Game& game, const std::string& name);
// "対局", "局面" and "ｵﾌﾟｼｮﾝ" close the record panel when they open.
void close_record_panel(Game& game);

}  // namespace nirvex

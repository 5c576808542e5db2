// An outside USI engine as the computer's player: it is started when first
// needed, told the variant, handed the position and a think time, and its
// move goes the one road of every move.  The window stays alive while it
// thinks; a fault of any kind is named, the process is ended, and the
// built-in LEVEL3 plays that move instead.
#pragma once

#include <string>

#include "ui/flow/conversation_listener.h"
#include "ui/flow/engine_faults.h"
#include "ui/flow/game.h"

namespace nirvex {

// Does the outside engine play the computer's side?
bool engine_plays(const Game& game);
// Is the engine busy with a move or a hint?  Clicks on the board wait.
bool engine_busy(const Game& game);
// Is an answer of the engine awaited: an errand, its greeting, or the last
// move of a stopped errand?
bool engine_awaited(const Game& game);
// Asks the engine for the computer's move (errand move) or for the
// player's best move (errand hint), starting it first when it is off.
void ask_engine(Game& game, OutsideEngine::Errand errand);

// A line the engine said.
void engine_said(Game& game, const std::string& line);
// The engine's process ended of itself.
void engine_ended(Game& game);
// The engine did not answer in time.
void engine_deadline_passed(Game& game);
// The engine wrote a line longer than any USI line can be: its fault
// like a passed deadline while an answer is awaited; otherwise it is
// ended quietly and started again when next needed.
void engine_overflowed(Game& game);

// The computer's engine process speaks to the game through this.
using PlayListener = ConversationListener<engine_said, engine_ended, engine_deadline_passed,
                                          engine_overflowed, engine_awaited>;

// A game starts, is stepped or is left: the engine's errand is called off
// ("stop"), and its late answer will be ignored.
void stop_engine_errand(Game& game);
// A new game for the engine: "usinewgame" before its next position.
void forget_engine_game(Game& game);
// A game against the computer starts (or goes on) from the position on
// the board: the engine is handed it and the moves from here.
void engine_game_starts_here(Game& game);
// "stop" and "quit", and the process is ended.
void close_engine(Game& game);

// The player chose this engine in the dialog: it plays from the computer's
// next move, and the choice is saved.  Chosen only for the record analysis
// (to_play false), it plays only if the outside engine played already.
void choose_engine(Game& game, const EngineSettings& choice, bool to_play = true);
// The check mark on the outside engine's item, or on none of LEVEL1-3.
void mark_engine_choice(Game& game);

}  // namespace nirvex

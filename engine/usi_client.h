// Speaking USI to an outside engine that plays this game as the variant
// "judkins": what it says of itself, the commands that hand it a position
// and a think time, and its chosen move.
#pragma once

#include <string>
#include <vector>

#include "model/game_state.h"

namespace nirvex {

// The variant name under which engines know this 6x6 game.
inline constexpr const char* usi_variant = "judkins";

// What an engine said of itself between "usi" and "usiok".
struct EngineIdentity {
  std::string name;           // "id name …"
  bool offers_variants = false;  // it has the option UCI_Variant
  bool plays_variant = false;    // … and "judkins" is one of its choices
  bool offers_skill = false;     // it has a "Skill Level" spin option
  int skill_min = 0, skill_max = 0, skill_default = 0;
};

// Takes one line of the engine's introduction into `id`.
void read_identity_line(const std::string& line, EngineIdentity& id);

// The move of a "bestmove MOVE [ponder …]" line; false for any other line.
bool read_bestmove(const std::string& line, std::string& move);

// True for the bestmove words that give up the game or claim it
// ("resign", "win", "(none)"), where no move follows.
bool bestmove_ends_game(const std::string& move);

// "position sfen BASE [moves M1 M2 …]".
std::string position_command(const std::string& base_sfen, const std::vector<std::string>& moves);

// "go" with a fixed think time per move, in milliseconds.
std::string go_command(int move_time_ms);

// "go movetime MS" and "go depth N": one search of a position, for its
// evaluation rather than a game's clock.
std::string go_movetime_command(int move_time_ms);
std::string go_depth_command(int depth);

// What one "info" line says of the search: the score from the view of the
// side to move, and the line of play the engine expects.
struct EngineInfo {
  bool has_score = false;
  bool mate = false;    // "score mate N" rather than "score cp N"
  int value = 0;        // centipawns, or plies to the mate (never negative)
  bool mated = false;   // for a mate: the side to move is the one mated
  bool bound = false;   // "lowerbound" or "upperbound": not the exact score
  int multipv = 1;      // which of several lines (1: the best)
  std::vector<std::string> pv;
};

// Reads an "info" line; false for any other line.  "mate 0" and "mate -N"
// are mates of the side to move, "mate N" and "mate +" mates by it.
bool read_info(const std::string& line, EngineInfo& info);

// The USI text of a recorded move.  A drop is named by the kind of the
// piece dropped, whichever way the record counts the hand's rows.
std::string recorded_move_text(const MoveRecord& e);

// True when some piece of the other side attacks that side's king.
bool king_attacked(const GameState& g, bool upper_king);

// True when the move that led to `after` is one that engines of this game
// refuse, or may refuse, though our rules allow it: it left its mover's own
// king attacked, or it was a pawn drop that mates (shogi forbids that;
// Fairy-Stockfish takes it, others need not).
bool engine_refuses_move(const GameState& after, const Move& m);

// The position the engine is handed: the game's position at `base_pos`
// of the record (SFEN text `base_sfen`) and the moves played since, as
// USI text.  False when a move since then is one engines may refuse: the
// position must then be handed over whole.
bool moves_since(const GameState& g, const std::string& base_sfen, int base_pos,
                 std::vector<std::string>& moves);

}  // namespace nirvex

// The one road of every move, the human's by mouse and the computer's
// alike: record entry, move number, apply_move, sound, last move, time,
// square maps, mate test, winner and the turn, each in the order the
// mover's side of the game takes them.
#pragma once

#include <string>

#include "model/move.h"
#include "ui/flow/game.h"

namespace nirvex {

// Who moves.  The human's moves against the computer end with the mate
// test of the computer's king; between two humans only a taken king ends
// the game; the computer announces mate, its win or check.
enum class Mover { human_vs_computer, human_two_players, computer };

// What a move brought about.
struct MoveOutcome {
  bool played = false;      // false: the record was full; nothing changed
  PieceCode captured = 0;   // what stood on the destination
  bool mate_announced = false;   // the computer said "よし！!"
  bool check_announced = false;  // the computer said "   ** 王手 **"
  std::string winner;       // the name announced as the winner, if any
  bool computer_to_move = false;  // the computer has the next move
};

// Plays a move of the side to move.  `m` is the move as the record keeps
// it: a human's drop from the upper hand names the hand slot's screen row,
// the computer's drop its hand kind.  A human's pick is let go on the way.
MoveOutcome play_move(Game& game, const Move& m, Mover mover);

// A full record takes no further move: "禁止.wav" and a message.
void refuse_full_record(Game& game);

}  // namespace nirvex

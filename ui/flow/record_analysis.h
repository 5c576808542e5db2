// "棋譜解析": the outside engine chosen for the game evaluates the
// position before the first move of the record and after every move, on a
// process of its own so that an engine playing the game is not disturbed.
// From its answers every move gets its cost and mark (move_judgement.h)
// and each side a summary.  Positions where the side to move can take the
// king are judged by the rules without asking.  The game, its record and
// its clocks stay as they are; a cancel or a fault of the engine keeps
// what was done.  The engine's lines, its end and its deadline come back
// through AnalysisListener, as the computer's engine's do.
#pragma once

#include <string>

#include "ui/flow/conversation_listener.h"
#include "ui/flow/game.h"

namespace nirvex {

enum class AnalysisStart {
  started,
  no_engine,  // no engine chosen, or no process for it here
  no_moves,   // the record holds no move
  failed,     // the engine could not be started (the message was shown)
};

// Starts the analysis of the record as it stands, from its first position,
// calling off one that runs.
AnalysisStart start_record_analysis(Game& game, const AnalysisLimit& limit);
// Is an analysis running?  Clicks on the board wait.
bool analysis_running(const Game& game);
// Stops a running analysis ("中止", or a command that changes the
// position); what was done stays.
void cancel_record_analysis(Game& game);

// A line the analysis's engine said.
void analysis_said(Game& game, const std::string& line);
// The analysis's engine ended of itself.
void analysis_ended(Game& game);
// The analysis's engine did not answer in time.
void analysis_deadline_passed(Game& game);
// The analysis's engine wrote a line longer than any USI line can be: its
// fault, like a passed deadline.
void analysis_overflowed(Game& game);

// How far the analysis is: positions done and in all, the time left.
AnalysisProgress analysis_progress(Game& game);

// Do the results belong to the record as it stands now: the same first
// position, and the analysed moves at its start?
bool analysis_fits_record(const Game& game);

// The analysis's engine process speaks to the game through this.
using AnalysisListener =
    ConversationListener<analysis_said, analysis_ended, analysis_deadline_passed,
                         analysis_overflowed, analysis_running>;

}  // namespace nirvex

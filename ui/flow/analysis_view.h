// The record analysis as the window shows it beside the board: the flow
// keeps the AnalysisView told of what changed, as it keeps the move list
// told of the record.
#pragma once

#include "ui/flow/game.h"

namespace nirvex {

// What the view shows now: the analysis's state and progress, and its
// results when they belong to the record on the board.
AnalysisShown analysis_shown(Game& game);

// Tells the view when the analysis started or stopped, judged another
// position, or its results stopped or started belonging to the record;
// nothing otherwise.
void tell_analysis_view(Game& game);

}  // namespace nirvex

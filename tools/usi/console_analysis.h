// "analyse" in the console: the record analysis of a game's record with an
// outside engine on pipes, printed one line a move as each is judged:
//   info string analysis PLY MOVE SCORE BEST LOSS MARK
// then "info string analysis done", or the engine's fault on one line as
// "info string analysis error …".
#pragma once

#include <ostream>
#include <string>

#include "model/game_state.h"
#include "ui/flow/analysis_results.h"

namespace nirvex {

// Analyses the record of `g` from its first position (record position 0)
// to its last entry with the engine `program`; `g` itself is not touched.
void analyse_record(const GameState& g, const std::string& program, const AnalysisLimit& limit,
                    std::ostream& out);

// The line of one judged move, without its line end.
std::string analysis_line(const AnalysedMove& m);

}  // namespace nirvex

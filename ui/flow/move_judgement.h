// How much a move cost its mover, judged from the engine's evaluations of
// the position before it and after it.  Evaluations count up to ±2000
// centipawns (a mate counts as 2000), and the mark goes by the winning
// chance lost, chance(cp) = 1 / (1 + e^(-cp / 600)), so that a slip in a
// position already won or lost costs little:
//   "疑問手" from 10, "悪手" from 20, "大悪手" from 30 points of chance.
#pragma once

#include <string>

#include "ui/flow/analysis_results.h"

namespace nirvex {

inline constexpr int evaluation_cap_cp = 2000;
inline constexpr double chance_scale_cp = 600;
inline constexpr double dubious_from = 0.10;
inline constexpr double bad_from = 0.20;
inline constexpr double blunder_from = 0.30;

// The evaluation from one side's view in centipawns, a mate counting as
// the cap, and capped.
int capped_centipawns(const Evaluation& e, bool for_upper);

// The winning chance, 0..1, of a side this many centipawns ahead.
double winning_chance(int centipawns);

// The mark of a move that lost this much winning chance.
MoveMark mark_for(double lost_chance);

// The mark's word: "疑問手", "悪手", "大悪手"; empty for none.
std::string mark_word(MoveMark mark);

// Judges the move: its loss in centipawns and in winning chance, and its
// mark.  The engine's own best move costs nothing; a move that leaves its
// mover's king to be taken is a "大悪手" whatever the numbers say.
void judge_move(AnalysedMove& move, const Evaluation& before, bool was_best, bool gives_king);

// Adds the move to its side's summary (the average is kept up to date).
void count_move(SideSummary& side, const AnalysedMove& move);

// The evaluation as the console prints it: "cp N" or "mate N", N from the
// bottom side's view ("mate -N" when the bottom side is mated, "mate -0"
// once it is).
std::string evaluation_text(const Evaluation& e);

}  // namespace nirvex

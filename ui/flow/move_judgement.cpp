#include "ui/flow/move_judgement.h"

#include <algorithm>
#include <cmath>

namespace nirvex {

int capped_centipawns(const Evaluation& e, bool for_upper) {
  int cp = e.mate ? (e.bottom_mates ? evaluation_cap_cp : -evaluation_cap_cp) : e.centipawns;
  if (for_upper) cp = -cp;
  return std::clamp(cp, -evaluation_cap_cp, evaluation_cap_cp);
}

double winning_chance(int centipawns) {
  return 1.0 / (1.0 + std::exp(-centipawns / chance_scale_cp));
}

MoveMark mark_for(double lost_chance) {
  if (lost_chance >= blunder_from) return MoveMark::blunder;
  if (lost_chance >= bad_from) return MoveMark::bad;
  if (lost_chance >= dubious_from) return MoveMark::dubious;
  return MoveMark::none;
}

std::string mark_word(MoveMark mark) {
  switch (mark) {
    case MoveMark::dubious: return "疑問手";
    case MoveMark::bad: return "悪手";
    case MoveMark::blunder: return "大悪手";
    case MoveMark::none: break;
  }
  return {};
}

void judge_move(AnalysedMove& move, const Evaluation& before, bool was_best, bool gives_king) {
  const int from = capped_centipawns(before, move.upper);
  const int to = capped_centipawns(move.evaluation, move.upper);
  move.loss_cp = was_best ? 0 : std::max(0, from - to);
  move.lost_chance = was_best ? 0 : std::max(0.0, winning_chance(from) - winning_chance(to));
  move.mark = gives_king ? MoveMark::blunder : mark_for(move.lost_chance);
}

void count_move(SideSummary& side, const AnalysedMove& move) {
  side.average_loss_cp = (side.average_loss_cp * side.moves + move.loss_cp) / (side.moves + 1);
  side.moves += 1;
  if (move.mark == MoveMark::dubious) side.dubious += 1;
  if (move.mark == MoveMark::bad) side.bad += 1;
  if (move.mark == MoveMark::blunder) side.blunders += 1;
}

std::string evaluation_text(const Evaluation& e) {
  if (!e.mate) return "cp " + std::to_string(e.centipawns);
  return std::string("mate ") + (e.bottom_mates ? "" : "-") + std::to_string(e.mate_plies);
}

}  // namespace nirvex

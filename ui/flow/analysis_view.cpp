#include "ui/flow/analysis_view.h"

#include "ui/flow/players.h"
#include "ui/flow/record_analysis.h"

namespace nirvex {

AnalysisShown analysis_shown(Game& game) {
  const GameState& g = game.g;
  AnalysisShown shown;
  shown.running = analysis_running(game);
  shown.progress = analysis_progress(game);
  shown.first_number = g.move_number - g.record_pos + 1;
  if (!analysis_fits_record(game)) return shown;
  shown.results = game.record_analysis.results;
  if (!shown.results.moves.empty()) {
    // The first move's mover moved first when its number is odd, as the
    // list counts: its moves are ▲.
    const bool upper_is_first = shown.results.moves.front().upper == (shown.first_number % 2 == 1);
    const PlayerNames names = player_names(game);
    shown.lower_name = (upper_is_first ? "△" : "▲") + names.lower;
    shown.upper_name = (upper_is_first ? "▲" : "△") + names.upper;
  }
  return shown;
}

void tell_analysis_view(Game& game) {
  if (!game.analysis_view) return;
  const RecordAnalysis& a = game.record_analysis;
  const AnalysisTold now{a.run, analysis_running(game), a.results.positions.size(),
                         analysis_fits_record(game)};
  if (now == game.analysis_told) return;
  game.analysis_told = now;
  game.analysis_view->show_analysis(analysis_shown(game));
}

}  // namespace nirvex

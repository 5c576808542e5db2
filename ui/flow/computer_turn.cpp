#include "ui/flow/computer_turn.h"

#include "engine/com_search.h"
#include "engine/usi_client.h"
#include "ui/flow/clocks.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/play_move.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

void begin_com_turn(Game& game) {
  GameState& g = game.g;
  g.turn_start_time = now(game);
  if (checked(game, "KEIKA")) game.form->start_timer();
  // The caption under the computer's hand.
  for (int x = -2; x <= 0; ++x) draw_picture(game, g.background_id, x, 8);
  draw_frame(game, colour_frame, -1, 4);
  draw_text(game, -1.5, 8.5, "思考中", colour_shadow, 0, 12);
  draw_text(game, -1.6, 8.4, "思考中", colour_last_move, 0, 12);
}

void com_ban(Game& game) {
  if (game.program_ended) return;
  begin_com_turn(game);
  if (engine_plays(game) && !king_attacked(game.g, false)) {
    ask_engine(game, OutsideEngine::Errand::move);
    return;
  }
  play_builtin_com_move(game);
}

void play_builtin_com_move(Game& game) {
  GameState& g = game.g;

  game.computer.time_of_day = time_of_day_text(now(game));
  prepare_com_turn(g, game.analysis, game.computer);
  refresh(game);
  pause_seconds(game, 0.1);

  // The search gives no time to the window; it ticks the clock itself.
  game.candidates.clear();
  std::function<void(const ComCandidate&)> keep;
  if (game.keep_candidates) keep = [&game](const ComCandidate& c) { game.candidates.push_back(c); };
  const ComMove m =
      search_com_move(g, game.analysis, game.computer, [&game] { Timer1_Timer(game); }, keep);
  game.com_turns += 1;
  game.last_com_move = m;
  game.last_com_played = false;
  game.last_com_by_engine = false;
  if (!m.found) {
    // Not a single move the rules allow: the computer has lost.
    game.form->stop_timer();
    announce_winner(game, "あなた");
    return;
  }
  play_move(game, m, Mover::computer);
}

}  // namespace nirvex

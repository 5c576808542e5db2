#include "ui/flow/outside_engine.h"

#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "ui/flow/computer_turn.h"
#include "ui/flow/engine_faults.h"
#include "ui/flow/hint.h"
#include "ui/flow/painting.h"
#include "ui/flow/play_move.h"
#include "ui/flow/preferences.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

using Phase = OutsideEngine::Phase;
using Errand = OutsideEngine::Errand;

// How long a stopped engine may take to give its last move.
constexpr int stop_grace_ms = 5000;

// The engine is given up: it is ended, the message names it and says what
// went wrong (`what` follows its name), LEVEL3 takes over, and the errand
// it had is done by the built-in player.
void engine_fault(Game& game, const std::string& what) {
  OutsideEngine& e = game.engine;
  const Errand errand = e.errand;
  const std::string text =
      engine_fault_text(e.identity, e.choice.program, what,
                        errand == Errand::move ? "LEVEL3 が代わりに指します。" : "LEVEL3 で続けます。");
  e.errand = Errand::none;
  e.phase = Phase::off;
  if (game.engine_process) {
    game.engine_process->set_deadline(0);
    game.engine_process->end();
  }
  e.choice.plays = false;
  game.form->message(text, engine_message_title, MsgButtons::ok, MsgIcon::warning);
  LEVEL_Click(game, 3);
  write_settings(game);
  if (errand == Errand::move) play_builtin_com_move(game);
  if (errand == Errand::hint) show_builtin_hint(game);
}

// The position as the engine is handed it, then "go".
void send_errand(Game& game) {
  OutsideEngine& e = game.engine;
  GameState& g = game.g;
  EngineProcess& p = *game.engine_process;
  if (!e.new_game_said) {
    p.send("usinewgame");
    e.new_game_said = true;
  }
  std::vector<std::string> moves;
  if (!e.base_set || !moves_since(g, e.base_sfen, e.base_pos, moves)) {
    e.base_set = true;
    e.base_sfen = write_sfen(g);
    e.base_pos = g.record_pos;
    moves.clear();
  }
  p.send(position_command(e.base_sfen, moves));
  p.send(go_command(e.choice.move_time_ms));
  e.phase = Phase::thinking;
  p.set_deadline(e.choice.move_time_ms + engine_answer_grace_ms);
}

// The engine has introduced itself: the variant, its skill, "isready".
void engine_introduced(Game& game) {
  OutsideEngine& e = game.engine;
  if (!tell_engine_the_game(*game.engine_process, e.identity, e.choice.skill)) {
    engine_fault(game, fault_plays_no_variant());
    return;
  }
  e.phase = Phase::readying;
}

// The computer's move as the engine chose it.
void engine_moved(Game& game, const std::string& text) {
  GameState& g = game.g;
  if (bestmove_ends_game(text)) {
    game.com_turns += 1;
    game.last_com_by_engine = true;
    game.last_com_move = ComMove{};
    game.last_com_played = false;
    game.form->stop_timer();
    announce_winner(game, "あなた");
    return;
  }
  Move m;
  std::string error;
  if (g.turn != g.upper_side || !read_move(g, text, true, m, error)) {
    game.engine.errand = Errand::move;  // LEVEL3 makes this move
    engine_fault(game, fault_refused_move(text));
    return;
  }
  ComMove chosen;
  static_cast<Move&>(chosen) = m;
  chosen.found = true;
  game.com_turns += 1;
  game.last_com_by_engine = true;
  game.last_com_move = chosen;
  game.last_com_played = false;
  play_move(game, chosen, Mover::computer);
}

// The engine is ended without a word while nothing is asked of it; it is
// started again when next needed.
void end_quietly(Game& game) {
  game.engine.phase = Phase::off;
  game.engine_process->set_deadline(0);
  game.engine_process->end();
}

}  // namespace

bool engine_plays(const Game& game) {
  return game.engine_process && game.engine.choice.plays && !game.engine.choice.program.empty();
}

bool engine_busy(const Game& game) { return game.engine.errand != Errand::none; }

bool engine_awaited(const Game& game) {
  const Phase p = game.engine.phase;
  return engine_busy(game) || p == Phase::greeting || p == Phase::readying ||
         p == Phase::stopping;
}

void ask_engine(Game& game, Errand errand) {
  OutsideEngine& e = game.engine;
  e.errand = errand;
  if (e.phase == Phase::idle) {
    send_errand(game);
    return;
  }
  if (e.phase != Phase::off) return;  // still getting ready: the errand waits
  std::string error;
  e.identity = EngineIdentity{};
  if (!game.engine_process->start(e.choice.program, error)) {
    engine_fault(game, fault_cannot_start(error));
    return;
  }
  e.new_game_said = false;
  e.phase = Phase::greeting;
  game.engine_process->send("usi");
  game.engine_process->set_deadline(engine_greeting_ms);
}

void engine_said(Game& game, const std::string& raw) {
  OutsideEngine& e = game.engine;
  const std::string line = trimmed_line(raw);
  std::string move;
  switch (e.phase) {
    case Phase::greeting:
      if (line == "usiok")
        engine_introduced(game);
      else
        read_identity_line(line, e.identity);
      break;
    case Phase::readying:
      if (line != "readyok") break;
      game.engine_process->set_deadline(0);
      e.phase = Phase::idle;
      if (e.errand != Errand::none) send_errand(game);
      break;
    case Phase::thinking: {
      if (!read_bestmove(line, move)) break;
      game.engine_process->set_deadline(0);
      e.phase = Phase::idle;
      const Errand errand = e.errand;
      e.errand = Errand::none;
      if (errand == Errand::move) engine_moved(game, move);
      if (errand == Errand::hint) {
        Move m;
        std::string error;
        GameState& g = game.g;
        if (!bestmove_ends_game(move) && !read_move(g, move, g.turn == g.upper_side, m, error)) {
          e.errand = Errand::hint;
          engine_fault(game, "のヒント「" + move + "」はこの将棋の規則で指せません。");
        } else {
          engine_hint(game, move);
        }
      }
      break;
    }
    case Phase::stopping:
      if (!read_bestmove(line, move)) break;
      game.engine_process->set_deadline(0);
      e.phase = Phase::idle;
      if (e.errand != Errand::none) send_errand(game);
      break;
    case Phase::off:
    case Phase::idle:
      break;
  }
}

void engine_ended(Game& game) {
  OutsideEngine& e = game.engine;
  if (e.phase == Phase::off) return;
  const bool wanted = e.errand != Errand::none || e.phase == Phase::greeting ||
                      e.phase == Phase::readying || e.phase == Phase::thinking;
  if (wanted) {
    engine_fault(game, fault_ended_midway);
    return;
  }
  end_quietly(game);
}

void engine_deadline_passed(Game& game) {
  OutsideEngine& e = game.engine;
  switch (e.phase) {
    case Phase::greeting:
    case Phase::readying:
    case Phase::thinking:
      engine_fault(game, fault_silent(e.phase));
      break;
    case Phase::stopping:
      // It never gave its last move: it is ended, and started again when
      // next needed.
      e.phase = Phase::off;
      game.engine_process->end();
      if (e.errand != Errand::none) ask_engine(game, e.errand);
      break;
    case Phase::off:
    case Phase::idle:
      break;
  }
}

void engine_overflowed(Game& game) {
  OutsideEngine& e = game.engine;
  if (e.phase != Phase::off && e.phase != Phase::idle) {
    engine_deadline_passed(game);
    return;
  }
  end_quietly(game);
}

void stop_engine_errand(Game& game) {
  OutsideEngine& e = game.engine;
  if (e.errand == Errand::none) return;
  const Errand errand = e.errand;
  e.errand = Errand::none;
  if (e.phase == Phase::thinking) {
    game.engine_process->send("stop");
    game.engine_process->set_deadline(stop_grace_ms);
    e.phase = Phase::stopping;
  }
  if (errand == Errand::move) {
    // The computer's turn is called off; it moves at the next click.
    game.form->stop_timer();
    clear_last_move(game, game.g.upper_side);
  }
}

void forget_engine_game(Game& game) {
  game.engine.new_game_said = false;
  game.engine.base_set = false;
}

void engine_game_starts_here(Game& game) {
  OutsideEngine& e = game.engine;
  e.base_set = true;
  e.base_sfen = write_sfen(game.g);
  e.base_pos = game.g.record_pos;
}

void close_engine(Game& game) {
  OutsideEngine& e = game.engine;
  e.errand = Errand::none;
  if (!game.engine_process || e.phase == Phase::off) return;
  const bool thinking = e.phase == Phase::thinking;
  e.phase = Phase::off;
  game.engine_process->set_deadline(0);
  if (thinking) game.engine_process->send("stop");
  game.engine_process->send("quit");
  game.engine_process->end();
}

void choose_engine(Game& game, const EngineSettings& choice, bool to_play) {
  const bool plays = to_play || engine_plays(game);
  stop_engine_errand(game);
  if (choice.program != game.engine.choice.program || choice.skill != game.engine.choice.skill)
    close_engine(game);
  game.engine.choice = choice;
  game.engine.choice.plays = plays;
  mark_engine_choice(game);
  for (int x = -2; x <= 0; ++x) draw_picture(game, game.g.background_id, x, 0);
  if (game.g.play_mode == mode_vs_computer) draw_level(game, game.g.level);
  write_settings(game);
  refresh(game);
}

void mark_engine_choice(Game& game) {
  const bool plays = engine_plays(game);
  game.form->set_checked("GAIBU", plays);
  for (int i = 1; i <= 3; ++i)
    game.form->set_checked("LEVEL" + std::to_string(i), !plays && game.g.level == i);
}

}  // namespace nirvex

#include "ui/flow/record_analysis.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "model/record_steps.h"
#include "model/rules.h"
#include "ui/flow/analysis_view.h"
#include "ui/flow/engine_faults.h"
#include "ui/flow/painting.h"
#include "ui/flow/move_judgement.h"

namespace nirvex {

namespace {

using Status = RecordAnalysis::Status;

// How long a search to a fixed depth may take before the engine counts as
// silent.
constexpr int depth_answer_ms = 120000;
// How the analysis goes on after a fault of its engine.
constexpr const char* after_fault = "棋譜解析はここまでです。";

// The seconds from one time of day to a later one, past midnight too.
double seconds_between(double from, double to) {
  return to >= from ? to - from : to - from + 24 * 60 * 60;
}

// Is the upper side to move?
bool upper_to_move(const GameState& g) { return g.turn == g.upper_side; }

// Does that side still have its king?
bool has_king(const GameState& g, bool upper) {
  const PieceCode king = upper ? code_king : -code_king;
  for (int c = 1; c <= 6; ++c)
    for (int r = 1; r <= 6; ++r)
      if (g.board[c][r] == king) return true;
  return false;
}

// The record's first position: the one on the board with every move back
// to the first taken back, the first move's side to move.
GameState record_start(const GameState& g) {
  GameState s = g;
  for (int i = g.record_pos; i >= 1; --i) undo_recorded_move(s, g.move_records[i]);
  s.move_number = g.move_number - g.record_pos;
  s.record_pos = 0;
  if (g.record_len >= 1)
    s.turn = is_upper_piece(g.move_records[1].piece_before) ? g.upper_side : g.lower_side;
  return s;
}

// Does the recorded move fit the position: its piece where it starts, and
// what it took where it lands?
bool move_fits(const GameState& g, const MoveRecord& e) {
  if (e.is_drop()) {
    const HandArray& hand = is_upper_piece(e.piece_after) ? g.upper_hand : g.lower_hand;
    if (hand[hand_kind_of(e.piece_after)] <= 0) return false;
  } else if (!on_board(e.from_col, e.from_row) ||
             g.board[e.from_col][e.from_row] != e.piece_before) {
    return false;
  }
  return on_board(e.to_col, e.to_row) && g.board[e.to_col][e.to_row] == e.captured;
}

// The record's moves that replay from its first position, up to the first
// that does not.
std::vector<MoveRecord> replayable_moves(const GameState& start, const GameState& g) {
  std::vector<MoveRecord> out;
  GameState s = start;
  for (int i = 1; i <= g.record_len; ++i) {
    const MoveRecord& e = g.move_records[i];
    if (!move_fits(s, e)) break;
    redo_recorded_move(s, e);
    out.push_back(e);
  }
  return out;
}

// A win for one side, a mate this many plies away, from the bottom's view.
Evaluation win_for(bool upper, int plies) {
  Evaluation e;
  e.mate = true;
  e.mate_plies = plies;
  e.bottom_mates = !upper;
  return e;
}

// The engine's score, from the side to move's view, as the bottom sees it.
Evaluation bottom_view(const EngineInfo& info, bool upper_moves) {
  if (info.mate) return win_for(info.mated != upper_moves, info.value);
  Evaluation e;
  e.centipawns = upper_moves ? -info.value : info.value;
  return e;
}

// Positions the engine cannot be given: the side to move has lost its king
// (the other side has won), or can take the other king (a win a ply away,
// the capture its best move).  False for any other position.
bool judge_by_rule(GameState& g, AnalysedPosition& out) {
  const bool upper = upper_to_move(g);
  if (!has_king(g, upper) || !has_king(g, !upper)) {
    out.king_taken = true;
    out.evaluation = win_for(has_king(g, upper) ? upper : !upper, 0);
    return true;
  }
  if (!king_attacked(g, !upper)) return false;
  out.king_to_take = true;
  out.evaluation = win_for(upper, 1);
  mark_pawn_columns(g);
  for (const RuleMove& m : list_rule_moves(g, upper))
    if (std::abs(g.board[m.to_col][m.to_row]) == code_king) {
      out.best_usi = move_text(m);
      out.best_text = move_name(m);
      out.pv = {out.best_usi};
      break;
    }
  return true;
}

// Ends the engine's process: "stop" if it is thinking, then "quit".
void close_process(Game& game) {
  RecordAnalysis& a = game.record_analysis;
  EngineProcess& p = *game.analysis_process;
  p.set_deadline(0);
  if (a.phase == EnginePhase::thinking) p.send("stop");
  if (a.phase != EnginePhase::off) p.send("quit");
  a.phase = EnginePhase::off;
  p.end();
}

// The engine is given up: it is ended, the analysis stops with what it
// found, and the message names the engine and says what went wrong.
void analysis_fault(Game& game, const std::string& what) {
  RecordAnalysis& a = game.record_analysis;
  a.phase = EnginePhase::off;
  game.analysis_process->set_deadline(0);
  game.analysis_process->end();
  a.status = Status::failed;
  a.fault = engine_fault_text(a.identity, a.program, what, after_fault);
  game.form->message(a.fault, engine_message_title, MsgButtons::ok, MsgIcon::warning);
}

// The position is judged: it is kept, the move that led to it is judged and
// counted, and the next move of the record is made on the analysis's board.
void position_done(RecordAnalysis& a, const AnalysedPosition& here) {
  AnalysisResults& r = a.results;
  r.positions.push_back(here);
  const size_t k = r.positions.size() - 1;
  if (k >= 1) {
    const MoveRecord& e = a.record[k - 1];
    const AnalysedPosition& before = r.positions[k - 1];
    AnalysedMove m;
    m.ply = static_cast<int>(k);
    m.upper = is_upper_piece(e.piece_before);
    m.move_usi = recorded_move_text(e);
    m.move_text = move_name(e);
    m.evaluation = here.evaluation;
    m.best_usi = before.best_usi;
    m.best_text = before.best_text;
    judge_move(m, before.evaluation, m.move_usi == before.best_usi, here.king_to_take);
    count_move(m.upper ? r.upper : r.lower, m);
    r.moves.push_back(m);
  }
  if (here.king_to_take || here.king_taken) a.chain_set = false;
  if (k >= a.record.size()) return;
  const MoveRecord& next = a.record[k];
  redo_recorded_move(a.position, next);
  a.position.turn = -a.position.turn;
  a.position.move_number += 1;
  if (engine_refuses_move(a.position, next)) a.chain_set = false;
  if (a.chain_set) a.chain_moves.push_back(recorded_move_text(next));
}

// Hands the engine the position and asks for its search.
void ask_about_position(Game& game) {
  RecordAnalysis& a = game.record_analysis;
  EngineProcess& p = *game.analysis_process;
  if (!a.chain_set) {
    a.chain_set = true;
    a.chain_sfen = write_sfen(a.position);
    a.chain_moves.clear();
  }
  p.send(position_command(a.chain_sfen, a.chain_moves));
  const AnalysisLimit& limit = a.limit;
  p.send(limit.depth > 0 ? go_depth_command(limit.depth) : go_movetime_command(limit.move_time_ms));
  a.latest = EngineInfo{};
  a.latest_exact = false;
  a.phase = EnginePhase::thinking;
  p.set_deadline(limit.depth > 0 ? depth_answer_ms : limit.move_time_ms + engine_answer_grace_ms);
}

// Goes on with the next position: those the rules judge at once, then the
// first the engine must see; after the last one the analysis is finished.
void take_next_position(Game& game) {
  RecordAnalysis& a = game.record_analysis;
  a.last_done_at = now(game);
  while (a.results.positions.size() <= a.record.size()) {
    AnalysedPosition ruled;
    if (!judge_by_rule(a.position, ruled)) {
      ask_about_position(game);
      return;
    }
    position_done(a, ruled);
  }
  close_process(game);
  a.status = Status::finished;
}

// Keeps the score of an "info" line of the best line; a bound never
// replaces an exact score.
void note_info(RecordAnalysis& a, const std::string& line) {
  EngineInfo info;
  if (!read_info(line, info) || !info.has_score || info.multipv != 1) return;
  if (info.bound && a.latest_exact) return;
  a.latest = std::move(info);
  a.latest_exact = !a.latest.bound;
}

// The first move of the line that the rules refuse; empty when all pass.
std::string refused_in_line(GameState g, const std::vector<std::string>& line) {
  for (const std::string& text : line) {
    RuleMove m;
    std::string error;
    if (!read_move(g, text, upper_to_move(g), m, error)) return text;
    apply_move(g, m.from_col, m.from_row, m.to_col, m.to_row, m.piece_after);
    g.turn = -g.turn;
  }
  return {};
}

// The engine's bestmove: checked with its line against the rules, then the
// position is judged by its last score.
void engine_answered(Game& game, const std::string& move) {
  RecordAnalysis& a = game.record_analysis;
  game.analysis_process->set_deadline(0);
  a.phase = EnginePhase::idle;
  const bool upper = upper_to_move(a.position);
  AnalysedPosition here;
  if (!bestmove_ends_game(move)) {
    GameState scratch = a.position;
    RuleMove m;
    std::string error;
    if (!read_move(scratch, move, upper, m, error)) {
      analysis_fault(game, fault_refused_move(move));
      return;
    }
    here.best_usi = move;
    here.best_text = move_name(m);
  }
  const std::string refused = refused_in_line(a.position, a.latest.pv);
  if (!refused.empty()) {
    analysis_fault(game, "の読み筋の「" + refused + "」はこの将棋の規則で指せません。");
    return;
  }
  if (a.latest.has_score) {
    here.evaluation = bottom_view(a.latest, upper);
    here.pv = a.latest.pv;
  } else if (here.best_usi.empty()) {
    here.evaluation = win_for(!upper, 0);  // no move and no score: it is mated
  } else {
    analysis_fault(game, "が評価値を示しませんでした。");
    return;
  }
  position_done(a, here);
  take_next_position(game);
}

}  // namespace

AnalysisStart start_record_analysis(Game& game, const AnalysisLimit& limit) {
  cancel_record_analysis(game);
  const std::string& program = game.engine.choice.program;
  if (!game.analysis_process || program.empty()) return AnalysisStart::no_engine;
  GameState start = record_start(game.g);
  std::vector<MoveRecord> moves = replayable_moves(start, game.g);
  if (moves.empty()) return AnalysisStart::no_moves;

  RecordAnalysis& a = game.record_analysis;
  a.results = AnalysisResults{};
  a.identity = EngineIdentity{};
  a.fault.clear();
  a.chain_set = false;
  a.program = program;
  a.limit = limit;
  a.limit.move_time_ms = std::clamp(limit.move_time_ms, analysis_min_time_ms, analysis_max_time_ms);
  a.limit.depth = std::clamp(limit.depth, 0, analysis_max_depth);
  a.record = std::move(moves);
  a.position = start;
  a.start_sfen = write_sfen(start);
  a.started_at = now(game);
  a.status = Status::running;
  a.run += 1;
  std::string error;
  if (!game.analysis_process->start(program, error)) {
    analysis_fault(game, fault_cannot_start(error));
    tell_analysis_view(game);
    return AnalysisStart::failed;
  }
  a.phase = EnginePhase::greeting;
  game.analysis_process->send("usi");
  game.analysis_process->set_deadline(engine_greeting_ms);
  tell_analysis_view(game);
  return AnalysisStart::started;
}

bool analysis_running(const Game& game) {
  return game.record_analysis.status == Status::running;
}

void cancel_record_analysis(Game& game) {
  RecordAnalysis& a = game.record_analysis;
  if (a.status != Status::running) return;
  close_process(game);
  a.status = Status::cancelled;
  tell_analysis_view(game);
}

void analysis_said(Game& game, const std::string& raw) {
  RecordAnalysis& a = game.record_analysis;
  if (a.status != Status::running) return;
  const std::string line = trimmed_line(raw);
  switch (a.phase) {
    case EnginePhase::greeting:
      if (line != "usiok") {
        read_identity_line(line, a.identity);
      } else if (tell_engine_the_game(*game.analysis_process, a.identity, std::nullopt)) {
        a.phase = EnginePhase::readying;
      } else {
        analysis_fault(game, fault_plays_no_variant());
      }
      break;
    case EnginePhase::readying:
      if (line != "readyok") break;
      game.analysis_process->set_deadline(0);
      game.analysis_process->send("usinewgame");
      a.phase = EnginePhase::idle;
      take_next_position(game);
      break;
    case EnginePhase::thinking: {
      std::string move;
      if (line.starts_with("info"))
        note_info(a, line);
      else if (read_bestmove(line, move))
        engine_answered(game, move);
      break;
    }
    default:
      break;
  }
  tell_analysis_view(game);
}

void analysis_ended(Game& game) {
  if (analysis_running(game)) analysis_fault(game, fault_ended_midway);
  tell_analysis_view(game);
}

void analysis_deadline_passed(Game& game) {
  if (analysis_running(game)) analysis_fault(game, fault_silent(game.record_analysis.phase));
  tell_analysis_view(game);
}

void analysis_overflowed(Game& game) { analysis_deadline_passed(game); }

AnalysisProgress analysis_progress(Game& game) {
  const RecordAnalysis& a = game.record_analysis;
  AnalysisProgress p;
  if (a.status == Status::none) return p;
  p.total = static_cast<int>(a.record.size()) + 1;
  p.done = static_cast<int>(a.results.positions.size());
  if (a.status != Status::running) {
    p.seconds_left = 0;
  } else if (p.done > 0) {
    // The positions left take as long as those done took; the one in hand
    // has had some of its time already, so the estimate counts down.
    const double each = seconds_between(a.started_at, a.last_done_at) / p.done;
    const int left = p.total - p.done;
    p.seconds_left = std::max(each * (left - 1),
                              each * left - seconds_between(a.last_done_at, now(game)));
  } else if (a.limit.depth == 0) {
    p.seconds_left = p.total * a.limit.move_time_ms / 1000.0;
  }
  return p;
}

bool analysis_fits_record(const Game& game) {
  const RecordAnalysis& a = game.record_analysis;
  const GameState& g = game.g;
  if (a.status == Status::none || g.record_len < static_cast<int>(a.record.size())) return false;
  for (size_t i = 0; i < a.record.size(); ++i) {
    const MoveRecord& e = g.move_records[i + 1];
    if (static_cast<const Move&>(e) != a.record[i] || e.captured != a.record[i].captured)
      return false;
  }
  return write_sfen(record_start(g)) == a.start_sfen;
}

}  // namespace nirvex

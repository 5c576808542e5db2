#include "engine/usi_client.h"

#include <sstream>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "engine/usi_move.h"
#include "model/rules.h"

namespace nirvex {

namespace {

std::vector<std::string> words_of(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The words of an "option name NAME type …" line: its name (which may hold
// blanks) and the words after "type".
bool read_option(const std::vector<std::string>& w, std::string& name,
                 std::vector<std::string>& rest) {
  if (w.size() < 4 || w[0] != "option" || w[1] != "name") return false;
  size_t i = 2;
  name.clear();
  for (; i < w.size() && w[i] != "type"; ++i) name += (name.empty() ? "" : " ") + w[i];
  if (i == w.size()) return false;
  rest.assign(w.begin() + static_cast<long>(i), w.end());
  return true;
}

// A whole word as a number; false when it is none.
bool word_number(const std::string& word, int& value) {
  try {
    size_t used = 0;
    value = std::stoi(word, &used);
    return used == word.size();
  } catch (...) {
    return false;
  }
}

// The number after `key` in the words, if there is one.
bool number_after(const std::vector<std::string>& w, const std::string& key, int& value) {
  for (size_t i = 0; i + 1 < w.size(); ++i)
    if (w[i] == key) return word_number(w[i + 1], value);
  return false;
}

}  // namespace

void read_identity_line(const std::string& line, EngineIdentity& id) {
  const std::vector<std::string> w = words_of(line);
  if (w.size() >= 3 && w[0] == "id" && w[1] == "name") {
    id.name = line.substr(line.find("name") + 5);
    while (!id.name.empty() && (id.name.back() == '\r' || id.name.back() == ' '))
      id.name.pop_back();
    return;
  }
  std::string name;
  std::vector<std::string> rest;
  if (!read_option(w, name, rest)) return;
  if (name == "UCI_Variant") {
    id.offers_variants = true;
    for (size_t i = 0; i + 1 < rest.size(); ++i)
      if (rest[i] == "var" && rest[i + 1] == usi_variant) id.plays_variant = true;
  } else if (name == "Skill Level" && rest.size() >= 2 && rest[1] == "spin") {
    id.offers_skill = number_after(rest, "min", id.skill_min) &&
                      number_after(rest, "max", id.skill_max) && id.skill_min <= id.skill_max;
    if (!number_after(rest, "default", id.skill_default)) id.skill_default = id.skill_max;
  }
}

bool read_bestmove(const std::string& line, std::string& move) {
  const std::vector<std::string> w = words_of(line);
  if (w.size() < 2 || w[0] != "bestmove") return false;
  move = w[1];
  return true;
}

bool bestmove_ends_game(const std::string& move) {
  return move == "resign" || move == "win" || move == "(none)";
}

std::string position_command(const std::string& base_sfen, const std::vector<std::string>& moves) {
  std::string out = "position sfen " + base_sfen;
  if (!moves.empty()) {
    out += " moves";
    for (const std::string& m : moves) out += ' ' + m;
  }
  return out;
}

std::string go_command(int move_time_ms) {
  return "go btime 0 wtime 0 byoyomi " + std::to_string(move_time_ms);
}

std::string go_movetime_command(int move_time_ms) {
  return "go movetime " + std::to_string(move_time_ms);
}

std::string go_depth_command(int depth) { return "go depth " + std::to_string(depth); }

bool read_info(const std::string& line, EngineInfo& info) {
  const std::vector<std::string> w = words_of(line);
  if (w.empty() || w[0] != "info") return false;
  info = EngineInfo{};
  for (size_t i = 1; i < w.size(); ++i) {
    if (w[i] == "string") break;  // the rest is free text
    if (w[i] == "pv") {
      info.pv.assign(w.begin() + static_cast<long>(i) + 1, w.end());
      break;
    }
    if (w[i] == "lowerbound" || w[i] == "upperbound") info.bound = true;
    if (i + 1 >= w.size()) break;
    if (w[i] == "multipv") {
      word_number(w[++i], info.multipv);
    } else if (w[i] == "score" && i + 2 < w.size()) {
      const std::string& kind = w[i + 1];
      const std::string& n = w[i + 2];
      i += 2;
      int value = 0;
      if (kind == "mate" && (n == "+" || n == "-")) {
        info = {true, true, 0, n == "-", info.bound, info.multipv, {}};
      } else if (word_number(n, value) && (kind == "cp" || kind == "mate")) {
        const bool mate = kind == "mate";
        const bool mated = mate && (value < 0 || n == "0" || n == "-0");
        info = {true, mate, mate && value < 0 ? -value : value, mated, info.bound,
                info.multipv, {}};
      }
    }
  }
  return true;
}

std::string recorded_move_text(const MoveRecord& e) {
  Move m = e;
  if (m.is_drop()) m.from_row = hand_kind_of(m.piece_before);
  return move_text(m);
}

bool king_attacked(const GameState& g, bool upper_king) {
  const PieceCode king = upper_king ? code_king : -code_king;
  for (int kc = 1; kc <= 6; ++kc)
    for (int kr = 1; kr <= 6; ++kr) {
      if (g.board[kc][kr] != king) continue;
      for (int c = 1; c <= 6; ++c)
        for (int r = 1; r <= 6; ++r) {
          const PieceCode code = g.board[c][r];
          const bool enemy = upper_king ? is_lower_piece(code) : is_upper_piece(code);
          if (enemy && is_legal_move(g, c, r, kc, kr, code) == flag_on) return true;
        }
    }
  return false;
}

bool engine_refuses_move(const GameState& after, const Move& m) {
  const bool upper = is_upper_piece(m.piece_before);
  if (king_attacked(after, upper)) return true;
  if (!m.is_drop() || hand_kind_of(m.piece_before) != 1 || !king_attacked(after, !upper))
    return false;
  // A pawn drop that checks: a mate when no reply gets the king away.
  GameState g = after;
  mark_pawn_columns(g);
  for (const RuleMove& reply : list_rule_moves(g, !upper)) {
    GameState next = g;
    apply_move(next, reply.from_col, reply.from_row, reply.to_col, reply.to_row,
               reply.piece_after);
    if (!king_attacked(next, !upper)) return false;
  }
  return true;
}

bool moves_since(const GameState& g, const std::string& base_sfen, int base_pos,
                 std::vector<std::string>& moves) {
  moves.clear();
  if (base_pos > g.record_pos) return false;
  GameState scratch = g;
  std::string error;
  if (!read_sfen(base_sfen, scratch, error)) return false;
  for (int i = base_pos + 1; i <= g.record_pos; ++i) {
    const MoveRecord& e = g.move_records[i];
    const int from_row = e.is_drop() ? hand_kind_of(e.piece_before) : e.from_row;
    apply_move(scratch, e.from_col, from_row, e.to_col, e.to_row, e.piece_after);
    if (engine_refuses_move(scratch, e)) return false;
    moves.push_back(recorded_move_text(e));
  }
  // The record must lead to the position on the board.
  return scratch.board == g.board && scratch.lower_hand == g.lower_hand &&
         scratch.upper_hand == g.upper_hand;
}

}  // namespace nirvex

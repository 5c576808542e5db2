#include "record/record_file.h"

#include <cmath>
#include <cstdlib>

#include "model/rules.h"

namespace nirvex::record {

namespace {

// One fixed-width field of a move line.
struct Field {
  int first;  // first column, 1-based
  int width;
  const char* name;  // as named in messages
};

constexpr Field fields[11] = {
    {1, 2, "移動元の列"},          {3, 1, "移動元の段"},
    {4, 1, "移動先の列"},          {5, 1, "移動先の段"},
    {6, 4, "移動後の駒"},          {10, 4, "移動前の駒"},
    {14, 4, "取った駒"},           {18, 5, "下側の経過時間(前)"},
    {23, 5, "下側の経過時間(後)"}, {28, 5, "上側の経過時間(前)"},
    {33, 5, "上側の経過時間(後)"},
};

std::string num(long long v) { return std::to_string(v); }

// Right-aligns a number in `width` columns; false when it does not fit.
bool put_field(std::string& out, long long value, int width) {
  const std::string digits = num(value);
  if (static_cast<int>(digits.size()) > width) return false;
  out.append(width - digits.size(), ' ');
  out += digits;
  return true;
}

// A code that can stand on a square: one of the twelve pieces of a side
// (the reserved 111 never arises in play and is no piece).
bool is_piece_code(int code) {
  switch (std::abs(code)) {
    case 20: case 21: case 30: case 31: case 100: case 101: case 110:
    case 800: case 801: case 900: case 901: case 950:
      return true;
    default:
      return false;
  }
}

// A code that may be dropped from a hand: an unpromoted piece, not a king.
bool is_hand_code(int code) {
  switch (std::abs(code)) {
    case 20: case 30: case 100: case 110: case 800: case 900:
      return true;
    default:
      return false;
  }
}

// Number of characters of UTF-8 text (continuation bytes not counted).
int char_count(std::string_view s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

bool is_blank(std::string_view s) {
  for (char c : s)
    if (c != ' ' && c != '\t') return false;
  return true;
}

// Reads one field: spaces, an optional "-", then at least one digit and
// nothing else.  Leading zeros are taken as they come.
bool parse_field(std::string_view text, long long& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  value = negative ? -v : v;
  return true;
}

std::string square_text(int col, int row) {
  return "(" + num(col) + "," + num(row) + ")";
}

}  // namespace

bool plain_text_line(std::string_view line) {
  for (unsigned char c : line)
    if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
  return true;
}

std::string describe(const RecordFault& fault) {
  if (fault.line <= 0) return fault.text;
  return num(fault.line) + "行目: " + fault.text;
}

int clock_field_value(double seconds) {
  if (std::isnan(seconds) || seconds <= 0) return 0;
  if (seconds >= max_clock_seconds) return max_clock_seconds;
  return static_cast<int>(std::floor(seconds));
}

bool format_move_line(const MoveRecord& m, std::string& out) {
  const long long values[11] = {
      m.from_col,     m.from_row,     m.to_col,
      m.to_row,       m.piece_after,  m.piece_before,
      m.captured,     clock_field_value(m.lower_clock_before),
      clock_field_value(m.lower_clock_after),
      clock_field_value(m.upper_clock_before),
      clock_field_value(m.upper_clock_after)};
  std::string line;
  line.reserve(move_line_width);
  for (int i = 0; i < 11; ++i)
    if (!put_field(line, values[i], fields[i].width)) return false;
  out = line;
  return true;
}

bool compose_record(const RecordHeader& header, const MoveRecord* moves,
                    int count, std::string& text, std::string& error) {
  const std::string* lines[3] = {&header.game_name, &header.upper_name,
                                 &header.lower_name};
  const char* names[3] = {"対局名", "上側の対局者名", "下側の対局者名"};
  std::string out;
  for (int i = 0; i < 3; ++i) {
    if (lines[i]->find_first_of("\r\n") != std::string::npos) {
      error = std::string(names[i]) + "に改行が含まれています";
      return false;
    }
    out += *lines[i];
    out += "\r\n";
  }
  for (int i = 0; i < count; ++i) {
    std::string line;
    if (!format_move_line(moves[i], line)) {
      error = num(i + 1) + "手目の指し手が棋譜の形式に収まりません";
      return false;
    }
    out += line;
    out += "\r\n";
  }
  text = std::move(out);
  return true;
}

bool parse_move_line(std::string_view line, MoveRecord& move,
                     RecordFault& fault) {
  if (static_cast<int>(line.size()) != move_line_width) {
    fault.text = "指し手の行は37桁のはずが" + num(char_count(line)) + "桁です";
    return false;
  }
  long long v[11];
  for (int i = 0; i < 11; ++i) {
    const Field& f = fields[i];
    const std::string_view text = line.substr(f.first - 1, f.width);
    if (!parse_field(text, v[i])) {
      fault.text = num(f.first) + "〜" + num(f.first + f.width - 1) + "桁目の" +
                   f.name + "が数値ではありません「" + std::string(text) + "」";
      return false;
    }
  }
  auto out_of_range = [&](int i, const char* range) {
    fault.text = std::string(fields[i].name) + " " + num(v[i]) + " は範囲外です（" +
                 range + "）";
    return false;
  };
  if (!((v[0] >= 1 && v[0] <= 6) || v[0] == lower_hand_col || v[0] == upper_hand_col))
    return out_of_range(0, "1〜6、持ち駒は8か-1");
  for (int i = 1; i <= 3; ++i)
    if (v[i] < 1 || v[i] > 6) return out_of_range(i, "1〜6");
  for (int i = 4; i <= 5; ++i)
    if (!is_piece_code(static_cast<int>(v[i]))) {
      fault.text = std::string(fields[i].name) + " " + num(v[i]) + " は駒の番号ではありません";
      return false;
    }
  if (v[6] != empty_code && !is_piece_code(static_cast<int>(v[6]))) {
    fault.text = std::string(fields[6].name) + " " + num(v[6]) + " は駒の番号ではありません";
    return false;
  }
  for (int i = 7; i <= 10; ++i)
    if (v[i] < 0 || v[i] > max_clock_seconds) return out_of_range(i, "0〜99999");

  move.from_col = static_cast<int>(v[0]);
  move.from_row = static_cast<int>(v[1]);
  move.to_col = static_cast<int>(v[2]);
  move.to_row = static_cast<int>(v[3]);
  move.piece_after = static_cast<int>(v[4]);
  move.piece_before = static_cast<int>(v[5]);
  move.captured = static_cast<int>(v[6]);
  move.lower_clock_before = static_cast<double>(v[7]);
  move.lower_clock_after = static_cast<double>(v[8]);
  move.upper_clock_before = static_cast<double>(v[9]);
  move.upper_clock_after = static_cast<double>(v[10]);
  return true;
}

// The checks, for every move in turn on a scratch game that starts from
// the initial position (files are always written from a game that began
// there: a flipped or pasted position cannot be saved):
//  - the mover (the sign of piece_before) owns piece_after as well;
//  - the two sides alternate (either may make the first move: the lower
//    side in a two-player game or when the player moves first against the
//    computer, the upper side when the computer moves first);
//  - nothing follows the capture of a king, which ends the game;
//  - `captured` is what stands on the destination;
//  - a board move starts from a square holding piece_before, is allowed by
//    the movement rules, and piece_after is either piece_before or its
//    promotion where promotion is possible (a piece that must promote may
//    still stay unpromoted: the middle mouse button plays any move so);
//  - a drop comes from the mover's own hand column (8 lower, -1 upper),
//    drops an unpromoted piece that the hand holds, unchanged, on a square
//    where the drop rules allow it (two pawns in a column, pawns and
//    knights with no further move).  Its from_row is the hand slot's
//    screen row for a player's drop and the hand kind for the computer's,
//    so it is only checked to lie in 1..6.
// Clocks are not compared between moves: they are shown, never played.
bool check_moves(const std::vector<MoveRecord>& moves, int first_line,
                 RecordFault& fault) {
  GameState st;
  new_game(st);
  bool previous_upper = false;
  bool king_taken = false;
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const MoveRecord& m = moves[i];
    fault.line = first_line + static_cast<int>(i);
    auto refuse = [&](std::string text) {
      fault.text = std::move(text);
      return false;
    };
    // Moves that did not come through parse_move_line get the same range
    // checks before anything is looked up on the board.
    const bool from_ok = (m.from_col >= 1 && m.from_col <= 6) ||
                         m.from_col == lower_hand_col || m.from_col == upper_hand_col;
    if (!from_ok || m.from_row < 1 || m.from_row > 6 || m.to_col < 1 ||
        m.to_col > 6 || m.to_row < 1 || m.to_row > 6)
      return refuse("升の位置が範囲外です");
    if (!is_piece_code(m.piece_before) || !is_piece_code(m.piece_after) ||
        (m.captured != empty_code && !is_piece_code(m.captured)))
      return refuse("駒の番号が正しくありません");
    const bool upper = is_upper_piece(m.piece_before);
    if (upper != is_upper_piece(m.piece_after) ||
        is_lower_piece(m.piece_before) != is_lower_piece(m.piece_after))
      return refuse("移動前の駒 " + num(m.piece_before) + " と移動後の駒 " +
                    num(m.piece_after) + " の持ち主が違います");
    if (king_taken) return refuse("王が取られて終わった後に指し手があります");
    if (i > 0 && upper == previous_upper)
      return refuse(std::string("手番が交互になっていません（") +
                    (upper ? "上側" : "下側") + "が続けて指しています）");
    if (m.captured != empty_code &&
        (upper ? !is_lower_piece(m.captured) : !is_upper_piece(m.captured)))
      return refuse("取った駒 " + num(m.captured) + " は相手の駒ではありません");

    const PieceCode target = st.board[m.to_col][m.to_row];
    const bool drop = m.from_col == lower_hand_col || m.from_col == upper_hand_col;
    int from_row_for_model = m.from_row;
    if (drop) {
      if ((m.from_col == upper_hand_col) != upper)
        return refuse("持ち駒の列 " + num(m.from_col) + " と打つ駒 " +
                      num(m.piece_before) + " の持ち主が違います");
      if (!is_hand_code(m.piece_before))
        return refuse("駒 " + num(m.piece_before) + " は打てません");
      if (m.piece_after != m.piece_before)
        return refuse("打った駒が成っています");
      const int kind = hand_kind_of(m.piece_before);
      const HandArray& hand = upper ? st.upper_hand : st.lower_hand;
      if (hand[kind] < 1)
        return refuse("持ち駒にない駒 " + num(m.piece_before) + " を打っています");
      if (m.captured != target || target != empty_code)
        return refuse("駒のある升" + square_text(m.to_col, m.to_row) + "に打っています");
      mark_pawn_columns(st);
      if (is_legal_move(st, m.from_col, m.from_row, m.to_col, m.to_row,
                        m.piece_before) != flag_on)
        return refuse("駒 " + num(m.piece_before) + " は" +
                      square_text(m.to_col, m.to_row) + "に打てません");
      from_row_for_model = kind;
    } else {
      const PieceCode here = st.board[m.from_col][m.from_row];
      if (here != m.piece_before)
        return refuse("移動元" + square_text(m.from_col, m.from_row) + "の駒は " +
                      num(here) + " で、移動前の駒 " + num(m.piece_before) +
                      " と違います");
      if (m.captured != target)
        return refuse("移動先" + square_text(m.to_col, m.to_row) + "の駒は " +
                      num(target) + " で、取った駒 " + num(m.captured) + " と違います");
      if (is_legal_move(st, m.from_col, m.from_row, m.to_col, m.to_row,
                        m.piece_before) != flag_on)
        return refuse("駒 " + num(m.piece_before) + " は" +
                      square_text(m.from_col, m.from_row) + "から" +
                      square_text(m.to_col, m.to_row) + "へ動けません");
      // Staying unpromoted is never refused: the middle mouse button makes
      // any move unpromoted, even one that leaves the piece with no move.
      if (m.piece_after != m.piece_before &&
          (promotion_possible(st, m.from_col, m.from_row, m.to_col, m.to_row,
                                    m.piece_before) != flag_on ||
           st.promoted_piece != m.piece_after))
        return refuse("駒 " + num(m.piece_before) + " は " + num(m.piece_after) +
                      " に成れません");
    }
    apply_move(st, m.from_col, from_row_for_model, m.to_col, m.to_row, m.piece_after);
    king_taken = std::abs(m.captured) == code_king;
    previous_upper = upper;
  }
  fault = RecordFault{};
  return true;
}

bool record_replays(const MoveRecord* moves, int count, std::string& error) {
  RecordFault fault;
  if (check_moves(std::vector<MoveRecord>(moves, moves + count), 1, fault)) return true;
  error = "この棋譜は再生できないため書き込めません（" + num(fault.line) + "手目: " + fault.text +
          "）";
  return false;
}

bool parse_record_lines(const std::vector<std::string>& lines,
                        LoadedRecord& out, RecordFault& fault) {
  static const char* const header_names[3] = {"対局名", "上側の対局者名",
                                               "下側の対局者名"};
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!plain_text_line(lines[i])) {
      fault = {static_cast<int>(i) + 1, "制御文字が含まれています（文字の棋譜ﾌｧｲﾙではありません）"};
      return false;
    }
  for (int i = 0; i < 3; ++i)
    if (static_cast<int>(lines.size()) <= i) {
      fault = {i + 1, std::string("見出しの行（") + header_names[i] + "）がありません"};
      return false;
    }

  std::size_t end = lines.size();
  while (end > 3 && is_blank(lines[end - 1])) --end;

  // Faults are reported in line order: a move line that does not read
  // comes after every move before it has been replayed.
  LoadedRecord loaded;
  loaded.header = {lines[0], lines[1], lines[2]};
  RecordFault line_fault;
  for (std::size_t i = 3; i < end && line_fault.line == 0; ++i) {
    const int line_no = static_cast<int>(i) + 1;
    MoveRecord m;
    if (loaded.moves.size() >= static_cast<std::size_t>(max_record_moves))
      line_fault = {line_no, "指し手が500手を超えています"};
    else if (!parse_move_line(lines[i], m, line_fault))
      line_fault.line = line_no;
    else
      loaded.moves.push_back(m);
  }
  if (!check_moves(loaded.moves, 4, fault)) return false;
  if (line_fault.line != 0) {
    fault = line_fault;
    return false;
  }
  out = std::move(loaded);
  fault = RecordFault{};
  return true;
}

}  // namespace nirvex::record

#include "ui/flow/painting.h"

#include "ui/flow/clocks.h"
#include "ui/flow/last_move_mark.h"

namespace nirvex {

double cell_x_twips(double x) { return board_left + x * cell_width; }
double cell_y_twips(double y) { return board_top + y * cell_height; }

void draw_picture(Game& game, int id, double x, double y) {
  game.form->paint_picture(id, cell_x_twips(x), cell_y_twips(y));
}

void draw_frame(Game& game, int colour, double col, double row) {
  game.form->paint_frame(colour, cell_x_twips(col), cell_y_twips(row), cell_x_twips(col + 1),
                         cell_y_twips(row + 1));
}

void draw_square(Game& game, int id, int col, int row) {
  draw_picture(game, id, col, row);
  tint_if_marked(game, col, row);
  draw_frame(game, colour_frame, col, row);
}

void erase_frames(Game& game) {
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) draw_frame(game, colour_plain, x, y);
}

void draw_text(Game& game, double x, double y, int number, int colour, int style, int size) {
  if (style == 1) {
    draw_text(game, x, y, piece_text(1000 + number), colour, 0, size);
    return;
  }
  const std::string text = number < 0 ? std::to_string(number) : " " + std::to_string(number);
  draw_text(game, x, y, text, colour, 0, size);
}

void draw_text(Game& game, double x, double y, const std::string& text, int colour, int,
               int size) {
  game.form->print_text(cell_x_twips(x), cell_y_twips(y), text, colour, size, game.text_bold);
}

void draw_cell_text(Game& game, double x, double y, const std::string& text, int colour) {
  draw_text(game, x, y, text, colour, 0, 12);
}

std::string piece_text(int number) {
  static const char* const digits[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９"};
  static const char* const kanji[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (number >= 1 && number <= 9) return digits[number - 1];
  if (number >= 1001 && number <= 1009) return kanji[number - 1001];
  switch (number < 0 ? -number : number) {
    case 20: return "歩";
    case 21: return "と";
    case 30: return "桂";
    case 31: return "桂成";
    case 100: return "銀";
    case 101: return "銀成";
    case 110: return "金";
    case 800: return "角";
    case 801: return "角成";
    case 900: return "飛";
    case 901: return "飛成";
    case 950: return "王";
    default: return {};
  }
}

std::string move_name(const Move& m) {
  std::string name = piece_text(7 - m.to_col) + piece_text(1000 + m.to_row) +
                     piece_text(m.piece_before);
  if (m.promotes()) name += "成";
  if (m.is_drop()) name += "打";
  return name;
}

void draw_backdrop(Game& game, int background) {
  for (int x = -3; x <= 15; ++x)
    for (int y = -2; y <= 9; ++y) {
      const bool board_square = x >= 1 && x <= 6 && y >= 1 && y <= 6;
      if (!board_square) draw_picture(game, background, x, y);
    }
  draw_picture(game, background, 10, 3);
  draw_picture(game, background, 14, 3);
  clear_last_move(game, game.g.first_side);
  clear_last_move(game, game.g.second_side);
}

void draw_labels(Game& game) {
  const GameState& g = game.g;
  game.text_bold = true;
  for (int i = 1; i <= 6; ++i) {
    draw_picture(game, g.background_id, i, 0);
    draw_text(game, i + 0.2, 0.5, 7 - i, colour_shadow, 0, 16);
    draw_text(game, i + 0.1, 0.4, 7 - i, colour_label, 0, 16);
    draw_picture(game, g.background_id, 7, i);
    draw_text(game, 7.2, i + 0.4, i, colour_shadow, 1, 12);
    draw_text(game, 7.1, i + 0.3, i, colour_label, 1, 12);
    draw_frame(game, colour_frame, 6, i);
    draw_frame(game, colour_frame, 8, i);
  }
}

void draw_board(Game& game) {
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) draw_square(game, game.g.board[x][y], x, y);
}

void draw_hand_lower(Game& game) {
  const GameState& g = game.g;
  for (int i = 1; i <= 6; ++i) {
    draw_picture(game, empty_code, 8, i);
    draw_picture(game, g.background_id, 9, i);
    if (g.lower_hand[i] == 0) tint_if_marked(game, 8, i);
    draw_frame(game, colour_frame, 8, i);
    if (g.lower_hand[i] > 0) {
      draw_picture(game, hand_kind_code(i, false), 8, i);
      tint_if_marked(game, 8, i);
      draw_frame(game, colour_frame, 8, i);
      draw_text(game, 9.1, i + 0.3, g.lower_hand[i], colour_shadow, 0, 14);
      draw_text(game, 9, i + 0.2, g.lower_hand[i], colour_pick, 0, 14);
    }
  }
}

void draw_hand_upper(Game& game) {
  const GameState& g = game.g;
  for (int i = 1; i <= 6; ++i) {
    const int kind = 7 - i;
    draw_picture(game, empty_code, -1, i);
    draw_picture(game, g.background_id, 0, i);
    if (g.upper_hand[kind] == 0) tint_if_marked(game, -1, i);
    draw_frame(game, colour_frame, -1, i);
    if (g.upper_hand[kind] > 0) {
      draw_picture(game, hand_kind_code(kind, true), -1, i);
      tint_if_marked(game, -1, i);
      draw_frame(game, colour_frame, -1, i);
      draw_text(game, 0.1, i + 0.3, g.upper_hand[kind], colour_shadow, 0, 14);
      draw_text(game, 0, i + 0.2, g.upper_hand[kind], colour_pick, 0, 14);
    }
    draw_frame(game, colour_frame, 1, i);
  }
}

void draw_move_number(Game& game, int n) {
  const int bg = game.g.background_id;
  draw_picture(game, bg, 10, 3);
  draw_picture(game, bg, 14, 3);
  draw_frame(game, colour_frame, 8, 3);
  if (n < 7) {
    draw_text(game, 10.3, 3.4, n, colour_shadow, 0, 12);
    draw_text(game, 10.2, 3.3, n, colour_text, 0, 12);
  } else if (n < 100) {
    draw_text(game, 10.2, 3.4, n, colour_shadow, 0, 12);
    draw_text(game, 10.1, 3.3, n, colour_text, 0, 12);
  } else {
    draw_text(game, 10.1, 3.4, n, colour_shadow, 0, 12);
    draw_text(game, 10, 3.3, n, colour_text, 0, 12);
  }
  draw_text(game, 10.9, 3.2, "手目", colour_shadow, 0, 10);
  draw_text(game, 10.8, 3.1, "手目", colour_text, 0, 10);
}

void draw_level(Game& game, int level) {
  if (game.engine.choice.plays && game.engine_process) {
    // The outside engine plays: its name stands where the level would.
    draw_text(game, -1.4, 0.2, "外部エンジン", colour_shadow, 0, 10);
    draw_text(game, -1.5, 0.1, "外部エンジン", colour_text, 0, 10);
    return;
  }
  draw_text(game, -1.4, 0.2, "LEVEL", colour_shadow, 0, 10);
  draw_text(game, -1.5, 0.1, "LEVEL", colour_text, 0, 10);
  draw_text(game, 0.1, 0.1, level, colour_shadow, 0, 12);
  draw_text(game, 0, 0, level, colour_text, 0, 12);
}

void draw_last_move(Game& game, int side, int col, int row, PieceCode code, int colour) {
  clear_last_move(game, side);
  const std::string texts[3] = {piece_text(7 - col), piece_text(1000 + row), piece_text(code)};
  if (side == game.g.upper_side) {
    const double xs[3] = {-1.5, -1.1, -0.5};
    for (int i = 0; i < 3; ++i) {
      draw_cell_text(game, xs[i], 8.5, texts[i], colour_shadow);
      draw_cell_text(game, xs[i] - 0.1, 8.4, texts[i], colour);
    }
    draw_frame(game, colour_frame, 1, 5);
  } else if (side == game.g.lower_side) {
    const double xs[3] = {10.5, 10.9, 11.5};
    for (int i = 0; i < 3; ++i) {
      draw_cell_text(game, xs[i], 2.5, texts[i], colour_shadow);
      draw_cell_text(game, xs[i] - 0.1, 2.4, texts[i], colour);
    }
  }
}

void clear_last_move(Game& game, int side) {
  const int bg = game.g.background_id;
  if (side == game.g.upper_side) {
    for (int x = -2; x <= 0; ++x) draw_picture(game, bg, x, 8);
  } else if (side == game.g.lower_side) {
    for (int x = 10; x <= 12; ++x) draw_picture(game, bg, x, 2);
  }
}

void clear_sides(Game& game) {
  const int bg = game.g.background_id;
  for (int i = 1; i <= 7; ++i) {
    draw_picture(game, bg, 0, i);
    draw_picture(game, bg, 7, i);
    draw_picture(game, bg, 8, i);
  }
  for (int x = 1; x <= 6; ++x) draw_frame(game, colour_frame, x, 6);
  draw_labels(game);
}

void redraw_all(Game& game) {
  const GameState& g = game.g;
  draw_backdrop(game, g.background_id);
  draw_labels(game);
  draw_hand_lower(game);
  draw_hand_upper(game);
  draw_board(game);
  draw_clock(game, g.upper_side, g.upper_time_total);
  draw_clock(game, g.lower_side, g.lower_time_total);
  if (g.play_mode == mode_vs_computer) draw_level(game, g.level);
  draw_picture(game, title_picture_id, 10.2, 0);
}

void mark_background_menu(Game& game, int background) {
  static const char* const names[] = {"MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"};
  for (int i = 0; i < 5; ++i) game.form->set_checked(names[i], background == i + 2);
}

double centre_x(const std::string& text) {
  // The length counts characters as the window's text does (UTF-16 units).
  int length = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++length;  // a character starts here
    if (c >= 0xF0) ++length;           // beyond the basic plane: two units
  }
  return board_left + ((13.0 - length) / 5.0 + 1.0) * cell_width;
}

MoveChanges apply_move(Game& game, int from_col, int from_row, int to_col, int to_row,
                       PieceCode piece) {
  const MoveChanges ch = nirvex::apply_move(game.g, from_col, from_row, to_col, to_row, piece);
  if (ch.upper_hand_changed) draw_hand_upper(game);
  if (ch.lower_hand_changed) draw_hand_lower(game);
  draw_square(game, empty_code, from_col, from_row);
  if (from_col == upper_hand_col) draw_hand_upper(game);
  if (from_col == lower_hand_col) draw_hand_lower(game);
  draw_square(game, piece, to_col, to_row);
  return ch;
}

}  // namespace nirvex

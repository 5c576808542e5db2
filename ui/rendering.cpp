// Painting of the board, the hands and the texts around them.  Every
// procedure paints its own cells over whatever is there; callers repaint
// exactly what they changed.  Every text goes on twice: a black shadow and
// the coloured copy a tenth of a cell to the left and higher.
#include <QAction>

#include "ui/main_window.h"

namespace nirvex {

void MainWindow::draw_picture(int id, double x, double y) {
  canvas.draw_picture(id, x, y);
}

void MainWindow::draw_frame(int colour, double col, double row) {
  canvas.draw_frame(colour, col, row);
}

// Frames all 36 board squares in the plain colour.
void MainWindow::erase_frames() {
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) draw_frame(colour_plain, x, y);
}

// Style 0 prints a number after one space (the place of its sign); style 1
// prints 1..6 as the rank kanji and nothing for other numbers.
void MainWindow::draw_text(double x, double y, int number, int colour,
                           int style, int size) {
  if (style == 1) {
    draw_text(x, y, piece_text(1000 + number), colour, 0, size);
    return;
  }
  const QString text = number < 0 ? QString::number(number)
                                  : QStringLiteral(" ") + QString::number(number);
  canvas.print_text(x, y, text, colour, size);
}

void MainWindow::draw_text(double x, double y, const QString& text, int colour,
                           int style, int size) {
  (void)style;
  canvas.print_text(x, y, text, colour, size);
}

void MainWindow::draw_cell_text(double x, double y, const QString& text,
                                int colour) {
  draw_text(x, y, text, colour, 0, 12);
}

// Full-width digits for 1..9, kanji numerals for 1001..1009, the display
// name of a piece code, and empty text for anything else.
QString MainWindow::piece_text(int number) {
  static const char* const digits[] = {"１", "２", "３", "４", "５",
                                       "６", "７", "８", "９"};
  static const char* const kanji[] = {"一", "二", "三", "四", "五",
                                      "六", "七", "八", "九"};
  if (number >= 1 && number <= 9) return QString::fromUtf8(digits[number - 1]);
  if (number >= 1001 && number <= 1009)
    return QString::fromUtf8(kanji[number - 1001]);
  switch (number < 0 ? -number : number) {
    case 20: return QStringLiteral("歩");
    case 21: return QStringLiteral("と");
    case 30: return QStringLiteral("桂");
    case 31: return QStringLiteral("桂成");
    case 100: return QStringLiteral("銀");
    case 101: return QStringLiteral("銀成");
    case 110: return QStringLiteral("金");
    case 800: return QStringLiteral("角");
    case 801: return QStringLiteral("角成");
    case 900: return QStringLiteral("飛");
    case 901: return QStringLiteral("飛成");
    case 950: return QStringLiteral("王");
    default: return {};
  }
}

// Tiles the background picture over every cell but the board squares.
void MainWindow::draw_backdrop(int background) {
  for (int x = -3; x <= 15; ++x)
    for (int y = -2; y <= 9; ++y) {
      const bool board_square = x >= 1 && x <= 6 && y >= 1 && y <= 6;
      if (!board_square) draw_picture(background, x, y);
    }
  draw_picture(background, 10, 3);
  draw_picture(background, 14, 3);
  clear_last_move(g.first_side);
  clear_last_move(g.second_side);
}

// File numbers above the board, rank kanji at its right.
void MainWindow::draw_labels() {
  canvas.set_bold(true);
  for (int i = 1; i <= 6; ++i) {
    draw_picture(g.background_id, i, 0);
    draw_text(i + 0.2, 0.5, 7 - i, colour_shadow, 0, 16);
    draw_text(i + 0.1, 0.4, 7 - i, colour_label, 0, 16);
    draw_picture(g.background_id, 7, i);
    draw_text(7.2, i + 0.4, i, colour_shadow, 1, 12);
    draw_text(7.1, i + 0.3, i, colour_label, 1, 12);
    draw_frame(colour_frame, 6, i);
    draw_frame(colour_frame, 8, i);
  }
}

void MainWindow::draw_board() {
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      draw_picture(g.board[x][y], x, y);
      draw_frame(colour_frame, x, y);
    }
}

// The lower hand at the right of the board: kind k in row k, counts beside.
void MainWindow::draw_hand_lower() {
  for (int i = 1; i <= 6; ++i) {
    draw_picture(empty_code, 8, i);
    draw_picture(g.background_id, 9, i);
    draw_frame(colour_frame, 8, i);
    if (g.lower_hand[i] > 0) {
      draw_picture(hand_kind_code(i, false), 8, i);
      draw_frame(colour_frame, 8, i);
      draw_text(9.1, i + 0.3, g.lower_hand[i], colour_shadow, 0, 14);
      draw_text(9, i + 0.2, g.lower_hand[i], colour_pick, 0, 14);
    }
  }
}

// The upper hand at the left of the board: the rook at the top, the pawn
// at the bottom.
void MainWindow::draw_hand_upper() {
  for (int i = 1; i <= 6; ++i) {
    const int kind = 7 - i;
    draw_picture(empty_code, -1, i);
    draw_picture(g.background_id, 0, i);
    draw_frame(colour_frame, -1, i);
    if (g.upper_hand[kind] > 0) {
      draw_picture(hand_kind_code(kind, true), -1, i);
      draw_frame(colour_frame, -1, i);
      draw_text(0.1, i + 0.3, g.upper_hand[kind], colour_shadow, 0, 14);
      draw_text(0, i + 0.2, g.upper_hand[kind], colour_pick, 0, 14);
    }
    draw_frame(colour_frame, 1, i);
  }
}

// The move number with "手目"; short numbers stand a little further right.
void MainWindow::draw_move_number(int n) {
  draw_picture(g.background_id, 10, 3);
  draw_picture(g.background_id, 14, 3);
  draw_frame(colour_frame, 8, 3);
  if (n < 7) {
    draw_text(10.3, 3.4, n, colour_shadow, 0, 12);
    draw_text(10.2, 3.3, n, colour_text, 0, 12);
  } else if (n < 100) {
    draw_text(10.2, 3.4, n, colour_shadow, 0, 12);
    draw_text(10.1, 3.3, n, colour_text, 0, 12);
  } else {
    draw_text(10.1, 3.4, n, colour_shadow, 0, 12);
    draw_text(10, 3.3, n, colour_text, 0, 12);
  }
  draw_text(10.9, 3.2, QStringLiteral("手目"), colour_shadow, 0, 10);
  draw_text(10.8, 3.1, QStringLiteral("手目"), colour_text, 0, 10);
}

void MainWindow::draw_level(int level) {
  draw_text(-1.4, 0.2, QStringLiteral("LEVEL"), colour_shadow, 0, 10);
  draw_text(-1.5, 0.1, QStringLiteral("LEVEL"), colour_text, 0, 10);
  draw_text(0.1, 0.1, level, colour_shadow, 0, 12);
  draw_text(0, 0, level, colour_text, 0, 12);
}

// File, rank and piece of a side's last move: the upper side's under its
// hand, the lower side's at the right of the board.
void MainWindow::draw_last_move(int side, int col, int row, PieceCode code,
                                int colour) {
  clear_last_move(side);
  const QString texts[3] = {piece_text(7 - col), piece_text(1000 + row),
                            piece_text(code)};
  if (side == g.upper_side) {
    const double xs[3] = {-1.5, -1.1, -0.5};
    for (int i = 0; i < 3; ++i) {
      draw_cell_text(xs[i], 8.5, texts[i], colour_shadow);
      draw_cell_text(xs[i] - 0.1, 8.4, texts[i], colour);
    }
    draw_frame(colour_frame, 1, 5);
  } else if (side == g.lower_side) {
    const double xs[3] = {10.5, 10.9, 11.5};
    for (int i = 0; i < 3; ++i) {
      draw_cell_text(xs[i], 2.5, texts[i], colour_shadow);
      draw_cell_text(xs[i] - 0.1, 2.4, texts[i], colour);
    }
  }
}

void MainWindow::clear_last_move(int side) {
  if (side == g.upper_side) {
    draw_picture(g.background_id, -2, 8);
    draw_picture(g.background_id, -1, 8);
    draw_picture(g.background_id, 0, 8);
  } else if (side == g.lower_side) {
    draw_picture(g.background_id, 10, 2);
    draw_picture(g.background_id, 11, 2);
    draw_picture(g.background_id, 12, 2);
  }
}

// Clears the strips beside the board before a new start.
void MainWindow::clear_sides() {
  for (int i = 1; i <= 7; ++i) {
    draw_picture(g.background_id, 0, i);
    draw_picture(g.background_id, 7, i);
    draw_picture(g.background_id, 8, i);
  }
  for (int x = 1; x <= 6; ++x) draw_frame(colour_frame, x, 6);
  draw_labels();
}

void MainWindow::redraw_all() {
  draw_backdrop(g.background_id);
  draw_labels();
  draw_hand_lower();
  draw_hand_upper();
  draw_board();
  draw_clock(g.upper_side, g.upper_time_total);
  draw_clock(g.lower_side, g.lower_time_total);
  if (g.play_mode == mode_vs_computer) draw_level(g.level);
  draw_picture(title_picture_id, 10.2, 0);
}

void MainWindow::mark_background_menu(int background) {
  static const char* const names[] = {"MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"};
  for (int i = 0; i < 5; ++i)
    menu_item(QString::fromLatin1(names[i]))->setChecked(background == i + 2);
}

// x position (twips) that centres a text of this length over the record
// panel's header line.
double MainWindow::centre_x(const QString& text) {
  return board_left + ((13.0 - text.length()) / 5.0 + 1.0) * cell_width;
}

MoveChanges MainWindow::apply_move(int from_col, int from_row, int to_col,
                                   int to_row, PieceCode piece) {
  const MoveChanges ch = nirvex::apply_move(g, from_col, from_row, to_col, to_row, piece);
  if (ch.upper_hand_changed) draw_hand_upper();
  if (ch.lower_hand_changed) draw_hand_lower();
  draw_picture(empty_code, from_col, from_row);
  draw_frame(colour_frame, from_col, from_row);
  if (from_col == upper_hand_col) draw_hand_upper();
  if (from_col == lower_hand_col) draw_hand_lower();
  draw_picture(piece, to_col, to_row);
  draw_frame(colour_frame, to_col, to_row);
  return ch;
}

}  // namespace nirvex

// The position as SFEN text on the clipboard, to exchange positions with
// other shogi programs: copy the position on the board, or paste one.
#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>

#include "engine/sfen.h"
#include "ui/main_window.h"

namespace nirvex {

namespace {

// The four SFEN fields of clipboard text.  Also takes the text as USI
// writes it after "position": "sfen <fields>" or "startpos".  Empty when
// the text has some other shape (for example moves after the position).
QString sfen_fields(const QString& clipboard) {
  QStringList words = clipboard.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (!words.isEmpty() && words.first() == QStringLiteral("position")) words.removeFirst();
  if (words.size() == 1 && words.first() == QStringLiteral("startpos"))
    return QString::fromLatin1(start_sfen.data(), static_cast<qsizetype>(start_sfen.size()));
  if (!words.isEmpty() && words.first() == QStringLiteral("sfen")) words.removeFirst();
  if (words.size() != 4) return {};
  return words.join(QLatin1Char(' '));
}

// One king on each side: the rest of the game relies on both being there.
bool has_both_kings(const GameState& g) {
  int lower = 0, upper = 0;
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) {
      if (g.board[x][y] == -code_king) ++lower;
      if (g.board[x][y] == code_king) ++upper;
    }
  return lower == 1 && upper == 1;
}

}  // namespace

void MainWindow::SFEN_COPY_Click() {
  const QString text = QString::fromStdString(write_sfen(g));
  QGuiApplication::clipboard()->setText(text);
  message(QStringLiteral("局面をSFENでコピーしました\n") + text, QStringLiteral("SFEN"));
}

// A pasted position replaces the one on the board; the record cannot lead
// to it, so it is dropped, and, as after a flip, the game cannot be saved.
void MainWindow::SFEN_PASTE_Click() {
  show_file_lists(false, false, false);
  show_name_panel(1);
  const QString pasted = QGuiApplication::clipboard()->text();
  const QString fields = sfen_fields(pasted);
  GameState next = g;
  std::string error;
  if (fields.isEmpty() || !read_sfen(fields.toStdString(), next, error) ||
      !has_both_kings(next)) {
    play(snd_forbidden);
    QString shown = pasted.simplified();
    if (shown.size() > 60) shown = shown.left(60) + QStringLiteral("…");
    message(QStringLiteral("クリップボードの文字列は正しい局面(SFEN)ではありません\n「%1」\n"
                           "例: rbnsgk/5p/6/6/P5/KGSNBR b - 1（盤面 手番 持ち駒 手数）"
                           "、王は両方に1枚ずつ")
                .arg(shown),
            QStringLiteral("SFEN"));
    return;
  }
  g = next;
  g.record_pos = 0;
  g.record_len = 0;
  g.kifu_mode = flag_off;
  g.pick_state = 0;
  g.winner = side_none;
  g.flipped = flag_on;
  position_pasted_ = true;
  g.announce_pending = flag_on;
  stop_timer();
  redraw_all();
  draw_move_number(g.move_number);
  play(snd_piece);
  refresh();
}

}  // namespace nirvex

// The position as SFEN text on the clipboard, to exchange positions with
// other shogi programs: copy the position on the board, or paste one.
#include <QClipboard>
#include <QGuiApplication>

#include "engine/sfen.h"
#include "ui/flow/position_paste.h"
#include "ui/main_window.h"

namespace nirvex {

void MainWindow::SFEN_COPY_Click() {
  const std::string text = write_sfen(g);
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  nirvex::message(game, "局面をSFENでコピーしました\n" + text, "SFEN");
}

void MainWindow::SFEN_PASTE_Click() {
  nirvex::SFEN_PASTE_Click(game, QGuiApplication::clipboard()->text().toStdString());
}

}  // namespace nirvex

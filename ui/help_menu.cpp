// "解説" opens the manual in the web browser; "バージョン情報" shows the
// about box, from which the home page can be opened.
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/about_box.h"
#include "ui/board_view.h"
#include "ui/flow/start_commands.h"
#include "ui/main_window.h"

namespace nirvex {

QString MainWindow::manual_path() const {
  return QDir(QString::fromStdString(game.start_dir)).filePath(QStringLiteral("Nirvex将棋.htm"));
}

// The game's home page.  Until the game has a public one, the manual that
// comes with it stands in.
QString MainWindow::home_page_address() const {
  return QUrl::fromLocalFile(manual_path()).toString();
}

// Opens the manual.  Without the manual nothing happens; a browser that
// cannot start is said, as the about box says it, with the manual's file
// for the player to open by hand.  The game goes on either way.
void MainWindow::KAISETU_Click() {
  const QString path = manual_path();
  if (!QFileInfo::exists(path)) return;
  if (!platform_.browser->open(QUrl::fromLocalFile(path).toString()))
    browser_failed(path, "解説");
}

// The browser could not start: the message names what it was to show.
void MainWindow::browser_failed(const QString& page, const std::string& title) {
  nirvex::message(game, "ブラウザを起動できませんでした。\n" + page.toStdString(), title);
}

void MainWindow::VER_Click() {
  close_record_panel(game);
  play(game, game.snd_other);

  const double scale = view_->target_rect().width() / surface_width_twips;
  AboutBox form2(std::max(scale, 1.0 / 15), this);
  connect(&form2, &AboutBox::home_page_requested, this, [this] {
    const QString address = home_page_address();
    if (!platform_.browser->open(address)) browser_failed(address, "ホームページ");
  });
  if (platform_.show_modal)
    platform_.show_modal(&form2);
  else
    form2.exec();
}

}  // namespace nirvex

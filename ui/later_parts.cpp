// Menu parts that are still to come: the settings file, the record panel
// and the computer player.  Until then they leave the game as it is.
#include "ui/main_window.h"

namespace nirvex {

void MainWindow::read_settings() {
  g.background_id = background_green;
  mark_background_menu(background_green);
}

void MainWindow::write_settings() {}

void MainWindow::background_Click(int background) {
  mark_background_menu(background);
  g.background_id = background;
  redraw_all();
  refresh();
}

void MainWindow::show_file_lists(bool, bool, bool) {}

void MainWindow::show_name_panel(int) {}

void MainWindow::com_ban() {}

bool MainWindow::computer_king_mated() { return false; }

}  // namespace nirvex

// Menu parts that are still to come: the record panel and the computer
// player.  Until then they leave the game as it is.
#include "engine/square_maps.h"
#include "engine/upper_mate.h"
#include "ui/main_window.h"

namespace nirvex {

void MainWindow::show_file_lists(bool, bool, bool) {}

void MainWindow::show_name_panel(int) {}

void MainWindow::com_ban() {}

bool MainWindow::computer_king_mated() {
  build_square_maps(g, analysis);
  return upper_side_mated(g, analysis) == flag_on;
}

}  // namespace nirvex

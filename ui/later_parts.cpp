// The record panel is still to come; until then it has nothing to show.
#include "ui/main_window.h"

namespace nirvex {

void MainWindow::show_file_lists(bool, bool, bool) {}

void MainWindow::show_name_panel(int) {}

}  // namespace nirvex

// The game started as the program starts it (ui/main.cpp), in the current
// folder, for the start benchmark.  Usage: nirvex_game_start WIDTH HEIGHT
#include <QApplication>
#include <cstdlib>

#include "bench/start_report.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  QApplication app(argc, argv);
  nirvex::prepare_application(app);
  nirvex::DesktopPlatform desktop;
  nirvex::MainWindow window(desktop.platform([] { QCoreApplication::exit(0); }));
  desktop.dialogs.parent = &window;
  window.Form_Load();
  nirvex::bench::show_and_report(window, std::atoi(argv[1]), std::atoi(argv[2]));
  // Ends without the window's goodbyes: they are no part of a start.
  std::_Exit(0);
}

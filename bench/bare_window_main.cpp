// The bare Qt window started on its own, for the start benchmark: Qt's
// widgets and nothing else.  Usage: nirvex_bare_window WIDTH HEIGHT
#include <QApplication>
#include <cstdlib>

#include "bench/bare_window.h"
#include "bench/start_report.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  QApplication app(argc, argv);
  nirvex::bench::BareWindow window;
  nirvex::bench::show_and_report(window, std::atoi(argv[1]), std::atoi(argv[2]));
  std::_Exit(0);
}

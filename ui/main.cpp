// Nirvex将棋: shogi on a 6x6 board with drops, against the computer or
// between two players at one board.
#include <QApplication>

#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/qt_translation.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  nirvex::install_qt_japanese(app);
  nirvex::QtDialogs dialogs;
  nirvex::SystemClock clock;
  nirvex::SdlSound sound;
  nirvex::DesktopBrowser browser;
  nirvex::Platform platform;
  platform.dialogs = &dialogs;
  platform.clock = &clock;
  platform.sound = &sound;
  platform.browser = &browser;
  platform.end_program = [] { QCoreApplication::exit(0); };

  nirvex::MainWindow window(platform);
  dialogs.parent = &window;
  window.Form_Load();
  window.show();
  if (window.program_ended()) return 0;
  return app.exec();
}

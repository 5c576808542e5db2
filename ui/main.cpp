// Nirvex将棋: shogi on a 6x6 board with drops, against the computer or
// between two players at one board.
#include <QApplication>
#include <QDir>

#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/user_folder.h"

namespace {

// The installed game moves into the player's own folder before anything
// looks for its data files; a folder it cannot make is explained first.
void enter_start_folder(nirvex::Dialogs& dialogs) {
  const nirvex::StartFolder start = nirvex::choose_start_folder(
      QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_DATA_HOME"),
      QDir::homePath());
  if (!start.path.isEmpty()) QDir::setCurrent(start.path);
  if (!start.problem.isEmpty())
    dialogs.message(start.problem, QStringLiteral("Nirvex将棋.ini"), nirvex::MsgButtons::ok,
                    nirvex::MsgIcon::warning);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  nirvex::prepare_application(app);
  nirvex::DesktopPlatform desktop;
  enter_start_folder(desktop.dialogs);
  nirvex::MainWindow window(desktop.platform([] { QCoreApplication::exit(0); }));
  desktop.dialogs.parent = &window;
  window.Form_Load();
  window.show();
  if (window.program_ended()) return 0;
  return app.exec();
}

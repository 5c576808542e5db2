// Qt's own texts in Japanese: the buttons of the message boxes ("はい",
// "いいえ") and the context menus of the text boxes.  The program's own
// captions are its own and stay as they are.
#pragma once

class QCoreApplication;
class QTranslator;

namespace nirvex {

// Loads Qt's Japanese translation ("qtbase_ja.qm" from Qt's translations
// folder) into the application; null when it is not installed, and Qt's
// own texts then stay English.  The translator belongs to the application.
QTranslator* install_qt_japanese(QCoreApplication& app);

}  // namespace nirvex

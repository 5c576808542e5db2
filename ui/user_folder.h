// The folder the game starts in.  The game finds its data files by bare
// name in its current folder and keeps "Nirvex将棋.ini" there.  Run from
// the build tree (tools/play.sh, the tests) that is the folder it was
// started in.  The installed game instead starts in a folder of the
// player's own, $XDG_DATA_HOME/nirvex-shogi, made on the first start and
// holding links to the installed data files, so each player on the machine
// keeps preferences of their own.
#pragma once

#include <QString>

namespace nirvex {

// The installed data folder as seen from the installed program's folder
// (for example "../share/nirvex-shogi").
extern const char* const data_folder_from_program;

// The player's own folder: XDG_DATA_HOME/nirvex-shogi, or
// HOME/.local/share/nirvex-shogi when XDG_DATA_HOME is unset, empty or not
// an absolute path.
QString user_folder_path(const QString& xdg_data_home, const QString& home);

// The installed data folder that belongs to a program in program_dir, or
// an empty text when there is none there (the program runs from the build
// tree).
QString installed_data_folder(const QString& program_dir);

// Makes the folder (and its parents) and links every file and folder of
// data_folder into it under the same name.  A link pointing elsewhere (an
// earlier install) is replaced; a file of the player's own is kept.
// Returns an empty text, or the message for the player when it failed.
QString prepare_user_folder(const QString& folder, const QString& data_folder);

// Where the game starts and what the player must be told.  An empty path:
// stay in the current folder.
struct StartFolder {
  QString path;
  QString problem;
};

// The start folder of a program in program_dir: none for the build tree;
// the player's own folder, made ready, for the installed game; the
// installed data folder, where the settings cannot be written and stay at
// their defaults, when the player's folder cannot be made.
StartFolder choose_start_folder(const QString& program_dir, const QString& xdg_data_home,
                                const QString& home);

}  // namespace nirvex

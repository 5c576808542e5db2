#include "ui/user_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/settings_file.h"

namespace nirvex {

const char* const data_folder_from_program = NIRVEX_DATA_FROM_PROGRAM;

namespace {

// What the player is told, after the first line, whenever the game cannot
// start in a folder of their own.
const QString runs_with_defaults =
    QStringLiteral("\n設定は保存できないため、既定の設定で始めます。");

// Puts a link to target at link unless it is there already; false when it
// could not be made.
bool place_link(const QString& target, const QString& link) {
  const QFileInfo here(link);
  if (here.isSymLink()) {
    if (QDir::cleanPath(here.symLinkTarget()) == QDir::cleanPath(target)) return true;
    if (!QFile::remove(link)) return false;
  } else if (here.exists()) {
    return true;  // the player's own file of that name
  }
  return QFile::link(target, link);
}

}  // namespace

QString user_folder_path(const QString& xdg_data_home, const QString& home) {
  const QString data_home = QDir::isAbsolutePath(xdg_data_home)
                                ? xdg_data_home
                                : QDir(home).filePath(QStringLiteral(".local/share"));
  return QDir::cleanPath(QDir(data_home).filePath(QStringLiteral("nirvex-shogi")));
}

QString installed_data_folder(const QString& program_dir) {
  const QString folder =
      QDir::cleanPath(QDir(program_dir).filePath(QString::fromUtf8(data_folder_from_program)));
  return QFileInfo(folder).isDir() ? folder : QString();
}

QString prepare_user_folder(const QString& folder, const QString& data_folder) {
  if (!QDir().mkpath(folder))
    return QStringLiteral("設定を保存するフォルダ「%1」を作れませんでした。").arg(folder) +
           runs_with_defaults;
  const QDir data(data_folder);
  for (const QString& name :
       data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
    if (name == settings_file_name) continue;  // each player keeps their own
    if (!place_link(data.absoluteFilePath(name), QDir(folder).filePath(name)))
      return QStringLiteral("フォルダ「%1」に「%2」を置けませんでした。").arg(folder, name) +
             runs_with_defaults;
  }
  return {};
}

StartFolder choose_start_folder(const QString& program_dir, const QString& xdg_data_home,
                                const QString& home) {
  const QString data = installed_data_folder(program_dir);
  if (data.isEmpty()) return {};
  const QString own = user_folder_path(xdg_data_home, home);
  const QString problem = prepare_user_folder(own, data);
  if (!problem.isEmpty()) return {data, problem};
  return {own, {}};
}

}  // namespace nirvex

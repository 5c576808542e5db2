#include "ui/file_stores.h"

#include <QDir>

#include "record/record_text.h"
#include "settings/settings_file.h"

namespace nirvex {

SettingsRead IniSettingsStore::read() { return read_settings_file(settings_file_name); }

bool IniSettingsStore::write(const SettingsValues& values) {
  return write_settings_file(settings_file_name, settings_lines(values));
}

bool RecordFileStore::load(const std::string& path, record::LoadedRecord& out,
                           std::string& error) {
  QString text;
  const bool ok = record::load_record_file(QString::fromStdString(path), out, text);
  error = text.toStdString();
  return ok;
}

bool RecordFileStore::save(const std::string& folder, const std::string& name,
                           const record::RecordHeader& header, const MoveRecord* moves, int count,
                           std::string& error) {
  QString text;
  auto fail = [&] {
    error = text.toStdString();
    return false;
  };
  const QString file_name = QString::fromStdString(name);
  if (!record::file_name_acceptable(file_name, text)) return fail();

  // A record that would not load again is not written.
  if (!record::record_replays(moves, count, error)) return false;
  QByteArray bytes;
  if (!record::encode_record_file(header, moves, count, bytes, text)) return fail();
  const QString path =
      QDir(QString::fromStdString(folder)).filePath(file_name + QStringLiteral(".棋譜"));
  if (!record::save_record_file(path, bytes, text)) return fail();
  return true;
}

bool RecordFileStore::make_folder(const std::string& folder, std::string& error) {
  const QString path = QString::fromStdString(folder);
  if (QDir(path).exists() || QDir().mkpath(path)) return true;
  // The folder, or a missing one above it, could not be made.
  error = "フォルダを作れません";
  return false;
}

std::vector<std::string> RecordFileStore::record_names(const std::string& folder) {
  std::vector<std::string> names;
  const QStringList files = QDir(QString::fromStdString(folder))
                                .entryList({QStringLiteral("*.棋譜")}, QDir::Files, QDir::Name);
  for (const QString& f : files) names.push_back(f.chopped(3).toStdString());
  return names;
}

bool RecordFileStore::remove(const std::string& folder, const std::string& name) {
  return QDir(QString::fromStdString(folder))
      .remove(QString::fromStdString(name) + QStringLiteral(".棋譜"));
}

}  // namespace nirvex

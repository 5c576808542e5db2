// The settings file on disk: how it is read and written, apart from what
// its lines say.
#include "record/plain_file.h"
#include "record/safe_file.h"
#include "settings/settings_file.h"

namespace nirvex {

SettingsRead read_settings_file(const QString& path) {
  QByteArray bytes;
  if (!read_plain_file(path, settings_file_limit, bytes)) return SettingsRead{};
  return parse_settings(bytes);
}

// The game may be started in a folder it may not write, holding a settings
// file it may: then the file is written over where it stands.
bool write_settings_file(const QString& path, const QStringList& lines) {
  const QByteArray bytes = encode_settings(lines);
  QString error;
  if (save_file_safely(path, bytes, error)) return true;
  return write_file_in_place(path, bytes, error);
}

}  // namespace nirvex

// Replacing a file whole without ever leaving half of it: the program's
// records and its settings are written this way.
#pragma once

#include <QByteArray>
#include <QString>

namespace nirvex {

// Writes the bytes to `path` through a temporary file in the same folder
// that is renamed into place only when everything was written and flushed.
// On failure `error` holds the system's description and any old file is
// untouched.
bool save_file_safely(const QString& path, const QByteArray& bytes, QString& error);

}  // namespace nirvex

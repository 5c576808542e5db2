// The settings file "Nirvex将棋.ini": four lines of key=value that carry
// the background picture, move guidance, the elapsed-time display and the
// music from one run to the next.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "settings/settings_values.h"

namespace nirvex {

inline const QString settings_file_name = QStringLiteral("Nirvex将棋.ini");

// Text of a file's bytes: UTF-8 when they are valid UTF-8, else Shift_JIS.
QString decode_settings_text(const QByteArray& bytes);

// Reads the lines of a settings file.  A line without "=" (an empty line
// too) makes the whole file count as broken.
SettingsRead parse_settings(const QByteArray& bytes);

// The lines to write for these choices, in their fixed order.
QStringList settings_lines(const SettingsValues& values);

// The bytes of a settings file: Shift_JIS text with CR LF line ends.
QByteArray encode_settings(const QStringList& lines);

// The file on disk (settings_disk.cpp).  A settings file is small: one
// larger than this is no settings file.
constexpr qint64 settings_file_limit = 64 * 1024;

// Reads the file; ok is false when it is missing or unreadable, and when it
// is no plain file (a folder, a pipe, a device) or larger than the limit,
// which are read no further and never waited on.
SettingsRead read_settings_file(const QString& path);

// Writes the file whole through a temporary file renamed into place, so a
// failed write never leaves half a file; in a folder where no file can be
// made beside it, over the existing file in place.  False when neither
// could be done.
bool write_settings_file(const QString& path, const QStringList& lines);

}  // namespace nirvex

// Small files read and written in place, for the settings file: read only
// when they are plain files of a sane size, without waiting on a pipe or a
// device, and written over where no file can be made beside them.
#pragma once

#include <QByteArray>
#include <QString>

namespace nirvex {

// Why a plain file was not read.
enum class PlainReadFault { none, system, not_plain, too_large };

// Reads a plain file of at most `limit` bytes.  False, with nothing read
// beyond the limit, for anything else: no such file, a folder, a pipe, a
// device, a larger file (also one that grows while it is read), a failed
// read; `fault` then says which, and `error` holds the system's
// description where the system refused.  Never waits for a writer.
bool read_plain_file(const QString& path, qint64 limit, QByteArray& bytes,
                     PlainReadFault* fault = nullptr, QString* error = nullptr);

// Writes the bytes over an existing plain file in place (a link to one is
// followed), then cuts it to their length and flushes it; every step is
// checked.  False, with the system's description in `error`, when the file
// is no plain file, cannot be opened for writing, or any write fails (the
// file may then hold part of the new bytes).
bool write_file_in_place(const QString& path, const QByteArray& bytes, QString& error);

}  // namespace nirvex

// The byte level of record files: Shift_JIS (CP932) with CR LF when
// written; when read, UTF-8 if the bytes are valid UTF-8, else CP932, with
// CR LF or LF line ends.  Files are replaced only through a temporary file
// beside them, so a failed save never spoils the file that was there.
#pragma once

#include <QByteArray>
#include <QString>

#include "record/safe_file.h"

#include "record/record_file.h"

namespace nirvex::record {

// Decodes the bytes of a record file and reads it in full (header, move
// lines, every move replayed).  This is the one entry point for bytes from
// outside: the window and the fuzz target both come through here.
bool read_record_bytes(const QByteArray& bytes, LoadedRecord& out,
                       RecordFault& fault);

// Opens and reads a record file.  Anything that is not a plain readable
// file of sane size is refused: `error` then holds the system's description
// of the failure or the fault found in the file (with its line).
bool load_record_file(const QString& path, LoadedRecord& out, QString& error);

// The file's bytes in CP932 with CR LF.  Refuses header text that CP932
// cannot hold or that contains a line break.
bool encode_record_file(const RecordHeader& header, const MoveRecord* moves,
                        int count, QByteArray& bytes, QString& error);

// Writes the bytes to `path` through a temporary file in the same folder
// that is renamed into place only when everything was written.  On failure
// `error` holds the system's description and any old file is untouched.
inline bool save_record_file(const QString& path, const QByteArray& bytes,
                             QString& error) {
  return save_file_safely(path, bytes, error);
}

// Checks a file name typed by the player (without the extension): it must
// name a file in the chosen folder, so it may not be "." or "..", nor hold
// "/" or control characters.  Empty names are the caller's concern.
bool file_name_acceptable(const QString& name, QString& error);

}  // namespace nirvex::record

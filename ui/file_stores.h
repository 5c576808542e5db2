// The settings file and record files on disk, for the game flow: the
// byte level of both (Shift_JIS, CR LF, safe replacing) is Qt's codecs'.
#pragma once

#include "ui/flow/ports.h"

namespace nirvex {

// "Nirvex将棋.ini" in the current folder.
class IniSettingsStore : public SettingsStore {
 public:
  SettingsRead read() override;
  bool write(const SettingsValues& values) override;
};

// "*.棋譜" files: read and checked in full, written only when the record
// would load again.
class RecordFileStore : public RecordStore {
 public:
  bool load(const std::string& path, record::LoadedRecord& out, std::string& error) override;
  bool save(const std::string& folder, const std::string& name, const record::RecordHeader& header,
            const MoveRecord* moves, int count, std::string& error) override;
  bool make_folder(const std::string& folder, std::string& error) override;
  std::vector<std::string> record_names(const std::string& folder) override;
  bool remove(const std::string& folder, const std::string& name) override;
};

}  // namespace nirvex

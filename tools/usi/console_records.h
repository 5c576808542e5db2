// Record files for the console's game mode: the games it keeps are written
// in the record format as the window writes them (Shift_JIS, CR LF), whole
// or not at all; the console reads no records.
#pragma once

#include <string>
#include <vector>

#include "ui/flow/ports.h"

namespace nirvex {

class ConsoleRecords : public RecordStore {
 public:
  bool load(const std::string& path, record::LoadedRecord& out, std::string& error) override;
  bool save(const std::string& folder, const std::string& name, const record::RecordHeader& header,
            const MoveRecord* moves, int count, std::string& error) override;
  bool make_folder(const std::string& folder, std::string& error) override;
  std::vector<std::string> record_names(const std::string& folder) override;
  bool remove(const std::string& folder, const std::string& name) override;
};

// UTF-8 text as Shift_JIS (CP932); false when it holds a character that
// has no Shift_JIS form.
bool to_shift_jis(const std::string& utf8, std::string& out);

}  // namespace nirvex

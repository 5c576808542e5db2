// Any bytes as a record file: the reader must refuse or accept them without
// a crash or undefined behaviour, and what it accepts must be a sound game
// that survives being written and read again unchanged.
#include <cstddef>
#include <cstdint>

#include "record/record_text.h"

using namespace nirvex;
using namespace nirvex::record;

namespace {

bool same_moves(const MoveRecord& a, const MoveRecord& b) {
  return a.from_col == b.from_col && a.from_row == b.from_row && a.to_col == b.to_col &&
         a.to_row == b.to_row && a.piece_after == b.piece_after &&
         a.piece_before == b.piece_before && a.captured == b.captured &&
         a.lower_clock_before == b.lower_clock_before &&
         a.lower_clock_after == b.lower_clock_after &&
         a.upper_clock_before == b.upper_clock_before &&
         a.upper_clock_after == b.upper_clock_after;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  LoadedRecord loaded;
  RecordFault fault;
  if (!read_record_bytes(bytes, loaded, fault)) {
    // A refusal always says why.
    if (fault.text.empty()) __builtin_trap();
    return 0;
  }
  if (loaded.moves.size() > static_cast<std::size_t>(max_record_moves)) __builtin_trap();

  // Written back (when the header fits Shift_JIS) it reads the same.
  QByteArray again;
  QString error;
  if (!encode_record_file(loaded.header, loaded.moves.data(),
                          static_cast<int>(loaded.moves.size()), again, error))
    return 0;
  LoadedRecord reread;
  if (!read_record_bytes(again, reread, fault)) __builtin_trap();
  if (reread.moves.size() != loaded.moves.size()) __builtin_trap();
  for (std::size_t i = 0; i < loaded.moves.size(); ++i)
    if (!same_moves(loaded.moves[i], reread.moves[i])) __builtin_trap();
  if (reread.header.game_name != loaded.header.game_name) __builtin_trap();
  return 0;
}

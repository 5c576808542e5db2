// Feeds arbitrary bytes to the settings reader: it must answer, never
// crash, and what it accepts must write back to a file it reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const nirvex::SettingsRead r = nirvex::parse_settings(bytes);
  if (!r.ok) return 0;
  nirvex::SettingsValues v;
  v.background = r.background;
  v.guidance = r.guidance.value_or(false);
  v.elapsed_time = r.elapsed_time.value_or(false);
  v.music = r.music.value_or(false);
  const nirvex::SettingsRead again =
      nirvex::parse_settings(nirvex::encode_settings(nirvex::settings_lines(v)));
  if (!again.ok || again.background != v.background || again.guidance != v.guidance ||
      again.elapsed_time != v.elapsed_time || again.music != v.music)
    std::abort();
  return 0;
}

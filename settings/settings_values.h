// The preferences the settings file carries, as plain values: the
// background picture, move guidance, the elapsed-time display and the
// music.  Standard C++ only, so that the game flow can hold them.
#pragma once

#include <optional>

namespace nirvex {

// The four choices as the menu check marks hold them.  background is the
// background id (2 green … 6 brick), or none when no item is checked.
struct SettingsValues {
  std::optional<int> background;
  bool guidance = false;
  bool elapsed_time = false;
  bool music = false;
};

// What a file said: each key only where a line named it (later lines win).
struct SettingsRead {
  bool ok = false;  // false: missing, unreadable or malformed
  std::optional<int> background;
  std::optional<bool> guidance;
  std::optional<bool> elapsed_time;
  std::optional<bool> music;
};

// The values written when the file is missing or broken: green, no
// guidance, elapsed time shown, music playing.
inline SettingsValues default_settings() {
  SettingsValues v;
  v.background = 2;
  v.guidance = false;
  v.elapsed_time = true;
  v.music = true;
  return v;
}

}  // namespace nirvex

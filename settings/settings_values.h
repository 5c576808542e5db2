// The preferences the settings file carries, as plain values: the
// background picture, move guidance, the elapsed-time display, the music,
// the player's additions and the outside engine.  Standard C++ only, so that the game flow can hold them.
#pragma once

#include <optional>
#include <string>

namespace nirvex {

// The outside engine the player chose under "COM対局ﾚﾍﾞﾙ".
struct EngineSettings {
  std::string program;       // the engine's program; empty: none chosen yet
  int move_time_ms = 1000;   // its think time per move
  std::optional<int> skill;  // its "Skill Level", where the player set one
  bool plays = false;        // it, not LEVEL1-3, plays the computer's side
};

// The player's additions under "ｵﾌﾟｼｮﾝ", each kept on a line after the
// four only while it differs from its default here.
struct ViewChoices {
  bool move_list = true;           // "棋譜表示": the move list beside the board
  bool last_move_tint = true;      // "最終手強調": the last move's squares tinted
  bool ask_promotion = false;      // "成/不成を確認": a left click asks "成りますか？"
  bool operator==(const ViewChoices&) const = default;
};

// The four choices as the menu check marks hold them, the player's
// additions and the outside engine.  background is the background id
// (2 green … 6 brick), or none when no item is checked.
struct SettingsValues {
  std::optional<int> background;
  bool guidance = false;
  bool elapsed_time = false;
  bool music = false;
  ViewChoices view;
  EngineSettings engine;
};

// What a file said: each key only where a line named it (later lines win).
struct SettingsRead {
  bool ok = false;  // false: missing, unreadable or malformed
  std::optional<int> background;
  std::optional<bool> guidance;
  std::optional<bool> elapsed_time;
  std::optional<bool> music;
  std::optional<bool> move_list;
  std::optional<bool> last_move_tint;
  std::optional<bool> ask_promotion;
  std::optional<std::string> engine_program;
  std::optional<int> engine_move_time_ms;
  std::optional<int> engine_skill;
  std::optional<bool> engine_plays;
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

#include "ui/flow/autosave.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/flow/players.h"

namespace nirvex {

namespace {

// The header naming the players and the moment.
record::RecordHeader players_header(const Game& game, const LocalDateTime& t) {
  char when[32];
  std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  record::RecordHeader header;
  header.game_name = when;
  PlayerNames names = player_names(game);
  header.lower_name = std::move(names.lower);
  header.upper_name = std::move(names.upper);
  return header;
}

// A name no file in the folder has yet: the moment's, or with "_2" … after.
std::string free_name(const std::vector<std::string>& taken, const std::string& name) {
  std::string candidate = name;
  for (int n = 2; std::find(taken.begin(), taken.end(), candidate) != taken.end(); ++n)
    candidate = name + "_" + std::to_string(n);
  return candidate;
}

// Removes the oldest kept games beyond the limit; other files stay.
void remove_oldest(Game& game) {
  std::vector<std::string> kept;
  for (const std::string& name : game.records->record_names(game.autosave_folder))
    if (is_autosave_name(name)) kept.push_back(name);
  if (static_cast<int>(kept.size()) <= autosave_limit) return;
  std::sort(kept.begin(), kept.end());
  for (size_t i = 0; i + autosave_limit < kept.size(); ++i)
    game.records->remove(game.autosave_folder, kept[i]);
}

// The first failure is told; play goes on either way.
void tell_failure(Game& game, const std::string& error) {
  if (game.autosave_failure_told) return;
  game.autosave_failure_told = true;
  message(game, "棋譜を自動保存できませんでした\n" + game.autosave_folder + "\n" + error,
          autosave_folder_name);
}

}  // namespace

std::string autosave_name(const LocalDateTime& t) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return name;
}

bool is_autosave_name(const std::string& name) {
  static constexpr std::string_view shape = "0000-00-00_00-00-00";
  if (name.size() < shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (shape[i] == '0' ? !digit : name[i] != shape[i]) return false;
  }
  if (name.size() == shape.size()) return true;
  if (name[shape.size()] != '_' || name.size() == shape.size() + 1) return false;
  return std::all_of(name.begin() + shape.size() + 1, name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

void autosave_game(Game& game) {
  if (!game.record_unsaved) return;
  game.record_unsaved = false;
  const GameState& g = game.g;
  if (game.autosave_folder.empty() || g.record_len < 1) return;
  // A record that does not replay from the initial position (after a half
  // turn or a pasted position) cannot be written in the record format.
  std::string error;
  if (g.flipped == flag_on || !record::record_replays(&g.move_records[1], g.record_len, error))
    return;
  const LocalDateTime t = game.form->date_time();
  const std::string& folder = game.autosave_folder;
  if (!game.records->make_folder(folder, error)) {
    tell_failure(game, error);
    return;
  }
  const std::string name = free_name(game.records->record_names(folder), autosave_name(t));
  if (!game.records->save(folder, name, players_header(game, t), &g.move_records[1],
                          g.record_len, error)) {
    tell_failure(game, error);
    return;
  }
  remove_oldest(game);
}

}  // namespace nirvex

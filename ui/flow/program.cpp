#include "ui/flow/program.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "ui/flow/autosave.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/painting.h"
#include "ui/flow/preferences.h"
#include "ui/flow/record_analysis.h"
#include "ui/flow/start_commands.h"

namespace nirvex {

namespace {

// The title of the sound library's messages.
constexpr const char* sound_library_name = "Nirvex将棋.dll";

void sound_warning(Game& game, const std::string& text) {
  game.form->message(text, sound_library_name, MsgButtons::ok, MsgIcon::warning);
}

}  // namespace

void Form_Load(Game& game) {
  sound_init(game);
  game.snd_other = load_wave(game, "その他.wav", 3);
  game.snd_forbidden = load_wave(game, "禁止.wav", 3);
  game.snd_piece = load_wave(game, "駒打音.wav", 3);
  game.snd_bgm = load_wave(game, "BGM.wav", 1);

  GameState& g = game.g;
  g = GameState{};
  std::error_code ec;
  game.start_dir = std::filesystem::current_path(ec).string();
  game.form->set_checked("LEVEL3", true);
  g.level = 3;
  g.lower_side = g.second_side;
  g.upper_side = g.first_side;
  g.colour_guide = colour_plain;

  game.form->fill(colour_background);
  read_settings(game);
  new_game(game);
}

void sound_init(Game& game) {
  game.sound_device = game.sound->dsInitialize(game.form->window_handle());
  if (game.sound_device == 0) sound_warning(game, "Direct Soundインターフェースが作成できません。");
}

int load_wave(Game& game, const std::string& name, int flags) {
  if (game.sound_device == 0) return 0;
  std::error_code ec;
  if (!std::filesystem::exists(name, ec)) return 0;
  if (std::filesystem::is_directory(name, ec)) {
    sound_warning(game, std::strerror(EISDIR));
    return 0;
  }
  // A pipe or a device under the wave's name would hold up the start.
  if (!std::filesystem::is_regular_file(name, ec)) {
    sound_warning(game, std::strerror(EINVAL));
    return 0;
  }
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) {
    sound_warning(game, std::strerror(errno));
    return 0;
  }
  // Room for the whole file where its size is known (the music is over a
  // megabyte); a file that grows meanwhile is still read to its end.
  std::vector<char> bytes;
  const auto expected = std::filesystem::file_size(name, ec);
  if (!ec) bytes.reserve(static_cast<std::size_t>(expected));
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(file);
  const int error = errno;
  std::fclose(file);
  if (failed) {
    sound_warning(game, std::strerror(error));
    return 0;
  }
  return game.sound->dsCreateDSB(game.sound_device, bytes.data(), bytes.size(), flags);
}

void shut_down(Game& game) {
  if (game.sounds_released) return;
  // The game on the board is kept before the program goes.
  autosave_game(game);
  game.sounds_released = true;
  close_engine(game);
  cancel_record_analysis(game);
  game.form->stop_timer();
  game.sound->dsFree(game.snd_other);
  game.sound->dsFree(game.snd_forbidden);
  game.sound->dsFree(game.snd_piece);
  game.sound->dsFree(game.snd_bgm);
  if (game.sound_device != 0) game.sound->dsTerminate(game.sound_device);
}

void end_program(Game& game) {
  if (game.program_ended) return;
  game.program_ended = true;
  game.form->end_program();
}

void OWARI_Click(Game& game) {
  shut_down(game);
  end_program(game);
}

void Form_KeyPress(Game& game, int key_ascii) {
  if (key_ascii != 27) return;
  shut_down(game);
  end_program(game);
}

void Form_Unload(Game& game) {
  shut_down(game);
  end_program(game);
}

}  // namespace nirvex

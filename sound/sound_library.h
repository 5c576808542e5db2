// The sound calls of ds_sound.h as one table, as the module "nirvex-sound"
// offers them under the name "nirvex_sound_library".  The window loads
// that module, with SDL2, on the thread
// that opens the device, so the program starts without them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nirvex {

struct SoundLibrary {
  int (*dsInitialize)(std::intptr_t window_handle);
  int (*dsCreateDSB)(int device, const void* wave_bytes, std::size_t size, int flags);
  void (*dsPlay)(int id);
  void (*dsPlayLooping)(int id);
  void (*dsStop)(int id);
  void (*dsFree)(int id);
  void (*dsTerminate)(int device);
};

// What the module offers.
using SoundLibraryOf = const SoundLibrary* (*)();

}  // namespace nirvex

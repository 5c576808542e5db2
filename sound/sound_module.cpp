// The module "nirvex-sound": the sound calls, for a program that loads
// them when it opens the device (sound_library.h).
#include "sound/ds_sound.h"
#include "sound/sound_library.h"

// The table of the library's calls.
extern "C" __attribute__((visibility("default"))) const nirvex::SoundLibrary*
nirvex_sound_library() {
  static const nirvex::SoundLibrary calls{nirvex::dsInitialize, nirvex::dsCreateDSB,
                                          nirvex::dsPlay,       nirvex::dsPlayLooping,
                                          nirvex::dsStop,       nirvex::dsFree,
                                          nirvex::dsTerminate};
  return &calls;
}

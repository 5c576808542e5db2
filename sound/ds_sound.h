// Nirvex将棋 — sound output.
//
// A small set of calls for playing short effects and background music from
// wave files held in memory.  The calls work with plain integer ids so the
// rest of the game never sees the audio library underneath (SDL2).
//
//   device = dsInitialize(window);           // 0: no audio, the game runs silent
//   id     = dsCreateDSB(device, bytes, n, 3);
//   dsPlay(id);  dsPlayLooping(id);  dsStop(id);  dsFree(id);
//   dsTerminate(device);
//
// Every call accepts id 0 and ids that are unknown, already freed or from a
// device that has been terminated, and then does nothing.  Ids are never
// reused while the program runs, so a stale id cannot reach a newer buffer.
//
// All calls must come from one thread (the game's window thread).  The
// library keeps one thread of its own, which lets the device sleep while
// nothing plays: no mixing, no wakeups.  The next sound wakes it again
// before it starts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nirvex {

// Opens the audio device: 44100 Hz, 16-bit stereo, 16 mixing channels.
// Returns a device id > 0, or 0 when no device can be opened.  The window
// handle is accepted for the caller's convenience and not used.  Calling it
// again while the device is open returns the same id.
int dsInitialize(std::intptr_t window_handle);

// Makes a new sound buffer of a whole wave file (RIFF header included)
// held in memory.  The bytes are checked and copied during the call, so the
// caller may free them as soon as it returns; they are converted to the
// device's format when the buffer first plays.  `flags` is stored with the
// buffer (the game passes 3 for effects, 1 for music) and changes nothing.
// Returns a buffer id > 0, or 0 when the device is 0/unknown, the bytes are
// null or empty, or they are not a wave file SDL can read (PCM whole or
// floating, ADPCM, a-law or mu-law).
int dsCreateDSB(int device, const void* wave_bytes, std::size_t size, int flags);

// Plays the buffer once on a free channel.  Playing the same buffer again
// before it ends starts a second, overlapping copy.  When all channels are
// busy the channel whose one-shot sound started earliest is cut off and
// reused; looping sounds are never cut off this way, so if every channel
// loops the new sound is skipped.
void dsPlay(int id);

// Plays the buffer in an endless loop until dsStop or dsFree.  Does nothing
// when that buffer is already looping.
void dsPlayLooping(int id);

// Stops every channel playing the buffer, looped or not.
void dsStop(int id);

// Stops the buffer and releases it; its id becomes invalid.
void dsFree(int id);

// Releases all remaining buffers and closes the audio device.  Does nothing
// unless `device` is the id of the open device.
void dsTerminate(int device);

// True while any channel is playing the buffer.
bool dsIsPlaying(int id);

// True while the device is awake (mixing); false while it sleeps or is
// closed.
bool dsIsAwake();

// Hands every mixed piece of sound, last, to `watch` (null: to nobody).
void dsSetPostMix(void (*watch)(void* data, unsigned char* stream, int length), void* data);

}  // namespace nirvex

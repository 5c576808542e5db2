// Nirvex将棋 — sound output over SDL2's audio device, mixed here.
//
// All state lives in one Registry object: whether the device is open, the
// loaded buffers by id, and the 16 voices the device mixes.  Each voice
// plays one buffer's samples once or in a loop; the device's callback adds
// the voices together, every one at full volume, as a mixing library would.
// Only wave files are read, so nothing beyond SDL2 itself is loaded.
//
// Nothing is done before it is needed.  A buffer keeps its wave file as it
// came and is converted to the device's format when it first plays, so a
// wave that never plays (the music, switched off) costs neither time nor
// memory.  And the device sleeps while nothing plays: an open device mixes
// silence many times a second even when paused, so a watcher thread closes
// it a little after the last sound ends, and the next sound opens it again
// before it starts.
//
// The device is opened through SDL's audio part alone: SDL's general start
// would also connect to the desktop's message bus (starting one where there
// is none), which sound does not need.
#include "sound/ds_sound.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace nirvex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrequency = 44100;
constexpr Uint16 kFormat = AUDIO_S16SYS;
constexpr int kOutputChannels = 2;   // stereo
constexpr int kChunkSize = 1024;     // about 23 ms per mix at 44.1 kHz
constexpr int kMixingChannels = 16;  // sounds that can play at the same time
// How long the device stays awake after the last sound: moves in a row
// keep it open, a pause in the game lets it sleep.
constexpr auto kAwakeAfterSound = std::chrono::milliseconds(1500);

// Reads a whole wave file held in memory: its samples as they are stored
// (SDL's memory, freed with SDL_FreeWAV) and their format.  False when the
// bytes are not a wave file SDL can read.
bool read_wave(const void* bytes, std::size_t size, SDL_AudioSpec& wave_format, Uint8*& samples,
               Uint32& length) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    return rw != nullptr && SDL_LoadWAV_RW(rw, 1, &wave_format, &samples, &length) != nullptr;
}

struct Buffer {
    std::vector<Uint8> wave;     // the wave file until it is converted
    std::vector<Uint8> samples;  // in the device's format, once converted
    bool converted = false;
    int flags = 0;
};

// What one voice plays: read by the device's callback, so changed only
// with the device locked.
struct Voice {
    const Uint8* samples = nullptr;  // null: silent
    Uint32 length = 0;
    Uint32 position = 0;
    bool looping = false;
};

// What the game last started on one voice.  The entry can be stale (the
// sound may have ended by itself), so "playing" always also asks the voice.
struct ChannelUse {
    int buffer = 0;            // 0: nothing of ours started here
    bool looping = false;
    std::uint64_t started = 0; // order of starting, for choosing a victim
};

// Where the mixed sound goes last, for the tests.
struct PostMix {
    void (*watch)(void*, Uint8*, int) = nullptr;
    void* data = nullptr;
};

struct Registry {
    std::mutex lock;           // every call, and the watcher, hold it
    int device = 0;            // id of the open device, 0 while closed
    int last_device = 0;       // ids keep counting up across reopenings
    int last_buffer = 0;
    std::uint64_t play_count = 0;
    std::unordered_map<int, Buffer> buffers;
    std::vector<ChannelUse> channels;

    // SDL's device while awake, its format as first opened (a reopening
    // asks for exactly this one, so converted buffers stay valid), and
    // the voices its callback mixes.
    SDL_AudioDeviceID output = 0;
    SDL_AudioSpec format{};
    std::array<Voice, kMixingChannels> voices{};
    PostMix post_mix;  // under the device's lock as well

    // The sleeping device and the thread that puts it to sleep.
    bool awake = false;        // SDL's device is open and mixing
    Clock::time_point sleep_at = Clock::time_point::max();
    bool watcher_stop = false;
    std::condition_variable watcher_wake;
    std::thread watcher;

    // A program that ends without dsTerminate still ends the watcher.
    ~Registry() {
        if (!watcher.joinable()) return;
        {
            std::lock_guard<std::mutex> held(lock);
            watcher_stop = true;
            watcher_wake.notify_one();
        }
        watcher.join();
    }

    // The device's callback: every voice added at full volume over silence,
    // a looping voice starting again from its first sample.
    static void mix(void* self, Uint8* stream, int length) {
        auto& r = *static_cast<Registry*>(self);
        std::memset(stream, r.format.silence, static_cast<std::size_t>(length));
        for (Voice& v : r.voices) {
            int at = 0;
            while (v.samples != nullptr && at < length) {
                const Uint32 n = std::min<Uint32>(v.length - v.position,
                                                  static_cast<Uint32>(length - at));
                SDL_MixAudioFormat(stream + at, v.samples + v.position, r.format.format, n,
                                   SDL_MIX_MAXVOLUME);
                at += static_cast<int>(n);
                v.position += n;
                if (v.position < v.length) continue;
                if (v.looping) {
                    v.position = 0;
                } else {
                    v = Voice{};
                }
            }
        }
        if (r.post_mix.watch != nullptr) r.post_mix.watch(r.post_mix.data, stream, length);
    }

    // Whether voice `ch` still sounds.
    bool voice_playing(int ch) const {
        if (!awake) return false;
        SDL_LockAudioDevice(output);
        const bool playing = voices[ch].samples != nullptr;
        SDL_UnlockAudioDevice(output);
        return playing;
    }

    // Starts `samples` on voice `ch`, cutting off what it played.
    void set_voice(int ch, const std::vector<Uint8>& samples, bool looping) {
        SDL_LockAudioDevice(output);
        voices[ch] = Voice{samples.data(), static_cast<Uint32>(samples.size()), 0, looping};
        SDL_UnlockAudioDevice(output);
    }

    // Silences voice `ch`.
    void halt(int ch) {
        SDL_LockAudioDevice(output);
        voices[ch] = Voice{};
        SDL_UnlockAudioDevice(output);
    }

    Buffer* find(int id) {
        if (id <= 0 || device == 0) return nullptr;
        auto it = buffers.find(id);
        return it == buffers.end() ? nullptr : &it->second;
    }

    bool channel_busy_with(int ch, int id) const {
        return awake && channels[ch].buffer == id && voice_playing(ch);
    }

    void note_start(int ch, int id, bool looping) {
        channels[ch] = ChannelUse{id, looping, ++play_count};
    }

    // The first silent voice, or -1.
    int free_voice() const {
        for (int ch = 0; ch < kMixingChannels; ++ch)
            if (!voice_playing(ch)) return ch;
        return -1;
    }

    // The one-shot channel that started earliest, or -1 when every channel
    // is looping.
    int oldest_one_shot() const {
        int best = -1;
        std::uint64_t best_started = std::numeric_limits<std::uint64_t>::max();
        for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch) {
            const ChannelUse& use = channels[ch];
            if (use.looping && voice_playing(ch)) continue;
            if (use.started < best_started) {
                best_started = use.started;
                best = ch;
            }
        }
        return best;
    }

    // Opens SDL's device; the first time in the format closest to ours it
    // offers, later in exactly the first one.  False when it cannot be had.
    bool open_output(bool first) {
        SDL_AudioSpec want{};
        if (first) {
            want.freq = kFrequency;
            want.format = kFormat;
            want.channels = kOutputChannels;
        } else {
            want = format;
        }
        want.samples = kChunkSize;
        want.callback = &Registry::mix;
        want.userdata = this;
        SDL_AudioSpec got{};
        const int changes =
            first ? SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE : 0;
        output = SDL_OpenAudioDevice(nullptr, 0, &want, &got, changes);
        if (output == 0) return false;
        if (first) format = got;
        voices.fill(Voice{});
        SDL_PauseAudioDevice(output, 0);
        return true;
    }

    // Opens SDL's device again after a sleep; false when it cannot be had.
    bool wake() {
        if (awake) return true;
        if (!open_output(false)) return false;
        channels.assign(kMixingChannels, ChannelUse{});
        awake = true;
        return true;
    }

    // Closes SDL's device; the buffers stay.
    void sleep() {
        if (!awake) return;
        SDL_CloseAudioDevice(output);
        output = 0;
        voices.fill(Voice{});
        channels.assign(channels.size(), ChannelUse{});
        awake = false;
        sleep_at = Clock::time_point::max();
    }

    // The device may sleep once `until` has passed and nothing plays.
    void stay_awake_until(Clock::time_point until) {
        if (sleep_at == Clock::time_point::max() || until > sleep_at) sleep_at = until;
        watcher_wake.notify_one();
    }

    // The buffer's samples in the device's format, converted now if they
    // were not yet; empty when the wave cannot be converted.  Whole sample
    // frames only, as they came.
    const std::vector<Uint8>& samples_of(Buffer& b) {
        if (b.converted) return b.samples;
        b.converted = true;
        SDL_AudioSpec wave_format;
        Uint8* data = nullptr;
        Uint32 length = 0;
        if (read_wave(b.wave.data(), b.wave.size(), wave_format, data, length)) {
            const Uint32 frame = SDL_AUDIO_BITSIZE(wave_format.format) / 8 * wave_format.channels;
            if (frame > 0) length -= length % frame;
            SDL_AudioCVT cvt;
            const int needed =
                SDL_BuildAudioCVT(&cvt, wave_format.format, wave_format.channels, wave_format.freq,
                                  format.format, format.channels, format.freq);
            if (needed == 0) {
                b.samples.assign(data, data + length);
            } else if (needed > 0) {
                std::vector<Uint8> work(static_cast<std::size_t>(length) * cvt.len_mult);
                std::memcpy(work.data(), data, length);
                cvt.buf = work.data();
                cvt.len = static_cast<int>(length);
                if (SDL_ConvertAudio(&cvt) == 0) {
                    work.resize(static_cast<std::size_t>(cvt.len_cvt));
                    b.samples = std::move(work);
                }
            }
            SDL_FreeWAV(data);
        }
        std::vector<Uint8>().swap(b.wave);
        return b.samples;
    }

    // Starts the buffer on a free channel, or on the oldest one-shot
    // channel when none is free, waking the device first.  Returns the
    // channel, or -1 when nothing started.
    int start(int id, Buffer& b, bool looping) {
        if (!wake()) return -1;
        const std::vector<Uint8>& samples = samples_of(b);
        if (samples.empty()) return -1;
        int ch = free_voice();
        if (ch < 0) ch = oldest_one_shot();
        if (ch < 0) return -1;
        set_voice(ch, samples, looping);
        note_start(ch, id, looping);
        if (!looping) stay_awake_until(Clock::now() + length_of(samples) + kAwakeAfterSound);
        return ch;
    }

    // How long converted samples play.
    Clock::duration length_of(const std::vector<Uint8>& samples) const {
        const int bytes_per_second =
            format.freq * format.channels * static_cast<int>(SDL_AUDIO_BITSIZE(format.format) / 8);
        return std::chrono::microseconds(static_cast<std::int64_t>(samples.size()) * 1000000 /
                                         std::max(bytes_per_second, 1));
    }

    // Halts every channel given to `id` and forgets them.
    void stop(int id) {
        if (!awake) return;
        for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch) {
            if (channels[ch].buffer != id) continue;
            halt(ch);
            channels[ch] = ChannelUse{};
        }
        stay_awake_until(Clock::now() + kAwakeAfterSound);
    }

    // Whether any voice sounds.
    bool any_playing() const {
        for (int ch = 0; ch < kMixingChannels; ++ch)
            if (voice_playing(ch)) return true;
        return false;
    }

    // The watcher: sleeps until the device may sleep, then lets it unless
    // something still plays (a loop, or a sound that ran late), in which
    // case it waits again.
    void watch() {
        std::unique_lock<std::mutex> held(lock);
        while (!watcher_stop) {
            if (sleep_at == Clock::time_point::max()) {
                watcher_wake.wait(held);
                continue;
            }
            if (Clock::now() < sleep_at) {
                watcher_wake.wait_until(held, sleep_at);
                continue;
            }
            if (awake && any_playing()) {
                // A loop keeps the device awake until it is stopped.
                bool looping = false;
                for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch)
                    looping = looping || (channels[ch].looping && voice_playing(ch));
                sleep_at = looping ? Clock::time_point::max() : Clock::now() + kAwakeAfterSound;
                continue;
            }
            sleep();
        }
    }
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

int dsInitialize(std::intptr_t /*window_handle*/) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    if (r.device != 0) return r.device;

    // The audio part alone: no signal handlers, no message bus.
    if (SDL_AudioInit(nullptr) != 0) return 0;
    if (!r.open_output(true)) {
        SDL_AudioQuit();
        return 0;
    }
    r.channels.assign(kMixingChannels, ChannelUse{});
    r.play_count = 0;
    r.device = ++r.last_device;
    r.awake = true;
    r.watcher_stop = false;
    r.sleep_at = Clock::time_point::max();
    r.stay_awake_until(Clock::now() + kAwakeAfterSound);
    r.watcher = std::thread([&r] { r.watch(); });
    return r.device;
}

int dsCreateDSB(int device, const void* wave_bytes, std::size_t size, int flags) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    if (device == 0 || device != r.device) return 0;
    if (wave_bytes == nullptr || size == 0) return 0;
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return 0;

    // The wave is read once to check it, and kept as it is until it first
    // plays.
    SDL_AudioSpec wave_format;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!read_wave(wave_bytes, size, wave_format, samples, length)) return 0;
    SDL_FreeWAV(samples);
    Buffer buffer;
    const auto* bytes = static_cast<const Uint8*>(wave_bytes);
    buffer.wave.assign(bytes, bytes + size);
    buffer.flags = flags;

    int id = ++r.last_buffer;
    r.buffers.emplace(id, std::move(buffer));
    return id;
}

void dsPlay(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    r.start(id, *b, false);
}

void dsPlayLooping(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    for (int ch = 0; ch < static_cast<int>(r.channels.size()); ++ch) {
        if (r.channels[ch].looping && r.channel_busy_with(ch, id)) return;
    }
    r.start(id, *b, true);
}

void dsStop(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    if (r.find(id) == nullptr) return;
    r.stop(id);
}

void dsFree(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    // Halt first: the device must not be reading the samples when they go.
    r.stop(id);
    r.buffers.erase(id);
}

void dsTerminate(int device) {
    Registry& r = registry();
    {
        std::lock_guard<std::mutex> held(r.lock);
        if (device == 0 || device != r.device) return;
        r.watcher_stop = true;
        r.watcher_wake.notify_one();
    }
    r.watcher.join();

    std::lock_guard<std::mutex> held(r.lock);
    r.sleep();
    r.buffers.clear();
    r.channels.clear();
    SDL_AudioQuit();
    r.device = 0;
}

bool dsIsPlaying(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    if (r.find(id) == nullptr) return false;
    for (int ch = 0; ch < static_cast<int>(r.channels.size()); ++ch) {
        if (r.channel_busy_with(ch, id)) return true;
    }
    return false;
}

bool dsIsAwake() {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    return r.awake;
}

void dsSetPostMix(void (*watch)(void* data, unsigned char* stream, int length), void* data) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    if (r.awake) SDL_LockAudioDevice(r.output);
    r.post_mix = PostMix{watch, data};
    if (r.awake) SDL_UnlockAudioDevice(r.output);
}

}  // namespace nirvex

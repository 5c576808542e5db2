// Nirvex将棋 — sound output over SDL2_mixer.
//
// All state lives in one Registry object: whether the device is open, the
// loaded buffers by id, and which buffer each mixing channel was last given.
// SDL_mixer only knows chunks and channels; the channel table is what lets
// dsStop and dsIsPlaying find the channels that belong to one buffer.
//
// Nothing is done before it is needed.  A buffer keeps its wave file as it
// came and is converted to the device's format when it first plays, so a
// wave that never plays (the music, switched off) costs neither time nor
// memory.  And the device sleeps while nothing plays: an open device mixes
// silence many times a second even when paused, so a watcher thread closes
// it a little after the last sound ends, and the next sound opens it again
// before it starts.
#include "sound/ds_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
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

struct Buffer {
    std::vector<Uint8> wave;   // the wave file until it is converted
    Mix_Chunk* chunk = nullptr;
    int flags = 0;
};

// What the game last started on one mixing channel.  The entry can be stale
// (the sound may have ended by itself), so "playing" always also asks
// Mix_Playing.
struct ChannelUse {
    int buffer = 0;            // 0: nothing of ours started here
    bool looping = false;
    std::uint64_t started = 0; // order of starting, for choosing a victim
};

// The format the mixer works in, as the device first gave it; the device
// is opened again in exactly this one, so converted buffers stay valid.
struct DeviceFormat {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
};

struct Registry {
    std::mutex lock;           // every call, and the watcher, hold it
    int device = 0;            // id of the open device, 0 while closed
    int last_device = 0;       // ids keep counting up across reopenings
    int last_buffer = 0;
    std::uint64_t play_count = 0;
    std::unordered_map<int, Buffer> buffers;
    std::vector<ChannelUse> channels;

    // The sleeping device and the thread that puts it to sleep.
    DeviceFormat mix_format;
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

    Buffer* find(int id) {
        if (id <= 0 || device == 0) return nullptr;
        auto it = buffers.find(id);
        return it == buffers.end() ? nullptr : &it->second;
    }

    bool channel_busy_with(int ch, int id) const {
        return awake && channels[ch].buffer == id && Mix_Playing(ch) != 0;
    }

    void note_start(int ch, int id, bool looping) {
        channels[ch] = ChannelUse{id, looping, ++play_count};
    }

    // The one-shot channel that started earliest, or -1 when every channel
    // is looping.
    int oldest_one_shot() const {
        int best = -1;
        std::uint64_t best_started = std::numeric_limits<std::uint64_t>::max();
        for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch) {
            const ChannelUse& use = channels[ch];
            if (use.looping && Mix_Playing(ch)) continue;
            if (use.started < best_started) {
                best_started = use.started;
                best = ch;
            }
        }
        return best;
    }

    // Opens SDL's device again after a sleep, in the format of the first
    // opening; false when it cannot be had.
    bool wake() {
        if (awake) return true;
        if (Mix_OpenAudioDevice(mix_format.frequency, mix_format.format, mix_format.channels, kChunkSize,
                                nullptr, 0) != 0)
            return false;
        if (Mix_AllocateChannels(kMixingChannels) <= 0) {
            Mix_CloseAudio();
            return false;
        }
        channels.assign(kMixingChannels, ChannelUse{});
        awake = true;
        return true;
    }

    // Closes SDL's device; the buffers stay.
    void sleep() {
        if (!awake) return;
        Mix_CloseAudio();
        channels.assign(channels.size(), ChannelUse{});
        awake = false;
        sleep_at = Clock::time_point::max();
    }

    // The device may sleep once `until` has passed and nothing plays.
    void stay_awake_until(Clock::time_point until) {
        if (sleep_at == Clock::time_point::max() || until > sleep_at) sleep_at = until;
        watcher_wake.notify_one();
    }

    // The buffer's chunk, converted now if it was not yet; null when the
    // wave cannot be converted.
    Mix_Chunk* chunk_of(Buffer& b) {
        if (b.chunk != nullptr || b.wave.empty()) return b.chunk;
        SDL_RWops* rw = SDL_RWFromConstMem(b.wave.data(), static_cast<int>(b.wave.size()));
        if (rw != nullptr) b.chunk = Mix_LoadWAV_RW(rw, 1);
        std::vector<Uint8>().swap(b.wave);
        return b.chunk;
    }

    // Starts the buffer on a free channel, or on the oldest one-shot
    // channel when none is free, waking the device first.  Returns the
    // channel, or -1 when nothing started.
    int start(int id, Buffer& b, int loops) {
        if (!wake()) return -1;
        Mix_Chunk* chunk = chunk_of(b);
        if (chunk == nullptr) return -1;
        int ch = Mix_PlayChannel(-1, chunk, loops);
        if (ch < 0) {
            ch = oldest_one_shot();
            if (ch < 0) return -1;
            Mix_HaltChannel(ch);
            ch = Mix_PlayChannel(ch, chunk, loops);
            if (ch < 0) return -1;
        }
        if (ch >= static_cast<int>(channels.size())) {
            // Not expected (the channel count is fixed at open), but keep
            // the table in step rather than lose track of the channel.
            channels.resize(ch + 1);
        }
        note_start(ch, id, loops != 0);
        if (loops == 0) stay_awake_until(Clock::now() + length_of(chunk) + kAwakeAfterSound);
        return ch;
    }

    // How long a converted chunk plays.
    Clock::duration length_of(const Mix_Chunk* chunk) const {
        const int bytes_per_second =
            mix_format.frequency * mix_format.channels * static_cast<int>(SDL_AUDIO_BITSIZE(mix_format.format) / 8);
        return std::chrono::microseconds(static_cast<std::int64_t>(chunk->alen) * 1000000 /
                                         std::max(bytes_per_second, 1));
    }

    // Halts every channel given to `id` and forgets them.
    void stop(int id) {
        if (!awake) return;
        for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch) {
            if (channels[ch].buffer != id) continue;
            Mix_HaltChannel(ch);
            channels[ch] = ChannelUse{};
        }
        stay_awake_until(Clock::now() + kAwakeAfterSound);
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
            if (awake && Mix_Playing(-1) > 0) {
                // A loop keeps the device awake until it is stopped.
                bool looping = false;
                for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch)
                    looping = looping || (channels[ch].looping && Mix_Playing(ch));
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

    // SDL would otherwise catch SIGINT and SIGTERM and turn them into
    // events nobody reads, and the game could no longer be ended by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    if (Mix_OpenAudio(kFrequency, kFormat, kOutputChannels, kChunkSize) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    int got = Mix_AllocateChannels(kMixingChannels);
    if (got <= 0) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    Mix_QuerySpec(&r.mix_format.frequency, &r.mix_format.format, &r.mix_format.channels);

    r.channels.assign(got, ChannelUse{});
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

    Buffer buffer{{}, nullptr, flags};
    // A wave file SDL reads is kept as it is until it first plays; the
    // check reads it without converting it.
    SDL_AudioSpec wave_format;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(wave_bytes, static_cast<int>(size));
    if (rw == nullptr) return 0;
    if (SDL_LoadWAV_RW(rw, 1, &wave_format, &samples, &length) != nullptr) {
        SDL_FreeWAV(samples);
        const auto* bytes = static_cast<const Uint8*>(wave_bytes);
        buffer.wave.assign(bytes, bytes + size);
    } else {
        // Other formats the mixer reads itself are decoded now, into the
        // device's format in memory of its own; with freesrc = 1 the
        // reader is closed whatever the outcome, so nothing keeps pointing
        // at the caller's bytes afterwards.
        if (!r.wake()) return 0;
        r.stay_awake_until(Clock::now() + kAwakeAfterSound);
        rw = SDL_RWFromConstMem(wave_bytes, static_cast<int>(size));
        if (rw == nullptr) return 0;
        buffer.chunk = Mix_LoadWAV_RW(rw, 1);
        if (buffer.chunk == nullptr) return 0;
    }

    int id = ++r.last_buffer;
    r.buffers.emplace(id, std::move(buffer));
    return id;
}

void dsPlay(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    r.start(id, *b, 0);
}

void dsPlayLooping(int id) {
    Registry& r = registry();
    std::lock_guard<std::mutex> held(r.lock);
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    for (int ch = 0; ch < static_cast<int>(r.channels.size()); ++ch) {
        if (r.channels[ch].looping && r.channel_busy_with(ch, id)) return;
    }
    r.start(id, *b, -1);
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
    // Halt first: the mixer must not be reading the chunk when it is freed.
    r.stop(id);
    if (b->chunk != nullptr) Mix_FreeChunk(b->chunk);
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
    if (r.awake) Mix_HaltChannel(-1);
    for (auto& [id, b] : r.buffers)
        if (b.chunk != nullptr) Mix_FreeChunk(b.chunk);
    r.buffers.clear();
    r.channels.clear();
    r.sleep();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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

}  // namespace nirvex

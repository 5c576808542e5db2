// Nirvex将棋 — sound output over SDL2_mixer.
//
// All state lives in one Registry object: whether the device is open, the
// loaded buffers by id, and which buffer each mixing channel was last given.
// SDL_mixer only knows chunks and channels; the channel table is what lets
// dsStop and dsIsPlaying find the channels that belong to one buffer.
#include "sound/ds_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace nirvex {
namespace {

constexpr int kFrequency = 44100;
constexpr Uint16 kFormat = AUDIO_S16SYS;
constexpr int kOutputChannels = 2;   // stereo
constexpr int kChunkSize = 1024;     // about 23 ms per mix at 44.1 kHz
constexpr int kMixingChannels = 16;  // sounds that can play at the same time

struct Buffer {
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

struct Registry {
    int device = 0;            // id of the open device, 0 while closed
    int last_device = 0;       // ids keep counting up across reopenings
    int last_buffer = 0;
    std::uint64_t play_count = 0;
    std::unordered_map<int, Buffer> buffers;
    std::vector<ChannelUse> channels;

    Buffer* find(int id) {
        if (id <= 0 || device == 0) return nullptr;
        auto it = buffers.find(id);
        return it == buffers.end() ? nullptr : &it->second;
    }

    bool channel_busy_with(int ch, int id) const {
        return channels[ch].buffer == id && Mix_Playing(ch) != 0;
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

    // Starts `chunk` on a free channel, or on the oldest one-shot channel
    // when none is free.  Returns the channel, or -1 when nothing started.
    int start(int id, Mix_Chunk* chunk, int loops) {
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
        return ch;
    }

    // Halts every channel given to `id` and forgets them.
    void stop(int id) {
        for (int ch = 0; ch < static_cast<int>(channels.size()); ++ch) {
            if (channels[ch].buffer != id) continue;
            Mix_HaltChannel(ch);
            channels[ch] = ChannelUse{};
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

    r.channels.assign(got, ChannelUse{});
    r.play_count = 0;
    r.device = ++r.last_device;
    return r.device;
}

int dsCreateDSB(int device, const void* wave_bytes, std::size_t size, int flags) {
    Registry& r = registry();
    if (device == 0 || device != r.device) return 0;
    if (wave_bytes == nullptr || size == 0) return 0;
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return 0;

    SDL_RWops* rw = SDL_RWFromConstMem(wave_bytes, static_cast<int>(size));
    if (rw == nullptr) return 0;
    // Decodes into the device's format in memory of its own; with freesrc = 1
    // the reader is closed whatever the outcome, so nothing keeps pointing at
    // the caller's bytes afterwards.
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
    if (chunk == nullptr) return 0;

    int id = ++r.last_buffer;
    r.buffers.emplace(id, Buffer{chunk, flags});
    return id;
}

void dsPlay(int id) {
    Registry& r = registry();
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    r.start(id, b->chunk, 0);
}

void dsPlayLooping(int id) {
    Registry& r = registry();
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    for (int ch = 0; ch < static_cast<int>(r.channels.size()); ++ch) {
        if (r.channels[ch].looping && r.channel_busy_with(ch, id)) return;
    }
    r.start(id, b->chunk, -1);
}

void dsStop(int id) {
    Registry& r = registry();
    if (r.find(id) == nullptr) return;
    r.stop(id);
}

void dsFree(int id) {
    Registry& r = registry();
    Buffer* b = r.find(id);
    if (b == nullptr) return;
    // Halt first: the mixer must not be reading the chunk when it is freed.
    r.stop(id);
    Mix_FreeChunk(b->chunk);
    r.buffers.erase(id);
}

void dsTerminate(int device) {
    Registry& r = registry();
    if (device == 0 || device != r.device) return;

    Mix_HaltChannel(-1);
    for (auto& [id, b] : r.buffers) Mix_FreeChunk(b.chunk);
    r.buffers.clear();
    r.channels.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    r.device = 0;
}

bool dsIsPlaying(int id) {
    Registry& r = registry();
    if (r.find(id) == nullptr) return false;
    for (int ch = 0; ch < static_cast<int>(r.channels.size()); ++ch) {
        if (r.channel_busy_with(ch, id)) return true;
    }
    return false;
}

}  // namespace nirvex

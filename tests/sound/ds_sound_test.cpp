// Tests for the sound calls.  They run against SDL's silent "dummy" audio
// driver, which mixes in real time without any sound hardware, and build
// their wave files in memory.
#include "sound/ds_sound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace nirvex;
using namespace std::chrono_literals;

constexpr int kEffectFlags = 3;
constexpr int kMusicFlags = 1;

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put_tag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// A complete RIFF/WAVE file of PCM samples: a quiet sine tone of the given
// length.  8-bit samples are unsigned, 16-bit ones signed little-endian.
std::vector<std::uint8_t> make_wave(int milliseconds, int rate = 22050, int channels = 1,
                                    int bits = 16) {
    const int frames = rate * milliseconds / 1000;
    const int bytes_per_sample = bits / 8;
    const std::uint32_t data_size =
        static_cast<std::uint32_t>(frames) * channels * bytes_per_sample;

    std::vector<std::uint8_t> w;
    put_tag(w, "RIFF");
    put32(w, 36 + data_size);
    put_tag(w, "WAVE");
    put_tag(w, "fmt ");
    put32(w, 16);
    put16(w, 1);  // PCM
    put16(w, static_cast<std::uint16_t>(channels));
    put32(w, static_cast<std::uint32_t>(rate));
    put32(w, static_cast<std::uint32_t>(rate * channels * bytes_per_sample));
    put16(w, static_cast<std::uint16_t>(channels * bytes_per_sample));
    put16(w, static_cast<std::uint16_t>(bits));
    put_tag(w, "data");
    put32(w, data_size);
    for (int i = 0; i < frames; ++i) {
        const double s = 0.2 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                w.push_back(static_cast<std::uint8_t>(128 + static_cast<int>(s * 127)));
            } else {
                put16(w, static_cast<std::uint16_t>(static_cast<std::int16_t>(s * 32767)));
            }
        }
    }
    return w;
}

// A wave of one level held for its whole length: 16-bit stereo at the
// device's own rate, so it plays without conversion.
std::vector<std::uint8_t> make_level_wave(int milliseconds, std::int16_t level) {
    std::vector<std::uint8_t> w = make_wave(milliseconds, 44100, 2, 16);
    for (std::size_t i = 44; i + 1 < w.size(); i += 2) {
        w[i] = static_cast<std::uint8_t>(level & 0xff);
        w[i + 1] = static_cast<std::uint8_t>((level >> 8) & 0xff);
    }
    return w;
}

// Waits until `id` stops by itself, up to `limit`.
bool ends_within(int id, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (!dsIsPlaying(id)) return true;
        std::this_thread::sleep_for(10ms);
    }
    return !dsIsPlaying(id);
}

// Waits until `done` holds, up to `limit`.
bool holds_within(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return done();
}

// What the device mixes, seen at the mixer's last step: how many times it
// mixed, and how many of those held anything but silence.
struct MixWatch {
    std::atomic<int> mixes{0};
    std::atomic<int> heard{0};
    // The highest and lowest 16-bit sample mixed since the last reset.
    std::atomic<int> highest{0};
    std::atomic<int> lowest{0};
    void reset_levels() {
        highest = 0;
        lowest = 0;
    }
    static void post_mix(void* self, unsigned char* stream, int length) {
        auto* w = static_cast<MixWatch*>(self);
        ++w->mixes;
        for (int i = 0; i + 1 < length; i += 2) {
            std::int16_t s;
            std::memcpy(&s, stream + i, 2);
            if (s > w->highest) w->highest = s;
            if (s < w->lowest) w->lowest = s;
        }
        for (int i = 0; i < length; ++i)
            if (stream[i] != 0) {
                ++w->heard;
                return;
            }
    }
};

// Whether SDL's audio thread runs (SDL names it "SDLAudio…").
bool audio_thread_runs() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name.rfind("SDLAudio", 0) == 0) return true;
    }
    return false;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest sets the dummy driver; this covers running the binary by hand
        // on a machine without audio.  An explicit choice is left alone.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        device_ = dsInitialize(0);
        ASSERT_GT(device_, 0) << "the dummy audio driver should always open";
    }

    void TearDown() override { dsTerminate(device_); }

    int create(const std::vector<std::uint8_t>& wave, int flags = kEffectFlags) {
        return dsCreateDSB(device_, wave.data(), wave.size(), flags);
    }

    int device_ = 0;
};

TEST_F(SoundTest, TheDeviceSleepsWhileNothingPlaysAndWakesForTheNextSound) {
    MixWatch watch;
    dsSetPostMix(&MixWatch::post_mix, &watch);
    const int id = create(make_wave(100));
    ASSERT_GT(id, 0);

    // Nothing plays: the device goes to sleep, its thread ends, and it
    // mixes nothing more.
    ASSERT_TRUE(holds_within([] { return !dsIsAwake(); }, 10000ms));
    EXPECT_FALSE(audio_thread_runs());
    const int mixes = watch.mixes;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(watch.mixes, mixes);
    EXPECT_FALSE(dsIsPlaying(id));

    // A sound wakes it before it starts, and is heard.
    dsPlay(id);
    EXPECT_TRUE(dsIsAwake());
    EXPECT_TRUE(dsIsPlaying(id));
    EXPECT_TRUE(holds_within([&] { return watch.heard > 0; }, 5000ms));

    // Once it has ended the device sleeps again; the next wakes it again.
    EXPECT_TRUE(holds_within([] { return !dsIsAwake(); }, 10000ms));
    const int heard = watch.heard;
    dsPlay(id);
    EXPECT_TRUE(holds_within([&] { return watch.heard > heard; }, 5000ms));
    dsSetPostMix(nullptr, nullptr);
}

TEST_F(SoundTest, SoundsPlayingTogetherAreAddedAndHeldAtFullScale) {
    MixWatch watch;
    dsSetPostMix(&MixWatch::post_mix, &watch);
    const int id = create(make_level_wave(3000, 8000));
    ASSERT_GT(id, 0);

    // One copy is heard as it is.
    dsPlay(id);
    EXPECT_TRUE(holds_within([&] { return watch.highest == 8000; }, 5000ms));
    dsStop(id);

    // Two copies add up.
    std::this_thread::sleep_for(100ms);
    watch.reset_levels();
    dsPlay(id);
    dsPlay(id);
    EXPECT_TRUE(holds_within([&] { return watch.highest == 16000; }, 5000ms));
    EXPECT_LE(watch.highest, 16000);
    dsStop(id);

    // Five would pass the largest sample: they stop there instead of
    // wrapping round to a loud negative one.
    std::this_thread::sleep_for(100ms);
    watch.reset_levels();
    for (int i = 0; i < 5; ++i) dsPlay(id);
    EXPECT_TRUE(holds_within([&] { return watch.highest == 32767; }, 5000ms));
    EXPECT_GE(watch.lowest, 0);
    dsStop(id);
    dsSetPostMix(nullptr, nullptr);
}

TEST_F(SoundTest, MusicKeepsTheDeviceAwakeUntilItStops) {
    const int music = create(make_wave(100), kMusicFlags);
    ASSERT_GT(music, 0);
    dsPlayLooping(music);
    // Well past the time an ended sound keeps it awake.
    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(dsIsAwake());
    EXPECT_TRUE(dsIsPlaying(music));
    dsStop(music);
    EXPECT_TRUE(holds_within([] { return !dsIsAwake(); }, 10000ms));
    // The music starts again from its sleep.
    dsPlayLooping(music);
    EXPECT_TRUE(dsIsPlaying(music));
}

// Sound needs no desktop message bus: opening the device must not connect
// to one (SDL's general start would, and where there is none it starts a
// bus of its own first).  A socket of the test's stands in for the bus and
// counts who connects.
TEST(SoundBusTest, OpensTheDeviceWithoutConnectingToTheMessageBus) {
    const std::string path =
        ::testing::TempDir() + "nirvex-bus-" + std::to_string(static_cast<long>(getpid()));
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    unlink(path.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    std::atomic<bool> stop{false};
    std::atomic<int> connections{0};
    std::thread bus([&] {
        while (!stop) {
            const int c = accept(listener, nullptr, nullptr);
            if (c < 0) {
                std::this_thread::sleep_for(1ms);
                continue;
            }
            ++connections;
            close(c);  // refused at once: whoever asked goes on without
        }
    });
    const char* before = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + path).c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    const int device = dsInitialize(0);
    EXPECT_GT(device, 0);
    std::this_thread::sleep_for(100ms);
    stop = true;
    bus.join();
    dsTerminate(device);
    if (saved) {
        setenv("DBUS_SESSION_BUS_ADDRESS", saved->c_str(), 1);
    } else {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    close(listener);
    unlink(path.c_str());
    EXPECT_EQ(connections, 0);
}

TEST_F(SoundTest, InitializeTwiceReturnsSameDevice) {
    EXPECT_EQ(dsInitialize(0), device_);
    EXPECT_EQ(dsInitialize(12345), device_);
}

TEST_F(SoundTest, LeavesTheProgramsSignalsAlone) {
    // The game must still end on SIGTERM and Ctrl+C with its sound open.
    for (int sig : {SIGTERM, SIGINT}) {
        struct sigaction now {};
        ASSERT_EQ(sigaction(sig, nullptr, &now), 0);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << sig;
    }
}

TEST_F(SoundTest, CreateGivesDistinctPositiveIds) {
    const auto wave = make_wave(50);
    const int a = create(wave, kEffectFlags);
    const int b = create(wave, kMusicFlags);
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NE(a, b);
    EXPECT_FALSE(dsIsPlaying(a));
}

TEST_F(SoundTest, AcceptsOtherPcmLayouts) {
    // 8-bit stereo at 11025 Hz and 16-bit stereo at 44100 Hz are converted
    // to the device's format on loading.
    const int a = create(make_wave(50, 11025, 2, 8));
    const int b = create(make_wave(50, 44100, 2, 16));
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    dsPlay(a);
    dsPlay(b);
    EXPECT_TRUE(dsIsPlaying(a));
    EXPECT_TRUE(dsIsPlaying(b));
}

TEST_F(SoundTest, CreateCopiesTheBytes) {
    auto bytes = std::make_unique<std::vector<std::uint8_t>>(make_wave(300));
    const int id = create(*bytes);
    ASSERT_GT(id, 0);
    // Scribble over the caller's copy and release it; the buffer must not
    // depend on it any more (AddressSanitizer reports any later read).
    std::memset(bytes->data(), 0xCD, bytes->size());
    bytes.reset();

    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
    std::this_thread::sleep_for(60ms);
    EXPECT_TRUE(dsIsPlaying(id));
}

TEST_F(SoundTest, RejectsBadInput) {
    const auto wave = make_wave(50);
    EXPECT_EQ(dsCreateDSB(0, wave.data(), wave.size(), kEffectFlags), 0);
    EXPECT_EQ(dsCreateDSB(device_ + 1, wave.data(), wave.size(), kEffectFlags), 0);
    EXPECT_EQ(dsCreateDSB(-1, wave.data(), wave.size(), kEffectFlags), 0);
    EXPECT_EQ(dsCreateDSB(device_, nullptr, wave.size(), kEffectFlags), 0);
    EXPECT_EQ(dsCreateDSB(device_, wave.data(), 0, kEffectFlags), 0);

    const std::string text = "this is certainly not a wave file, just some text bytes";
    EXPECT_EQ(dsCreateDSB(device_, text.data(), text.size(), kEffectFlags), 0);

    // A RIFF/WAVE header cut off before any format chunk.
    const std::vector<std::uint8_t> header_only(wave.begin(), wave.begin() + 12);
    EXPECT_EQ(create(header_only), 0);

    // A wave whose format chunk claims an encoding that does not exist.
    auto bad_format = wave;
    bad_format[20] = 0x34;
    bad_format[21] = 0x12;
    EXPECT_EQ(create(bad_format), 0);

    // Nothing above left the device unusable.
    const int good = create(wave);
    EXPECT_GT(good, 0);
}

TEST_F(SoundTest, OneShotEndsByItself) {
    const int id = create(make_wave(60));
    ASSERT_GT(id, 0);
    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
    EXPECT_TRUE(ends_within(id, 800ms));
}

TEST_F(SoundTest, DifferentBuffersPlayTogether) {
    const int a = create(make_wave(400));
    const int b = create(make_wave(400));
    const int c = create(make_wave(400), kMusicFlags);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_GT(c, 0);
    dsPlay(a);
    dsPlay(b);
    dsPlayLooping(c);
    EXPECT_TRUE(dsIsPlaying(a));
    EXPECT_TRUE(dsIsPlaying(b));
    EXPECT_TRUE(dsIsPlaying(c));

    // Stopping one leaves the others alone.
    dsStop(a);
    EXPECT_FALSE(dsIsPlaying(a));
    EXPECT_TRUE(dsIsPlaying(b));
    EXPECT_TRUE(dsIsPlaying(c));
}

TEST_F(SoundTest, SameBufferOverlapsAndStopHaltsEveryCopy) {
    const int id = create(make_wave(300));
    ASSERT_GT(id, 0);
    dsPlay(id);
    std::this_thread::sleep_for(30ms);
    dsPlay(id);
    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
    dsStop(id);
    EXPECT_FALSE(dsIsPlaying(id));
    // And it can be played again afterwards.
    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
}

TEST_F(SoundTest, LoopingOutlastsTheSoundAndStops) {
    const int id = create(make_wave(100), kMusicFlags);
    ASSERT_GT(id, 0);
    dsPlayLooping(id);
    EXPECT_TRUE(dsIsPlaying(id));
    std::this_thread::sleep_for(300ms);  // three times the sound's length
    EXPECT_TRUE(dsIsPlaying(id));
    dsStop(id);
    EXPECT_FALSE(dsIsPlaying(id));
}

TEST_F(SoundTest, LoopingTwiceDoesNotStackAndLoopsAgainAfterStop) {
    const int id = create(make_wave(100), kMusicFlags);
    ASSERT_GT(id, 0);
    dsPlayLooping(id);
    dsPlayLooping(id);
    dsPlayLooping(id);
    EXPECT_TRUE(dsIsPlaying(id));
    dsStop(id);
    EXPECT_FALSE(dsIsPlaying(id));

    dsPlayLooping(id);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(dsIsPlaying(id));
}

TEST_F(SoundTest, RepeatedLoopStartsNeverFillTheChannels) {
    // If a second loop started every time, the music buffer would take over
    // all channels and an effect could then only play by cutting one off;
    // with 16 channels and 40 requests a second effect would find none free.
    const int music = create(make_wave(100), kMusicFlags);
    const int e1 = create(make_wave(400));
    const int e2 = create(make_wave(400));
    ASSERT_GT(music, 0);
    for (int i = 0; i < 40; ++i) dsPlayLooping(music);
    dsPlay(e1);
    dsPlay(e2);
    EXPECT_TRUE(dsIsPlaying(music));
    EXPECT_TRUE(dsIsPlaying(e1));
    EXPECT_TRUE(dsIsPlaying(e2));
    // One dsStop is enough to silence the music: there is only one copy.
    dsStop(music);
    EXPECT_FALSE(dsIsPlaying(music));
    EXPECT_TRUE(dsIsPlaying(e1));
}

TEST_F(SoundTest, FullChannelsCutOffTheOldestEffectButNotTheMusic) {
    const int music = create(make_wave(100), kMusicFlags);
    const int first = create(make_wave(500));
    const int filler = create(make_wave(500));
    const int last = create(make_wave(500));
    ASSERT_GT(music, 0);
    ASSERT_GT(first, 0);
    ASSERT_GT(filler, 0);
    ASSERT_GT(last, 0);

    dsPlayLooping(music);
    dsPlay(first);
    for (int i = 0; i < 14; ++i) dsPlay(filler);  // every channel is now busy
    EXPECT_TRUE(dsIsPlaying(first));

    dsPlay(last);
    EXPECT_TRUE(dsIsPlaying(last));
    EXPECT_FALSE(dsIsPlaying(first)) << "the oldest effect gives up its channel";
    EXPECT_TRUE(dsIsPlaying(music)) << "looping music is never cut off";
    EXPECT_TRUE(dsIsPlaying(filler));
}

TEST_F(SoundTest, EffectIsSkippedWhenEveryChannelLoops) {
    const auto wave = make_wave(100);
    std::vector<int> loops;
    for (int i = 0; i < 16; ++i) {
        loops.push_back(create(wave, kMusicFlags));
        ASSERT_GT(loops.back(), 0);
        dsPlayLooping(loops.back());
    }
    const int effect = create(wave);
    ASSERT_GT(effect, 0);
    dsPlay(effect);
    EXPECT_FALSE(dsIsPlaying(effect));
    for (int id : loops) EXPECT_TRUE(dsIsPlaying(id));

    // Freeing one loop makes room again.
    dsFree(loops.front());
    dsPlay(effect);
    EXPECT_TRUE(dsIsPlaying(effect));
}

TEST_F(SoundTest, IdZeroAndUnknownIdsAreIgnored) {
    for (int id : {0, -1, 7777}) {
        dsPlay(id);
        dsPlayLooping(id);
        dsStop(id);
        EXPECT_FALSE(dsIsPlaying(id));
        dsFree(id);
    }
    dsTerminate(0);
    dsTerminate(device_ + 1);
    // The device is still open after those.
    const int id = create(make_wave(200));
    ASSERT_GT(id, 0);
    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
}

TEST_F(SoundTest, FreedIdsAreIgnoredAndNotReused) {
    const auto wave = make_wave(300);
    const int id = create(wave);
    ASSERT_GT(id, 0);
    dsPlayLooping(id);
    dsFree(id);  // frees while it is playing
    EXPECT_FALSE(dsIsPlaying(id));
    dsPlay(id);
    dsPlayLooping(id);
    dsStop(id);
    dsFree(id);
    EXPECT_FALSE(dsIsPlaying(id));

    const int next = create(wave);
    ASSERT_GT(next, 0);
    EXPECT_NE(next, id);
    dsPlay(next);
    EXPECT_TRUE(dsIsPlaying(next));
    dsPlay(id);  // still nothing, and it must not touch `next`
    dsStop(id);
    EXPECT_TRUE(dsIsPlaying(next));
}

TEST_F(SoundTest, CallsAfterTerminateAreHarmless) {
    const auto wave = make_wave(300);
    const int id = create(wave);
    ASSERT_GT(id, 0);
    dsPlayLooping(id);
    dsTerminate(device_);

    dsPlay(id);
    dsPlayLooping(id);
    dsStop(id);
    EXPECT_FALSE(dsIsPlaying(id));
    dsFree(id);
    EXPECT_EQ(dsCreateDSB(device_, wave.data(), wave.size(), kEffectFlags), 0);
    dsTerminate(device_);
    dsTerminate(0);
}

TEST_F(SoundTest, ReopenGivesFreshIds) {
    const auto wave = make_wave(300);
    const int old_id = create(wave);
    ASSERT_GT(old_id, 0);
    const int old_device = device_;
    dsTerminate(device_);

    device_ = dsInitialize(0);
    ASSERT_GT(device_, 0);
    EXPECT_NE(device_, old_device);
    EXPECT_EQ(dsCreateDSB(old_device, wave.data(), wave.size(), kEffectFlags), 0);

    const int id = create(wave);
    ASSERT_GT(id, 0);
    EXPECT_NE(id, old_id);
    dsPlay(old_id);
    EXPECT_FALSE(dsIsPlaying(old_id));
    dsPlay(id);
    EXPECT_TRUE(dsIsPlaying(id));
}

TEST_F(SoundTest, UnavailableDriverRunsSilent) {
    dsTerminate(device_);
    device_ = 0;

    const char* prev = std::getenv("SDL_AUDIODRIVER");
    const std::optional<std::string> saved =
        prev ? std::optional<std::string>(prev) : std::nullopt;
    setenv("SDL_AUDIODRIVER", "nirvex-no-such-driver", 1);

    const int dev = dsInitialize(0);
    EXPECT_EQ(dev, 0);
    const auto wave = make_wave(50);
    const int id = dsCreateDSB(dev, wave.data(), wave.size(), kEffectFlags);
    EXPECT_EQ(id, 0);
    dsPlay(id);
    dsPlayLooping(id);
    dsStop(id);
    dsFree(id);
    EXPECT_FALSE(dsIsPlaying(id));
    dsTerminate(dev);

    if (saved) {
        setenv("SDL_AUDIODRIVER", saved->c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }

    // A failed attempt leaves nothing behind that blocks a later one.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    device_ = dsInitialize(0);
    EXPECT_GT(device_, 0);
}

}  // namespace

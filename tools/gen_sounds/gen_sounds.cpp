// nirvex-gen-sounds: synthesises every sound of Nirvex将棋 from scratch.
//
// Usage: nirvex-gen-sounds OUTDIR
//
// Writes four 16-bit mono PCM wave files:
//   駒打音.wav  the knock of a wooden piece set down on a wooden board
//   禁止.wav    a soft low buzz for a refused move
//   その他.wav  a light two-note chime for everything else
//   BGM.wav     calm koto-like music in the miyako-bushi (in) scale that
//               loops without a click
//
// Standard library only.  All noise comes from a fixed-seed generator, so the
// files are identical on every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

// splitmix64, so the noise is the same everywhere.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed) {}
    uint64_t next()
    {
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double bipolar() { return uniform() * 2 - 1; }
};

double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Raised-cosine ramp from 0 to 1 over [0, len).
double ramp(double t, double len)
{
    if (t <= 0) return 0;
    if (t >= len) return 1;
    return 0.5 - 0.5 * std::cos(kPi * t / len);
}

// Scales a signal so its largest sample sits at the given level (dBFS).
void normalise(std::vector<double>& x, double dbfs)
{
    double peak = 0;
    for (double v : x) peak = std::max(peak, std::abs(v));
    if (peak <= 0) return;
    const double k = std::pow(10.0, dbfs / 20.0) / peak;
    for (double& v : x) v *= k;
}

// Fades the first and last few milliseconds so a sound starts and ends on
// silence.
void fadeEnds(std::vector<double>& x, int rate, double inSec, double outSec)
{
    const size_t n = x.size();
    const size_t fi = static_cast<size_t>(inSec * rate), fo = static_cast<size_t>(outSec * rate);
    for (size_t i = 0; i < fi && i < n; ++i) x[i] *= ramp(static_cast<double>(i), static_cast<double>(fi));
    for (size_t i = 0; i < fo && i < n; ++i) x[n - 1 - i] *= ramp(static_cast<double>(i), static_cast<double>(fo));
}

void put16(std::ofstream& f, uint16_t v)
{
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    f.write(b, 2);
}
void put32(std::ofstream& f, uint32_t v)
{
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
                       static_cast<char>(v >> 24)};
    f.write(b, 4);
}

// Writes a RIFF/WAVE file: PCM, 16-bit, mono, little-endian.
bool writeWav(const std::filesystem::path& path, const std::vector<double>& x, int rate)
{
    std::ofstream f(path, std::ios::binary);
    if (!f) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(x.size() * 2);
    f.write("RIFF", 4);
    put32(f, 36 + dataBytes);
    f.write("WAVE", 4);
    f.write("fmt ", 4);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, 1);  // mono
    put32(f, static_cast<uint32_t>(rate));
    put32(f, static_cast<uint32_t>(rate * 2));
    put16(f, 2);
    put16(f, 16);
    f.write("data", 4);
    put32(f, dataBytes);
    for (double v : x) {
        const long s = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        put16(f, static_cast<uint16_t>(static_cast<int16_t>(s)));
    }
    return static_cast<bool>(f);
}

// ---------------------------------------------------------------------------
// 駒打音: a piece set down on the board
// ---------------------------------------------------------------------------

// The sound is a very short, bright crack where the hard piece strikes the
// board, the ringing of a few stiff wooden modes that die away within a few
// hundredths of a second, and a soft low thud from the body of the board.
std::vector<double> pieceKnock(int rate)
{
    const double dur = 0.16;
    const size_t n = static_cast<size_t>(dur * rate);
    std::vector<double> x(n, 0.0);
    Rng rng(0x4B4F4D41ull);

    struct Mode {
        double hz, amp, tau;
    };
    const Mode modes[] = {
        {1180, 1.00, 0.024}, {1730, 0.75, 0.017}, {2480, 0.55, 0.012},
        {3390, 0.38, 0.008}, {4720, 0.22, 0.005}, {6300, 0.12, 0.0035},
    };
    const Mode body[] = {{210, 0.55, 0.035}, {390, 0.35, 0.026}};

    double prevNoise = 0, lp = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double attack = ramp(t, 0.0004);
        double v = 0;
        for (const Mode& m : modes) v += m.amp * std::exp(-t / m.tau) * std::sin(kTwoPi * m.hz * t);
        for (const Mode& m : body) v += m.amp * std::exp(-t / m.tau) * std::sin(kTwoPi * m.hz * t);
        // The crack itself: a burst of noise, differentiated to keep it bright
        // and lightly smoothed so it does not hiss.
        const double noise = rng.bipolar();
        const double hp = noise - prevNoise;
        prevNoise = noise;
        lp += 0.55 * (hp - lp);
        v += 0.9 * lp * std::exp(-t / 0.0016);
        x[i] = v * attack;
    }
    fadeEnds(x, rate, 0.0, 0.012);
    normalise(x, -3.0);
    return x;
}

// ---------------------------------------------------------------------------
// 禁止: a refused move
// ---------------------------------------------------------------------------

// A low, rounded buzz: a few harmonics of a low tone with a gentle roll-off,
// a slow flutter for the "brr" character, and long smooth fades.
std::vector<double> refusal(int rate)
{
    const double dur = 0.25;
    const size_t n = static_cast<size_t>(dur * rate);
    std::vector<double> x(n, 0.0);
    const double f0 = 110.0;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = 0;
        for (int h = 1; h <= 9; ++h) v += std::sin(kTwoPi * f0 * h * t) * std::exp(-(h - 1) / 2.6) / h;
        // A second voice a little above beats softly against the first.
        for (int h = 1; h <= 5; ++h) v += 0.35 * std::sin(kTwoPi * f0 * 1.5 * h * t) * std::exp(-(h - 1) / 2.0) / h;
        const double flutter = 0.78 + 0.22 * std::sin(kTwoPi * 28.0 * t - kPi / 2);
        const double env = ramp(t, 0.018) * ramp(dur - t, 0.09) * (1 - 0.15 * t / dur);
        x[i] = v * flutter * env;
    }
    normalise(x, -6.0);
    return x;
}

// ---------------------------------------------------------------------------
// その他: a light chime
// ---------------------------------------------------------------------------

// One struck bell voice: the partials of a small metal bar, each decaying at
// its own rate, the higher ones faster.
void addBell(std::vector<double>& x, int rate, double start, double hz, double gain)
{
    struct Partial {
        double ratio, amp, tau;
    };
    const Partial ps[] = {{1.0, 1.0, 0.30}, {2.0, 0.18, 0.16}, {2.756, 0.30, 0.10}, {5.404, 0.12, 0.045}, {8.933, 0.05, 0.025}};
    const size_t s0 = static_cast<size_t>(start * rate);
    for (size_t i = s0; i < x.size(); ++i) {
        const double t = static_cast<double>(i - s0) / rate;
        double v = 0;
        for (const Partial& p : ps) {
            if (hz * p.ratio >= rate * 0.45) continue;
            v += p.amp * std::exp(-t / p.tau) * std::sin(kTwoPi * hz * p.ratio * t);
        }
        x[i] += gain * v * ramp(t, 0.0015);
    }
}

std::vector<double> chime(int rate)
{
    const double dur = 0.7;
    std::vector<double> x(static_cast<size_t>(dur * rate), 0.0);
    addBell(x, rate, 0.0, midiToHz(81), 0.8);    // A5
    addBell(x, rate, 0.11, midiToHz(88), 0.65);  // E6, a fifth above
    fadeEnds(x, rate, 0.0, 0.08);
    normalise(x, -5.0);
    return x;
}

// ---------------------------------------------------------------------------
// BGM: calm koto-like music that loops seamlessly
// ---------------------------------------------------------------------------

// The music is written into a ring buffer exactly one loop long: any sound
// that would run past the end continues at the beginning, so the join is
// continuous by construction.  On top of that the piece is written so that
// everything has died away at the loop point, which therefore falls on
// (near) silence.

constexpr int kBgmRate = 22050;
constexpr int kBeat = 18375;  // samples per beat: exactly 72 beats a minute at 22050 Hz
constexpr int kBeatsPerBar = 4;
constexpr int kBars = 8;
constexpr size_t kLoop = static_cast<size_t>(kBeat) * kBeatsPerBar * kBars;

struct Ring {
    std::vector<double> x = std::vector<double>(kLoop, 0.0);
    void add(size_t i, double v) { x[i % kLoop] += v; }
};

// A plucked string (koto): additive partials of a slightly stiff string
// plucked near its end, the higher partials dying away faster, with a brief
// bright "tsume" pick noise at the start.  The note is damped smoothly at
// its end so it never rings into the next bar's harmony for long.
void pluck(Ring& r, double startBeat, double beats, double note, double gain, uint64_t seed)
{
    const double hz = midiToHz(note);
    const double pluckPos = 0.18;
    const double inharm = 0.00025;
    const size_t s0 = static_cast<size_t>(startBeat * kBeat);
    const double noteLen = beats * kBeat / kBgmRate;  // seconds until the finger damps it
    const double release = 0.35;
    const size_t n = static_cast<size_t>((noteLen + release) * kBgmRate);

    struct Partial {
        double hz, amp, tau, phase;
    };
    std::vector<Partial> ps;
    for (int k = 1; k <= 24; ++k) {
        const double f = hz * k * std::sqrt(1 + inharm * k * k);
        if (f > kBgmRate * 0.42) break;
        const double amp = std::abs(std::sin(kPi * k * pluckPos)) / k;
        const double tau = 1.6 / (1 + 0.10 * k * k) * (220.0 / std::max(hz, 110.0)) * 1.2;
        ps.push_back({f, amp, std::max(tau, 0.04), 0.0});
    }
    Rng rng(seed);
    double lp = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kBgmRate;
        double v = 0;
        for (const Partial& p : ps) v += p.amp * std::exp(-t / p.tau) * std::sin(kTwoPi * p.hz * t);
        // A tiny downward settle of pitch right after the pluck gives the
        // koto its "twang"; modelled as a brief extra partial glide.
        v += 0.10 * std::exp(-t / 0.03) * std::sin(kTwoPi * hz * (t + 0.004 * (1 - std::exp(-t / 0.03))));
        lp += 0.3 * (rng.bipolar() - lp);
        v += 0.15 * lp * std::exp(-t / 0.004);
        const double env = ramp(t, 0.003) * (t > noteLen ? ramp(noteLen + release - t, release) : 1.0);
        r.add(s0 + i, gain * v * env);
    }
}

// A soft pad: each voice a few sine harmonics, doubled slightly detuned for
// a gentle chorus, with a slow swell in and a long fade out.
void pad(Ring& r, double startBeat, double beats, const std::vector<double>& notes, double gain, double attack,
         double release)
{
    const size_t s0 = static_cast<size_t>(startBeat * kBeat);
    const double len = beats * kBeat / kBgmRate;
    const size_t n = static_cast<size_t>((len + release) * kBgmRate);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kBgmRate;
        double env = ramp(t, attack);
        if (t > len) env *= ramp(len + release - t, release);
        double v = 0;
        for (double note : notes) {
            const double hz = midiToHz(note);
            for (double detune : {-0.0017, 0.0017}) {
                const double f = hz * (1 + detune);
                v += std::sin(kTwoPi * f * t) + 0.28 * std::sin(kTwoPi * 2 * f * t) + 0.08 * std::sin(kTwoPi * 3 * f * t);
            }
        }
        // A slow breathing swell keeps the pad alive.
        const double breathe = 0.85 + 0.15 * std::sin(kTwoPi * t / (2.0 * kBeat * kBeatsPerBar / kBgmRate) - kPi / 2);
        r.add(s0 + i, gain * env * breathe * v / static_cast<double>(notes.size()));
    }
}

// Schroeder reverberator run twice round the loop: the first pass only
// fills the reverb with the tail of the music's end, the second is kept, so
// the reverberation at the start of the loop is exactly what follows its end.
std::vector<double> loopReverb(const std::vector<double>& dry, double wet)
{
    struct Comb {
        std::vector<double> buf;
        size_t i = 0;
        double fb, damp, store = 0;
        double run(double in)
        {
            const double out = buf[i];
            store = out * (1 - damp) + store * damp;
            buf[i] = in + store * fb;
            i = (i + 1) % buf.size();
            return out;
        }
    };
    struct Allpass {
        std::vector<double> buf;
        size_t i = 0;
        double run(double in)
        {
            const double b = buf[i];
            const double out = -in + b;
            buf[i] = in + b * 0.5;
            i = (i + 1) % buf.size();
            return out;
        }
    };
    std::vector<Comb> combs;
    for (int len : {743, 797, 853, 911, 967, 1031}) combs.push_back({std::vector<double>(static_cast<size_t>(len), 0.0), 0, 0.80, 0.35});
    std::vector<Allpass> aps;
    for (int len : {277, 113}) aps.push_back({std::vector<double>(static_cast<size_t>(len), 0.0), 0});

    std::vector<double> out(dry.size());
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < dry.size(); ++i) {
            double s = 0;
            for (Comb& c : combs) s += c.run(dry[i]);
            s /= static_cast<double>(combs.size());
            for (Allpass& a : aps) s = a.run(s);
            out[i] = dry[i] + wet * s;
        }
    return out;
}

std::vector<double> bgm()
{
    Ring r;
    // Notes of the in scale on E: E F A B C (and D as a passing note).
    enum : int { E3 = 52, F3 = 53, A3 = 57, B3 = 59, C4 = 60, E4 = 64, F4 = 65, A4 = 69, B4 = 71, C5 = 72,
                 D5 = 74, E5 = 76, F5 = 77, A2 = 45, B2 = 47, E2 = 40, F2 = 41 };

    // The melody: {start beat within the bar, length in beats, note}.
    struct N {
        double at, len;
        int note;
    };
    const std::vector<std::vector<N>> melody = {
        {{0, 1, E5}, {1, 0.5, C5}, {1.5, 0.5, B4}, {2, 2, A4}},
        {{0, 1, B4}, {1, 1, C5}, {2, 0.5, B4}, {2.5, 0.5, A4}, {3, 1, F4}},
        {{0, 2, E4}, {2, 1, F4}, {3, 1, A4}},
        {{0, 3, B4}},
        {{0, 1, E5}, {1, 0.5, F5}, {1.5, 0.5, E5}, {2, 1, C5}, {3, 1, B4}},
        {{0, 1, A4}, {1, 0.5, B4}, {1.5, 0.5, C5}, {2, 1, D5}, {3, 0.5, C5}, {3.5, 0.5, B4}},
        {{0, 1.5, A4}, {1.5, 0.5, F4}, {2, 1, A4}, {3, 1, B4}},
        {{0, 2, E4}},
    };
    uint64_t seed = 1;
    for (int bar = 0; bar < kBars; ++bar)
        for (const N& nt : melody[static_cast<size_t>(bar)]) {
            // Slightly softer off the beat, as a player's hand would be.
            const double accent = (std::fmod(nt.at, 1.0) == 0.0) ? 1.0 : 0.8;
            pluck(r, bar * kBeatsPerBar + nt.at, nt.len * 0.95, nt.note, 0.30 * accent, seed++);
        }

    // A low string answers on the first and third beat of each bar, and an
    // open fifth on the pad holds the harmony underneath.
    struct Harmony {
        int bass;
        std::vector<double> padNotes;
    };
    const std::vector<Harmony> harmony = {
        {E2, {E3, B3, E4}}, {A2, {A3, E4}},     {F2, {F3, C4}}, {E2, {E3, B3}},
        {A2, {A3, C4, E4}}, {F2, {F3, A3, C4}}, {E2, {E3, A3, B3}}, {E2, {E3, B3}},
    };
    for (int bar = 0; bar < kBars; ++bar) {
        const Harmony& h = harmony[static_cast<size_t>(bar)];
        const double b0 = bar * kBeatsPerBar;
        const bool last = bar == kBars - 1;
        pluck(r, b0, last ? 2.0 : 1.9, h.bass + 12, 0.20, 1000 + static_cast<uint64_t>(bar) * 2);
        if (!last) pluck(r, b0 + 2, 1.9, h.bass + 19, 0.13, 1001 + static_cast<uint64_t>(bar) * 2);
        // Each chord swells in and crosses into the next; the first starts
        // from silence and the last has faded out by the loop point.
        const double attack = bar == 0 ? 1.2 : 0.9;
        const double beats = last ? 1.6 : kBeatsPerBar;
        const double release = last ? 1.2 : 1.0;
        pad(r, b0, beats, h.padNotes, 0.11, attack, release);
    }

    std::vector<double> x = loopReverb(r.x, 0.55);
    // Remove any tiny DC so the loop point sits on zero.
    double mean = 0;
    for (double v : x) mean += v;
    mean /= static_cast<double>(x.size());
    for (double& v : x) v -= mean;
    normalise(x, -6.0);
    return x;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: nirvex-gen-sounds OUTDIR\n");
        return 2;
    }
    // File names are UTF-8, as is the source text of the names below.
    const std::filesystem::path out(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(out, ec);

    struct Item {
        const char* name;
        std::vector<double> samples;
        int rate;
    };
    const Item items[] = {
        {"駒打音.wav", pieceKnock(44100), 44100},
        {"禁止.wav", refusal(44100), 44100},
        {"その他.wav", chime(44100), 44100},
        {"BGM.wav", bgm(), kBgmRate},
    };
    for (const Item& it : items) {
        const auto path = out / it.name;
        if (!writeWav(path, it.samples, it.rate)) {
            std::fprintf(stderr, "nirvex-gen-sounds: cannot write %s\n", path.string().c_str());
            return 1;
        }
        std::printf("%s: %.3f s at %d Hz\n", path.string().c_str(), static_cast<double>(it.samples.size()) / it.rate,
                    it.rate);
    }
    return 0;
}

// nirvex-gen-assets: paints every picture of Nirvex将棋 from scratch.
//
// Usage: nirvex-gen-assets OUTDIR [--version X.Y.Z] [--icons ICONDIR]
//
// The version (default 0.1.0) is written on the about box's picture, ABOUT;
// every other picture is the same whatever the version.  With --icons the
// program's icon is drawn too, as nirvex-shogi-N.png in ICONDIR at each size
// N the desktop uses.
//
// Each picture is written twice, at its natural size (NAME.png) and at four
// times that size (NAME@4x.png).  Both scales are painted directly from the
// same vector shapes and procedural textures, so the large one is crisp and
// the small one is properly anti-aliased rather than a scaled-down copy.
//
// All randomness comes from fixed seeds: running the tool twice gives
// byte-identical files.

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Small colour and number helpers
// ---------------------------------------------------------------------------

struct Rgb {
    double r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
int to8(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }
double smooth(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
// Wraps v into [0, period).
double wrap(double v, double period)
{
    v = std::fmod(v, period);
    return v < 0 ? v + period : v;
}
// Signed distance along one axis to the nearest copy of c on a periodic axis.
double wrapDelta(double v, double c, double period)
{
    double d = wrap(v - c, period);
    return d > period / 2 ? d - period : d;
}

// splitmix64: a tiny, well-mixed generator whose output is the same everywhere.
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
    double range(double a, double b) { return a + (b - a) * uniform(); }
};

double hash01(uint64_t a, uint64_t b = 0, uint64_t c = 0)
{
    Rng r(a * 0x100000001B3ull ^ (b + 0x9E37ull) * 0xC2B2AE3D27D4EB4Full ^ (c + 7) * 0x165667B19E3779F9ull);
    r.next();
    return r.uniform();
}

// Value noise on a lattice that wraps around: sampling it over one period of
// the picture gives a texture whose edges continue each other seamlessly.
class PeriodicNoise {
public:
    PeriodicNoise(int nx, int ny, uint64_t seed) : nx_(nx), ny_(ny), v_(static_cast<size_t>(nx * ny))
    {
        Rng rng(seed);
        for (double& x : v_) x = rng.uniform() * 2 - 1;
    }
    // u, v in [0, 1) cover exactly one period.
    double at(double u, double v) const
    {
        const double x = wrap(u, 1.0) * nx_, y = wrap(v, 1.0) * ny_;
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = x - x0, fy = y - y0;
        const double sx = fx * fx * fx * (fx * (fx * 6 - 15) + 10);
        const double sy = fy * fy * fy * (fy * (fy * 6 - 15) + 10);
        auto g = [&](int i, int j) { return v_[static_cast<size_t>(((j % ny_) + ny_) % ny_ * nx_ + ((i % nx_) + nx_) % nx_)]; };
        const double a = g(x0, y0) + (g(x0 + 1, y0) - g(x0, y0)) * sx;
        const double b = g(x0, y0 + 1) + (g(x0 + 1, y0 + 1) - g(x0, y0 + 1)) * sx;
        return a + (b - a) * sy;
    }

private:
    int nx_, ny_;
    std::vector<double> v_;
};

// Fractal sum of periodic noise; every octave doubles the lattice so the
// result stays periodic.  Returns roughly [-1, 1].
class PeriodicFbm {
public:
    PeriodicFbm(int nx, int ny, int octaves, uint64_t seed, double gain = 0.5)
    {
        double amp = 1, total = 0;
        for (int o = 0; o < octaves; ++o) {
            layers_.emplace_back(nx << o, ny << o, seed * 131 + static_cast<uint64_t>(o) * 7919 + 1);
            amps_.push_back(amp);
            total += amp;
            amp *= gain;
        }
        for (double& a : amps_) a /= total;
    }
    double at(double u, double v) const
    {
        double s = 0;
        for (size_t i = 0; i < layers_.size(); ++i) s += layers_[i].at(u, v) * amps_[i];
        return s;
    }

private:
    std::vector<PeriodicNoise> layers_;
    std::vector<double> amps_;
};

// ---------------------------------------------------------------------------
// Rendering helpers
// ---------------------------------------------------------------------------

// A texture given as a colour for every point in natural-size coordinates.
using Field = std::function<Rgb(double x, double y)>;

// Evaluates a field over a W×H picture drawn at the given scale.  Every
// device pixel averages several samples, so fine detail is anti-aliased at
// both sizes.
QImage renderField(int w, int h, int scale, const Field& f)
{
    const int ss = scale == 1 ? 6 : 3;
    QImage img(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
    for (int py = 0; py < img.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(py));
        for (int px = 0; px < img.width(); ++px) {
            Rgb acc;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i)
                    acc = acc + f((px + (i + 0.5) / ss) / scale, (py + (j + 0.5) / ss) / scale);
            acc = acc * (1.0 / (ss * ss));
            line[px] = qRgb(to8(acc.r), to8(acc.g), to8(acc.b));
        }
    }
    return img;
}

// Gaussian blur of an image's alpha-premultiplied pixels (used for shadows).
QImage blurred(const QImage& src, double sigma)
{
    QImage img = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = img.width(), h = img.height();
    const int rad = std::max(1, static_cast<int>(std::ceil(sigma * 3)));
    std::vector<double> k(static_cast<size_t>(2 * rad + 1));
    double ks = 0;
    for (int i = -rad; i <= rad; ++i) ks += k[static_cast<size_t>(i + rad)] = std::exp(-i * i / (2 * sigma * sigma));
    for (double& v : k) v /= ks;
    std::vector<std::array<double, 4>> buf(static_cast<size_t>(w * h)), tmp(buf.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = reinterpret_cast<const QRgb*>(img.constScanLine(y))[x];
            buf[static_cast<size_t>(y * w + x)] = {double(qRed(p)), double(qGreen(p)), double(qBlue(p)), double(qAlpha(p))};
        }
    auto pass = [&](const auto& in, auto& out, bool horizontal) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::array<double, 4> acc{0, 0, 0, 0};
                for (int i = -rad; i <= rad; ++i) {
                    const int xx = horizontal ? std::clamp(x + i, 0, w - 1) : x;
                    const int yy = horizontal ? y : std::clamp(y + i, 0, h - 1);
                    const auto& p = in[static_cast<size_t>(yy * w + xx)];
                    for (int c = 0; c < 4; ++c) acc[c] += p[c] * k[static_cast<size_t>(i + rad)];
                }
                out[static_cast<size_t>(y * w + x)] = acc;
            }
    };
    pass(buf, tmp, true);
    pass(tmp, buf, false);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const auto& p = buf[static_cast<size_t>(y * w + x)];
            const int a = to8(p[3]);
            line[x] = qRgba(std::min(to8(p[0]), a), std::min(to8(p[1]), a), std::min(to8(p[2]), a), a);
        }
    }
    return img;
}

bool savePicture(const QImage& img, const QString& dir, const QString& name, int scale, bool opaque)
{
    QImage out = img.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    out.setDotsPerMeterX(2835 * scale);
    out.setDotsPerMeterY(2835 * scale);
    const QString file = dir + "/" + name + (scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale)) + ".png";
    if (!out.save(file, "PNG")) {
        std::fprintf(stderr, "nirvex-gen-assets: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// The Mincho face every kanji and the logo are set in.
QFont minchoFont()
{
    QFont f(QStringLiteral("IPAPMincho"));
    f.setStyleStrategy(QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(200);
    return f;
}

// The outline of a text at 200 px em, with its origin on the baseline.
QPainterPath textPath(const QString& text, const QFont& font)
{
    QPainterPath p;
    p.addText(0, 0, font, text);
    return p;
}

// ---------------------------------------------------------------------------
// The board surface: kaya wood
// ---------------------------------------------------------------------------

constexpr int kSquareW = 39;
constexpr int kSquareH = 44;

// Golden kaya with fine straight grain running up the board.  The grain and
// the tone variation are periodic over one square, so neighbouring squares
// join without a seam.
Field kayaField()
{
    auto warp = std::make_shared<PeriodicFbm>(2, 1, 2, 11, 0.35);
    auto tone = std::make_shared<PeriodicFbm>(2, 2, 3, 12);
    auto fibre = std::make_shared<PeriodicFbm>(39, 3, 2, 13);
    return [=](double x, double y) {
        const double u = x / kSquareW, v = y / kSquareH;
        const Rgb base{233, 192, 116};
        const Rgb dark{196, 141, 68};
        const double t = 5 * u + 0.22 * warp->at(u, v);
        const double line = std::pow(0.5 + 0.5 * std::cos(2 * kPi * t), 10);
        const double t2 = 13 * u + 0.3 * warp->at(u + 0.37, v);
        const double fine = std::pow(0.5 + 0.5 * std::cos(2 * kPi * t2), 6);
        double k = 0.30 * line + 0.12 * fine + 0.10 * fibre->at(u, v);
        Rgb c = mix(base, dark, clamp01(k));
        return c * (1.0 + 0.035 * tone->at(u, v));
    };
}

// ---------------------------------------------------------------------------
// Shogi pieces
// ---------------------------------------------------------------------------

struct PieceKind {
    const char* name;   // e.g. "HU_0"
    const char* kanji;  // the character written on the piece
    bool promoted;      // promoted sides are written in red
    int rank;           // 0 = pawn (smallest) .. 4 = king (largest)
};

const PieceKind kPieces[] = {
    {"HU_0", "歩", false, 0},   {"HU_1", "と", true, 0},    {"KEI_0", "桂", false, 1},
    {"KEI_1", "圭", true, 1},   {"GIN_0", "銀", false, 2},  {"GIN_1", "全", true, 2},
    {"KIN", "金", false, 2},    {"KAKU_0", "角", false, 3}, {"KAKU_1", "馬", true, 3},
    {"SYA_0", "飛", false, 3},  {"SYA_1", "龍", true, 3},   {"OU", "王", false, 4},
};

// Width and height of the piece for each rank, in natural pixels.  As in a
// real set the king is the largest piece and the pawn the smallest.
struct PieceSize {
    double w, h;
};
constexpr PieceSize kSizes[] = {{27.0, 32.5}, {28.0, 33.5}, {29.0, 34.5}, {30.0, 35.5}, {31.0, 36.5}};

// The five corners of a piece centred on the origin, pointing up (-y):
// base left, base right, right shoulder, apex, left shoulder.
QPolygonF pentagon(double w, double h)
{
    const double hw = w / 2, hh = h / 2;
    const double sw = hw * 0.86;       // the shoulders are a little narrower than the base
    const double sy = -hh + 0.29 * h;  // shoulder height
    return QPolygonF({QPointF(-hw, hh), QPointF(hw, hh), QPointF(sw, sy), QPointF(0, -hh), QPointF(-sw, sy)});
}

// Moves every edge of a convex polygon inwards by its own distance.
QPolygonF insetPolygon(const QPolygonF& p, const std::vector<double>& d)
{
    const int n = p.size();
    struct Line {
        QPointF a, dir;
    };
    std::vector<Line> lines;
    for (int i = 0; i < n; ++i) {
        const QPointF a = p[i], b = p[(i + 1) % n];
        QPointF dir = b - a;
        const double len = std::hypot(dir.x(), dir.y());
        dir /= len;
        // The corners run counter-clockwise on screen, so the inside is to
        // the left of each edge in y-down coordinates: normal (dy, -dx).
        const QPointF inward(dir.y(), -dir.x());
        lines.push_back({a + inward * d[static_cast<size_t>(i)], dir});
    }
    QPolygonF out;
    for (int i = 0; i < n; ++i) {
        const Line& l1 = lines[static_cast<size_t>((i + n - 1) % n)];
        const Line& l2 = lines[static_cast<size_t>(i)];
        const double den = l1.dir.x() * l2.dir.y() - l1.dir.y() * l2.dir.x();
        const QPointF diff = l2.a - l1.a;
        const double t = (diff.x() * l2.dir.y() - diff.y() * l2.dir.x()) / den;
        out << l1.a + l1.dir * t;
    }
    return out;
}

// The pale boxwood of the piece, with a faint straight grain running along
// the piece (piece coordinates, natural pixels).
Rgb boxwood(double x, double y, const PeriodicFbm& warp, const PeriodicFbm& tone)
{
    const double u = x / 40.0 + 0.5, v = y / 40.0 + 0.5;
    const Rgb base{247, 226, 172};
    const Rgb dark{222, 186, 120};
    const double t = 7 * u + 0.45 * warp.at(u, v);
    const double line = std::pow(0.5 + 0.5 * std::cos(2 * kPi * t), 8);
    return mix(base, dark, clamp01(0.22 * line + 0.06 * tone.at(u * 3, v * 3))) * (1 + 0.02 * tone.at(u, v));
}

// How finely a piece is painted: `unit` device pixels to a natural pixel,
// `samples`² wood samples per pixel, the extra width of the kanji strokes
// and the width of the dark outline in device pixels, whether it casts its
// shadow and whether its kanji is set from the font's outline.
struct PieceLook {
    double unit;
    int samples;
    double boldness;
    double outline;
    bool shadow;
    bool kanji;
};

// The look of the board's pieces at scale s: the strokes are thickened a
// little more at natural size than at 4×, so the thin horizontals survive.
PieceLook boardPieceLook(int s)
{
    return {double(s), s == 1 ? 4 : 2, s == 1 ? 0.62 : 0.42 * s, 0.55 * s, true, true};
}

// The kanji of a piece as an outline at 200 px em, and where it goes: the
// transform that centres its ink box on the face a little below the
// middle (the pointed top leaves less room), in piece coordinates.
QPainterPath kanjiGlyph(const PieceKind& kind) { return textPath(QString::fromUtf8(kind.kanji), minchoFont()); }
QTransform kanjiPlacement(const QPainterPath& glyph, const PieceSize& size)
{
    const double em = size.w * 0.64;   // natural pixels
    const double scale = em / 200.0;
    const QRectF gb = glyph.boundingRect();
    const QPointF centre(0, size.h * 0.085);
    QTransform gt;
    gt.translate(centre.x(), centre.y());
    gt.scale(scale, scale);
    gt.translate(-gb.center().x(), -gb.center().y());
    return gt;
}
QColor kanjiInk(const PieceKind& kind) { return kind.promoted ? QColor(185, 22, 18) : QColor(22, 16, 12); }

// Paints one piece into img; toDev takes piece coordinates (natural pixels,
// centred on the piece, pointing up) to device pixels.
void paintPiece(QImage& img, const PieceKind& kind, const QTransform& toDev, const PieceLook& look)
{
    const double s = look.unit;
    const PieceSize size = kSizes[kind.rank];
    const QPolygonF outline = pentagon(size.w, size.h);
    // The face is bevelled: narrow chamfers on the sides, a wider one at the
    // thick base of the piece.
    const QPolygonF face = insetPolygon(outline, {1.7, 1.05, 1.05, 1.05, 1.05});

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Soft contact shadow, cast down-right in screen space whichever way the
    // piece faces, since the light is the same for both players.
    if (look.shadow) {
        QImage sh(img.size(), QImage::Format_ARGB32_Premultiplied);
        sh.fill(Qt::transparent);
        QPainter sp(&sh);
        sp.setRenderHint(QPainter::Antialiasing);
        QTransform shift = toDev * QTransform::fromTranslate(0.9 * s, 1.2 * s);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(70, 40, 10, 150));
        sp.drawPolygon(shift.map(outline));
        sp.end();
        p.drawImage(0, 0, blurred(sh, 0.9 * s));
    }

    // Piece wood, evaluated per pixel in piece coordinates so the grain turns
    // with the piece.
    PeriodicFbm warp(3, 2, 3, 21), tone(4, 4, 3, 22);
    const QTransform toPiece = toDev.inverted();
    QImage wood(img.size(), QImage::Format_ARGB32_Premultiplied);
    const int ss = look.samples;
    for (int py = 0; py < wood.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(wood.scanLine(py));
        for (int px = 0; px < wood.width(); ++px) {
            Rgb acc;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const QPointF q = toPiece.map(QPointF(px + (i + 0.5) / ss, py + (j + 0.5) / ss));
                    acc = acc + boxwood(q.x(), q.y(), warp, tone);
                }
            acc = acc * (1.0 / (ss * ss));
            line[px] = qRgb(to8(acc.r), to8(acc.g), to8(acc.b));
        }
    }

    const QPolygonF devOutline = toDev.map(outline);
    const QPolygonF devFace = toDev.map(face);

    // The chamfers: each one is lit according to which way it faces.  The
    // light comes from the upper left of the screen.
    const QPointF light(-0.55, -0.83);
    for (int i = 0; i < 5; ++i) {
        const QPointF a = devOutline[i], b = devOutline[(i + 1) % 5];
        const QPointF c = devFace[(i + 1) % 5], d = devFace[i];
        QPointF e = b - a;
        e /= std::hypot(e.x(), e.y());
        const QPointF outward(-e.y(), e.x());
        const double lit = outward.x() * light.x() + outward.y() * light.y();
        const double k = 0.90 + 0.20 * lit;
        QPainterPath quad;
        quad.moveTo(a);
        quad.lineTo(b);
        quad.lineTo(c);
        quad.lineTo(d);
        quad.closeSubpath();
        // Fill with the wood itself, then tint it lighter or darker.
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(wood));
        p.drawPath(quad);
        p.setBrush(k >= 1 ? QColor(255, 250, 235, to8((k - 1) * 255 * 2.2)) : QColor(110, 65, 20, to8((1 - k) * 255 * 1.6)));
        p.drawPath(quad);
    }

    // The flat face, with a gentle sheen towards the light.
    {
        QPainterPath fp;
        fp.addPolygon(devFace);
        fp.closeSubpath();
        p.setBrush(QBrush(wood));
        p.drawPath(fp);
        const QRectF r = devFace.boundingRect();
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, QColor(255, 252, 238, 70));
        g.setColorAt(0.5, QColor(255, 252, 238, 0));
        g.setColorAt(1.0, QColor(120, 70, 20, 30));
        p.setBrush(g);
        p.drawPath(fp);
    }

    // The kanji, in black (red on the promoted side).
    if (look.kanji) {
        const QPainterPath glyph = kanjiGlyph(kind);
        const QPainterPath devGlyph = (kanjiPlacement(glyph, size) * toDev).map(glyph);
        const QColor ink = kanjiInk(kind);
        // Thicken the Mincho strokes so the thin horizontals survive.
        QPainterPathStroker stroker;
        stroker.setWidth(look.boldness);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        const QPainterPath thick = stroker.createStroke(devGlyph).united(devGlyph);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(thick);
    }

    // A thin darker outline gives the piece a crisp silhouette.
    {
        QPainterPath op;
        op.addPolygon(devOutline);
        op.closeSubpath();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(105, 66, 28, 210), look.outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(op);
    }
}

// A board square at scale s with the piece of `kind` on it (none: the empty
// square), as the lower or the upper player's.
QImage renderPiece(const QImage& board, const PieceKind* kind, bool upper, int s)
{
    QImage img = board.copy();
    if (!kind) return img;
    // Piece coordinates -> device pixels.  The piece stands in the middle of
    // the square, a hair low so that its visual weight sits centred; the
    // upper player's pieces are turned half a circle.
    QTransform toDev;
    toDev.scale(s, s);
    toDev.translate(kSquareW / 2.0, kSquareH / 2.0);
    if (upper) toDev.rotate(180);
    toDev.translate(0, 0.4);
    paintPiece(img, *kind, toDev, boardPieceLook(s));
    return img;
}

// ---------------------------------------------------------------------------
// The program's icon: the king piece, standing alone
// ---------------------------------------------------------------------------

// The sizes the desktop's icon theme asks for, in pixels.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// "王" for the small icons, set on whole pixels: three bars and the stem in
// the proportions of the Mincho glyph, filling its ink box `box`, so that
// no stroke smears across two rows or columns.
void paintPixelKing(QImage& img, const QRectF& box, const QColor& ink, int px)
{
    QPainter p(&img);
    const int bar = std::max(1, qRound(px / 32.0));
    const int stemWidth = std::max(1, qRound(px / 14.0));
    const int stemLeft = qRound(box.center().x() - stemWidth / 2.0);
    const double centre = stemLeft + stemWidth / 2.0;
    const int top = qRound(box.top());
    const int bottom = qRound(box.bottom()) - bar;
    const int middle = qRound(box.top() + 0.47 * (box.height() - bar));
    // One bar, `reach` of the box's half width either side of the stem.
    auto drawBar = [&](int y, double reach) {
        const int left = static_cast<int>(std::floor(centre - reach * box.width() / 2));
        p.fillRect(left, y, static_cast<int>(2 * (centre - left)), bar, ink);
    };
    drawBar(top, 0.84);
    drawBar(middle, 0.70);
    drawBar(bottom, 1.0);
    p.fillRect(stemLeft, top, stemWidth, bottom + bar - top, ink);
}

// The king ("王", the largest piece of the set) on a clear ground, painted
// afresh for a px × px icon.  From 64 px up it is the board's piece with
// its shadow and a margin for it.  Below that it fills the icon, its edges
// and its one-pixel outline lie on the pixel grid, and the kanji is set
// on whole pixels, so the small icons stay sharp.
QImage renderIcon(int px)
{
    const PieceKind& king = kPieces[11];
    const PieceSize size = kSizes[king.rank];
    QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QTransform toDev;
    if (px >= 64) {
        const double unit = px * 0.86 / size.h;
        toDev.translate(px * 0.48, px * 0.48);
        toDev.scale(unit, unit);
        paintPiece(img, king, toDev, {unit, 2, 0.42 * unit, 0.55 * unit, true, true});
        return img;
    }
    // The outline's centre line runs half a pixel inside the icon's edge at
    // the top and bottom, and on half pixels at the sides.
    const int width = 2 * qRound(px * size.w / size.h / 2);
    const double unitX = (width - 1.0) / size.w, unitY = (px - 1.0) / size.h;
    toDev.translate(px / 2.0, px / 2.0);
    toDev.scale(unitX, unitY);
    paintPiece(img, king, toDev, {unitY, 4, 0, 1.0, false, false});
    const QPainterPath glyph = kanjiGlyph(king);
    const QRectF box = (kanjiPlacement(glyph, size) * toDev).mapRect(glyph.boundingRect());
    paintPixelKing(img, box, kanjiInk(king), px);
    return img;
}

// ---------------------------------------------------------------------------
// Tiled backgrounds, 40×45, seamless in both directions
// ---------------------------------------------------------------------------

constexpr int kTileW = 40;
constexpr int kTileH = 45;

// Calm green baize: an even colour with a soft, fibrous mottle.
Field midoriField()
{
    auto fine = std::make_shared<PeriodicFbm>(20, 22, 3, 31);
    auto soft = std::make_shared<PeriodicFbm>(3, 3, 3, 32);
    auto fibreA = std::make_shared<PeriodicFbm>(40, 9, 1, 33);
    auto fibreB = std::make_shared<PeriodicFbm>(8, 45, 1, 34);
    return [=](double x, double y) {
        const double u = x / kTileW, v = y / kTileH;
        const Rgb base{34, 92, 58};
        double k = 1 + 0.07 * fine->at(u, v) + 0.05 * soft->at(u, v) + 0.04 * fibreA->at(u, v) + 0.04 * fibreB->at(u, v);
        return base * k;
    };
}

// Tatami: rows of rush straw running across, bound by straight warp threads.
Field tatamiField()
{
    auto streak = std::make_shared<PeriodicFbm>(4, 15, 3, 41);
    auto tone = std::make_shared<PeriodicFbm>(2, 2, 2, 42);
    return [=](double x, double y) {
        const double u = x / kTileW, v = y / kTileH;
        const Rgb straw{166, 170, 106};
        constexpr double rowH = 3.0;  // 15 rows of rush per tile
        constexpr double warpW = 10.0;  // 4 warp threads per tile
        const int row = static_cast<int>(std::floor(wrap(y, kTileH) / rowH));
        const double ly = wrap(y, kTileH) - row * rowH;  // 0..3
        const double lx = wrap(x, kTileW) - std::floor(wrap(x, kTileW) / warpW) * warpW;  // 0..10
        // Round rush: bright along its middle, shaded where it meets the next.
        const double across = (ly / rowH) * 2 - 1;
        const double round = std::sqrt(std::max(0.0, 1 - across * across * 0.92));
        // Each stretch of rush between two warp threads bulges a little.
        const double along = (lx / warpW) * 2 - 1;
        const double pillow = 1 - 0.07 * along * along * along * along;
        // The warp thread itself: a narrow darker line.
        const double warpLine = std::exp(-std::pow(std::min(lx, warpW - lx) / 0.45, 2));
        const double rowTint = hash01(static_cast<uint64_t>(row), 4242) - 0.5;
        double k = (0.80 + 0.22 * round) * pillow * (1 + 0.05 * rowTint) * (1 + 0.05 * streak->at(u, v)) * (1 + 0.03 * tone->at(u, v));
        Rgb c = straw * k;
        // Alternate rows lean slightly greener / yellower, as rush does.
        c = c + Rgb{4, 3, -4} * rowTint;
        c = mix(c, Rgb{118, 116, 74}, 0.38 * warpLine);
        return c;
    };
}

// Bamboo: two upright stalks with their nodes at different heights.
Field takeField()
{
    auto fibre = std::make_shared<PeriodicFbm>(40, 3, 2, 51);
    auto tone = std::make_shared<PeriodicFbm>(2, 3, 2, 52);
    struct Stalk {
        double cx, r, node;
        Rgb tint;
    };
    const std::array<Stalk, 2> stalks{{{10.5, 9.3, 14.0, {0, 0, 0}}, {30.5, 8.4, 36.5, {8, 4, -6}}}};
    return [=](double x, double y) {
        const double u = x / kTileW, v = y / kTileH;
        const Rgb gap{20, 38, 22};
        for (const Stalk& st : stalks) {
            const double dx = wrapDelta(x, st.cx, kTileW);
            const double dy = wrapDelta(y, st.node, kTileH);
            // The stalk swells a touch at its node.
            const double r = st.r + 0.35 * std::exp(-dy * dy / 1.2);
            if (std::abs(dx) >= r) continue;
            const double a = dx / r;
            const double nz = std::sqrt(1 - a * a);
            // Light from the upper left: a broad diffuse term and a soft
            // glossy stripe left of the middle.
            const double diffuse = std::max(0.0, -0.55 * a + 0.83 * nz);
            const double gloss = std::exp(-std::pow((a + 0.38) / 0.16, 2));
            Rgb c = mix(Rgb{44, 84, 40}, Rgb{104, 150, 74}, diffuse);
            c = c + Rgb{30, 34, 22} * gloss + st.tint;
            c = c * (1 + 0.06 * fibre->at(u, v) + 0.05 * tone->at(u, v));
            // The node: a dark groove with a pale ridge just above it.
            const double groove = std::exp(-std::pow(dy / 0.42, 2));
            const double ridge = std::exp(-std::pow((dy + 0.95) / 0.5, 2));
            const double scar = std::exp(-std::pow((dy - 1.4) / 1.1, 2));
            c = mix(c, Rgb{26, 48, 24}, 0.6 * groove);
            c = c + Rgb{26, 30, 16} * ridge * nz;
            c = c * (1 - 0.10 * scar);
            // Darken the very edges so the stalks sit in shadow between.
            return mix(gap, c, smooth(0.0, 0.22, nz));
        }
        return gap;
    };
}

// Deep space: blue-black sky, a faint violet nebula and a handful of stars.
Field uchuField()
{
    auto neb = std::make_shared<PeriodicFbm>(2, 2, 4, 61, 0.55);
    auto neb2 = std::make_shared<PeriodicFbm>(3, 3, 3, 62);
    struct Star {
        double x, y, sigma, bright;
        Rgb tint;
        bool glare;
    };
    std::vector<Star> stars;
    Rng rng(63);
    for (int i = 0; i < 8; ++i) {
        Star s;
        s.x = rng.range(0, kTileW);
        s.y = rng.range(0, kTileH);
        const double m = rng.uniform();
        s.sigma = 0.28 + 0.22 * m;
        s.bright = 0.35 + 0.65 * m * m;
        const double hue = rng.uniform();
        s.tint = hue < 0.33 ? Rgb{255, 236, 210} : (hue < 0.66 ? Rgb{215, 228, 255} : Rgb{255, 255, 245});
        s.glare = false;
        stars.push_back(s);
    }
    stars[0].sigma = 0.5;
    stars[0].bright = 1.0;
    stars[0].glare = true;
    return [=](double x, double y) {
        const double u = x / kTileW, v = y / kTileH;
        Rgb c{7, 9, 24};
        const double n = 0.5 + 0.5 * neb->at(u, v);
        const double n2 = 0.5 + 0.5 * neb2->at(u + 0.3, v);
        c = c + Rgb{26, 10, 40} * std::pow(n, 3.0) + Rgb{6, 16, 34} * std::pow(n2, 3.0);
        for (const Star& s : stars) {
            const double dx = wrapDelta(x, s.x, kTileW), dy = wrapDelta(y, s.y, kTileH);
            double e = s.bright * std::exp(-(dx * dx + dy * dy) / (2 * s.sigma * s.sigma));
            if (s.glare) {
                e += 0.35 * std::exp(-std::abs(dx) / 1.3) * std::exp(-dy * dy / 0.05);
                e += 0.35 * std::exp(-std::abs(dy) / 1.3) * std::exp(-dx * dx / 0.05);
            }
            c = c + (s.tint - c) * clamp01(e);
        }
        return c;
    };
}

// Red-brown brick in running bond.  Six courses per tile, alternately 7 and
// 8 pixels tall, so the half-brick offset repeats every two courses and the
// tile joins itself in both directions.
Field rengaField()
{
    auto grit = std::make_shared<PeriodicFbm>(40, 45, 2, 71);
    auto blotch = std::make_shared<PeriodicFbm>(8, 9, 3, 72);
    auto mortarN = std::make_shared<PeriodicFbm>(20, 22, 2, 73);
    return [=](double x, double y) {
        const double u = x / kTileW, v = y / kTileH;
        static constexpr double tops[] = {0, 7, 15, 22, 30, 37, 45};
        const double wy = wrap(y, kTileH);
        int row = 0;
        while (row < 5 && wy >= tops[row + 1]) ++row;
        const double rowH = tops[row + 1] - tops[row];
        const double ly = wy - tops[row];
        constexpr double brickL = 20, mortar = 1.25;
        const double off = (row % 2) * 10.0;
        const double bxw = wrap(x - off, kTileW);
        const int bx = static_cast<int>(std::floor(bxw / brickL));
        const double lx = bxw - bx * brickL;
        const Rgb mortarC = Rgb{104, 94, 84} * (1 + 0.10 * mortarN->at(u, v));
        // Distance inside the brick from each of its edges.
        const double dl = lx - mortar, dt = ly - mortar, dr = brickL - lx, db = rowH - ly;
        const double inside = std::min({dl, dt, dr, db});
        if (inside <= 0) return mortarC;
        const uint64_t id = static_cast<uint64_t>(row * 2 + bx);
        const double h1 = hash01(id, 7), h2 = hash01(id, 8);
        Rgb brick = mix(Rgb{146, 64, 44}, Rgb{118, 50, 38}, h1);
        brick = mix(brick, Rgb{150, 82, 56}, 0.4 * h2);
        brick = brick * (1 + 0.09 * grit->at(u, v) + 0.07 * blotch->at(u, v));
        // Slightly rounded arrises: lit on the top and left, shaded bottom and right.
        const double edge = smooth(0.0, 0.9, inside);
        const double litEdge = (dt < 0.9 ? 0.10 * (1 - dt / 0.9) : 0) + (dl < 0.9 ? 0.06 * (1 - dl / 0.9) : 0);
        const double darkEdge = (db < 0.9 ? 0.14 * (1 - db / 0.9) : 0) + (dr < 0.9 ? 0.08 * (1 - dr / 0.9) : 0);
        brick = brick * (1 + litEdge - darkEdge);
        return mix(mortarC * 0.9, brick, 0.35 + 0.65 * edge);
    };
}

// ---------------------------------------------------------------------------
// The title plate and the about plate
// ---------------------------------------------------------------------------

// Paints the black-red lacquer plate with its gold border that both plates
// share, filling a W×H picture (natural pixels) drawn at scale s.  `p` is
// already scaled by s.
void drawLacquerPlate(QPainter& p, const QImage& img, double W, double H, int s)
{
    // Black-red lacquer plate with rounded corners and a soft drop shadow.
    const QRectF plate(1.0, 1.0, W - 3.0, H - 3.0);
    {
        QImage sh(img.size(), QImage::Format_ARGB32_Premultiplied);
        sh.fill(Qt::transparent);
        QPainter sp(&sh);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.scale(s, s);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 150));
        sp.drawRoundedRect(plate.translated(1.2, 1.4), 6, 6);
        sp.end();
        p.save();
        p.resetTransform();
        p.drawImage(0, 0, blurred(sh, 0.8 * s));
        p.restore();
    }
    QLinearGradient lacquer(0, plate.top(), 0, plate.bottom());
    lacquer.setColorAt(0.0, QColor(74, 22, 16));
    lacquer.setColorAt(0.45, QColor(40, 11, 8));
    lacquer.setColorAt(1.0, QColor(22, 6, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(lacquer);
    p.drawRoundedRect(plate, 6, 6);
    // A broad soft reflection across the upper part of the lacquer.
    {
        QLinearGradient sheen(0, plate.top(), 0, plate.top() + plate.height() * 0.5);
        sheen.setColorAt(0.0, QColor(255, 220, 200, 38));
        sheen.setColorAt(1.0, QColor(255, 220, 200, 0));
        p.setBrush(sheen);
        p.drawRoundedRect(plate.adjusted(1.5, 1.5, -1.5, -plate.height() * 0.5), 5, 5);
    }

    // Gold border: a bold outer line and a hairline inside it.
    QLinearGradient gold(0, 0, 0, H);
    gold.setColorAt(0.0, QColor(255, 236, 170));
    gold.setColorAt(0.45, QColor(222, 178, 88));
    gold.setColorAt(0.55, QColor(196, 146, 60));
    gold.setColorAt(1.0, QColor(238, 200, 120));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(gold), 1.2));
    p.drawRoundedRect(plate.adjusted(2.4, 2.4, -2.4, -2.4), 4.5, 4.5);
    p.setPen(QPen(QBrush(gold), 0.55));
    p.drawRoundedRect(plate.adjusted(4.6, 4.6, -4.6, -4.6), 3.2, 3.2);
}

// The outline of a text in the Mincho face at `em` natural pixels, with its
// ink starting at x = 0 and its origin on the baseline y = 0.
QPainterPath goldTextPath(const QString& text, double em)
{
    QPainterPath path = textPath(text, minchoFont());
    const double k = em / 200.0;
    const QRectF b = path.boundingRect();
    QTransform t;
    t.scale(k, k);
    t.translate(-b.left(), 0);
    return t.map(path);
}

// Letters in gold on the lacquer: a dark shadow for depth, then the gold,
// with a fine stroke to give the Mincho strokes some body.
void drawGoldText(QPainter& p, const QPainterPath& path, double weight)
{
    p.setPen(QPen(QColor(0, 0, 0, 170), weight + 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawPath(path.translated(0.8, 1.0));
    const QRectF b = path.boundingRect();
    QLinearGradient g(0, b.top(), 0, b.bottom());
    g.setColorAt(0.0, QColor(255, 244, 200));
    g.setColorAt(0.40, QColor(240, 204, 120));
    g.setColorAt(0.60, QColor(212, 160, 70));
    g.setColorAt(1.0, QColor(246, 214, 140));
    p.setPen(QPen(QBrush(g), weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

// A thin gold rule under a word that spans `left` to `right`: it reaches
// 2 px beyond both ends, where it fades out.
void drawGoldRule(QPainter& p, double left, double right, double y)
{
    QLinearGradient rule(left, 0, right, 0);
    rule.setColorAt(0.0, QColor(230, 190, 100, 0));
    rule.setColorAt(0.2, QColor(230, 190, 100, 230));
    rule.setColorAt(0.8, QColor(230, 190, 100, 230));
    rule.setColorAt(1.0, QColor(230, 190, 100, 0));
    p.setPen(QPen(QBrush(rule), 0.6));
    p.drawLine(QPointF(left - 2, y), QPointF(right + 2, y));
}

// "Nirvex" in smaller latin letters and "将棋" large, side by side with a
// small gap; the pair starts at x = `left`, the kanji centred vertically on
// `middle`.  Returns the two outlines.
std::pair<QPainterPath, QPainterPath> nameOutlines(double left, double middle)
{
    QPainterPath nirvex = goldTextPath(QStringLiteral("Nirvex"), 19);
    QPainterPath shogi = goldTextPath(QStringLiteral("将棋"), 36);
    const double gap = 5;
    nirvex.translate(left - nirvex.boundingRect().left(), 38.5);
    shogi.translate(left + nirvex.boundingRect().width() + gap - shogi.boundingRect().left(), 0);
    shogi.translate(0, middle - shogi.boundingRect().center().y());
    return {nirvex, shogi};
}

double nameWidth()
{
    const double gap = 5;
    return goldTextPath(QStringLiteral("Nirvex"), 19).boundingRect().width() + gap +
           goldTextPath(QStringLiteral("将棋"), 36).boundingRect().width();
}

QImage renderLogo(int s)
{
    constexpr double W = 160, H = 63;
    QImage img(static_cast<int>(W) * s, static_cast<int>(H) * s, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);
    drawLacquerPlate(p, img, W, H, s);

    // The name is centred on the plate.
    const auto [nirvex, shogi] = nameOutlines((W - 1.0 - nameWidth()) / 2, (H - 1.0) / 2);
    drawGoldText(p, nirvex, 0.35);
    drawGoldText(p, shogi, 0.45);

    // A thin gold rule under the latin name ties the two halves together.
    const QRectF nb = nirvex.boundingRect();
    drawGoldRule(p, nb.left(), nb.right(), nb.bottom() + 4.5);
    p.end();
    return img;
}

// The picture of the about box: the name as on the title plate at the left,
// a gold divider, and "Version X.Y.Z" at the right.
QImage renderAbout(int s, const QString& version)
{
    constexpr double W = 320, H = 64;
    QImage img(static_cast<int>(W) * s, static_cast<int>(H) * s, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);
    drawLacquerPlate(p, img, W, H, s);

    const double middle = (H - 1.0) / 2;
    const auto [nirvex, shogi] = nameOutlines(18, middle);
    drawGoldText(p, nirvex, 0.35);
    drawGoldText(p, shogi, 0.45);
    const QRectF nb = nirvex.boundingRect();
    drawGoldRule(p, nb.left(), nb.right(), nb.bottom() + 4.5);

    // The divider: a vertical gold hairline fading out at both ends.
    const double divider = shogi.boundingRect().right() + 14;
    {
        QLinearGradient fade(0, 12, 0, H - 13);
        fade.setColorAt(0.0, QColor(230, 190, 100, 0));
        fade.setColorAt(0.25, QColor(230, 190, 100, 210));
        fade.setColorAt(0.75, QColor(230, 190, 100, 210));
        fade.setColorAt(1.0, QColor(230, 190, 100, 0));
        p.setPen(QPen(QBrush(fade), 0.6));
        p.drawLine(QPointF(divider, 12), QPointF(divider, H - 13));
    }

    // The version, centred in the space right of the divider and set
    // smaller when the text is long.
    const double areaLeft = divider + 8, areaRight = W - 14;
    const QString text = QStringLiteral("Version ") + version;
    double em = 15;
    QPainterPath label = goldTextPath(text, em);
    if (label.boundingRect().width() > areaRight - areaLeft) {
        em *= (areaRight - areaLeft) / label.boundingRect().width();
        label = goldTextPath(text, em);
    }
    // It stands on the same baseline as "Nirvex", with its rule level with
    // the rule under the name.
    const double baseline = 38.5;
    label.translate((areaLeft + areaRight) / 2 - label.boundingRect().center().x(), baseline);
    drawGoldText(p, label, 0.3);
    const QRectF vb = label.boundingRect();
    drawGoldRule(p, vb.left() - 2, vb.right() + 2, nb.bottom() + 4.5);
    p.end();
    return img;
}

}  // namespace

// The version written on ABOUT when none is given.
constexpr const char* kDefaultVersion = "0.1.0";

int usage()
{
    std::fprintf(stderr, "usage: nirvex-gen-assets OUTDIR [--version X.Y.Z] [--icons ICONDIR]\n");
    return 2;
}

int main(int argc, char** argv)
{
    const char* outArg = nullptr;
    const char* versionArg = kDefaultVersion;
    const char* iconArg = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version") {
            if (++i >= argc) return usage();
            versionArg = argv[i];
        } else if (a.substr(0, 10) == "--version=") {
            versionArg = argv[i] + 10;
        } else if (a == "--icons") {
            if (++i >= argc) return usage();
            iconArg = argv[i];
        } else if (a.size() > 1 && a[0] == '-') {
            return usage();
        } else if (!outArg) {
            outArg = argv[i];
        } else {
            return usage();
        }
    }
    if (!outArg || !*versionArg) return usage();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString out = QString::fromLocal8Bit(outArg);
    const QString version = QString::fromLocal8Bit(versionArg);
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "nirvex-gen-assets: cannot create %s\n", outArg);
        return 1;
    }

    // The kanji must come from IPA Mincho; fall back to loading the font file
    // directly if the font database does not know the family.
    {
        QFont f(QStringLiteral("IPAPMincho"));
        if (!QFontInfo(f).family().startsWith(QStringLiteral("IPAPMincho"))) {
            for (const char* file : {"/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf",
                                     "/usr/share/fonts/truetype/ipafont-mincho/ipamp.ttf"})
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
        const QString fam = QFontInfo(f).family();
        if (!fam.startsWith(QStringLiteral("IPAPMincho"))) {
            std::fprintf(stderr, "nirvex-gen-assets: font IPAPMincho not found (got %s); install fonts-ipafont-mincho\n",
                         qPrintable(fam));
            return 1;
        }
    }

    bool ok = true;
    int count = 0;
    for (int s : {1, 4}) {
        const QImage board = renderField(kSquareW, kSquareH, s, kayaField());
        ok &= savePicture(board, out, QStringLiteral("KARA_MASU"), s, true);
        ++count;
        for (const PieceKind& k : kPieces) {
            ok &= savePicture(renderPiece(board, &k, false, s), out, QStringLiteral("SITA_") + k.name, s, true);
            ok &= savePicture(renderPiece(board, &k, true, s), out, QStringLiteral("UE_") + k.name, s, true);
            count += 2;
        }
        const std::pair<const char*, Field> backgrounds[] = {
            {"HAIKEI_MIDORI", midoriField()}, {"HAIKEI_TATAMI", tatamiField()}, {"HAIKEI_TAKE", takeField()},
            {"HAIKEI_UCHU", uchuField()},     {"HAIKEI_RENGA", rengaField()},
        };
        for (const auto& [name, field] : backgrounds) {
            ok &= savePicture(renderField(kTileW, kTileH, s, field), out, QString::fromLatin1(name), s, true);
            ++count;
        }
        ok &= savePicture(renderLogo(s), out, QStringLiteral("NIRVEX"), s, false);
        ok &= savePicture(renderAbout(s, version), out, QStringLiteral("ABOUT"), s, false);
        count += 2;
    }
    if (iconArg) {
        const QString icons = QString::fromLocal8Bit(iconArg);
        if (!QDir().mkpath(icons)) {
            std::fprintf(stderr, "nirvex-gen-assets: cannot create %s\n", iconArg);
            return 1;
        }
        for (int px : kIconSizes) {
            ok &= savePicture(renderIcon(px), icons, QStringLiteral("nirvex-shogi-%1").arg(px), 1, false);
            ++count;
        }
    }
    if (!ok) return 1;
    std::printf("nirvex-gen-assets: wrote %d pictures to %s (version %s)\n", count, outArg, versionArg);
    return 0;
}

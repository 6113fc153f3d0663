#include "tools/previews.h"

#include "app/text.h"
#include "tools/glyphs.h"
#include "tools/raster.h"
#include "window/previewpictures.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace trelvane::render {

namespace {

constexpr int kSupersample = 4;
constexpr double kSize = kPreviewSize;

Raster newRaster(int scale) { return Raster(kPreviewSize, kPreviewSize, kSupersample, scale); }

// An RGB image sampled bilinearly with wrap-around.
class Texture {
public:
    explicit Texture(const QImage &image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

    Vec3 sample(double u, double v) const
    {
        const int w = image_.width(), h = image_.height();
        const double x = u * w - 0.5, y = v * h - 0.5;
        const double fx = std::floor(x), fy = std::floor(y);
        const double tx = x - fx, ty = y - fy;
        auto at = [&](int ix, int iy) {
            ix = ((ix % w) + w) % w;
            iy = ((iy % h) + h) % h;
            return fromRgb(reinterpret_cast<const QRgb *>(image_.constScanLine(iy))[ix]);
        };
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        return mix(mix(at(ix, iy), at(ix + 1, iy), tx), mix(at(ix, iy + 1), at(ix + 1, iy + 1), tx), ty);
    }

private:
    QImage image_;
};

// A painter on the supersampled buffer that speaks picture units.
class Overlay {
public:
    explicit Overlay(Raster &r) : painter_(&r.samples())
    {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.scale(r.samplesPerUnit(), r.samplesPerUnit());
    }
    QPainter &operator*() { return painter_; }
    QPainter *operator->() { return &painter_; }

private:
    QPainter painter_;
};

Mesh mirroredY(const Mesh &mesh)
{
    Mesh out = mesh;
    for (auto &t : out) {
        for (auto &v : t.v) {
            v.pos.y = -v.pos.y;
            v.normal.y = -v.normal.y;
        }
        std::swap(t.v[1], t.v[2]);
    }
    return out;
}

// ---------------------------------------------------------------- backdrops

Vec3 nightBackdrop(double x, double y)
{
    const double dx = (x - kSize * 0.45) / kSize, dy = (y - kSize * 0.4) / kSize;
    const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) * 1.6);
    return mix(rgb(3, 4, 12), rgb(20, 28, 66), glow * glow);
}

Vec3 skyBackdrop(double, double y) { return mix(rgb(4, 6, 20), rgb(22, 30, 64), clamp01(y / (kSize * 0.55))); }

// Stone blocks laid in courses, in the plane coordinates (a, b).
Vec3 stone(double a, double b, Vec3 base, int seed, double blockSize = 1.0)
{
    const double row = std::floor(b / blockSize);
    const double shift = (static_cast<int>(row) & 1) ? 0.5 : 0.0;
    const double col = std::floor(a / blockSize + shift);
    const double fa = a / blockSize + shift - col, fb = b / blockSize - row;
    const double edge = std::min({fa, 1 - fa, fb, 1 - fb});
    const double grain = 0.72 + 0.56 * fbm(a * 3.1, b * 3.1, 3, seed);
    const double tint = 0.75 + 0.5 * hashNoise(static_cast<int>(col), static_cast<int>(row), seed);
    const Vec3 face = base * (grain * tint);
    return mix(base * 0.25, face, smoothstep(0.015, 0.05, edge));
}

// ---------------------------------------------------------------- game scene

const Light kSceneLight{normalize(Vec3{-0.45, 0.8, 0.55}), 0.22, 0.35, 30};

struct SnakePart {
    Vec3 centre;
    double radius;
};

std::vector<SnakePart> snakeParts(Vec3 head, double heading, int count, double scale)
{
    std::vector<SnakePart> parts;
    Vec3 p = head;
    double angle = heading;
    for (int i = 0; i < count; ++i) {
        const double r = scale * (i == 0 ? 0.36 : 0.32 - 0.012 * i);
        parts.push_back({Vec3{p.x, r, p.z}, r});
        angle += 0.42 * std::sin(i * 0.55 + 0.4);
        p = p - Vec3{std::cos(angle), 0, std::sin(angle)} * (scale * 0.5);
    }
    return parts;
}

// The snake as one mesh: tag 0 odd segments, 1 even, 2 the eyes.
Mesh snakeMesh(const std::vector<SnakePart> &parts, double heading)
{
    Mesh mesh;
    for (size_t i = parts.size(); i-- > 0;) {
        Mesh s = transformed(uvSphere(20, 12, 1, false), Mat3{}, parts[i].radius, parts[i].centre);
        for (auto &t : s)
            t.tag = static_cast<int>(i & 1);
        append(mesh, s);
    }
    const SnakePart &h = parts.front();
    const Vec3 fwd{std::cos(heading), 0, std::sin(heading)};
    const Vec3 side{-fwd.z, 0, fwd.x};
    for (int e = -1; e <= 1; e += 2) {
        const Vec3 c = h.centre + fwd * (h.radius * 0.7) + side * (h.radius * 0.45 * e) + Vec3{0, h.radius * 0.45, 0};
        Mesh eye = transformed(uvSphere(10, 6, 1, false), Mat3{}, h.radius * 0.2, c);
        for (auto &t : eye)
            t.tag = 2;
        append(mesh, eye);
    }
    return mesh;
}

Rgba snakeShader(const Fragment &f)
{
    if (f.tag == 2)
        return {shade(f, rgb(250, 250, 240), kSceneLight)};
    const Vec3 albedo = f.tag == 0 ? rgb(40, 180, 50) : rgb(90, 205, 60);
    return {shade(f, albedo, kSceneLight)};
}

Rgba fruitShader(const Fragment &f) { return {shade(f, rgb(250, 210, 30), kSceneLight)}; }

struct SceneObjects {
    Mesh snake;
    Mesh fruit;
    Mesh pillars;
};

SceneObjects sceneObjects(Vec3 head, double heading, int segments, Vec3 fruitAt, bool pillars)
{
    SceneObjects o;
    o.snake = snakeMesh(snakeParts(head, heading, segments, 1.0), heading);
    o.fruit = transformed(uvSphere(18, 10, 1, false), Mat3{}, 0.26, fruitAt + Vec3{0, 0.26, 0});
    if (pillars) {
        append(o.pillars, transformed(box({0.32, 1.1, 0.32}), Mat3{}, 1, {-1.9, 1.1, -2.6}));
        append(o.pillars, transformed(box({0.32, 1.1, 0.32}), Mat3{}, 1, {1.9, 1.1, -2.6}));
    }
    return o;
}

Rgba pillarShader(const Fragment &f)
{
    const double a = std::abs(f.normal.x) > 0.5 ? f.pos.z : f.pos.x;
    return {shade(f, stone(a * 2, f.pos.y * 2, rgb(120, 110, 150), 31, 1.0), kSceneLight)};
}

void drawObjects(Raster &r, const SceneObjects &o)
{
    r.draw(o.snake, snakeShader);
    r.draw(o.fruit, fruitShader);
    if (!o.pillars.empty())
        r.draw(o.pillars, pillarShader);
}

Mesh floorMesh() { return quad({-12, 0, 6}, {12, 0, 6}, {12, 0, -18}, {-12, 0, -18}); }

Rgba floorShader(const Fragment &f) { return {shade(f, stone(f.pos.x, f.pos.z, rgb(92, 88, 100), 7), kSceneLight)}; }

Mesh backWall() { return transformed(box({12, 0.7, 0.5}), Mat3{}, 1, {0, 0.7, -9}); }

Rgba wallShader(const Fragment &f)
{
    return {shade(f, stone(f.pos.x * 1.5, f.pos.y * 1.5, rgb(110, 100, 90), 19), kSceneLight)};
}

// The arena of the game seen from the snake's chase camera; the HUD pictures
// are drawn over it.
void drawArena(Raster &r)
{
    r.fill(skyBackdrop);
    r.setCamera({0.3, 2.3, 3.4}, {0, 0.2, -2.2}, {0, 1, 0}, 50);
    r.draw(floorMesh(), floorShader);
    r.draw(backWall(), wallShader);
    drawObjects(r, sceneObjects({0.9, 0, -0.4}, 2.6, 11, {-1.3, 0, 0.4}, false));
}

// ---------------------------------------------------------------- sphere detail

Rgba swirlShader(const Fragment &f)
{
    const Vec3 p = normalize(f.pos);
    const double ang = std::atan2(p.x, p.z);
    const double twist = 2.2 * std::sin(4.5 * p.y + 2 * ang) + 1.4 * std::cos(3.5 * p.x - 2 * p.z);
    const double s = std::sin(4 * ang + 7 * p.y + twist);
    const double t = smoothstep(-0.25, 0.25, s);
    const Vec3 albedo = mix(rgb(40, 190, 40), rgb(255, 235, 50), t);
    const Light light{kSceneLight.toLight, 0.3, 0.55, 40};
    return {shade(f, albedo, light)};
}

QImage sphereDetail(int level, int scale)
{
    Raster r = newRaster(scale);
    r.fill(nightBackdrop);
    r.setCamera({0, 0, 4.4}, {0, 0, 0}, {0, 1, 0}, 36);
    // A light close to the view direction, so that every facing facet of the
    // coarse solids catches some of it and shows its own shade.
    const Light light{normalize(Vec3{-0.25, 0.3, 0.92}), 0.18, 0.3, 28};
    auto flatGreen = [light](const Fragment &f) { return Rgba{shade(f, rgb(50, 200, 60), light)}; };
    switch (level) {
    case 0: r.draw(uvSphere(64, 32, 1.05, false), swirlShader); break;
    case 1: {
        // One corner towards the viewer: the outline is the opposite face.
        const Mat3 toViewer = rotateOnto({1, 1, 1}, {0, 0, 1});
        const Vec3 base = toViewer.apply(normalize(Vec3{1, -1, -1}));
        const Mat3 upright = rotateZ(kPi / 2 - std::atan2(base.y, base.x));
        r.draw(transformed(tetrahedron(1), rotateX(0.05) * rotateY(0.08) * upright * toViewer, 1.45, {0, -0.2, 0}),
               flatGreen);
        break;
    }
    case 2:
        r.draw(transformed(octahedron(1), rotateX(-0.2) * rotateY(0.25) * rotateZ(0.12), 1.18, {}), flatGreen);
        break;
    default: {
        static const int frequency[] = {1, 2, 3, 4, 6, 10};
        r.draw(transformed(icosphere(frequency[level - 3], 1, true), rotateX(0.3) * rotateY(0.2), 1.05, {}), flatGreen);
        break;
    }
    }
    return r.resolve();
}

// ---------------------------------------------------------------- odometer drums

// Ten digit cells stacked top to bottom, 9 at the top; white on black.
Texture digitStrip(double cellAspect)
{
    const int cellH = 96;
    const int cellW = static_cast<int>(cellH * cellAspect);
    QImage img(cellW, cellH * 10, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    const double gh = cellH * 0.7;
    const double gw = gh * 4 / 6;
    for (int j = 0; j < 10; ++j) {
        const QString digit = QString::number(9 - j);
        drawText(p, digit, QPointF((cellW - gw) / 2, j * cellH + (cellH - gh) / 2), gh, gh * 0.2, Qt::white);
    }
    p.end();
    return Texture(img);
}

struct Drum {
    double radius;
    double halfLength;
    int sides;
    bool smooth;
    double shown;  // digit facing +z; a fraction means the drum is rolling
};

Mesh drumMesh(const Drum &d) { return cylinderX(d.sides, d.radius, d.halfLength, !d.smooth, -kPi / d.sides); }

Shader drumShader(const Drum &d, const Texture &strip, const Light &light)
{
    const double phaseFrac = -0.5 / d.sides;
    return [d, &strip, light, phaseFrac](const Fragment &f) {
        if (f.tag == 0) {
            // Angle round the drum as a fraction of a turn, shifted so that
            // digit `shown` sits centred on the +z side.
            const double turn = f.u + phaseFrac + 0.05 + d.shown / 10;
            const double cover = strip.sample(f.v, 1 - turn).x;
            const double rim = std::min(f.v, 1 - f.v);
            Vec3 metal = rgb(200, 202, 208);
            if (rim < 0.06)
                metal = rgb(120, 122, 130);
            // Darker than the metal: the digits must survive in brightness
            // alone, since JPEG keeps colour at half resolution.
            const Vec3 albedo = mix(metal, rgb(10, 150, 30), cover);
            return Rgba{shade(f, albedo, light)};
        }
        const double r = std::hypot(f.u - 0.5, f.v - 0.5) * 2;
        Vec3 albedo = rgb(120, 122, 130);
        if (r < 0.18)
            albedo = rgb(70, 72, 80);
        else if (r > 0.86)
            albedo = rgb(95, 97, 104);
        return Rgba{shade(f, albedo, light)};
    };
}

QImage odometerDetail(int level, int scale)
{
    static const int sides[] = {4, 5, 6, 8, 11, 16, 40};
    Raster r = newRaster(scale);
    r.fill(nightBackdrop);
    r.setCamera({1.45, 1.05, 3.5}, {0.05, -0.05, 0}, {0, 1, 0}, 42);
    const Drum d{1.0, 0.7, sides[level], level == 6, 3};
    const Texture strip = digitStrip(2 * d.halfLength / (2 * kPi * d.radius / 10));
    const Light light{normalize(Vec3{0.35, 0.75, 0.6}), 0.2, 0.4, 22};
    r.draw(drumMesh(d), drumShader(d, strip, light));
    return r.resolve();
}

// ---------------------------------------------------------------- score

QImage scoreFlat(int scale)
{
    Raster r = newRaster(scale);
    drawArena(r);
    Overlay o(r);
    const QRectF strip(6, 26, 73, 31);
    o->setPen(QPen(QColor(90, 90, 90), 1));
    o->setBrush(QColor(245, 245, 240));
    o->drawRect(strip);
    const double cell = strip.width() / 3;
    o->setPen(QPen(QColor(120, 120, 125), 2));
    for (int i = 1; i < 3; ++i)
        o->drawLine(QPointF(strip.left() + i * cell, strip.top() + 1),
                    QPointF(strip.left() + i * cell, strip.bottom() - 1));
    const char *digits = "047";
    for (int i = 0; i < 3; ++i) {
        const double h = 20, w = h * 4 / 6;
        drawText(*o, QString(QChar(digits[i])), QPointF(strip.left() + i * cell + (cell - w) / 2, strip.top() + 5.5), h,
                 3.2, QColor(20, 160, 40));
    }
    return r.resolve();
}

QImage scoreDrums(int scale)
{
    Raster r = newRaster(scale);
    drawArena(r);
    r.clearDepth();
    r.setCamera({0.5, 0.75, 4.5}, {0.06, -0.02, 0}, {0, 1, 0}, 40);
    const Light light{normalize(Vec3{-0.3, 0.8, 0.6}), 0.22, 0.5, 24};
    const double shown[] = {0, 4, 7.38};
    const Drum proto{0.62, 0.38, 40, true, 0};
    const Texture strip = digitStrip(2 * proto.halfLength / (2 * kPi * proto.radius / 10));
    // The axle the drums turn on.
    auto axleShader = [&light](const Fragment &f) { return Rgba{shade(f, rgb(60, 60, 66), light)}; };
    r.draw(cylinderX(12, 0.12, 1.45, false), axleShader);
    for (int i = 0; i < 3; ++i) {
        Drum d = proto;
        d.shown = shown[i];
        r.draw(transformed(drumMesh(d), Mat3{}, 1, {(i - 1) * 0.86, 0, 0}), drumShader(d, strip, light));
    }
    return r.resolve();
}

// ---------------------------------------------------------------- level

QImage levelReadout(bool seeThrough, int scale)
{
    Raster r = newRaster(scale);
    drawArena(r);
    Overlay o(r);
    const QRectF panel(14, 16, 57, 50);
    o->setPen(QPen(QColor(70, 70, 20), 1.5));
    o->setBrush(seeThrough ? QColor(150, 150, 40, 80) : QColor(128, 128, 36));
    o->drawRoundedRect(panel, 5, 5);
    const double h = 32;
    drawText(*o, "1", QPointF(panel.center().x() - 1.6 * h / 6 * 1.0 - 1, panel.top() + (panel.height() - h) / 2), h, 5,
             QColor(255, 240, 120));
    return r.resolve();
}

// ---------------------------------------------------------------- transparency

const Light kLedgeLight{normalize(Vec3{-0.4, 0.85, 0.45}), 0.2, 0.3, 26};

Rgba ledgeShader(const Fragment &f)
{
    Vec3 albedo;
    if (f.normal.y > 0.5)
        albedo = stone(f.pos.x * 1.6, f.pos.z * 1.6, rgb(88, 82, 78), 41);
    else
        albedo = stone(f.pos.x * 1.6 + f.pos.z * 1.6, f.pos.y * 2.2, rgb(70, 64, 62), 43);
    return {shade(f, albedo, kLedgeLight)};
}

void drawLedge(Raster &r)
{
    r.fill([](double x, double y) { return mix(rgb(2, 2, 8), rgb(12, 14, 34), clamp01(1 - y / kSize) * 0.9 + x * 0); });
    r.setCamera({0.9, 2.4, 4.0}, {0, 0.35, 0}, {0, 1, 0}, 40);
    r.draw(transformed(box({2.6, 0.6, 1.1}), Mat3{}, 1, {0, -0.6, -0.1}), ledgeShader);
}

QImage jaggedSolid(int scale)
{
    Raster r = newRaster(scale);
    drawLedge(r);
    struct Shard {
        Vec3 at;
        int sides;
        double radius, height, tiltX, tiltZ, turn;
    };
    const Shard shards[] = {
        {{-0.2, 0, 0.1}, 4, 0.42, 1.9, 0.08, -0.12, 0.3},  {{0.45, 0, -0.1}, 5, 0.34, 1.4, -0.2, 0.3, 0.9},
        {{-0.8, 0, -0.2}, 4, 0.3, 1.15, 0.15, 0.38, 0.2},  {{0.15, 0, 0.65}, 4, 0.28, 0.9, 0.4, -0.25, 1.1},
        {{-0.6, 0, 0.6}, 5, 0.24, 0.75, 0.3, 0.35, 0.5},   {{0.95, 0, 0.45}, 4, 0.25, 0.85, 0.25, -0.45, 0.1},
        {{1.1, 0, -0.45}, 4, 0.26, 1.0, -0.25, -0.2, 0.7}, {{-1.35, 0, 0.3}, 4, 0.22, 0.7, 0.2, 0.4, 0.4},
    };
    Mesh mesh;
    for (const auto &s : shards)
        append(mesh,
               transformed(spike(s.sides, s.radius, s.height, s.turn), rotateX(s.tiltX) * rotateZ(s.tiltZ), 1, s.at));
    r.draw(mesh, [](const Fragment &f) { return Rgba{shade(f, rgb(50, 190, 60), kLedgeLight)}; });
    return r.resolve();
}

QImage seeThroughBlock(int scale)
{
    Raster r = newRaster(scale);
    drawLedge(r);
    const Mesh block = transformed(box({0.62, 0.62, 0.55}), rotateY(0.35), 1, {0.05, 0.45, 0.72});
    auto glass = [](const Fragment &f) {
        const Light light{kLedgeLight.toLight, 0.35, 0.6, 30};
        return Rgba{shade(f, rgb(70, 230, 90), light), 0.42};
    };
    r.draw(block, glass, {Blend::Alpha, true, false, Cull::Front});
    r.draw(block, glass, {Blend::Alpha, true, false, Cull::Back});
    return r.resolve();
}

// ---------------------------------------------------------------- frame rate

QImage frameRate(bool shown, int scale)
{
    Raster r = newRaster(scale);
    drawArena(r);
    Overlay o(r);
    o->setPen(Qt::NoPen);
    o->setBrush(Qt::black);
    o->drawRect(QRectF(0, 0, 54, 16));
    if (shown)
        drawText(*o, "FPS: 41", QPointF(4, 4.2), 7.6, 1.25, Qt::white);
    return r.resolve();
}

// ---------------------------------------------------------------- masking

// Coverage of a shape drawn by `paint` in picture units, at output resolution.
std::vector<double> coverage(const std::function<void(QPainter &)> &paint, int scale)
{
    const int size = kPreviewSize * scale;
    const int n = size * kSupersample;
    QImage img(n, n, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(kSupersample * scale, kSupersample * scale);
        paint(p);
    }
    std::vector<double> out(static_cast<size_t>(size * size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum = 0;
            for (int sy = 0; sy < kSupersample; ++sy)
                for (int sx = 0; sx < kSupersample; ++sx)
                    sum += qRed(img.pixel(x * kSupersample + sx, y * kSupersample + sy));
            out[static_cast<size_t>(y * size + x)] = sum / (255.0 * kSupersample * kSupersample);
        }
    return out;
}

QImage maskedPanel(bool masked, int scale)
{
    Raster r = newRaster(scale);
    drawArena(r);
    const QImage scene = r.resolve();

    const QRectF panel(25, 46, 80, 60);  // runs off the bottom right corner
    const double corner = masked ? 13 : 0;
    auto panelShape = [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(panel, corner, corner);
    };
    auto textShape = [](QPainter &p) { drawText(p, "/10", QPointF(44, 57), 15, 2.6, Qt::white); };
    const std::vector<double> panelCover = coverage(panelShape, scale);
    const std::vector<double> textCover = coverage(textShape, scale);

    // The panel's own look: green with a lit rim.
    const std::vector<double> rimCover = coverage(
        [&](QPainter &p) {
            p.setPen(QPen(Qt::white, 2.2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(panel.adjusted(1.1, 1.1, 0, 0), std::max(0.0, corner - 1), std::max(0.0, corner - 1));
        },
        scale);

    const int size = kPreviewSize * scale;
    QImage out(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y * size + x);
            const Vec3 under = fromRgb(scene.pixel(x, y));
            const double unitY = (y + 0.5) / scale - 0.5;  // y itself in the plain picture
            const double shadeAcross = 0.85 + 0.15 * (1 - (unitY - 46) / 40.0);
            Vec3 panelColour = mix(rgb(30, 150, 50) * shadeAcross, rgb(150, 240, 150), rimCover[i]);
            // The mask lets every other pixel of the scene through; the
            // larger copy keeps the plain picture's checkerboard.
            double alpha = panelCover[i];
            if (masked && ((x / scale + y / scale) & 1))
                alpha = 0;
            Vec3 c = mix(under, panelColour, alpha);
            c = mix(c, rgb(235, 255, 220), textCover[i]);
            out.setPixel(x, y, toRgb(c));
        }
    return out;
}

// ---------------------------------------------------------------- mirror

Texture emblemTexture()
{
    QImage img(256, 256, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 14));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(128, 128), 108, 108);
    // A coiled snake inside the ring.
    QPainterPath s;
    s.moveTo(70, 190);
    s.cubicTo(40, 130, 110, 120, 128, 128);
    s.cubicTo(146, 136, 216, 126, 186, 66);
    p.setPen(QPen(Qt::white, 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(s);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(186, 62), 22, 18);
    p.end();
    return Texture(img);
}

QImage mirrorFloor(bool reflect, int scale)
{
    Raster r = newRaster(scale);
    r.fill(skyBackdrop);
    r.setCamera({0, 3.3, 3.1}, {0, 0, -0.9}, {0, 1, 0}, 50);
    const SceneObjects objects = sceneObjects({0.2, 0, -2.1}, 0.2, 9, {-1.0, 0, 0.2}, true);
    if (reflect) {
        SceneObjects mirrored{mirroredY(objects.snake), mirroredY(objects.fruit), mirroredY(objects.pillars)};
        drawObjects(r, mirrored);
        r.draw(mirroredY(backWall()), wallShader);
        r.clearDepth();
    }
    const Texture emblem = emblemTexture();
    const double emblemRadius = 1.0;
    const Vec3 emblemAt{0, 0, -0.6};
    auto floor = [&](const Fragment &f) {
        Vec3 albedo = stone(f.pos.x * 0.8, f.pos.z * 0.8, rgb(70, 68, 84), 59);
        const double eu = (f.pos.x - emblemAt.x) / (2 * emblemRadius) + 0.5;
        const double ev = (f.pos.z - emblemAt.z) / (2 * emblemRadius) + 0.5;
        if (eu > 0 && eu < 1 && ev > 0 && ev < 1)
            albedo = mix(albedo, rgb(235, 200, 40), emblem.sample(eu, ev).x);
        // A polished floor lets part of the reflection through.
        return Rgba{shade(f, albedo, kSceneLight), reflect ? 0.62 : 1.0};
    };
    r.draw(floorMesh(), floor, {reflect ? Blend::Alpha : Blend::Opaque, true, true, Cull::Back});
    r.draw(backWall(), wallShader);
    drawObjects(r, objects);
    return r.resolve();
}

// ---------------------------------------------------------------- particles

QImage particles(int scale)
{
    Raster r = newRaster(scale);
    r.fill(skyBackdrop);
    r.setCamera({0, 2.4, 3.4}, {0, 0, -1.6}, {0, 1, 0}, 50);
    r.draw(floorMesh(), [](const Fragment &f) {
        const Light dim{kSceneLight.toLight, 0.2, 0.2, 30};
        return Rgba{shade(f, stone(f.pos.x, f.pos.z, rgb(60, 58, 70), 67), dim)};
    });
    r.draw(backWall(), wallShader);
    Overlay o(r);
    o->setCompositionMode(QPainter::CompositionMode_Plus);
    o->setPen(Qt::NoPen);
    for (int i = 0; i < 64; ++i) {
        const Vec3 at{-3.2 + 6.4 * hashNoise(i, 1, 5), 0.05 + 0.5 * hashNoise(i, 2, 5), 1.8 - 8.5 * hashNoise(i, 3, 5)};
        double x, y, depth;
        if (!r.project(at, x, y, depth))
            continue;
        const bool green = hashNoise(i, 4, 5) < 0.55;
        const QColor core = green ? QColor(110, 255, 90) : QColor(255, 235, 80);
        const QColor halo = green ? QColor(20, 190, 30, 170) : QColor(220, 170, 10, 170);
        const double radius = std::clamp(8.0 / depth, 1.6, 4.4) * (0.8 + 0.5 * hashNoise(i, 6, 5));
        QRadialGradient g(QPointF(x, y), radius);
        g.setColorAt(0, core);
        g.setColorAt(0.35, halo);
        g.setColorAt(1, QColor(0, 0, 0, 0));
        o->setBrush(g);
        o->drawEllipse(QPointF(x, y), radius, radius);
    }
    return r.resolve();
}

}  // namespace

std::vector<Preview> renderPreviews(int scale)
{
    // One drawing for each name of the window's list (window/previewpictures.h), in its order.
    std::vector<QImage> drawn;
    for (int i = 0; i <= 8; ++i)
        drawn.push_back(sphereDetail(i, scale));
    for (int i = 0; i <= 6; ++i)
        drawn.push_back(odometerDetail(i, scale));
    // clang-format off
    drawn.insert(drawn.end(), {
        scoreFlat(scale), scoreDrums(scale),
        levelReadout(false, scale), levelReadout(true, scale),
        jaggedSolid(scale), seeThroughBlock(scale),
        frameRate(false, scale), frameRate(true, scale),
        maskedPanel(false, scale), maskedPanel(true, scale),
        mirrorFloor(false, scale), mirrorFloor(true, scale),
        particles(scale),
    });
    // clang-format on
    if (drawn.size() != PreviewPictures.size())
        throw std::logic_error("the drawings and the window's list of pictures differ in number");
    std::vector<Preview> out;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        out.push_back({text(PreviewPictures[i]), std::move(drawn[i])});
    }
    return out;
}

QByteArray encodeJpeg(const QImage &image)
{
    constexpr int kJpegQuality = 80;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "JPEG", kJpegQuality))
        return {};
    return data;
}

// ---------------------------------------------------------------- icon

namespace {

// The emblem in a 32-unit square: a snake on a red ground, a spanner across.
void paintIcon(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient ground(0, 0, 32, 32);
    ground.setColorAt(0, QColor(224, 40, 34));
    ground.setColorAt(1, QColor(150, 14, 14));
    p.fillRect(QRectF(0, 0, 32, 32), ground);

    // Snake: an S from the lower left up to a head at the upper right.
    QPainterPath body;
    body.moveTo(5, 27);
    body.cubicTo(2, 19, 14, 19, 16, 16);
    body.cubicTo(18, 13, 11, 8, 17, 5.5);
    p.setPen(QPen(QColor(10, 60, 15), 6.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    p.setPen(QPen(QColor(60, 200, 60), 4.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    p.setPen(QPen(QColor(10, 60, 15), 1));
    p.setBrush(QColor(70, 215, 70));
    p.drawEllipse(QPointF(20.5, 5.5), 4.2, 3.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 60));
    p.drawEllipse(QPointF(21.5, 4.4), 1.1, 1.1);
    p.setPen(QPen(QColor(255, 230, 90), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24.5, 6.2), QPointF(27.3, 7.4));

    // Spanner: handle from lower right to upper left, open jaw at the top.
    p.save();
    p.translate(16, 16);
    p.rotate(-45 - 90);
    QPainterPath spanner;
    spanner.addRoundedRect(QRectF(-11, -2, 19, 4), 1.6, 1.6);
    QPainterPath head;
    head.addEllipse(QPointF(10.5, 0), 5.2, 5.2);
    QPainterPath jaw;
    jaw.addRect(QRectF(10.5, -2.1, 7, 4.2));
    spanner = spanner.united(head).subtracted(jaw);
    QPainterPath ring;
    ring.addEllipse(QPointF(-11.5, 0), 3.6, 3.6);
    QPainterPath hole;
    hole.addEllipse(QPointF(-11.5, 0), 1.7, 1.7);
    spanner = spanner.united(ring).subtracted(hole);
    QLinearGradient steel(0, -5, 0, 5);
    steel.setColorAt(0, QColor(225, 228, 232));
    steel.setColorAt(1, QColor(120, 124, 130));
    p.setPen(QPen(QColor(45, 45, 50), 0.9));
    p.setBrush(steel);
    p.drawPath(spanner);
    p.restore();
}

}  // namespace

QImage renderIcon(int size)
{
    constexpr int kIconSupersample = 8;
    QImage big(size * kIconSupersample, size * kIconSupersample, QImage::Format_RGB32);
    big.fill(Qt::black);
    {
        QPainter p(&big);
        p.scale(size * kIconSupersample / 32.0, size * kIconSupersample / 32.0);
        paintIcon(p);
    }
    QImage out(size, size, QImage::Format_RGB888);
    const int n = kIconSupersample * kIconSupersample;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kIconSupersample; ++sy)
                for (int sx = 0; sx < kIconSupersample; ++sx) {
                    const QRgb c = big.pixel(x * kIconSupersample + sx, y * kIconSupersample + sy);
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                }
            out.setPixel(x, y, qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
        }
    return out;
}

QByteArray icoFile(const std::vector<QImage> &images)
{
    auto put16 = [](QByteArray &a, int v) {
        a.append(static_cast<char>(v & 0xff));
        a.append(static_cast<char>((v >> 8) & 0xff));
    };
    auto put32 = [](QByteArray &a, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            a.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    // Each entry is a bottom-up 24-bit DIB with doubled height, followed by
    // an all-clear AND mask (the icon is square and fully opaque).
    std::vector<QByteArray> entries;
    for (const QImage &src : images) {
        const QImage img = src.convertToFormat(QImage::Format_RGB32);
        const int w = img.width(), h = img.height();
        const int rowBytes = (w * 3 + 3) & ~3;
        const int maskBytes = ((w + 31) / 32) * 4;
        QByteArray e;
        put32(e, 40);
        put32(e, static_cast<uint32_t>(w));
        put32(e, static_cast<uint32_t>(h * 2));
        put16(e, 1);
        put16(e, 24);
        put32(e, 0);
        put32(e, static_cast<uint32_t>((rowBytes + maskBytes) * h));
        put32(e, 0);
        put32(e, 0);
        put32(e, 0);
        put32(e, 0);
        for (int y = h - 1; y >= 0; --y) {
            QByteArray row;
            for (int x = 0; x < w; ++x) {
                const QRgb c = img.pixel(x, y);
                row.append(static_cast<char>(qBlue(c)));
                row.append(static_cast<char>(qGreen(c)));
                row.append(static_cast<char>(qRed(c)));
            }
            row.append(QByteArray(rowBytes - row.size(), '\0'));
            e.append(row);
        }
        e.append(QByteArray(maskBytes * h, '\0'));
        entries.push_back(e);
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<int>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int w = images[i].width(), h = images[i].height();
        out.append(static_cast<char>(w >= 256 ? 0 : w));
        out.append(static_cast<char>(h >= 256 ? 0 : h));
        out.append('\0');  // no palette
        out.append('\0');
        put16(out, 1);  // planes
        put16(out, 24);  // bits per pixel
        put32(out, static_cast<uint32_t>(entries[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const auto &e : entries)
        out.append(e);
    return out;
}

}  // namespace trelvane::render

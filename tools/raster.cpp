#include "tools/raster.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace trelvane::render {

Mat3 operator*(const Mat3 &a, const Mat3 &b)
{
    const Vec3 c0{b.r0.x, b.r1.x, b.r2.x};
    const Vec3 c1{b.r0.y, b.r1.y, b.r2.y};
    const Vec3 c2{b.r0.z, b.r1.z, b.r2.z};
    Mat3 m;
    m.r0 = {dot(a.r0, c0), dot(a.r0, c1), dot(a.r0, c2)};
    m.r1 = {dot(a.r1, c0), dot(a.r1, c1), dot(a.r1, c2)};
    m.r2 = {dot(a.r2, c0), dot(a.r2, c1), dot(a.r2, c2)};
    return m;
}

Mat3 rotateX(double t)
{
    Mat3 m;
    m.r1 = {0, std::cos(t), -std::sin(t)};
    m.r2 = {0, std::sin(t), std::cos(t)};
    return m;
}

Mat3 rotateY(double t)
{
    Mat3 m;
    m.r0 = {std::cos(t), 0, std::sin(t)};
    m.r2 = {-std::sin(t), 0, std::cos(t)};
    return m;
}

Mat3 rotateZ(double t)
{
    Mat3 m;
    m.r0 = {std::cos(t), -std::sin(t), 0};
    m.r1 = {std::sin(t), std::cos(t), 0};
    return m;
}

Mat3 rotateOnto(Vec3 from, Vec3 to)
{
    from = normalize(from);
    to = normalize(to);
    const Vec3 v = cross(from, to);
    const double c = dot(from, to);
    if (c < -0.999999) {
        // Half a turn about any axis perpendicular to `from`.
        const Vec3 axis = normalize(std::abs(from.x) < 0.9 ? cross(from, {1, 0, 0}) : cross(from, {0, 1, 0}));
        Mat3 m;
        m.r0 = {2 * axis.x * axis.x - 1, 2 * axis.x * axis.y, 2 * axis.x * axis.z};
        m.r1 = {2 * axis.y * axis.x, 2 * axis.y * axis.y - 1, 2 * axis.y * axis.z};
        m.r2 = {2 * axis.z * axis.x, 2 * axis.z * axis.y, 2 * axis.z * axis.z - 1};
        return m;
    }
    const double k = 1.0 / (1.0 + c);
    Mat3 m;
    m.r0 = {1 - k * (v.y * v.y + v.z * v.z), -v.z + k * v.x * v.y, v.y + k * v.x * v.z};
    m.r1 = {v.z + k * v.x * v.y, 1 - k * (v.x * v.x + v.z * v.z), -v.x + k * v.y * v.z};
    m.r2 = {-v.y + k * v.x * v.z, v.x + k * v.y * v.z, 1 - k * (v.x * v.x + v.y * v.y)};
    return m;
}

namespace {

// Adds a triangle wound so that its face points along `outward`.
void addTriangle(Mesh &mesh, Vertex a, Vertex b, Vertex c, Vec3 outward, int tag = 0)
{
    if (dot(cross(b.pos - a.pos, c.pos - a.pos), outward) < 0)
        std::swap(b, c);
    Triangle t;
    t.v[0] = a;
    t.v[1] = b;
    t.v[2] = c;
    t.tag = tag;
    mesh.push_back(t);
}

void sphericalUv(Vertex &v)
{
    const Vec3 n = normalize(v.pos);
    v.u = std::atan2(n.x, n.z) / (2 * kPi) + 0.5;
    v.v = std::acos(std::clamp(n.y, -1.0, 1.0)) / kPi;
}

// A convex solid from its corner list and faces (corner triangles), centred
// on the origin.
Mesh solid(const std::vector<Vec3> &corners, const std::vector<std::array<int, 3>> &faces, double radius)
{
    Mesh mesh;
    for (const auto &f : faces) {
        Vertex v[3];
        for (int i = 0; i < 3; ++i)
            v[i].pos = normalize(corners[static_cast<size_t>(f[static_cast<size_t>(i)])]) * radius;
        const Vec3 n = normalize(cross(v[1].pos - v[0].pos, v[2].pos - v[0].pos));
        const Vec3 centre = (v[0].pos + v[1].pos + v[2].pos) * (1.0 / 3);
        const Vec3 outward = dot(n, centre) < 0 ? -n : n;
        for (auto &x : v) {
            x.normal = outward;
            sphericalUv(x);
        }
        addTriangle(mesh, v[0], v[1], v[2], outward);
    }
    return mesh;
}

}  // namespace

Mesh tetrahedron(double radius)
{
    return solid({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}},
                 {{{0, 1, 2}}, {{0, 1, 3}}, {{0, 2, 3}}, {{1, 2, 3}}}, radius);
}

Mesh octahedron(double radius)
{
    return solid(
        {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}},
        {{{0, 2, 4}}, {{2, 1, 4}}, {{1, 3, 4}}, {{3, 0, 4}}, {{2, 0, 5}}, {{1, 2, 5}}, {{3, 1, 5}}, {{0, 3, 5}}},
        radius);
}

Mesh icosphere(int frequency, double radius, bool flat)
{
    const double p = (1 + std::sqrt(5.0)) / 2;
    const std::vector<Vec3> c = {{-1, p, 0},  {1, p, 0},  {-1, -p, 0}, {1, -p, 0}, {0, -1, p},  {0, 1, p},
                                 {0, -1, -p}, {0, 1, -p}, {p, 0, -1},  {p, 0, 1},  {-p, 0, -1}, {-p, 0, 1}};
    const int faces[20][3] = {{0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                              {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                              {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    Mesh mesh;
    const int n = std::max(1, frequency);
    for (const auto &f : faces) {
        const Vec3 A = c[static_cast<size_t>(f[0])], B = c[static_cast<size_t>(f[1])], C = c[static_cast<size_t>(f[2])];
        auto point = [&](int i, int j) {
            // i steps from A towards B, j from A towards C.
            const Vec3 q = A + (B - A) * (double(i) / n) + (C - A) * (double(j) / n);
            return normalize(q) * radius;
        };
        auto addFace = [&](Vec3 a, Vec3 b, Vec3 d) {
            Vertex v[3];
            v[0].pos = a;
            v[1].pos = b;
            v[2].pos = d;
            const Vec3 centre = (a + b + d) * (1.0 / 3);
            Vec3 fn = normalize(cross(b - a, d - a));
            if (dot(fn, centre) < 0)
                fn = -fn;
            for (auto &x : v) {
                x.normal = flat ? fn : normalize(x.pos);
                sphericalUv(x);
            }
            addTriangle(mesh, v[0], v[1], v[2], fn);
        };
        for (int i = 0; i < n; ++i) {
            for (int j = 0; i + j < n; ++j) {
                addFace(point(i, j), point(i + 1, j), point(i, j + 1));
                if (i + j + 1 < n)
                    addFace(point(i + 1, j), point(i + 1, j + 1), point(i, j + 1));
            }
        }
    }
    return mesh;
}

Mesh uvSphere(int segments, int rings, double radius, bool flat)
{
    Mesh mesh;
    auto at = [&](int s, int r) {
        const double theta = kPi * r / rings;
        const double phi = 2 * kPi * s / segments;
        Vertex v;
        v.normal = {std::sin(theta) * std::sin(phi), std::cos(theta), std::sin(theta) * std::cos(phi)};
        v.pos = v.normal * radius;
        v.u = double(s) / segments;
        v.v = double(r) / rings;
        return v;
    };
    auto addFace = [&](Vertex a, Vertex b, Vertex c) {
        const Vec3 centre = (a.pos + b.pos + c.pos) * (1.0 / 3);
        Vec3 fn = normalize(cross(b.pos - a.pos, c.pos - a.pos));
        if (dot(fn, centre) < 0)
            fn = -fn;
        if (flat)
            a.normal = b.normal = c.normal = fn;
        addTriangle(mesh, a, b, c, fn);
    };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const Vertex a = at(s, r), b = at(s + 1, r), c = at(s + 1, r + 1), d = at(s, r + 1);
            if (r > 0)
                addFace(a, b, c);
            if (r < rings - 1)
                addFace(a, c, d);
        }
    }
    return mesh;
}

Mesh cylinderX(int sides, double radius, double halfLength, bool flat, double phase)
{
    Mesh mesh;
    for (int i = 0; i < sides; ++i) {
        const double t0 = phase + 2 * kPi * i / sides;
        const double t1 = phase + 2 * kPi * (i + 1) / sides;
        const double tm = (t0 + t1) / 2;
        const Vec3 n0{0, std::sin(t0), std::cos(t0)};
        const Vec3 n1{0, std::sin(t1), std::cos(t1)};
        const Vec3 nm{0, std::sin(tm), std::cos(tm)};
        const double u0 = double(i) / sides, u1 = double(i + 1) / sides;
        Vertex a{{-halfLength, n0.y * radius, n0.z * radius}, flat ? nm : n0, u0, 0};
        Vertex b{{halfLength, n0.y * radius, n0.z * radius}, flat ? nm : n0, u0, 1};
        Vertex c{{halfLength, n1.y * radius, n1.z * radius}, flat ? nm : n1, u1, 1};
        Vertex d{{-halfLength, n1.y * radius, n1.z * radius}, flat ? nm : n1, u1, 0};
        addTriangle(mesh, a, b, c, nm, 0);
        addTriangle(mesh, a, c, d, nm, 0);
        for (int end = 0; end < 2; ++end) {
            const double x = end == 0 ? -halfLength : halfLength;
            const Vec3 n{end == 0 ? -1.0 : 1.0, 0, 0};
            Vertex centre{{x, 0, 0}, n, 0.5, 0.5};
            Vertex p{{x, n0.y * radius, n0.z * radius}, n, 0.5 + 0.5 * n0.z, 0.5 - 0.5 * n0.y};
            Vertex q{{x, n1.y * radius, n1.z * radius}, n, 0.5 + 0.5 * n1.z, 0.5 - 0.5 * n1.y};
            addTriangle(mesh, centre, p, q, n, 1 + end);
        }
    }
    return mesh;
}

Mesh box(Vec3 h)
{
    Mesh mesh;
    const Vec3 normals[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int f = 0; f < 6; ++f) {
        const Vec3 n = normals[f];
        // Two in-face axes.
        const Vec3 a = std::abs(n.y) > 0.5 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        const Vec3 b = cross(n, a);
        auto corner = [&](double s, double t) {
            Vertex v;
            v.pos = Vec3{n.x * h.x, n.y * h.y, n.z * h.z} + Vec3{a.x * h.x, a.y * h.y, a.z * h.z} * s +
                    Vec3{b.x * h.x, b.y * h.y, b.z * h.z} * t;
            v.normal = n;
            v.u = (s + 1) / 2;
            v.v = (t + 1) / 2;
            return v;
        };
        const Vertex p0 = corner(-1, -1), p1 = corner(1, -1), p2 = corner(1, 1), p3 = corner(-1, 1);
        addTriangle(mesh, p0, p1, p2, n, f);
        addTriangle(mesh, p0, p2, p3, n, f);
    }
    return mesh;
}

Mesh spike(int sides, double radius, double height, double phase)
{
    Mesh mesh;
    const Vec3 apex{0, height, 0};
    for (int i = 0; i < sides; ++i) {
        const double t0 = phase + 2 * kPi * i / sides, t1 = phase + 2 * kPi * (i + 1) / sides;
        const Vec3 p{radius * std::cos(t0), 0, radius * std::sin(t0)};
        const Vec3 q{radius * std::cos(t1), 0, radius * std::sin(t1)};
        Vec3 n = normalize(cross(q - p, apex - p));
        const Vec3 mid = (p + q + apex) * (1.0 / 3);
        const Vec3 outward{mid.x, 0, mid.z};
        if (dot(n, outward) < 0)
            n = -n;
        addTriangle(mesh, {p, n, 0, 1}, {q, n, 1, 1}, {apex, n, 0.5, 0}, outward);
    }
    return mesh;
}

Mesh quad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, int tag)
{
    const Vec3 n = normalize(cross(p1 - p0, p3 - p0));
    Mesh mesh;
    Triangle t1{{{p0, n, 0, 0}, {p1, n, 1, 0}, {p2, n, 1, 1}}, tag};
    Triangle t2{{{p0, n, 0, 0}, {p2, n, 1, 1}, {p3, n, 0, 1}}, tag};
    mesh.push_back(t1);
    mesh.push_back(t2);
    return mesh;
}

Mesh transformed(const Mesh &mesh, const Mat3 &rotation, double scale, Vec3 offset)
{
    Mesh out = mesh;
    for (auto &t : out) {
        for (auto &v : t.v) {
            v.pos = rotation.apply(v.pos) * scale + offset;
            v.normal = rotation.apply(v.normal);
        }
    }
    return out;
}

void append(Mesh &to, const Mesh &from) { to.insert(to.end(), from.begin(), from.end()); }

Vec3 shade(const Fragment &f, Vec3 albedo, const Light &light)
{
    Vec3 n = f.normal;
    if (dot(n, f.toEye) < 0)
        n = -n;
    const double diffuse = std::max(0.0, dot(n, light.toLight));
    Vec3 c = albedo * (light.ambient + (1 - light.ambient) * diffuse);
    if (light.specular > 0) {
        const Vec3 h = normalize(light.toLight + f.toEye);
        const double s = std::pow(std::max(0.0, dot(n, h)), light.shininess) * light.specular;
        c = c + Vec3{s, s, s};
    }
    return c;
}

QRgb toRgb(Vec3 c)
{
    auto q = [](double v) { return static_cast<int>(clamp01(v) * 255.0 + 0.5); };
    return qRgb(q(c.x), q(c.y), q(c.z));
}

Vec3 fromRgb(QRgb c) { return rgb(qRed(c), qGreen(c), qBlue(c)); }

Raster::Raster(int width, int height, int supersample, int scale)
    : width_(width * scale), height_(height * scale), ss_(supersample), unit_(supersample * scale),
      sw_(width_ * supersample), sh_(height_ * supersample), samples_(sw_, sh_, QImage::Format_RGB32),
      depth_(static_cast<size_t>(sw_) * static_cast<size_t>(sh_), std::numeric_limits<double>::infinity())
{
    samples_.fill(Qt::black);
}

void Raster::setCamera(Vec3 eye, Vec3 target, Vec3 up, double fovYDegrees)
{
    eye_ = eye;
    forward_ = normalize(target - eye);
    right_ = normalize(cross(forward_, up));
    up_ = cross(right_, forward_);
    focal_ = (sh_ / 2.0) / std::tan(fovYDegrees * kPi / 360.0);
}

Vec3 Raster::toView(Vec3 p) const
{
    const Vec3 d = p - eye_;
    return {dot(d, right_), dot(d, up_), dot(d, forward_)};
}

bool Raster::project(Vec3 world, double &x, double &y, double &depth) const
{
    const Vec3 v = toView(world);
    if (v.z <= 1e-6)
        return false;
    x = (sw_ / 2.0 + v.x / v.z * focal_) / unit_;
    y = (sh_ / 2.0 - v.y / v.z * focal_) / unit_;
    depth = v.z;
    return true;
}

void Raster::fill(const std::function<Vec3(double, double)> &colour)
{
    for (int y = 0; y < sh_; ++y) {
        auto *line = reinterpret_cast<QRgb *>(samples_.scanLine(y));
        for (int x = 0; x < sw_; ++x)
            line[x] = toRgb(colour((x + 0.5) / unit_, (y + 0.5) / unit_));
    }
}

void Raster::clearDepth() { std::fill(depth_.begin(), depth_.end(), std::numeric_limits<double>::infinity()); }

void Raster::draw(const Mesh &mesh, const Shader &shader, DrawOptions options)
{
    constexpr double kNear = 0.05;
    for (const auto &t : mesh) {
        const Vec3 a = t.v[0].pos, b = t.v[1].pos, c = t.v[2].pos;
        const double facing = dot(cross(b - a, c - a), eye_ - a);
        if ((options.cull == Cull::Back && facing <= 0) || (options.cull == Cull::Front && facing >= 0))
            continue;
        std::vector<ClipVertex> poly;
        for (const auto &v : t.v)
            poly.push_back({toView(v.pos), v.pos, v.normal, v.u, v.v});
        // Clip against the near plane so that floors may reach behind the camera.
        std::vector<ClipVertex> clipped;
        for (size_t i = 0; i < poly.size(); ++i) {
            const ClipVertex &p = poly[i];
            const ClipVertex &q = poly[(i + 1) % poly.size()];
            const bool pin = p.view.z >= kNear, qin = q.view.z >= kNear;
            if (pin)
                clipped.push_back(p);
            if (pin != qin) {
                const double s = (kNear - p.view.z) / (q.view.z - p.view.z);
                clipped.push_back({mix(p.view, q.view, s), mix(p.world, q.world, s), mix(p.normal, q.normal, s),
                                   p.u + (q.u - p.u) * s, p.v + (q.v - p.v) * s});
            }
        }
        if (clipped.size() < 3)
            continue;
        std::vector<ScreenVertex> screen;
        for (const auto &v : clipped) {
            const double iz = 1.0 / v.view.z;
            screen.push_back({sw_ / 2.0 + v.view.x * iz * focal_, sh_ / 2.0 - v.view.y * iz * focal_, iz, v.world * iz,
                              v.normal * iz, v.u * iz, v.v * iz});
        }
        for (size_t i = 1; i + 1 < screen.size(); ++i)
            rasterize(screen[0], screen[i], screen[i + 1], t.tag, shader, options);
    }
}

void Raster::rasterize(const ScreenVertex &a, const ScreenVertex &b, const ScreenVertex &c, int tag,
                       const Shader &shader, const DrawOptions &options)
{
    const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (std::abs(area) < 1e-12)
        return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
    const int x1 = std::min(sw_ - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
    const int y1 = std::min(sh_ - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
    auto edge = [](const ScreenVertex &p, const ScreenVertex &q, double x, double y) {
        return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
    };
    for (int py = y0; py <= y1; ++py) {
        auto *line = reinterpret_cast<QRgb *>(samples_.scanLine(py));
        for (int px = x0; px <= x1; ++px) {
            const double sx = px + 0.5, sy = py + 0.5;
            const double w0 = edge(b, c, sx, sy) / area;
            const double w1 = edge(c, a, sx, sy) / area;
            const double w2 = edge(a, b, sx, sy) / area;
            if (w0 < 0 || w1 < 0 || w2 < 0)
                continue;
            const double invZ = w0 * a.invZ + w1 * b.invZ + w2 * c.invZ;
            const double z = 1.0 / invZ;
            const size_t idx = static_cast<size_t>(py) * static_cast<size_t>(sw_) + static_cast<size_t>(px);
            if (options.depthTest && z >= depth_[idx])
                continue;
            Fragment f;
            f.pos = (a.worldZ * w0 + b.worldZ * w1 + c.worldZ * w2) * z;
            f.normal = normalize(a.normalZ * w0 + b.normalZ * w1 + c.normalZ * w2);
            f.toEye = normalize(eye_ - f.pos);
            f.u = (a.uZ * w0 + b.uZ * w1 + c.uZ * w2) * z;
            f.v = (a.vZ * w0 + b.vZ * w1 + c.vZ * w2) * z;
            f.tag = tag;
            f.sx = sx / unit_;
            f.sy = sy / unit_;
            const Rgba src = shader(f);
            const Vec3 dst = fromRgb(line[px]);
            Vec3 out;
            switch (options.blend) {
            case Blend::Opaque: out = src.rgb; break;
            case Blend::Alpha: out = mix(dst, src.rgb, clamp01(src.a)); break;
            case Blend::Add: out = dst + src.rgb * src.a; break;
            }
            line[px] = toRgb(out);
            if (options.depthWrite)
                depth_[idx] = z;
        }
    }
}

QImage Raster::resolve() const
{
    QImage out(width_, height_, QImage::Format_RGB32);
    const double n = double(ss_) * ss_;
    for (int y = 0; y < height_; ++y) {
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < ss_; ++sy) {
                const auto *src = reinterpret_cast<const QRgb *>(samples_.constScanLine(y * ss_ + sy));
                for (int sx = 0; sx < ss_; ++sx) {
                    const QRgb p = src[x * ss_ + sx];
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                }
            }
            dst[x] = qRgb(static_cast<int>(r / n + 0.5), static_cast<int>(g / n + 0.5), static_cast<int>(b / n + 0.5));
        }
    }
    return out;
}

double hashNoise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffffu) / double(0xffffff);
}

double valueNoise(double x, double y, int seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = hashNoise(ix, iy, seed), b = hashNoise(ix + 1, iy, seed);
    const double c = hashNoise(ix, iy + 1, seed), d = hashNoise(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double fbm(double x, double y, int octaves, int seed)
{
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + i * 101) * amp;
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

}  // namespace trelvane::render

// A small software rasterizer for the preview pictures: perspective camera,
// z-buffer, near-plane clipping, per-sample shading callbacks and
// supersampling. Everything runs on the CPU in double precision with no
// randomness, so the same program always produces the same pixels.
#pragma once

#include <QImage>

#include <cmath>
#include <functional>
#include <vector>

namespace trelvane::render {

constexpr double kPi = 3.14159265358979323846;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline Vec3 operator*(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a)
{
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : a;
}
inline Vec3 mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
inline double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double smoothstep(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline Vec3 rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// Rotation matrix, stored by rows.
struct Mat3 {
    Vec3 r0{1, 0, 0}, r1{0, 1, 0}, r2{0, 0, 1};
    Vec3 apply(Vec3 v) const { return {dot(r0, v), dot(r1, v), dot(r2, v)}; }
};
Mat3 operator*(const Mat3 &a, const Mat3 &b);
Mat3 rotateX(double radians);
Mat3 rotateY(double radians);
Mat3 rotateZ(double radians);
// The rotation that turns direction `from` onto direction `to`.
Mat3 rotateOnto(Vec3 from, Vec3 to);

struct Vertex {
    Vec3 pos;
    Vec3 normal;
    double u = 0, v = 0;
};

struct Triangle {
    Vertex v[3];
    int tag = 0;  // lets a shader tell the parts of a mesh apart (cap, side...)
};

using Mesh = std::vector<Triangle>;

// Mesh builders. Closed solids are centred on the origin with the given size;
// triangles are wound counter-clockwise seen from outside. "flat" gives every
// triangle its face normal, otherwise the normals are the smooth ones.
Mesh tetrahedron(double radius);
Mesh octahedron(double radius);
Mesh icosphere(int frequency, double radius, bool flat);
Mesh uvSphere(int segments, int rings, double radius, bool flat);
// A cylinder lying along the x axis. u runs once around (0 at +z, rising
// towards +y), v from the -x end to the +x end. Side tag 0, caps tag 1 (-x)
// and 2 (+x).
Mesh cylinderX(int sides, double radius, double halfLength, bool flat, double phase = 0);
// An axis-aligned box; tags 0..5 for -x, +x, -y, +y, -z, +z.
Mesh box(Vec3 halfSize);
// A pyramid with an n-sided base of the given radius at y = 0 and apex at
// (0, height, 0); no base faces.
Mesh spike(int sides, double radius, double height, double phase);
// A single quad p0 p1 p2 p3 (counter-clockwise seen from the front) with uv
// (0,0) (1,0) (1,1) (0,1).
Mesh quad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, int tag = 0);

Mesh transformed(const Mesh &mesh, const Mat3 &rotation, double scale, Vec3 offset);
void append(Mesh &to, const Mesh &from);

struct Fragment {
    Vec3 pos;  // world position
    Vec3 normal;  // unit world normal
    Vec3 toEye;  // unit vector towards the camera
    double u = 0, v = 0;
    int tag = 0;
    double sx = 0, sy = 0;  // sample position in picture units
};

struct Rgba {
    Vec3 rgb;
    double a = 1;
};

using Shader = std::function<Rgba(const Fragment &)>;

enum class Blend { Opaque, Alpha, Add };
// Front culling draws only the far side of a solid: see-through solids are
// drawn far side first, then near side.
enum class Cull { None, Back, Front };

struct DrawOptions {
    Blend blend = Blend::Opaque;
    bool depthTest = true;
    bool depthWrite = true;
    Cull cull = Cull::Back;
};

struct Light {
    Vec3 toLight = normalize(Vec3{-0.5, 0.75, 0.6});
    double ambient = 0.2;
    double specular = 0.0;
    double shininess = 24;
};

// Lambert plus an optional Blinn highlight, the one lighting model of all
// pictures.
Vec3 shade(const Fragment &f, Vec3 albedo, const Light &light);

class Raster {
public:
    // width and height in picture units, the pixels of the plain picture;
    // `scale` output pixels per unit (2 for the copy for high-DPI screens),
    // `supersample` samples per output pixel along each axis.
    Raster(int width, int height, int supersample, int scale = 1);

    void setCamera(Vec3 eye, Vec3 target, Vec3 up, double fovYDegrees);
    Vec3 eye() const { return eye_; }

    // Fills every sample from a function of the position in picture units.
    void fill(const std::function<Vec3(double x, double y)> &colour);
    void clearDepth();
    void draw(const Mesh &mesh, const Shader &shader, DrawOptions options = {});

    // Projects a world point to picture units; false behind the camera.
    bool project(Vec3 world, double &x, double &y, double &depth) const;

    // The supersampled colour buffer, for 2D overlays: paint on it with a
    // QPainter scaled by samplesPerUnit().
    QImage &samples() { return samples_; }
    int samplesPerUnit() const { return unit_; }

    // The box-filtered output picture, `scale` times the unit size.
    QImage resolve() const;

private:
    struct ClipVertex {
        Vec3 view, world, normal;
        double u, v;
    };
    struct ScreenVertex {
        double x, y, invZ;
        Vec3 worldZ, normalZ;  // divided by view depth
        double uZ, vZ;
    };
    Vec3 toView(Vec3 p) const;
    void rasterize(const ScreenVertex &a, const ScreenVertex &b, const ScreenVertex &c, int tag, const Shader &shader,
                   const DrawOptions &options);

    int width_, height_, ss_;  // output pixels; samples per output pixel
    int unit_;  // samples per unit: supersample times scale
    int sw_, sh_;
    QImage samples_;
    std::vector<double> depth_;
    Vec3 eye_{0, 0, 5}, right_{1, 0, 0}, up_{0, 1, 0}, forward_{0, 0, -1};
    double focal_ = 1;
};

QRgb toRgb(Vec3 c);
Vec3 fromRgb(QRgb c);

// Deterministic noise for textures.
double hashNoise(int x, int y, int seed);
double valueNoise(double x, double y, int seed);
double fbm(double x, double y, int octaves, int seed);

}  // namespace trelvane::render

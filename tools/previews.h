// The preview pictures of the configuration window and the window icon,
// rendered from scratch by the software rasterizer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace trelvane::render {

constexpr int kPreviewSize = 85;

// High-DPI screens get every picture drawn again at this many pixels per
// pixel of the plain picture: the same scene, not the plain one enlarged.
constexpr int kHighDpiScale = 2;

struct Preview {
    QString name;  // file name without the scale suffix and the .jpg extension
    QImage image;  // kPreviewSize times the scale square, RGB
};

// The 29 distinct pictures in a fixed order, `scale` pixels per pixel of the
// plain picture.
std::vector<Preview> renderPreviews(int scale = 1);

// The pictures' file form: baseline JPEG at the one quality that keeps
// their detail in about two kilobytes each.
QByteArray encodeJpeg(const QImage &image);

// The sizes of the window icon, in pixels square; 32 is the plain window's.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The emblem icon at `size` pixels square, RGB without alpha.
QImage renderIcon(int size);

// A Windows icon file holding the given square RGB images as 24-bit bitmaps.
QByteArray icoFile(const std::vector<QImage> &images);

}  // namespace trelvane::render

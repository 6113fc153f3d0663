// The preview pictures of the configuration window and the window icon,
// rendered from scratch by the software rasterizer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace trelvane::render {

constexpr int kPreviewSize = 85;

struct Preview {
    QString name; // file name without the .jpg extension
    QImage image; // kPreviewSize square, RGB
};

// The 29 distinct pictures in a fixed order.
std::vector<Preview> renderPreviews();

// The pictures' file form: baseline JPEG at the one quality that keeps
// their detail in about two kilobytes each.
QByteArray encodeJpeg(const QImage &image);

// The emblem icon at `size` pixels square, RGB without alpha.
QImage renderIcon(int size);

// A Windows icon file holding the given square RGB images as 24-bit bitmaps.
QByteArray icoFile(const std::vector<QImage> &images);

} // namespace trelvane::render

// Writes every preview picture, plain and at twice the size for high-DPI
// screens, and the window icon at each size into an assets folder:
//   render_previews <assets-dir>
// The output depends on nothing but this program, so running it again
// reproduces the committed files byte for byte.
#include "tools/previews.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <cstdio>
#include <vector>

namespace {

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeImage(const QString &path, const QImage &image, const char *format, int quality)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_previews <assets-dir>\n");
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    if (!assets.mkpath("previews") || !assets.mkpath("icon")) {
        std::fprintf(stderr, "cannot create folders under %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (const int scale : {1, trelvane::render::kHighDpiScale}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        for (const auto &p : trelvane::render::renderPreviews(scale)) {
            const QString file = p.name + suffix + ".jpg";
            const QString path = assets.filePath("previews/" + file);
            const QByteArray jpeg = trelvane::render::encodeJpeg(p.image);
            if (jpeg.isEmpty())
                std::fprintf(stderr, "cannot encode %s\n", qPrintable(file));
            ok = !jpeg.isEmpty() && writeFile(path, jpeg) && ok;
            std::printf("%-25s %6lld bytes\n", qPrintable(file), static_cast<long long>(QFileInfo(path).size()));
        }
    }
    std::vector<QImage> icons;
    for (const int size : trelvane::render::kIconSizes) {
        icons.push_back(trelvane::render::renderIcon(size));
        ok = writeImage(assets.filePath(QStringLiteral("icon/trelvane-%1.png").arg(size)), icons.back(), "png", -1) &&
             ok;
    }
    ok = writeFile(assets.filePath("icon/trelvane.ico"), trelvane::render::icoFile(icons)) && ok;
    return ok ? 0 : 1;
}

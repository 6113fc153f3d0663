// Writes every preview picture and the window icon into an assets folder:
//   render_previews <assets-dir>
// The output depends on nothing but this program, so running it again
// reproduces the committed files byte for byte.
#include "previews.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <cstdio>

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

} // namespace

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
    for (const auto &p : trelvane::render::renderPreviews()) {
        const QString path = assets.filePath("previews/" + p.name + ".jpg");
        const QByteArray jpeg = trelvane::render::encodeJpeg(p.image);
        if (jpeg.isEmpty())
            std::fprintf(stderr, "cannot encode %s\n", qPrintable(p.name));
        ok = !jpeg.isEmpty() && writeFile(path, jpeg) && ok;
        std::printf("%-22s %6lld bytes\n", qPrintable(p.name + ".jpg"), static_cast<long long>(QFileInfo(path).size()));
    }
    const QImage icon = trelvane::render::renderIcon(32);
    ok = writeImage(assets.filePath("icon/trelvane.png"), icon, "png", -1) && ok;
    ok = writeFile(assets.filePath("icon/trelvane.ico"),
                   trelvane::render::icoFile({trelvane::render::renderIcon(16), icon, trelvane::render::renderIcon(48)})) &&
         ok;
    return ok ? 0 : 1;
}

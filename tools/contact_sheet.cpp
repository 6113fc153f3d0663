// Lays every preview picture and the icon out on one labelled sheet for
// review:  contact_sheet <assets-dir> <out.png> [scale [name-filter]]
// A filter keeps only the pictures whose name contains it.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>
#include <utility>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: contact_sheet <assets-dir> <out.png> [scale [name-filter]]\n");
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    const int scale = argc >= 4 ? std::max(1, QString::fromLocal8Bit(argv[3]).toInt()) : 1;
    const QString filter = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString();

    // Window order; particles-off shows the transparency-off file.
    std::vector<std::pair<QString, QString>> items;
    for (int i = 0; i <= 8; ++i)
        items.push_back({QString("sphere-detail-%1").arg(i), QString("previews/sphere-detail-%1.jpg").arg(i)});
    for (int i = 0; i <= 6; ++i)
        items.push_back({QString("odometer-detail-%1").arg(i), QString("previews/odometer-detail-%1.jpg").arg(i)});
    for (const char *option : {"score", "level", "transparency", "fps", "mask", "mirror"}) {
        for (const char *state : {"off", "on"}) {
            const QString name = QString("%1-%2").arg(option, state);
            items.push_back({name, "previews/" + name + ".jpg"});
        }
    }
    items.push_back({"particles-off", "previews/transparency-off.jpg"});
    items.push_back({"particles-on", "previews/particles-on.jpg"});
    items.push_back({"icon", "icon/trelvane-32.png"});
    std::erase_if(items, [&](const auto &item) { return !item.first.contains(filter); });

    const int columns = std::min<int>(8, std::max<int>(1, static_cast<int>(items.size())));
    const int cell = 85 * scale;
    const int labelHeight = 14 + 4 * scale;
    const int pad = 6 * scale;
    const int rows = static_cast<int>((items.size() + columns - 1) / columns);
    QImage sheet(columns * (cell + pad) + pad, rows * (cell + labelHeight + pad) + pad, QImage::Format_RGB32);
    sheet.fill(QColor(212, 208, 200));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(9 + 2 * scale);
    p.setFont(font);
    int missing = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        const int x = pad + col * (cell + pad), y = pad + row * (cell + labelHeight + pad);
        QImage img(assets.filePath(items[i].second));
        if (img.isNull()) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(items[i].second));
            ++missing;
            continue;
        }
        p.drawImage(QPoint(x, y), img.scaled(img.width() * scale, img.height() * scale));
        p.setPen(Qt::black);
        p.drawText(QRect(x, y + cell, cell + pad, labelHeight), Qt::AlignLeft | Qt::AlignVCenter, items[i].first);
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return missing == 0 ? 0 : 1;
}

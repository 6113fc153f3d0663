// Lays every preview picture and the icon out on one labelled sheet for
// review:  contact_sheet <assets-dir> <out.png> [scale [name-filter]]
// A filter keeps only the pictures whose name contains it.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include "app/text.h"
#include "window/layouttable.h"
#include "window/previewpictures.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using trelvane::text;

bool hasPicture(const QString &name)
{
    return std::any_of(trelvane::PreviewPictures.begin(), trelvane::PreviewPictures.end(),
                       [&](std::string_view p) { return text(p) == name; });
}

// The layout's row that shows the picture `name`, or the picture of `field` at `index`.
const trelvane::ControlDef &pictureRow(std::string_view name)
{
    return *std::find_if(trelvane::WindowLayout.begin(), trelvane::WindowLayout.end(), [&](const auto &c) {
        return c.kind == trelvane::ControlKind::Picture && text(c.text) == text(name) + ".jpg";
    });
}

const trelvane::ControlDef &pictureRow(std::optional<trelvane::Field> field, int index)
{
    return *std::find_if(trelvane::WindowLayout.begin(), trelvane::WindowLayout.end(), [&](const auto &c) {
        return c.kind == trelvane::ControlKind::Picture && c.field == field && c.index == index;
    });
}

}  // namespace

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

    // The window's pictures in their list's order. An option with no "off" picture of
    // its own (particles) shows another one there: it stands again, under the option's name.
    std::vector<std::pair<QString, QString>> items;
    for (const std::string_view name : trelvane::PreviewPictures) {
        const QString shown = text(name);
        if (shown.endsWith("-on") && !hasPicture(shown.chopped(3) + "-off")) {
            const trelvane::ControlDef &off = pictureRow(pictureRow(name).field, 0);
            items.push_back({shown.chopped(3) + "-off", "previews/" + text(off.text)});
        }
        items.push_back({shown, "previews/" + shown + ".jpg"});
    }
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

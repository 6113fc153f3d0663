#include "appearance.h"

#include <QFontDatabase>
#include <QString>

namespace trelvane {

namespace {

// The family of the embedded font, registered with the first call.
const QString &fontFamily()
{
    static const QString family = [] {
        for (const char *style : {"Regular", "Bold"})
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/TrelvaneSans-%1.ttf").arg(QLatin1String(style)));
        return QStringLiteral("Trelvane Sans");
    }();
    return family;
}

}  // namespace

QFont windowFont()
{
    QFont f(fontFamily());
    f.setPixelSize(11);
    // Pinned rather than left to the desktop's settings: full hinting may
    // widen letters by a pixel and break the captions' fit.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

QIcon windowIconSet()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/trelvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace trelvane

#include "app/previewpicture.h"

#include <QLabel>

#include "window/pixels.h"

namespace trelvane {

QPixmap loadPicture(const QString &resource, qreal devicePixelRatio)
{
    if (showsSharpPictures(devicePixelRatio)) {
        QString sharp = resource;
        sharp.insert(sharp.lastIndexOf(u'.'), QStringLiteral("@2x"));
        QPixmap doubled(sharp);
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2);  // drawn in the same logical box
            return doubled;
        }
    }
    return QPixmap(resource);
}

void showPicture(QLabel &picture, const QString &resource, bool shown)
{
    if (shown && picture.pixmap().isNull())
        picture.setPixmap(loadPicture(resource, picture.devicePixelRatioF()));
    picture.setVisible(shown);
}

}  // namespace trelvane

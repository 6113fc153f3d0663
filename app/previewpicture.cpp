#include "app/previewpicture.h"

#include <QLabel>

namespace trelvane {

// From this many device pixels per pixel the picture drawn at twice the size
// is sharper than the plain one enlarged; below it, the plain one is shown as is.
constexpr qreal SharpPictureRatio = 1.5;

QPixmap loadPicture(const QString &resource, qreal devicePixelRatio)
{
    if (devicePixelRatio >= SharpPictureRatio) {
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

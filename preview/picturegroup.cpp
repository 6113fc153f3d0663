#include "preview/picturegroup.h"

#include <QLabel>
#include <QPixmap>

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

void PictureGroup::add(int index, QLabel *picture, const QString &resource)
{
    if (index >= size()) {
        pictures_.resize(index + 1, nullptr);
        resources_.resize(index + 1);
    }
    pictures_[index] = picture;
    resources_[index] = resource;
}

void PictureGroup::show(int index)
{
    QLabel *p = pictures_.at(index);
    if (p->pixmap().isNull())
        p->setPixmap(loadPicture(resources_.at(index), p->devicePixelRatioF()));
    p->setVisible(true);
}

void PictureGroup::hide(int index) { pictures_.at(index)->setVisible(false); }

bool PictureGroup::isShown(int index) const { return !pictures_.at(index)->isHidden(); }

int PictureGroup::shownCount() const
{
    int n = 0;
    for (int i = 0; i < size(); ++i)
        n += isShown(i) ? 1 : 0;
    return n;
}

void showToggle(PictureGroup &pair, int value)
{
    // Both flags are written every time, so a pair left in any state is mended.
    if (value == 0) {
        pair.show(0);
        pair.hide(1);
    } else {
        pair.hide(0);
        pair.show(1);
    }
}

void showDetail(PictureGroup &row, int index)
{
    for (int i = 0; i < row.size(); ++i)
        row.hide(i);
    if (index >= 0 && index < row.size())
        row.show(index);
}

}  // namespace trelvane

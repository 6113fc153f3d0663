#pragma once
// A row of preview pictures at one place in the window, one per value of its
// control, of which one is meant to be visible. Images are decoded the first
// time they are shown, so the window opens without decoding all thirty; on a
// screen of 1.5 device pixels per pixel or more, the copy drawn at twice the
// size is decoded instead.

#include <QPixmap>
#include <QString>
#include <vector>

class QLabel;

namespace trelvane {

class PictureGroup {
public:
    void add(int index, QLabel *picture, const QString &resource);

    int size() const { return static_cast<int>(pictures_.size()); }
    QLabel *picture(int index) const { return pictures_.at(index); }
    void show(int index);
    void hide(int index);
    bool isShown(int index) const;
    int shownCount() const;

private:
    std::vector<QLabel *> pictures_;
    std::vector<QString> resources_;
};

// The picture stored under `resource` as a screen of the given device pixel
// ratio shows it: the plain 85-pixel image, or from 1.5 up its "@2x" copy
// with device pixel ratio 2, so that it fills the same logical box.
QPixmap loadPicture(const QString &resource, qreal devicePixelRatio);

// Check-box preview: picture 0 when off, picture 1 when on (grayed counts as on).
void showToggle(PictureGroup &pair, int value);

// Detail-slider preview: hide the whole row, then show picture `index`.
void showDetail(PictureGroup &row, int index);

}  // namespace trelvane

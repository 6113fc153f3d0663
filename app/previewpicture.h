#pragma once
// A preview picture as a screen of a given pixel density shows it. Images are
// decoded the first time they are shown, so the window opens without decoding
// all thirty.

#include <QPixmap>
#include <QString>

class QLabel;

namespace trelvane {

// The picture stored under `resource` as a screen of the given device pixel
// ratio shows it: the plain 85-pixel image, or where showsSharpPictures()
// says so its "@2x" copy with device pixel ratio 2, so that it fills the same
// logical box.
QPixmap loadPicture(const QString &resource, qreal devicePixelRatio);

// Shows or hides a picture label, decoding its image on first show.
void showPicture(QLabel &picture, const QString &resource, bool shown);

}  // namespace trelvane

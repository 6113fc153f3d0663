#pragma once
// A row of preview pictures at one place in the window, one per value of its
// control, of which one is meant to be visible. Images are decoded the first
// time they are shown, so the window opens without decoding all thirty.

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

// Check-box preview: picture 0 when off, picture 1 when on (grayed counts as on).
void showToggle(PictureGroup &pair, int value);

// Detail-slider preview: hide the whole row, then show picture `index`.
void showDetail(PictureGroup &row, int index);

}  // namespace trelvane

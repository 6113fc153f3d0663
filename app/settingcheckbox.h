#pragma once
// A check box whose value is the file's number: 0 clear, 1 checked, 2 grayed.
// A click does not change it by itself: the window logic decides the new
// value (clear and checked only; only a loaded file grays a box).

#include <QCheckBox>

namespace trelvane {

class SettingCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    int value() const;
    void setValue(int v);  // 0, 1 or 2

protected:
    void nextCheckState() override {}
};

}  // namespace trelvane

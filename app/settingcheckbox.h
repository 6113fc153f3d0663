#pragma once
// A check box whose value is the file's number: 0 clear, 1 checked, 2 grayed.
// Only a loaded file can gray it; a click always goes between clear and checked.

#include <QCheckBox>

namespace trelvane {

class SettingCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    int value() const;
    void setValue(int v);  // 0, 1 or 2

protected:
    void nextCheckState() override;
};

}  // namespace trelvane

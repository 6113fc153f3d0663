#pragma once
// A check box whose value is the file's number: 0 clear, 1 checked, 2 grayed.
// A click does not change it by itself: the window logic decides the new
// value (clear and checked only; only a loaded file grays a box).
// Readers hear a grayed box as partly checked, and hear it when it stops or
// starts being grayed.

#include <QCheckBox>

namespace trelvane {

class SettingCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit SettingCheckBox(QWidget *parent = nullptr);

    int value() const;
    void setValue(int v);  // 0, 1 or 2

protected:
    void nextCheckState() override {}

private:
    void showState(Qt::CheckState state);
};

}  // namespace trelvane

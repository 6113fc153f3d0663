#pragma once
// A key binding's drop-down list. Screen readers hear it as its setting with
// the bound key ("Turn Left combo box, Left") and hear the new key at once
// when it changes. Its drop-down is wide enough for the longest key name, and
// where the box cuts the bound key's name the tooltip gives it whole. It takes
// the wheel only while it has the focus. While it waits for the player to
// press a key, its box shows a prompt in place of the key.

#include <QComboBox>

namespace trelvane {

class KeyList : public QComboBox {
    Q_OBJECT

public:
    explicit KeyList(QWidget *parent = nullptr);

    void showPopup() override;
    // Shown in the box in place of the key; empty: the key again.
    void setPrompt(const QString &prompt);
    // Readers hear the bound key, as when the player picks it from the list.
    void announceKey();

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    // Whether the box shows less than the whole name of the bound key.
    bool cutsKeyName() const;
    // What hovering the box shows: its tooltip, led by the key's whole name
    // when the box cuts it.
    QString shownToolTip() const;
    // The width the drop-down needs for the longest name without cutting it.
    int dropDownWidth() const;

    QString prompt_;
};

}  // namespace trelvane

#include "app/settingcheckbox.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace trelvane {

namespace {

// Qt reports a grayed box as checked and partly checked at once, which a
// reader speaks as "checked"; here it is partly checked only.
class SettingCheckBoxAccessible : public QAccessibleWidget {
public:
    explicit SettingCheckBoxAccessible(SettingCheckBox *box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? box()->text() : own;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = box()->value() == 1;
        s.checkStateMixed = box()->value() == 2;
        return s;
    }
    QStringList actionNames() const override { return QStringList(toggleAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString &name) override
    {
        if (name == toggleAction())
            box()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    SettingCheckBox *box() const { return static_cast<SettingCheckBox *>(widget()); }
};

QAccessibleInterface *checkBoxParts(const QString &className, QObject *object)
{
    if (className == QLatin1String(SettingCheckBox::staticMetaObject.className()))
        if (auto *box = qobject_cast<SettingCheckBox *>(object))
            return new SettingCheckBoxAccessible(box);
    return nullptr;
}

}  // namespace

SettingCheckBox::SettingCheckBox(QWidget *parent) : QCheckBox(parent)
{
    QAccessible::installFactory(checkBoxParts);  // by class, before any interface is cached
}

int SettingCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    }
    return 0;
}

void SettingCheckBox::setValue(int v)
{
    showState(v == 0 ? Qt::Unchecked : v == 2 ? Qt::PartiallyChecked : Qt::Checked);
}

void SettingCheckBox::showState(Qt::CheckState state)
{
    const bool wasGrayed = checkState() == Qt::PartiallyChecked;
    setCheckState(state);
    if (wasGrayed == (state == Qt::PartiallyChecked))
        return;
    // Qt passes no change of the grayed state on to readers, and a reader
    // keeps the state it read. A fresh interface is a new object to it, and
    // the focus event has it read that object's state anew.
    if (QAccessibleInterface *stale = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(stale));
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

}  // namespace trelvane

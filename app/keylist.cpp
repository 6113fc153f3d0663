#include "app/keylist.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>
#include <vector>

#include "app/wheelguard.h"

namespace trelvane {

namespace {

// One entry of the list, as readers meet it when the key changes.
class KeyEntryAccessible : public QAccessibleInterface {
public:
    KeyEntryAccessible(KeyList *list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return list_ && row_ < list_->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(list_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? list_->itemText(row_) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return parent() ? parent()->rect() : QRect(); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        if (isValid() && list_->currentIndex() == row_) {
            s.selected = true;
            s.focused = list_->hasFocus();
        }
        return s;
    }

private:
    QPointer<KeyList> list_;
    int row_;
};

// Qt's own combo box is named by its current text on Linux and tells a reader
// nothing when the key changes. This one is named by its setting, gives the
// key as its text, and has one child per entry to move the reader's focus to.
class KeyListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit KeyListAccessible(KeyList *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    ~KeyListAccessible() override
    {
        // The entries have no object of their own for the cache to follow.
        for (QAccessible::Id id : entryIds_)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override { return list()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= list()->count())
            return nullptr;
        if (entryIds_.size() < static_cast<std::size_t>(list()->count()))
            entryIds_.resize(static_cast<std::size_t>(list()->count()), 0);
        QAccessible::Id &id = entryIds_[static_cast<std::size_t>(index)];
        // Qt's cache owns what it registers, which the analyzer cannot see.
        if (!id)  // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
            id = QAccessible::registerAccessibleInterface(new KeyEntryAccessible(list(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < entryIds_.size(); ++i)
            if (entryIds_[i] && QAccessible::accessibleInterface(entryIds_[i]) == child)
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

    // The text is the bound key; nothing in it can be selected or edited.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return list()->currentText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(list()->currentText().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    KeyList *list() const { return static_cast<KeyList *>(widget()); }

    mutable std::vector<QAccessible::Id> entryIds_;
};

QAccessibleInterface *keyListParts(const QString &className, QObject *object)
{
    if (className == QLatin1String(KeyList::staticMetaObject.className()))
        if (auto *list = qobject_cast<KeyList *>(object))
            return new KeyListAccessible(list);
    return nullptr;
}

}  // namespace

KeyList::KeyList(QWidget *parent) : QComboBox(parent)
{
    // By class, before any interface for a list is made and cached.
    QAccessible::installFactory(keyListParts);
    takeWheelOnlyWithFocus(*this);
    connect(this, &QComboBox::currentIndexChanged, this, &KeyList::announceKey);
}

bool KeyList::cutsKeyName() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().horizontalAdvance(currentText()) > field.width();
}

QString KeyList::shownToolTip() const
{
    if (!cutsKeyName())
        return toolTip();
    return QStringLiteral("<p><b>%1</b></p>").arg(currentText().toHtmlEscaped()) + toolTip();
}

int KeyList::dropDownWidth() const
{
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(i)));
    // The item's own margins, the frame around the list and the scroll bar beside it.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view()) + 1) +
                        2 * view()->frameWidth() + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return widest + margins + view()->verticalScrollBar()->sizeHint().width();
}

void KeyList::showPopup()
{
    view()->setMinimumWidth(dropDownWidth());
    QComboBox::showPopup();
}

void KeyList::setPrompt(const QString &prompt)
{
    if (prompt_ == prompt)
        return;
    prompt_ = prompt;
    update();
}

void KeyList::paintEvent(QPaintEvent *e)
{
    if (prompt_.isEmpty()) {
        QComboBox::paintEvent(e);
        return;
    }
    // As the combo box paints itself, with the prompt for the key's name.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = prompt_;
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool KeyList::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const QString text = shownToolTip();
        if (!text.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent *>(e)->globalPos(), text, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QComboBox::event(e);
}

// A reader keeps quiet about a change of a combo box's name or value; the
// focus moving to the new entry is what it speaks.
void KeyList::announceKey()
{
    if (!hasFocus() || currentIndex() < 0)
        return;
    QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(this)->child(currentIndex());
    if (!entry)
        return;
    QAccessibleEvent focus(entry, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

}  // namespace trelvane

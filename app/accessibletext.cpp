#include "app/accessibletext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

#include "app/frmconfig.h"
#include "app/text.h"
#include "window/settingfacts.h"

namespace trelvane {

void explain(QWidget *w, const QString &sentence)
{
    w->setToolTip(QStringLiteral("<p>%1</p>").arg(sentence.toHtmlEscaped()));  // rich text wraps
    w->setAccessibleDescription(sentence);
}

namespace {

QList<QWidget *> shownChildren(const QWidget *w)
{
    QList<QWidget *> out;
    for (QObject *o : w->children())
        if (auto *child = qobject_cast<QWidget *>(o); child && !child->isWindow() && !child->isHidden())
            out.append(child);
    return out;
}

// Qt lists hidden children too; a reader walking the window should meet only
// the preview picture on show, so the hidden ones are left out.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Window) {}  // a frame to readers

    int childCount() const override { return static_cast<int>(shownChildren(widget()).size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren(widget());
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(shownChildren(widget()).indexOf(qobject_cast<QWidget *>(child->object())));
    }
};

// The sample messages only decorate the strip: it is one named element without parts.
class MessageStripAccessible : public QAccessibleWidget {
public:
    explicit MessageStripAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Animation) {}

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
};

const char *const AccessibleKind = "trelvaneAccessible";

QAccessibleInterface *windowParts(const QString &, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    const QByteArray kind = w->property(AccessibleKind).toByteArray();
    if (kind == "window")
        return new WindowAccessible(w);
    if (kind == "strip")
        return new MessageStripAccessible(w);
    return nullptr;
}

}  // namespace

void applyAccessibleText(frmConfig &window)
{
    QAccessible::installFactory(windowParts);  // once per process; a second call adds nothing
    window.setProperty(AccessibleKind, "window");
    window.messageStrip()->setProperty(AccessibleKind, "strip");
    window.messageStrip()->setAccessibleName(text(MessageStripName));

    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        if (const std::string name = WindowLogic::accessibleName(row); !name.empty())
            window.control(row)->setAccessibleName(QString::fromStdString(name));
    }
    for (const FieldInfo &info : SettingsFields) {
        const int caption = WindowLogic::captionRow(info.field);
        if (caption >= 0)  // a volume has none: the caption beside it speaks for its toggle
            static_cast<QLabel *>(window.control(caption))
                ->setBuddy(window.control(WindowLogic::holderRow(info.field)));
    }
}

}  // namespace trelvane

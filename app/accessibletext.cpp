#include "accessibletext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

#include "layouttable.h"
#include "settingcheckbox.h"

namespace trelvane {

const std::array<SettingText, 19> SettingTexts = {{
    {"sldSphereDetail", "Label1", "",
     "How the game draws its spheres: 0 as a smooth textured ball, 1 to 8 as solids with more "
     "facets at each level, rounder but more work to draw."},
    {"sldOdoDetail", "Label2", "",
     "How many faces the drums of the rolling 3D score are drawn with: 6 gives boxy drums, 12 "
     "smooth ones that take more work to draw."},
    {"chkScore", "Label4", "", "Shows the score on rolling 3D drums instead of flat digits."},
    {"chkLevel", "Label5", "",
     "Shows the level number on a see-through panel instead of an opaque one."},
    {"chkTransparency", "Label8", "",
     "Draws see-through objects as see-through; when off they are drawn solid."},
    {"chkFPS", "Label3", "",
     "Shows the frame rate, in frames per second, in a corner of the game screen."},
    {"chkMask", "Label6", "",
     "Draws the on-screen panels as a fine see-through mesh with rounded corners, so that the "
     "game shows through them."},
    {"chkMirror", "Label7", "", "Makes the floor reflect the snake and the scene like a mirror."},
    {"chkParticles", "Label19", "", "Shows small glowing specks scattered over the game."},
    {"cmbKeys(0)", "Label16", "", "The key that turns the snake to the left."},
    {"cmbKeys(1)", "Label15", "", "The key that turns the snake to the right."},
    {"cmbKeys(2)", "Label14", "", "The key that makes the snake jump."},
    {"cmbKeys(3)", "Label13", "", "The key that makes the snake take a sharp left turn."},
    {"cmbKeys(4)", "Label18", "", "The key that makes the snake take a sharp right turn."},
    {"sldMsgTrans", "Label9", "",
     "How fast the game's on-screen messages slide across the screen; the two sample messages "
     "beside the slider move at this speed."},
    {"chkSound", "Label12", "", "Turns the game's sound effects on or off."},
    {"sldSound", "Label12", " volume", "How loud the game's sound effects are."},
    {"chkMusic", "Label11", "", "Turns the game's background music on or off."},
    {"sldMusic", "Label11", " volume", "How loud the game's background music is."},
}};

// In the words of the pictures that tools/ draws.
const std::array<PictureText, 30> PictureTexts = {{
    {"imgSphereDetail", 0, "a smooth round ball with a swirled green and yellow texture"},
    {"imgSphereDetail", 1, "a flat-shaded green solid with three corners"},
    {"imgSphereDetail", 2, "a flat-shaded green solid with four corners"},
    {"imgSphereDetail", 3, "a rounded green solid of 20 flat facets"},
    {"imgSphereDetail", 4, "a green ball of 80 flat facets"},
    {"imgSphereDetail", 5, "a green ball of 180 flat facets"},
    {"imgSphereDetail", 6, "a green ball of 320 flat facets"},
    {"imgSphereDetail", 7, "a green ball of 720 flat facets, almost round"},
    {"imgSphereDetail", 8, "a green ball of 2000 flat facets, nearly circular"},
    {"imgOdoDetail", 0, "a grey score drum with green digits, boxy with 4 flat faces"},
    {"imgOdoDetail", 1, "a grey score drum with green digits and 5 flat faces"},
    {"imgOdoDetail", 2, "a grey score drum with green digits and 6 flat faces"},
    {"imgOdoDetail", 3, "a grey score drum with green digits and 8 flat faces"},
    {"imgOdoDetail", 4, "a grey score drum with green digits and 11 flat faces"},
    {"imgOdoDetail", 5, "a grey score drum with green digits and 16 flat faces"},
    {"imgOdoDetail", 6, "a smooth round grey score drum with green digits"},
    {"imgScore", 0, "off, the score 047 as flat green digits on a white strip"},
    {"imgScore", 1, "on, the score on three rolling 3D drums"},
    {"imgLevel", 0, "off, level 1 on an opaque olive panel"},
    {"imgLevel", 1, "on, level 1 on a see-through panel with the game showing through"},
    {"imgTransparency", 0, "off, jagged green objects drawn solid on a dark stone ledge"},
    {"imgTransparency", 1, "on, a green block drawn see-through, the ledge showing through it"},
    {"imgFPS", 0, "off, an empty black panel in a corner of the game view"},
    {"imgFPS", 1, "on, the panel shows the frame rate, FPS: 41"},
    {"imgMask", 0, "off, a solid green panel with a /10 readout and a square corner"},
    {"imgMask", 1, "on, the panel as a fine checkerboard with the game showing through, and a rounded corner"},
    {"imgMirror", 0, "off, a dark stone floor with a yellow emblem and no reflection"},
    {"imgMirror", 1, "on, the floor faintly reflects the snake and the scene"},
    {"imgParticles", 0, "off, no specks: jagged green objects on a dark stone ledge"},
    {"imgParticles", 1, "on, a dark floor scattered with small glowing green and yellow specks"},
}};

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString captionOf(const SettingText &t)
{
    QString caption = text(findControl(t.caption)->text);
    caption.chop(1);  // the colon
    return caption + text(t.suffix);
}

// The setting shown by a picture group: imgFPS belongs to chkFPS, imgSphereDetail to sldSphereDetail.
const SettingText &settingOfGroup(std::string_view group)
{
    const std::string_view what = group.substr(3);
    for (const SettingText &t : SettingTexts)
        if (t.control.substr(3) == what)
            return t;
    return SettingTexts.front();  // not reached: every group has its control
}

void explain(QWidget *w, const QString &sentence)
{
    w->setToolTip(QStringLiteral("<p>%1</p>").arg(sentence.toHtmlEscaped()));  // rich text wraps
    w->setAccessibleDescription(sentence);
}

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
    explicit WindowAccessible(QWidget *w) : QAccessibleWidget(w) {}

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

void applyAccessibleText(QWidget &window)
{
    QAccessible::installFactory(windowParts);  // once per process; a second call adds nothing
    window.setProperty(AccessibleKind, "window");
    if (auto *strip = window.findChild<QWidget *>(QStringLiteral("messageStrip"))) {
        strip->setProperty(AccessibleKind, "strip");
        strip->setAccessibleName(QStringLiteral("Message transition preview"));
    }

    for (const SettingText &t : SettingTexts) {
        auto *control = window.findChild<QWidget *>(text(t.control));
        auto *caption = window.findChild<QLabel *>(text(t.caption));
        const QString explains = text(t.explains);
        control->setAccessibleName(captionOf(t));
        explain(control, explains);
        if (!t.suffix.empty())
            continue;  // the caption speaks for the control it stands beside
        caption->setBuddy(control);  // no '&' in any caption, so no access key
        explain(caption, explains);
        if (auto *box = qobject_cast<SettingCheckBox *>(control)) {
            const QString grayed = explains + u' ' + text(GrayedNote);
            QObject::connect(box, &QCheckBox::stateChanged, box, [box, caption, explains, grayed] {
                const QString &now = box->checkState() == Qt::PartiallyChecked ? grayed : explains;
                explain(box, now);
                explain(caption, now);
            });
        }
    }

    for (const PictureText &p : PictureTexts) {
        const QString name = text(p.group) + u'(' + QString::number(p.index) + u')';
        auto *picture = window.findChild<QLabel *>(name);
        const SettingText &setting = settingOfGroup(p.group);
        picture->setAccessibleName(captionOf(setting) + QStringLiteral(" preview: ") + text(p.shows));
        explain(picture, text(setting.explains));
    }
}

}  // namespace trelvane

#include "app/accessibletext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QWidget>

#include "app/frmconfig.h"
#include "app/settingcheckbox.h"

namespace trelvane {

constexpr std::array<SettingText, 19> SettingTexts = {{
    {Field::SphereDetail, "How the game draws its spheres: 0 as a smooth textured ball, 1 to 8 as solids with more "
                          "facets at each level, rounder but more work to draw."},
    {Field::OdoDetail, "How many faces the drums of the rolling 3D score are drawn with: 6 gives boxy drums, 12 "
                       "smooth ones that take more work to draw."},
    {Field::FPS, "Shows the frame rate, in frames per second, in a corner of the game screen."},
    {Field::Score, "Shows the score on rolling 3D drums instead of flat digits."},
    {Field::Level, "Shows the level number on a see-through panel instead of an opaque one."},
    {Field::Mask, "Draws the on-screen panels as a fine see-through mesh with rounded corners, so that the "
                  "game shows through them."},
    {Field::Mirror, "Makes the floor reflect the snake and the scene like a mirror."},
    {Field::Transparency, "Draws see-through objects as see-through; when off they are drawn solid."},
    {Field::MsgTrans, "How fast the game's on-screen messages slide across the screen; the two sample messages "
                      "beside the slider move at this speed."},
    {Field::Sound, "Turns the game's sound effects on or off."},
    {Field::SoundVolume, "How loud the game's sound effects are."},
    {Field::Music, "Turns the game's background music on or off."},
    {Field::MusicVolume, "How loud the game's background music is."},
    {Field::Particles, "Shows small glowing specks scattered over the game."},
    {Field::Key0, "The key that turns the snake to the left."},
    {Field::Key1, "The key that turns the snake to the right."},
    {Field::Key2, "The key that makes the snake jump."},
    {Field::Key3, "The key that makes the snake take a sharp left turn."},
    {Field::Key4, "The key that makes the snake take a sharp right turn."},
}};

namespace {
constexpr bool inFileOrder()
{
    for (std::size_t i = 0; i < SettingTexts.size(); ++i)
        if (static_cast<std::size_t>(SettingTexts[i].field) != i)
            return false;
    return true;
}
// A picture finds its setting's sentence by the field's place.
static_assert(inFileOrder(), "one sentence a setting, in file order");
}  // namespace

// In the words of the pictures that tools/ draws.
const std::array<PictureText, 30> PictureTexts = {{
    {Field::SphereDetail, 0, "a smooth round ball with a swirled green and yellow texture"},
    {Field::SphereDetail, 1, "a flat-shaded green solid with three corners"},
    {Field::SphereDetail, 2, "a flat-shaded green solid with four corners"},
    {Field::SphereDetail, 3, "a rounded green solid of 20 flat facets"},
    {Field::SphereDetail, 4, "a green ball of 80 flat facets"},
    {Field::SphereDetail, 5, "a green ball of 180 flat facets"},
    {Field::SphereDetail, 6, "a green ball of 320 flat facets"},
    {Field::SphereDetail, 7, "a green ball of 720 flat facets, almost round"},
    {Field::SphereDetail, 8, "a green ball of 2000 flat facets, nearly circular"},
    {Field::OdoDetail, 0, "a grey score drum with green digits, boxy with 4 flat faces"},
    {Field::OdoDetail, 1, "a grey score drum with green digits and 5 flat faces"},
    {Field::OdoDetail, 2, "a grey score drum with green digits and 6 flat faces"},
    {Field::OdoDetail, 3, "a grey score drum with green digits and 8 flat faces"},
    {Field::OdoDetail, 4, "a grey score drum with green digits and 11 flat faces"},
    {Field::OdoDetail, 5, "a grey score drum with green digits and 16 flat faces"},
    {Field::OdoDetail, 6, "a smooth round grey score drum with green digits"},
    {Field::Score, 0, "off, the score 047 as flat green digits on a white strip"},
    {Field::Score, 1, "on, the score on three rolling 3D drums"},
    {Field::Level, 0, "off, level 1 on an opaque olive panel"},
    {Field::Level, 1, "on, level 1 on a see-through panel with the game showing through"},
    {Field::Transparency, 0, "off, jagged green objects drawn solid on a dark stone ledge"},
    {Field::Transparency, 1, "on, a green block drawn see-through, the ledge showing through it"},
    {Field::FPS, 0, "off, an empty black panel in a corner of the game view"},
    {Field::FPS, 1, "on, the panel shows the frame rate, FPS: 41"},
    {Field::Mask, 0, "off, a solid green panel with a /10 readout and a square corner"},
    {Field::Mask, 1, "on, the panel as a fine checkerboard with the game showing through, and a rounded corner"},
    {Field::Mirror, 0, "off, a dark stone floor with a yellow emblem and no reflection"},
    {Field::Mirror, 1, "on, the floor faintly reflects the snake and the scene"},
    {Field::Particles, 0, "off, no specks: jagged green objects on a dark stone ledge"},
    {Field::Particles, 1, "on, a dark floor scattered with small glowing green and yellow specks"},
}};

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A setting is called by the caption beside it, without the colon. A volume
// has no caption of its own: it is the volume of the toggle before it.
QString nameOf(const frmConfig &window, Field f)
{
    if (fieldInfo(f).kind == FieldKind::Volume)
        return nameOf(window, static_cast<Field>(static_cast<int>(f) - 1)) + QStringLiteral(" volume");
    QString caption = window.controls(f).caption->text();
    caption.chop(1);  // the colon
    return caption;
}

QWidget *holderOf(const FieldControls &c)
{
    if (c.check)
        return c.check;
    if (c.slider)
        return c.slider;
    return c.keys;
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
    window.messageStrip()->setAccessibleName(QStringLiteral("Message transition preview"));

    for (const SettingText &t : SettingTexts) {
        const FieldControls &c = window.controls(t.field);
        QWidget *control = holderOf(c);
        const QString explains = text(t.explains);
        control->setAccessibleName(nameOf(window, t.field));
        explain(control, explains);
        if (!c.caption)
            continue;  // a volume: the caption beside it speaks for its toggle
        c.caption->setBuddy(control);  // no '&' in any caption, so no access key
        explain(c.caption, explains);
        if (SettingCheckBox *box = c.check) {
            QLabel *caption = c.caption;
            const QString grayed = explains + u' ' + text(GrayedNote);
            QObject::connect(box, &QCheckBox::stateChanged, box, [box, caption, explains, grayed] {
                const QString &now = box->checkState() == Qt::PartiallyChecked ? grayed : explains;
                explain(box, now);
                explain(caption, now);
            });
        }
    }

    for (const PictureText &p : PictureTexts) {
        QLabel *picture = window.controls(p.field).preview.picture(p.index);
        picture->setAccessibleName(nameOf(window, p.field) + QStringLiteral(" preview: ") + text(p.shows));
        explain(picture, text(SettingTexts[static_cast<std::size_t>(p.field)].explains));
    }
}

}  // namespace trelvane

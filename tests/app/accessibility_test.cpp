// What assistive tools learn from the window: a name for every control that
// takes the focus, a description of the picture on show, and the grayed state.
#include <QAccessible>
#include <QTest>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

const std::map<QString, QString> Names = {{"sldSphereDetail", "Sphere Detail"},
                                          {"sldOdoDetail", "Score Odometer Detail"},
                                          {"chkScore", "Complex Score"},
                                          {"chkLevel", "Complex Level"},
                                          {"chkTransparency", "Transparency"},
                                          {"chkFPS", "Display FPS"},
                                          {"chkMask", "Masking"},
                                          {"chkMirror", "Mirror"},
                                          {"chkParticles", "Particles"},
                                          {"cmbKeys(0)", "Turn Left"},
                                          {"cmbKeys(1)", "Turn Right"},
                                          {"cmbKeys(2)", "Jump"},
                                          {"cmbKeys(3)", "Sharp Left"},
                                          {"cmbKeys(4)", "Sharp Right"},
                                          {"sldMsgTrans", "Message Transition Speed"},
                                          {"chkSound", "Sound Effects"},
                                          {"sldSound", "Sound Effects volume"},
                                          {"chkMusic", "Background Music"},
                                          {"sldMusic", "Background Music volume"},
                                          {"cmdResetScores", "Reset High Scores"},
                                          {"cmdOK", "OK"},
                                          {"cmdRestore", "Restore Defaults"},
                                          {"cmdCancel", "Cancel"}};

QAccessibleInterface *face(QObject *o) { return QAccessible::queryAccessibleInterface(o); }

// On Linux Qt names a key list by its selected key and leaves its label to the
// labelled-by relation, which is what a reader says before the key.
QString heardName(QWidget *w)
{
    QAccessibleInterface *iface = face(w);
    if (iface->role() != QAccessible::ComboBox)
        return iface->text(QAccessible::Name);
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name).chopped(1);
}

class AccessibilityTest : public WindowTest {
protected:
    // Names of the pictures of `group` that a reader walking the window meets.
    QStringList picturesMet(const QString &group) const
    {
        QStringList names;
        QAccessibleInterface *top = face(window.get());
        for (int i = 0; i < top->childCount(); ++i)
            if (top->child(i)->object()->objectName().startsWith(group + "("))
                names << top->child(i)->text(QAccessible::Name);
        return names;
    }
};

TEST_F(AccessibilityTest, EveryFocusableControlIsNamedAndExplained)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    int focusable = 0;
    for (QWidget *w : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!(w->focusPolicy() & Qt::TabFocus))
            continue;
        ++focusable;
        const QString name = w->objectName();
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(Names.count(name));
        EXPECT_EQ(heardName(w), Names.at(name));
        if (name.startsWith("cmd"))
            continue;
        EXPECT_EQ(w->accessibleName(), Names.at(name));  // what Windows and macOS readers say
        const QString description = face(w)->text(QAccessible::Description);
        EXPECT_FALSE(description.isEmpty());
        EXPECT_TRUE(w->toolTip().contains(description));
    }
    EXPECT_EQ(focusable, 23);
}

TEST_F(AccessibilityTest, OnlyTheShownPictureIsMetAndItsNameFollowsTheControl)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    for (const auto &[control, group] : Previews) {
        SCOPED_TRACE(control);
        const QStringList before = picturesMet(QString::fromStdString(group));
        ASSERT_EQ(before.size(), 1);
        if (QSlider *s = qobject_cast<QSlider *>(get<QWidget>(control)))
            s->setValue(s->value() + 1);
        else
            QTest::mouseClick(check(control), Qt::LeftButton);
        const QStringList after = picturesMet(QString::fromStdString(group));
        ASSERT_EQ(after.size(), 1);
        EXPECT_TRUE(after[0].contains(" preview: ")) << after[0].toStdString();
        EXPECT_NE(after[0], before[0]);
    }
    // The sample messages are decoration: the strip is met as one named element.
    QAccessibleInterface *strip = face(window->messageStrip());
    EXPECT_EQ(strip->text(QAccessible::Name), "Message transition preview");
    EXPECT_EQ(strip->childCount(), 0);
}

TEST_F(AccessibilityTest, AGrayedCheckBoxSaysSoUntilClicked)
{
    QStringList lines = designTimeLines();
    lines[9] = "2";  // sound effects
    ASSERT_TRUE(open(cfg(lines)));
    QCheckBox *box = check("chkSound");
    QLabel *caption = get<QLabel>("Label12");
    EXPECT_TRUE(face(box)->state().checkStateMixed);
    EXPECT_TRUE(box->toolTip().contains("grayed"));
    EXPECT_EQ(caption->toolTip(), box->toolTip());
    EXPECT_TRUE(face(box)->text(QAccessible::Description).contains("grayed"));
    QTest::mouseClick(caption, Qt::LeftButton);  // the caption passes its click on to the box
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_FALSE(face(box)->state().checkStateMixed);
    EXPECT_FALSE(box->toolTip().contains("grayed"));
    EXPECT_EQ(caption->toolTip(), box->toolTip());
}

TEST_F(AccessibilityTest, KeyListsHoldingOneKeyAreMarkedUntilTheyDiffer)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));  // every move on Escape
    const QColor plain = window->palette().color(QPalette::ButtonText);
    for (int slot : {4, 3, 2, 1, 0}) {
        EXPECT_EQ(keys(slot)->palette().color(QPalette::ButtonText) != plain, slot > 0) << slot;
        EXPECT_EQ(keys(slot)->toolTip().contains("Also bound to "), slot > 0) << slot;
        keys(slot)->setCurrentIndex(10 + slot);  // the last one standing on Escape is marked no more
    }
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(keys(slot)->palette().color(QPalette::ButtonText), plain);
}

}  // namespace
}  // namespace trelvane::testing

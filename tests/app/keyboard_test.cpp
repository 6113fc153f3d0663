// The window as a keyboard user meets it: focus order, slider steps, access keys.
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

class KeyboardTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeFile("default.cfg", cfg(designTimeLines()));
        ASSERT_TRUE(open(cfg(designTimeLines())));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString focused() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString("<none>");
    }

    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods);
    }

    // Alt+letter clicks with a short animation; let it finish.
    void pressAlt(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QTest::qWait(300);
    }
};

TEST_F(KeyboardTest, TabVisitsTheControlsInOrderAndWraps)
{
    const QStringList order = {"sldSphereDetail", "sldOdoDetail", "chkScore",   "chkLevel",       "chkTransparency",
                               "chkFPS",          "chkMask",      "chkMirror",  "chkParticles",   "cmbKeys(0)",
                               "cmbKeys(1)",      "cmbKeys(2)",   "cmbKeys(3)", "cmbKeys(4)",     "sldMsgTrans",
                               "chkSound",        "sldSound",     "chkMusic",   "sldMusic",       "cmdResetScores",
                               "cmdOK",           "cmdRestore",   "cmdCancel",  "sldSphereDetail"};
    EXPECT_EQ(focused(), order[0]);
    for (int i = 1; i < order.size(); ++i) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), order[i]) << i;
    }
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), "cmdCancel");
}

// A caption clicked is a click on its box, which takes the focus as well: Space then toggles it back.
TEST_F(KeyboardTest, ACaptionClickGivesItsBoxTheFocus)
{
    QTest::mouseClick(get<QLabel>("Label6"), Qt::LeftButton);
    EXPECT_EQ(focused(), "chkMask");
    EXPECT_EQ(check("chkMask")->checkState(), Qt::Checked);
    press(Qt::Key_Space);
    EXPECT_EQ(check("chkMask")->checkState(), Qt::Unchecked);
}

TEST_F(KeyboardTest, ArrowsAndPageKeysStepEachSliderWithinItsRange)
{
    struct Case {
        const char *name;
        int min, max, page;
    };
    for (const Case &c :
         {Case{"sldSphereDetail", 0, 8, 2}, Case{"sldOdoDetail", 6, 12, 2}, Case{"sldMsgTrans", 1, 320, 10},
          Case{"sldSound", 0, 100, 10}, Case{"sldMusic", 0, 100, 10}}) {
        SCOPED_TRACE(c.name);
        QSlider *s = slider(c.name);
        s->setFocus();
        ASSERT_EQ(s->value(), c.min);
        QTest::keyClick(s, Qt::Key_Right);
        EXPECT_EQ(s->value(), c.min + 1);
        QTest::keyClick(s, Qt::Key_PageUp);
        EXPECT_EQ(s->value(), c.min + 1 + c.page);
        QTest::keyClick(s, Qt::Key_Left);
        EXPECT_EQ(s->value(), c.min + c.page);
        QTest::keyClick(s, Qt::Key_PageDown);
        EXPECT_EQ(s->value(), c.min);
        QTest::keyClick(s, Qt::Key_PageDown);
        EXPECT_EQ(s->value(), c.min);
        for (int i = 0; i < (c.max - c.min) / c.page + 2; ++i)
            QTest::keyClick(s, Qt::Key_PageUp);
        EXPECT_EQ(s->value(), c.max);
        QTest::keyClick(s, Qt::Key_Right);
        EXPECT_EQ(s->value(), c.max);
    }
}

TEST_F(KeyboardTest, AltOSavesAndCloses)
{
    slider("sldSphereDetail")->setValue(5);
    pressAlt(Qt::Key_O);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(readFile("trelvane.cfg").startsWith("5\r\n"));
}

TEST_F(KeyboardTest, AltCCancels)
{
    const QByteArray before = readFile("trelvane.cfg");
    slider("sldSphereDetail")->setValue(5);
    pressAlt(Qt::Key_C);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readFile("trelvane.cfg"), before);
}

TEST_F(KeyboardTest, AltSAsksTheHighScoreQuestion)
{
    prompts.answerYes = false;
    pressAlt(Qt::Key_S);
    EXPECT_EQ(prompts.questions, QStringList{"Reset Confirmation|Are you sure you wish to reset high scores?"});
}

TEST_F(KeyboardTest, AltRRestoresDefaults)
{
    writeFile("default.cfg",
              cfg({"4", "6", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "1", "1", "1", "1", "1"}));
    pressAlt(Qt::Key_R);
    EXPECT_EQ(slider("sldSphereDetail")->value(), 4);
}

TEST_F(KeyboardTest, EscapePressesNothingAndEnterOnlyTheFocusedButton)
{
    const QByteArray before = readFile("trelvane.cfg");
    slider("sldSphereDetail")->setValue(5);
    press(Qt::Key_Escape);
    press(Qt::Key_Return);  // focus is on a slider: no button is pressed
    QTest::qWait(50);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readFile("trelvane.cfg"), before);
    EXPECT_TRUE(prompts.questions.isEmpty());

    get<QPushButton>("cmdResetScores")->setFocus();
    prompts.answerYes = false;
    press(Qt::Key_Return);
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(window->isVisible());

    get<QPushButton>("cmdOK")->setFocus();
    press(Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(readFile("trelvane.cfg").startsWith("5\r\n"));
}

}  // namespace
}  // namespace trelvane::testing

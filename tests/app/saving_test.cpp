// OK writes the controls in the game's form; Cancel and the close box write nothing.
#include <QDir>
#include <QTest>
#include <functional>
#include <optional>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

// Changes every control away from what the sample file holds.
void changeEverything(WindowTest &, frmConfig &w)
{
    for (QSlider *s : w.findChildren<QSlider *>())
        s->setValue(s->value() == s->maximum() ? s->minimum() : s->maximum());
    for (QCheckBox *b : w.findChildren<QCheckBox *>())
        QTest::mouseClick(b, Qt::LeftButton);
    for (QComboBox *c : w.findChildren<QComboBox *>())
        c->setCurrentIndex(77);
}

TEST_F(WindowTest, CancelAndCloseBoxWriteNothing)
{
    const QByteArray original = "3\r\n7\r\n1\r\n1\r\n0\r\n1\r\n0\r\n1\r\n99\r\n1\r\n0.5\r\n0\r\n.25\r\n1\r\n"
                                "30\r\n32\r\n57\r\n16\r\n18\r\n";
    for (bool viaCloseBox : {false, true}) {
        ASSERT_TRUE(open(original));
        changeEverything(*this, *window);
        ASSERT_NE(window->settingsFromControls().SphereDetail, 3);
        if (viaCloseBox)
            window->close();
        else
            window->cmdCancel_Click();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(readFile("trelvane.cfg"), original) << viaCloseBox;
    }
}

// A box whose state is set directly, not clicked (as an accessibility tool may set it), is saved like a click.
TEST_F(WindowTest, ABoxSetWithoutAClickIsSaved)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    check("chkMask")->setCheckState(Qt::Checked);
    window->cmdOK_Click();
    QStringList saved = designTimeLines();
    saved[5] = "1";
    EXPECT_EQ(readFile("trelvane.cfg"), cfg(saved));
}

}  // namespace
}  // namespace trelvane::testing

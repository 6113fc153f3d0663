// OK writes the controls in the game's form; Cancel and the close box write nothing.
#include <QDir>
#include <QTest>
#include <functional>
#include <optional>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, OkRightAfterOpeningWritesTheLoadedValuesNormalised)
{
    const QByteArray messy = "2.5\r\n 9\r\n\"1\"\r\n0\n1\r0\r\n1 \r\n0\r\n40\r\n1\r\n0.5\r\n2\r\n.07\r\n1\r\n"
                             "203\r\n205\r\n57\r\n0\r\n33\r\nextra line\r\n";
    ASSERT_TRUE(open(messy));
    window->cmdOK_Click();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readFile("trelvane.cfg"), cfg({"2", "9", "1", "0", "1", "0", "1", "0", "40", "1", ".5", "2", ".07", "1",
                                             "203", "205", "57", "1", "33"}));
}

TEST_F(WindowTest, CommasInKeyListsSaveAsTheirOwnCodes)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    keys(0)->setCurrentIndex(50);
    keys(1)->setCurrentIndex(114);
    keys(2)->setCurrentIndex(143);
    keys(3)->setCurrentIndex(83);
    window->cmdOK_Click();
    const QList<QByteArray> lines = readFile("trelvane.cfg").split('\n');
    EXPECT_EQ(lines[14], "51\r");
    EXPECT_EQ(lines[15], "179\r");
    EXPECT_EQ(lines[16], "237\r");
    EXPECT_EQ(lines[17], "86\r");
    EXPECT_EQ(lines[18], "1\r");
}

TEST_F(WindowTest, VolumesAreWrittenAsFractions)
{
    struct Case {
        int position;
        QByteArray line;
    };
    for (const Case &c : {Case{0, "0"}, Case{7, ".07"}, Case{29, ".29"}, Case{50, ".5"}, Case{100, "1"}}) {
        ASSERT_TRUE(open(cfg(designTimeLines())));
        slider("sldSound")->setValue(c.position);
        slider("sldMusic")->setValue(c.position);
        window->cmdOK_Click();
        const QList<QByteArray> lines = readFile("trelvane.cfg").split('\n');
        EXPECT_EQ(lines[10], c.line + "\r") << c.position;
        EXPECT_EQ(lines[12], c.line + "\r") << c.position;
    }
}

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

TEST_F(WindowTest, FailedSaveKeepsTheWindowTheChangesAndTheOldFile)
{
    struct Case {
        const char *name;
        std::function<void(const QDir &)> sabotage, mend;
        QString reason;
        std::optional<rlim_t> room;  // set: the disk takes only this many bytes
    };
    const Case cases[] = {
        // No write can replace a folder, even as root.
        {"a folder in the file's place",
         [](const QDir &d) {
             ASSERT_TRUE(QFile::remove(d.filePath("trelvane.cfg")));
             d.mkdir("trelvane.cfg");
         },
         [](const QDir &d) { d.rmdir("trelvane.cfg"); },
         {},
         {}},
        {"disk full", [](const QDir &) {}, [](const QDir &) {}, "File too large", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.errors.clear();
        ASSERT_TRUE(open(cfg(designTimeLines())));
        slider("sldSphereDetail")->setValue(7);
        c.sabotage(QDir(dir.path()));
        const QByteArray before = readFile("trelvane.cfg");
        {
            std::optional<WritesFail> full;
            if (c.room)
                full.emplace(*c.room);
            window->cmdOK_Click();
        }
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains("trelvane.cfg")) << prompts.errors[0].toStdString();
        EXPECT_TRUE(prompts.errors[0].contains(c.reason)) << prompts.errors[0].toStdString();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(readFile("trelvane.cfg"), before);
        EXPECT_EQ(slider("sldSphereDetail")->value(), 7);
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{7});

        // The player mends the cause and presses OK again.
        c.mend(QDir(dir.path()));
        window->cmdOK_Click();
        EXPECT_EQ(prompts.errors.size(), 1);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(readFile("trelvane.cfg").startsWith("7\r\n6\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"trelvane.cfg"});
    }
}

}  // namespace
}  // namespace trelvane::testing

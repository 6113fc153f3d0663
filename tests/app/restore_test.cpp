// Restore Defaults puts the factory settings into the window and writes nothing.
#include <QSignalSpy>
#include <QTest>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

QStringList factoryLines()
{
    return {"3", "9", "1", "0", "1", "0", "1", "0", "20", "1", ".8", "0", ".25", "0", "203", "205", "57", "30", "32"};
}

class RestoreTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeFile("default.cfg", cfg(factoryLines()));
        ASSERT_TRUE(open(cfg(designTimeLines())));
    }
};

TEST_F(RestoreTest, FactoryValueReplacesTheUsersChoiceAndItsPicture)
{
    slider("sldSphereDetail")->setValue(8);
    QTest::mouseClick(check("chkParticles"), Qt::LeftButton);
    ASSERT_EQ(shown("imgParticles"), std::vector<int>{1});

    window->cmdRestore_Click();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{3});
    EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{3});
    EXPECT_EQ(shown("imgParticles"), std::vector<int>{0});
    EXPECT_EQ(shown("imgFPS"), std::vector<int>{1});
    EXPECT_EQ(shown("imgScore"), std::vector<int>{0});
    EXPECT_EQ(slider("sldSound")->value(), 80);
    EXPECT_EQ(keys(2)->currentText(), "Space");
}

TEST_F(RestoreTest, RestoringWhatIsAlreadyThereFiresNoHandlerAndTwiceEqualsOnce)
{
    window->cmdRestore_Click();
    const QStringList once = snapshot();

    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        spies.push_back(std::make_unique<QSignalSpy>(box, &QCheckBox::stateChanged));
    for (QSlider *s : window->findChildren<QSlider *>())
        spies.push_back(std::make_unique<QSignalSpy>(s, &QSlider::valueChanged));
    window->cmdRestore_Click();
    for (const auto &spy : spies)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(snapshot(), once);
}

TEST_F(RestoreTest, WritesNothingUntilOk)
{
    const QByteArray before = readFile("trelvane.cfg");
    window->cmdRestore_Click();
    EXPECT_EQ(readFile("trelvane.cfg"), before);
    window->cmdCancel_Click();
    EXPECT_EQ(readFile("trelvane.cfg"), before);

    ASSERT_TRUE(open(before));
    window->cmdRestore_Click();
    window->cmdOK_Click();
    EXPECT_EQ(readFile("trelvane.cfg"), cfg(factoryLines()));
}

TEST_F(RestoreTest, BlankValueInTheFactoryFileReadsAsZero)
{
    QStringList lines = factoryLines();
    lines[3] = "";
    writeFile("default.cfg", cfg(lines));
    QTest::mouseClick(check("chkScore"), Qt::LeftButton);
    window->cmdRestore_Click();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(check("chkScore")->checkState(), Qt::Unchecked);
    EXPECT_EQ(shown("imgScore"), std::vector<int>{0});
}

TEST_F(RestoreTest, BadOrMissingFactoryFileLeavesTheWindowAsItWas)
{
    slider("sldSphereDetail")->setValue(6);
    QTest::mouseClick(check("chkMirror"), Qt::LeftButton);
    const QStringList before = snapshot();

    QStringList late = factoryLines();
    late[17] = "99999";  // a bad key code after all the values that have pictures
    QStringList range = factoryLines();
    range[1] = "13";
    for (const QByteArray &bytes : {cfg(late), cfg(range), QByteArray("3\r\n9\r\n")}) {
        writeFile("default.cfg", bytes);
        prompts.errors.clear();
        window->cmdRestore_Click();
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].contains("default.cfg")) << prompts.errors[0].toStdString();
        EXPECT_TRUE(prompts.errors[0].contains("line")) << prompts.errors[0].toStdString();
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(window->isVisible());
    }

    ASSERT_TRUE(QFile::remove(path("default.cfg")));
    prompts.errors.clear();
    window->cmdRestore_Click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("default.cfg"));
    EXPECT_EQ(snapshot(), before);

    // A pipe under the name is reported at once instead of freezing the window.
    makePipe(path("default.cfg"));
    window->cmdRestore_Click();
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[1].contains("default.cfg: it is not a regular file")) << prompts.errors[1].toStdString();
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace trelvane::testing

// Restore Defaults puts the factory settings into the window and writes nothing.
#include "keys/keycatalogue.h"
#include "logicfixture.h"

namespace trelvane::testing {
namespace {

Lines factoryLines()
{
    return {"3", "9", "1", "0", "1", "0", "1", "0", "20", "1", ".8", "0", ".25", "0", "203", "205", "57", "30", "32"};
}

class RestoreTest : public LogicTest {
protected:
    void SetUp() override
    {
        writeFile("default.cfg", cfg(factoryLines()));
        ASSERT_TRUE(open(cfg(designTimeLines())));
    }
};

TEST_F(RestoreTest, FactoryValueReplacesTheUsersChoiceAndItsPicture)
{
    change("sldSphereDetail", 8);
    click("chkParticles");
    ASSERT_EQ(shown("imgParticles"), std::vector<int>{1});

    click("cmdRestore");
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{3});
    EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{3});
    EXPECT_EQ(shown("imgParticles"), std::vector<int>{0});
    EXPECT_EQ(shown("imgFPS"), std::vector<int>{1});
    EXPECT_EQ(shown("imgScore"), std::vector<int>{0});
    EXPECT_EQ(value("sldSound"), 80);
    EXPECT_EQ(KeyCatalogue[value("cmbKeys(2)")].name, "Space");
}

TEST_F(RestoreTest, RestoringWhatIsAlreadyThereFiresNoHandlerAndTwiceEqualsOnce)
{
    click("cmdRestore");
    const std::vector<int> once = snapshot();
    view.valuesSet.clear();
    click("cmdRestore");
    EXPECT_TRUE(view.valuesSet.empty());
    EXPECT_EQ(snapshot(), once);
}

TEST_F(RestoreTest, WritesNothingUntilOk)
{
    const std::string before = readFile("trelvane.cfg");
    click("cmdRestore");
    EXPECT_EQ(readFile("trelvane.cfg"), before);
    click("cmdCancel");
    EXPECT_EQ(readFile("trelvane.cfg"), before);

    ASSERT_TRUE(open(before));
    click("cmdRestore");
    click("cmdOK");
    EXPECT_EQ(readFile("trelvane.cfg"), cfg(factoryLines()));
}

TEST_F(RestoreTest, BlankValueInTheFactoryFileReadsAsZero)
{
    Lines lines = factoryLines();
    lines[3] = "";
    writeFile("default.cfg", cfg(lines));
    click("chkScore");
    click("cmdRestore");
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(value("chkScore"), 0);
    EXPECT_EQ(shown("imgScore"), std::vector<int>{0});
}

TEST_F(RestoreTest, BadOrMissingFactoryFileLeavesTheWindowAsItWas)
{
    change("sldSphereDetail", 6);
    click("chkMirror");
    const std::vector<int> before = snapshot();

    Lines late = factoryLines();
    late[17] = "99999";  // a bad key code after all the values that have pictures
    Lines range = factoryLines();
    range[1] = "13";
    for (const std::string &bytes : {cfg(late), cfg(range), std::string("3\r\n9\r\n")}) {
        writeFile("default.cfg", bytes);
        view.errors.clear();
        click("cmdRestore");
        ASSERT_EQ(view.errors.size(), 1u);
        EXPECT_TRUE(contains(view.errors[0], "default.cfg")) << view.errors[0];
        EXPECT_TRUE(contains(view.errors[0], "line")) << view.errors[0];
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(view.visible);
    }

    ASSERT_TRUE(fs::remove(dir / "default.cfg"));
    view.errors.clear();
    click("cmdRestore");
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_TRUE(contains(view.errors[0], "default.cfg"));
    EXPECT_EQ(snapshot(), before);

#ifndef _WIN32
    // A pipe under the name is reported at once instead of freezing the window.
    makePipe(dir / "default.cfg");
    click("cmdRestore");
    ASSERT_EQ(view.errors.size(), 2u);
    EXPECT_TRUE(contains(view.errors[1], "default.cfg: it is not a regular file")) << view.errors[1];
    EXPECT_EQ(snapshot(), before);
#endif
}

}  // namespace
}  // namespace trelvane::testing

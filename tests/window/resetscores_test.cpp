// Reset High Scores: asks first, and never destroys the table on failure.
#include "failingcalls.h"
#include "logicfixture.h"

namespace trelvane::testing {
namespace {

class ResetScoresTest : public LogicTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::create_directory(dir / "data"));
        writeFile("data/defaultscores.dat", defaults);
        writeFile("data/highscores.dat", played);
        ASSERT_TRUE(open(cfg(designTimeLines())));
    }

    const std::string defaults = std::string("\"Viper\",10000\r\n\"Cobra\",9000\0\xff", 30);
    const std::string played = "\"Player\",23450\r\n";
};

TEST_F(ResetScoresTest, AsksAndOnNoLeavesBothFiles)
{
    view.answerYes = false;
    click("cmdResetScores");
    EXPECT_EQ(view.questions,
              std::vector<std::string>{"Reset Confirmation|Are you sure you wish to reset high scores?"});
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_EQ(readFile("data/defaultscores.dat"), defaults);
}

TEST_F(ResetScoresTest, YesCopiesTheDefaultsAndAppendsALineEnd)
{
    const GameSettings before = logic->settings();
    for (int round = 0; round < 2; ++round) {
        click("cmdResetScores");
        EXPECT_TRUE(view.errors.empty());
        EXPECT_EQ(readFile("data/highscores.dat"), defaults + "\r\n");
    }
    EXPECT_EQ(readFile("data/defaultscores.dat"), defaults);
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(logic->settings(), before);
}

TEST_F(ResetScoresTest, FailuresAreReportedAndTheTableIsKept)
{
    ASSERT_TRUE(fs::remove(dir / "data/defaultscores.dat"));
    click("cmdResetScores");
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_TRUE(contains(view.errors[0], "defaultscores.dat")) << view.errors[0];
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_TRUE(view.visible);

    // The high-score file's place taken by a folder: it cannot be replaced, even by root.
    writeFile("data/defaultscores.dat", defaults);
    ASSERT_TRUE(fs::remove(dir / "data/highscores.dat"));
    ASSERT_TRUE(fs::create_directory(dir / "data/highscores.dat"));
    click("cmdResetScores");
    ASSERT_EQ(view.errors.size(), 2u);
    EXPECT_TRUE(contains(view.errors[1], "highscores.dat")) << view.errors[1];
    EXPECT_TRUE(fs::is_directory(dir / "data/highscores.dat"));
    EXPECT_TRUE(view.visible);

    // A full disk: the old table stays whole.
    ASSERT_TRUE(fs::remove(dir / "data/highscores.dat"));
    writeFile("data/highscores.dat", played);
    {
        WritesFail full;
        click("cmdResetScores");
    }
    ASSERT_EQ(view.errors.size(), 3u);
    EXPECT_TRUE(contains(view.errors[2], "highscores.dat")) << view.errors[2];
    EXPECT_TRUE(contains(view.errors[2], FileTooLarge)) << view.errors[2];
    EXPECT_EQ(readFile("data/highscores.dat"), played);

#ifndef _WIN32
    // A pipe in the default table's place is reported, not waited on.
    ASSERT_TRUE(fs::remove(dir / "data/defaultscores.dat"));
    makePipe(dir / "data/defaultscores.dat");
    click("cmdResetScores");
    ASSERT_EQ(view.errors.size(), 4u);
    EXPECT_TRUE(contains(view.errors[3], "is not a regular file")) << view.errors[3];
#endif
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_TRUE(view.visible);
}

#ifndef _WIN32
TEST_F(ResetScoresTest, AFolderThatCannotBeSyncedLeavesTheNewTableAndSaysSo)
{
    {
        CallsFail seam(3, EIO);  // the folder's sync, after the new table took the old one's place
        click("cmdResetScores");
    }
    EXPECT_EQ(view.errors, std::vector<std::string>{GameFolder::shownName(GameFile::HighScores) +
                                                    " was saved, but it may not survive a power cut: "
                                                    "Input/output error."});
    EXPECT_EQ(readFile("data/highscores.dat"), defaults + "\r\n");
}
#endif

}  // namespace
}  // namespace trelvane::testing

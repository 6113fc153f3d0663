// Reset High Scores from the window: asks first, and never destroys the table on failure.
#include <QDir>

#include "windowfixture.h"

namespace trelvane::testing {
namespace {

class ResetScoresTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkdir("data"));
        writeFile("data/defaultscores.dat", defaults);
        writeFile("data/highscores.dat", played);
        ASSERT_TRUE(open(cfg(designTimeLines())));
    }

    const QByteArray defaults = QByteArray("\"Viper\",10000\r\n\"Cobra\",9000\0\xff", 30);
    const QByteArray played = "\"Player\",23450\r\n";
};

TEST_F(ResetScoresTest, AsksAndOnNoLeavesBothFiles)
{
    prompts.answerYes = false;
    window->cmdResetScores_Click();
    EXPECT_EQ(prompts.questions, QStringList{"Reset Confirmation|Are you sure you wish to reset high scores?"});
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_EQ(readFile("data/defaultscores.dat"), defaults);
}

TEST_F(ResetScoresTest, YesCopiesTheDefaultsAndAppendsALineEnd)
{
    const GameSettings before = window->settingsFromControls();
    for (int round = 0; round < 2; ++round) {
        window->cmdResetScores_Click();
        EXPECT_TRUE(prompts.errors.isEmpty());
        EXPECT_EQ(readFile("data/highscores.dat"), defaults + "\r\n");
    }
    EXPECT_EQ(readFile("data/defaultscores.dat"), defaults);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->settingsFromControls(), before);
}

TEST_F(ResetScoresTest, FailuresAreReportedAndTheTableIsKept)
{
    ASSERT_TRUE(QFile::remove(path("data/defaultscores.dat")));
    window->cmdResetScores_Click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("defaultscores.dat")) << prompts.errors[0].toStdString();
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_TRUE(window->isVisible());

    // The high-score file's place taken by a folder: it cannot be replaced, even by root.
    writeFile("data/defaultscores.dat", defaults);
    ASSERT_TRUE(QFile::remove(path("data/highscores.dat")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("data/highscores.dat"));
    window->cmdResetScores_Click();
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[1].contains("highscores.dat")) << prompts.errors[1].toStdString();
    EXPECT_TRUE(QFileInfo(path("data/highscores.dat")).isDir());
    EXPECT_TRUE(window->isVisible());

    // A full disk: the old table stays whole.
    ASSERT_TRUE(QDir(dir.path()).rmdir("data/highscores.dat"));
    writeFile("data/highscores.dat", played);
    {
        WritesFail full;
        window->cmdResetScores_Click();
    }
    ASSERT_EQ(prompts.errors.size(), 3);
    EXPECT_TRUE(prompts.errors[2].contains("highscores.dat")) << prompts.errors[2].toStdString();
    EXPECT_TRUE(prompts.errors[2].contains("File too large")) << prompts.errors[2].toStdString();
    EXPECT_EQ(readFile("data/highscores.dat"), played);

    // A pipe in the default table's place is reported, not waited on.
    ASSERT_TRUE(QFile::remove(path("data/defaultscores.dat")));
    makePipe(path("data/defaultscores.dat"));
    window->cmdResetScores_Click();
    ASSERT_EQ(prompts.errors.size(), 4);
    EXPECT_TRUE(prompts.errors[3].contains("is not a regular file")) << prompts.errors[3].toStdString();
    EXPECT_EQ(readFile("data/highscores.dat"), played);
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace trelvane::testing

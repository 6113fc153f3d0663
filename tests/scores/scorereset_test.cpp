// Replacing the high-score table: exact bytes on success, and on every failure
// a message naming the file while the old table stays as it was.

#include "scores/scorereset.h"

#include <gtest/gtest.h>

#include "diskfiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <string>

namespace trelvane {
namespace {

using namespace trelvane::testing;

using namespace std::string_literals;

const QString HighScores = QDir::toNativeSeparators(QStringLiteral("data/highscores.dat"));
const QString DefaultScores = QDir::toNativeSeparators(QStringLiteral("data/defaultscores.dat"));

class GameFolder {
public:
    GameFolder() { QDir(root()).mkdir(QStringLiteral("data")); }
    QString root() const { return dir_.path(); }
    QString data() const { return QDir(root()).filePath(QStringLiteral("data")); }
    QString defaults() const { return QDir(data()).filePath(QStringLiteral("defaultscores.dat")); }
    QString scores() const { return QDir(data()).filePath(QStringLiteral("highscores.dat")); }

private:
    QTemporaryDir dir_;
};

TEST(ResetScoresContent, AppendsCrLfToWhateverTheDefaultsHold)
{
    struct Case {
        const char *name;
        std::string defaults;
        std::string expected;
    };
    const Case cases[] = {
        {"empty", ""s, "\r\n"s},
        {"text without line end", "Alice 100"s, "Alice 100\r\n"s},
        {"already ends in CR LF", "Alice 100\r\n"s, "Alice 100\r\n\r\n"s},
        {"ends in LF", "a\n"s, "a\n\r\n"s},
        {"ends in CR", "a\r"s, "a\r\r\n"s},
        {"binary with NUL and EOF mark", "\x00\xff\x1a\x00"s, "\x00\xff\x1a\x00\r\n"s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string content = resetScoresContent(c.defaults);
        EXPECT_EQ(content, c.expected);
        ASSERT_EQ(content.size(), c.defaults.size() + 2);
        EXPECT_EQ(content.substr(content.size() - 2), "\x0d\x0a"s);
    }
}

TEST(ResetHighScores, WritesTheDefaultsFollowedByCrLf)
{
    std::string large;
    for (int i = 0; i < 70000; ++i)
        large.push_back(static_cast<char>((i * 131) & 0xff));

    struct Case {
        const char *name;
        std::string defaults;
        bool scoresExist;  // an old table to replace, or none yet
    };
    const Case cases[] = {
        {"empty defaults", ""s, true},
        {"text table", "Anna\r\n5000\r\nBert\r\n4000"s, true},
        {"table ending in CR LF", "Anna\r\n5000\r\n"s, true},
        {"binary table", "\x00\x01\xfe\xff\x1a\r"s, true},
        {"no old table", "1\r\n2"s, false},
        {"large table", large, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder game;
        writeFile(game.defaults(), bytesOf(c.defaults));
        if (c.scoresExist)
            writeFile(game.scores(), QByteArray("old table that is longer than some defaults\r\n"));

        EXPECT_EQ(messageOf(resetHighScores(game.root())), "");

        const QByteArray written = readFile(game.scores());
        ASSERT_EQ(written.size(), static_cast<qsizetype>(c.defaults.size()) + 2);
        EXPECT_EQ(written.left(written.size() - 2), bytesOf(c.defaults));
        EXPECT_EQ(written.right(2), QByteArray("\x0d\x0a"));
        EXPECT_EQ(readFile(game.defaults()), bytesOf(c.defaults)) << "the defaults are only read";
        EXPECT_EQ(entries(game.data()), (QStringList{"defaultscores.dat", "highscores.dat"}));
    }
}

TEST(ResetHighScores, TwoResetsGiveIdenticalFiles)
{
    GameFolder game;
    writeFile(game.defaults(), QByteArray("Anna\r\n5000\r\n"));
    writeFile(game.scores(), QByteArray("Zed\r\n99999\r\n"));

    ASSERT_EQ(messageOf(resetHighScores(game.root())), "");
    const QByteArray first = readFile(game.scores());
    ASSERT_EQ(messageOf(resetHighScores(game.root())), "");
    EXPECT_EQ(readFile(game.scores()), first);
    EXPECT_EQ(first, QByteArray("Anna\r\n5000\r\n\r\n"));
}

const QByteArray OldTable("Zed\r\n99999\r\n");
const auto ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

struct FailureCase {
    const char *name;
    std::function<void(const GameFolder &)> arrange;
    QString namedFile;  // must appear in the message
    QString reason;  // must appear in the message too, when not empty
    std::function<void(const GameFolder &)> restore;
    std::optional<rlim_t> room = {};  // set: the disk takes only this many bytes
};

void expectFailureLeavesTableAlone(const FailureCase &c)
{
    SCOPED_TRACE(c.name);
    GameFolder game;
    c.arrange(game);
    const QStringList before = entries(game.data());
    const QByteArray scoresBefore = readFile(game.scores());

    std::optional<FileError> failure;
    {
        std::optional<WritesFail> full;
        if (c.room)
            full.emplace(*c.room);
        failure = resetHighScores(game.root());
    }
    ASSERT_TRUE(failure.has_value());
    const QString error = failure->message();

    if (c.restore)
        c.restore(game);
    EXPECT_TRUE(error.contains(c.namedFile)) << error.toStdString();
    EXPECT_TRUE(c.reason.isEmpty() || error.contains(c.reason)) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QLatin1Char('.'))) << error.toStdString();
    EXPECT_EQ(readFile(game.scores()), scoresBefore);
    EXPECT_EQ(entries(game.data()), before) << "no file added or removed";
}

TEST(ResetHighScores, FailuresNameTheFileAndLeaveTheOldTable)
{
    const FailureCase cases[] = {
        {"missing defaults",
         [](const GameFolder &g) { writeFile(g.scores(), OldTable); },
         DefaultScores,
         QStringLiteral("No such file"),
         {}},
        {"defaults are a folder",
         [](const GameFolder &g) {
             QDir(g.data()).mkdir(QStringLiteral("defaultscores.dat"));
             writeFile(g.scores(), OldTable);
         },
         DefaultScores,
         {},
         {}},
        {"high-score file marked read-only",
         [](const GameFolder &g) {
             writeFile(g.defaults(), "defaults");
             writeFile(g.scores(), OldTable);
             QFile::setPermissions(g.scores(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
         },
         HighScores, QStringLiteral("read-only"),
         [](const GameFolder &g) { QFile::setPermissions(g.scores(), ReadWrite); }},
        {"high-score name taken by a folder",
         [](const GameFolder &g) {
             writeFile(g.defaults(), "defaults");
             QDir(g.data()).mkdir(QStringLiteral("highscores.dat"));
         },
         HighScores,
         {},
         {}},
        {"defaults are a pipe",
         [](const GameFolder &g) {
             makePipe(g.defaults());
             writeFile(g.scores(), OldTable);
         },
         DefaultScores,
         QStringLiteral("is not a regular file"),
         {}},
        {"high-score file is a pipe",
         [](const GameFolder &g) {
             writeFile(g.defaults(), "defaults");
             makePipe(g.scores());
         },
         HighScores,
         QStringLiteral("is not a regular file"),
         {}},
        {"disk full",
         [](const GameFolder &g) {
             writeFile(g.defaults(), "defaults");
             writeFile(g.scores(), OldTable);
         },
         HighScores,
         QStringLiteral("File too large"),
         {},
         0},
        {"disk fills in the middle of a large table",
         [](const GameFolder &g) {
             writeFile(g.defaults(), QByteArray(12 * 1024, 'x'));
             writeFile(g.scores(), OldTable);
         },
         HighScores,
         QStringLiteral("File too large"),
         {},
         8 * 1024},
    };
    for (const FailureCase &c : cases)
        expectFailureLeavesTableAlone(c);
}

TEST(ResetHighScores, PermissionFailuresLeaveTheOldTable)
{
    if (!permissionsStopWrites())
        GTEST_SKIP() << "permission bits do not stop this user from reading";
    const FailureCase cases[] = {
        {"defaults unreadable",
         [](const GameFolder &g) {
             writeFile(g.defaults(), "defaults");
             writeFile(g.scores(), OldTable);
             QFile::setPermissions(g.defaults(), QFileDevice::WriteOwner);
         },
         DefaultScores,
         {},
         [](const GameFolder &g) { QFile::setPermissions(g.defaults(), ReadWrite); }},
    };
    for (const FailureCase &c : cases)
        expectFailureLeavesTableAlone(c);
}

// A locked data folder with a writable table: the table is rewritten in place.
TEST(ResetHighScores, LockedDataFolderRewritesAWritableTable)
{
    for (const bool tableThere : {true, false}) {
        SCOPED_TRACE(tableThere ? "table there" : "no table yet");
        GameFolder game;
        writeFile(game.defaults(), "defaults");
        if (tableThere)
            writeFile(game.scores(), OldTable);
        QFile::setPermissions(game.data(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        const bool reset = asPlayer(game.root(), [&] { return !resetHighScores(game.root()); });

        QFile::setPermissions(game.data(), ReadWrite);
        EXPECT_EQ(reset, tableThere);
        EXPECT_EQ(readFile(game.scores()), tableThere ? QByteArray("defaults\r\n") : QByteArray("<unreadable>"));
    }
}

TEST(ResetHighScores, MissingDataFolderIsReportedAndNothingIsCreated)
{
    QTemporaryDir root;
    const QString error = QString::fromStdString(messageOf(resetHighScores(root.path())));
    EXPECT_TRUE(error.contains(DefaultScores)) << error.toStdString();
    EXPECT_TRUE(entries(root.path()).isEmpty());
}

TEST(ResetHighScores, DataNameTakenByAFileIsReported)
{
    QTemporaryDir root;
    writeFile(QDir(root.path()).filePath(QStringLiteral("data")), "not a folder");
    const QString error = QString::fromStdString(messageOf(resetHighScores(root.path())));
    EXPECT_TRUE(error.contains(DefaultScores)) << error.toStdString();
    EXPECT_EQ(readFile(QDir(root.path()).filePath(QStringLiteral("data"))), QByteArray("not a folder"));
}

}  // namespace
}  // namespace trelvane

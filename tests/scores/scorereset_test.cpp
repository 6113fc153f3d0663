// Replacing the high-score table: exact bytes on success, and on every failure
// a message naming the file while the old table stays as it was.

#include "files/gamefolder.h"
#include "scores/scorereset.h"

#include <gtest/gtest.h>

#include "diskfiles.h"
#include "failingcalls.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trelvane {
namespace {

using namespace trelvane::testing;

using namespace std::string_literals;

const std::string HighScores = GameFolder::shownName(GameFile::HighScores);
const std::string DefaultScores = GameFolder::shownName(GameFile::DefaultScores);

// A game folder with its data folder, removed afterwards.
class TestGame {
public:
    TestGame() { fs::create_directory(data()); }
    const GameFolder &folder() const { return folder_; }
    fs::path root() const { return dir_.path(); }
    fs::path data() const { return root() / "data"; }
    fs::path defaults() const { return folder_.path(GameFile::DefaultScores); }
    fs::path scores() const { return folder_.path(GameFile::HighScores); }

private:
    TempDir dir_;
    GameFolder folder_{dir_.path()};
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
    for (int i = 0; i < 200000; ++i)
        large.push_back(static_cast<char>((i * 131) & 0xff));

    struct Case {
        const char *name;
        std::string defaults;
        bool scoresExist;  // an old table to replace, or none yet
        bool throughLink = false;  // the table's name is a link to it: the table is rewritten in place
    };
    const Case cases[] = {
        {"empty defaults", ""s, true},
        {"text table", "Anna\r\n5000\r\nBert\r\n4000"s, true},
        {"table ending in CR LF", "Anna\r\n5000\r\n"s, true},
        {"binary table", "\x00\x01\xfe\xff\x1a\r"s, true},
        {"no old table", "1\r\n2"s, false},
        {"large table, in several pieces", large, true},
#ifndef _WIN32
        {"large table, in several pieces, through a link", large, true, true},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGame game;
        writeFile(game.defaults(), c.defaults);
        const fs::path table = c.throughLink ? game.data() / "table" : game.scores();
        if (c.scoresExist)
            writeFile(table, "old table that is longer than some defaults\r\n");
        if (c.throughLink)
            fs::create_symlink("table", game.scores());

        EXPECT_EQ(messageOf(resetHighScores(game.folder())), "");

        EXPECT_EQ(readFile(table), c.defaults + "\r\n");
        EXPECT_EQ(readFile(game.defaults()), c.defaults) << "the defaults are only read";
        EXPECT_EQ(entries(game.data()), c.throughLink
                                            ? (std::vector<std::string>{"defaultscores.dat", "highscores.dat", "table"})
                                            : (std::vector<std::string>{"defaultscores.dat", "highscores.dat"}));
    }
}

TEST(ResetHighScores, TwoResetsGiveIdenticalFiles)
{
    TestGame game;
    writeFile(game.defaults(), "Anna\r\n5000\r\n");
    writeFile(game.scores(), "Zed\r\n99999\r\n");

    ASSERT_EQ(messageOf(resetHighScores(game.folder())), "");
    const std::string first = readFile(game.scores());
    ASSERT_EQ(messageOf(resetHighScores(game.folder())), "");
    EXPECT_EQ(readFile(game.scores()), first);
    EXPECT_EQ(first, "Anna\r\n5000\r\n\r\n");
}

const std::string OldTable("Zed\r\n99999\r\n");

struct FailureCase {
    const char *name;
    std::function<void(const TestGame &)> arrange;
    std::string namedFile;  // must appear in the message
    std::string reason;  // must appear in the message too
    std::function<void(const TestGame &)> restore;
    std::optional<rlim_t> room = {};  // set: the disk takes only this many bytes
    bool once = false;  // only the first write past the room fails
    std::size_t failingCall = 0;  // set: that fsync or rename of the reset fails (not on Windows)
};

void expectFailureLeavesTableAlone(const FailureCase &c)
{
    SCOPED_TRACE(c.name);
    TestGame game;
    c.arrange(game);
    const auto before = entries(game.data());
    const std::string scoresBefore = readFile(game.scores());

    std::optional<FileError> failure;
    {
        std::optional<WritesFail> full;
#ifdef _WIN32
        if (c.room)
            full.emplace(*c.room);
#else
        if (c.room)
            full.emplace(*c.room, c.once);
        std::optional<CallsFail> seam;
        if (c.failingCall)
            seam.emplace(c.failingCall, EIO);
#endif
        failure = resetHighScores(game.folder());
    }
    ASSERT_TRUE(failure.has_value());
    const std::string error = failure->message();

    if (c.restore)
        c.restore(game);
    EXPECT_TRUE(contains(error, c.namedFile)) << error;
    EXPECT_TRUE(contains(error, c.reason)) << error;
    EXPECT_EQ(error.back(), '.') << error;
    EXPECT_EQ(readFile(game.scores()), scoresBefore);
    EXPECT_EQ(entries(game.data()), before) << "no file added or removed";
}

TEST(ResetHighScores, FailuresNameTheFileAndLeaveTheOldTable)
{
    const std::string DiskFull = "Cannot write " + HighScores + ": " + FileTooLarge + ".";
    const auto smallTable = [](const TestGame &g) {
        writeFile(g.defaults(), "defaults");
        writeFile(g.scores(), OldTable);
    };
    const auto largeTable = [](const TestGame &g) {
        writeFile(g.defaults(), std::string(200 * 1024, 'x'));
        writeFile(g.scores(), OldTable);
    };
    const FailureCase cases[] = {
        {"missing defaults", [](const TestGame &g) { writeFile(g.scores(), OldTable); }, DefaultScores, NoSuchFile, {}},
        {"defaults are a folder",
         [](const TestGame &g) {
             fs::create_directory(g.defaults());
             writeFile(g.scores(), OldTable);
         },
         DefaultScores,
         "",
         {}},
        {"high-score file marked read-only",
         [](const TestGame &g) {
             writeFile(g.defaults(), "defaults");
             writeFile(g.scores(), OldTable);
             setMode(g.scores(), 0440);
         },
         HighScores, "read-only", [](const TestGame &g) { setMode(g.scores(), 0600); }},
        {"high-score name taken by a folder",
         [](const TestGame &g) {
             writeFile(g.defaults(), "defaults");
             fs::create_directory(g.scores());
         },
         HighScores,
         "",
         {}},
#ifndef _WIN32
        {"defaults are a pipe",
         [](const TestGame &g) {
             makePipe(g.defaults());
             writeFile(g.scores(), OldTable);
         },
         DefaultScores,
         "is not a regular file",
         {}},
        {"high-score file is a pipe",
         [](const TestGame &g) {
             writeFile(g.defaults(), "defaults");
             makePipe(g.scores());
         },
         HighScores,
         "is not a regular file",
         {}},
#endif
        {"disk full", smallTable, HighScores, DiskFull, {}, 0},
        {"disk fills in the middle of a large table", largeTable, HighScores, DiskFull, {}, 150 * 1024},
#ifndef _WIN32
        {"a link to a missing file",
         [](const TestGame &g) {
             writeFile(g.defaults(), "defaults");
             fs::create_symlink("../nowhere", g.scores());
         },
         HighScores,
         "is a link to a missing file",
         {}},
        // The kernel refuses to read this one from its start.
        {"defaults open but cannot be read",
         [](const TestGame &g) {
             fs::create_symlink("/proc/self/mem", g.defaults());
             writeFile(g.scores(), OldTable);
         },
         DefaultScores,
         "Cannot read " + DefaultScores + ": ",
         {}},
        {"one write of a large table fails, the next ones would not", largeTable, HighScores, DiskFull, {}, 0, true},
        {"the new table does not reach the disk",
         smallTable,
         HighScores,
         "Cannot write " + HighScores + ": Input/output error.",
         {},
         {},
         false,
         1},
        {"the new table cannot take the old one's place",
         smallTable,
         HighScores,
         "Cannot save " + HighScores + ": Input/output error.",
         {},
         {},
         false,
         2},
#endif
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
         [](const TestGame &g) {
             writeFile(g.defaults(), "defaults");
             writeFile(g.scores(), OldTable);
             setMode(g.defaults(), 0200);
         },
         DefaultScores, "", [](const TestGame &g) { setMode(g.defaults(), 0600); }},
    };
    for (const FailureCase &c : cases)
        expectFailureLeavesTableAlone(c);
}

#ifndef _WIN32
// A locked data folder with a writable table: the table is rewritten in place.
TEST(ResetHighScores, LockedDataFolderRewritesAWritableTable)
{
    for (const bool tableThere : {true, false}) {
        SCOPED_TRACE(tableThere ? "table there" : "no table yet");
        TestGame game;
        writeFile(game.defaults(), "defaults");
        if (tableThere)
            writeFile(game.scores(), OldTable);
        setMode(game.data(), 0500);

        const bool reset = asPlayer(game.root(), [&] { return !resetHighScores(game.folder()); });

        setMode(game.data(), 0700);
        EXPECT_EQ(reset, tableThere);
        EXPECT_EQ(readFile(game.scores()), tableThere ? "defaults\r\n" : "<unreadable>");
    }
}
#endif

TEST(ResetHighScores, MissingDataFolderIsReportedAndNothingIsCreated)
{
    TempDir root;
    const std::string error = messageOf(resetHighScores(GameFolder(root.path())));
    EXPECT_EQ(error, "Cannot open " + DefaultScores + ": " + NoSuchFolder + ".");
    EXPECT_TRUE(entries(root.path()).empty());
}

TEST(ResetHighScores, DataNameTakenByAFileIsReported)
{
    TempDir root;
    writeFile(root / "data", "not a folder");
    const std::string error = messageOf(resetHighScores(GameFolder(root.path())));
    EXPECT_TRUE(contains(error, DefaultScores)) << error;
    EXPECT_EQ(readFile(root / "data"), "not a folder");
}

}  // namespace
}  // namespace trelvane

// Settings files on disk: what a load reports, the exact bytes a save leaves,
// and that a failed save leaves the old file and no temporary file behind.

#include "files/gamefolder.h"
#include "files/wholefile.h"
#include "settings/settingsfile.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

#include <gtest/gtest.h>

#include "diskfiles.h"
#include "failingcalls.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelvane {
namespace {

using namespace trelvane::testing;

// A file as the game leaves it, and the values it holds.
const std::string SampleFile("3\r\n9\r\n1\r\n0\r\n1\r\n0\r\n1\r\n0\r\n50\r\n1\r\n.07\r\n0\r\n1\r\n1\r\n"
                             "203\r\n205\r\n57\r\n30\r\n32\r\n");

GameSettings sampleSettings()
{
    GameSettings s;
    s.SphereDetail = 3;
    s.OdoDetail = 9;
    s.FPS = 1;
    s.Score = 0;
    s.Level = 1;
    s.Mask = 0;
    s.Mirror = 1;
    s.Transparency = 0;
    s.MsgTrans = 50;
    s.Sound = 1;
    s.SoundVolume = 7;
    s.Music = 0;
    s.MusicVolume = 100;
    s.Particles = 1;
    s.Keys = {203, 205, 57, 30, 32};
    return s;
}

std::string withLine(int line, const std::string &text)
{
    std::size_t start = 0;
    for (int i = 1; i < line; ++i)
        start = SampleFile.find('\n', start) + 1;
    return SampleFile.substr(0, start) + text + SampleFile.substr(SampleFile.find('\r', start));
}

TEST(LoadSettingsFile, ReadsAWellFormedFile)
{
    for (ReadMode mode : {ReadMode::StartUp, ReadMode::Factory}) {
        TempDir dir;
        writeFile(dir / "trelvane.cfg", SampleFile);
        GameSettings loaded;
        EXPECT_EQ(messageOf(loadSettingsFile(GameFolder(dir.path()), GameFile::Settings, mode, loaded)), "");
        EXPECT_TRUE(loaded == sampleSettings());
        EXPECT_EQ(readFile(dir / "trelvane.cfg"), SampleFile) << "a load never writes";
    }
}

TEST(LoadSettingsFile, ProblemsInTheFileNameTheFileAndLine)
{
    struct Case {
        const char *name;
        GameFile file;
        std::string content;
        ReadMode mode;
        bool fails;
        int line;  // the line the message must name; 0: not checked
    };
    const Case cases[] = {
        {"word on line 4", GameFile::Settings, withLine(4, "abc"), ReadMode::StartUp, true, 4},
        {"empty line 4 at start-up", GameFile::Settings, withLine(4, ""), ReadMode::StartUp, true, 4},
        {"empty line 4 in the factory file", GameFile::Factory, withLine(4, ""), ReadMode::Factory, false, 0},
        {"word in the factory file", GameFile::Factory, withLine(9, "fast"), ReadMode::Factory, true, 9},
        {"sphere detail out of range", GameFile::Settings, withLine(1, "9"), ReadMode::StartUp, true, 1},
        {"file ends early", GameFile::Settings, SampleFile.substr(0, SampleFile.rfind("30\r\n")), ReadMode::StartUp,
         true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const GameFolder folder(dir.path());
        writeFile(folder.path(c.file), c.content);

        GameSettings loaded;
        const std::string message = messageOf(loadSettingsFile(folder, c.file, c.mode, loaded));
        const ReadResult direct = loadSettings(c.content, c.mode);

        ASSERT_EQ(message.empty(), !c.fails) << message;
        ASSERT_EQ(direct.ok(), !c.fails);
        if (message.empty()) {
            EXPECT_TRUE(loaded == direct.settings);
            continue;
        }
        EXPECT_EQ(message, GameFolder::shownName(c.file) + ", " + direct.error->where() + ".");
        EXPECT_TRUE(loaded == GameSettings{}) << "a failed load leaves the settings alone";
        EXPECT_FALSE(contains(message, dir.path().string())) << "the file name, not its path";
        EXPECT_TRUE(c.line == 0 || contains(message, "line " + std::to_string(c.line))) << message;
    }
}

TEST(LoadSettingsFile, EmptyFactoryValueReadsAsZero)
{
    TempDir dir;
    const GameFolder folder(dir.path());
    writeFile(dir / "default.cfg", withLine(3, ""));
    GameSettings factory;
    ASSERT_EQ(messageOf(loadSettingsFile(folder, GameFile::Factory, ReadMode::Factory, factory)), "");
    GameSettings expected = sampleSettings();
    expected.FPS = 0;
    EXPECT_TRUE(factory == expected);
    GameSettings startUp;
    EXPECT_TRUE(loadSettingsFile(folder, GameFile::Factory, ReadMode::StartUp, startUp).has_value());
}

TEST(LoadSettingsFile, UnopenableFilesAreReported)
{
    struct Case {
        const char *name;
        std::function<void(const fs::path &)> arrange;
        std::string reason;
    };
    const Case cases[] = {
        {"missing", [](const fs::path &) {}, "Cannot open trelvane.cfg: " + NoSuchFile + "."},
        {"a folder", [](const fs::path &d) { fs::create_directory(d / "trelvane.cfg"); }, "is not a regular file"},
#ifndef _WIN32
        {"a pipe", [](const fs::path &d) { makePipe(d / "trelvane.cfg"); }, "is not a regular file"},
        // A file that opens but cannot be read: the kernel refuses to read this one from its start.
        {"a read error", [](const fs::path &d) { fs::create_symlink("/proc/self/mem", d / "trelvane.cfg"); },
         "Cannot read trelvane.cfg"},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.arrange(dir.path());
        const auto before = entries(dir.path());

        GameSettings loaded;
        const auto error = loadSettingsFile(GameFolder(dir.path()), GameFile::Settings, ReadMode::StartUp, loaded);

        ASSERT_TRUE(error.has_value());
        const std::string message = error->message();
        EXPECT_TRUE(contains(message, "trelvane.cfg")) << message;
        EXPECT_FALSE(contains(message, dir.path().string())) << message;
        EXPECT_TRUE(contains(message, c.reason)) << message;
        EXPECT_EQ(entries(dir.path()), before) << "a failed load creates nothing";
    }
}

TEST(ReadFileStart, ReadsNoMoreThanItsLimit)
{
    TempDir dir;
    std::string content;
    for (int i = 0; i < 3 * 65536 + 5; ++i)
        content.push_back(static_cast<char>('a' + i % 26));
    writeFile(dir / "big.dat", content);
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{65535}, std::size_t{65536},
                                    std::size_t{65537}, std::size_t{150000}, content.size() + 1}) {
        std::string bytes;
        ASSERT_EQ(messageOf(readFileStart({dir / "big.dat", "big.dat"}, limit, bytes)), "");
        EXPECT_EQ(bytes, content.substr(0, limit)) << limit;
    }
}

#ifndef _WIN32
// Nineteen values, then a hole of 2 GB: only what the reader can use is read.
TEST(LoadSettingsFile, AHugeTailCostsNothing)
{
#ifdef TRELVANE_SANITIZE
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit allows";
#endif
    TempDir dir;
    writeFile(dir / "trelvane.cfg", SampleFile);
    fs::resize_file(dir / "trelvane.cfg", std::uintmax_t{2} << 30);
    EXPECT_TRUE(inChild([&] {
        const rlimit room{std::size_t{256} << 20, std::size_t{256} << 20};
        GameSettings loaded;
        return setrlimit(RLIMIT_AS, &room) == 0 &&
               !loadSettingsFile(GameFolder(dir.path()), GameFile::Settings, ReadMode::StartUp, loaded) &&
               loaded == sampleSettings();
    }));
}
#endif

TEST(SaveSettingsFile, WritesExactlyTheWritersBytes)
{
    GameSettings quiet;
    quiet.SoundVolume = 0;
    quiet.MusicVolume = 50;
    quiet.Keys = {1, 2, 3, 4, 237};

    struct Case {
        const char *name;
        GameSettings settings;
        std::string oldContent;  // empty: no file yet
    };
    const Case cases[] = {
        {"new file", sampleSettings(), {}},
        {"over a longer file", sampleSettings(), SampleFile + "7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n"},
        {"over another file", quiet, SampleFile},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const GameFolder folder(dir.path());
        const fs::path path = dir / "trelvane.cfg";
        if (!c.oldContent.empty())
            writeFile(path, c.oldContent);

        EXPECT_EQ(messageOf(saveSettingsFile(folder, c.settings)), "");
        EXPECT_EQ(readFile(path), writeSettings(c.settings));
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"trelvane.cfg"}) << "no temporary file left";

        GameSettings back;
        EXPECT_EQ(messageOf(loadSettingsFile(folder, GameFile::Settings, ReadMode::StartUp, back)), "");
        EXPECT_TRUE(back == c.settings);
    }
}

TEST(SaveSettingsFile, SampleSettingsGiveTheGamesBytes)
{
    TempDir dir;
    const GameFolder folder(dir.path());
    ASSERT_EQ(messageOf(saveSettingsFile(folder, sampleSettings())), "");
    EXPECT_EQ(readFile(dir / "trelvane.cfg"), SampleFile);
    ASSERT_EQ(messageOf(saveSettingsFile(folder, sampleSettings())), "");
    EXPECT_EQ(readFile(dir / "trelvane.cfg"), SampleFile) << "saving twice gives the same file";
}

const std::string OldSettings = withLine(9, "320");
const std::string DiskFull = "Cannot write trelvane.cfg: " + FileTooLarge + ".";

struct SaveFailure {
    const char *name;
    fs::path subFolder;  // the game's folder, below the temporary folder
    std::function<void(const fs::path &)> arrange;
    std::string reason;  // must appear in the message
    std::function<void(const fs::path &)> restore;
    std::optional<rlim_t> room = {};  // set: the disk takes only this many bytes
};

void expectFailedSaveChangesNothing(const SaveFailure &c)
{
    SCOPED_TRACE(c.name);
    TempDir dir;
    c.arrange(dir.path());
    const GameFolder game(dir / c.subFolder);
    const fs::path path = game.path(GameFile::Settings);
    const auto rootBefore = entries(dir.path());
    const auto folderBefore = entries(game.root());
    const std::string fileBefore = readFile(path);

    std::optional<FileError> failure;
    {
        std::optional<WritesFail> full;
        if (c.room)
            full.emplace(*c.room);
        failure = saveSettingsFile(game, sampleSettings());
    }
    ASSERT_TRUE(failure.has_value());
    const std::string error = failure->message();

    if (c.restore)
        c.restore(dir.path());
    EXPECT_TRUE(contains(error, "trelvane.cfg")) << error;
    EXPECT_TRUE(contains(error, c.reason)) << error;
    EXPECT_EQ(error.back(), '.') << error;
    EXPECT_EQ(readFile(path), fileBefore);
    EXPECT_EQ(entries(dir.path()), rootBefore) << "nothing created or removed";
    EXPECT_EQ(entries(game.root()), folderBefore) << "no temporary file left";
}

TEST(SaveSettingsFile, FailedSaveLeavesTheOldFile)
{
    const SaveFailure cases[] = {
        {"file marked read-only", "",
         [](const fs::path &d) {
             writeFile(d / "trelvane.cfg", OldSettings);
             setMode(d / "trelvane.cfg", 0444);
         },
         "Cannot save trelvane.cfg: the file is read-only.",
         [](const fs::path &d) { setMode(d / "trelvane.cfg", 0600); }},
        {"missing folder", "game", [](const fs::path &) {}, NoSuchFolder, {}},
        {"name taken by a folder",
         "",
         [](const fs::path &d) {
             fs::create_directory(d / "trelvane.cfg");
             writeFile(d / "trelvane.cfg/inside", "kept");
         },
         "",
         {}},
        {"folder name taken by a file", "game", [](const fs::path &d) { writeFile(d / "game", OldSettings); }, "", {}},
#ifndef _WIN32
        {"a pipe in the file's place",
         "",
         [](const fs::path &d) { makePipe(d / "trelvane.cfg"); },
         "is not a regular file",
         {}},
#endif
        {"disk full, over the old file",
         "",
         [](const fs::path &d) { writeFile(d / "trelvane.cfg", OldSettings); },
         DiskFull,
         {},
         0},
        {"disk full, no file yet", "", [](const fs::path &) {}, DiskFull, {}, 0},
        {"disk fills in the middle",
         "",
         [](const fs::path &d) { writeFile(d / "trelvane.cfg", OldSettings); },
         DiskFull,
         {},
         10},
#ifndef _WIN32
        {"a link to a missing file",
         "",
         [](const fs::path &d) { fs::create_symlink("elsewhere.cfg", d / "trelvane.cfg"); },
         "Cannot save trelvane.cfg: it is a link to a missing file.",
         {}},
#endif
    };
    for (const SaveFailure &c : cases)
        expectFailedSaveChangesNothing(c);
}

TEST(SaveSettingsFile, FailedRenameLeavesNoTemporaryFile)
{
    TempDir dir;
    const fs::path path = dir / "trelvane.cfg";
    writeFile(path, OldSettings);
    FileReplacement replacement({path, "trelvane.cfg"});
    ASSERT_FALSE(replacement.open());
    ASSERT_FALSE(replacement.write(SampleFile));
    // Something takes the file's name before the new file can: the rename must fail.
    ASSERT_TRUE(fs::remove(path));
    ASSERT_TRUE(fs::create_directory(path));
    writeFile(dir / "trelvane.cfg/inside", "kept");

    const auto failure = replacement.commit();

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->action, FileAction::Save);
    EXPECT_EQ(readFile(dir / "trelvane.cfg/inside"), "kept");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"trelvane.cfg"}) << "no temporary file left";
}

#ifndef _WIN32
// An installed game's folder may be locked with only the settings file left
// writable: no temporary file fits there, so the file is rewritten in place:
// over the old bytes, then cut to length, never emptied first.
TEST(SaveSettingsFile, LockedFolderRewritesAWritableFileInPlace)
{
    const std::string longer = OldSettings + "and more than the new file holds\r\n";
    const struct {
        const char *name;
        std::string old;  // empty: no file
        std::optional<rlim_t> room;
        const char *outcome;  // what the save reports
        std::string after;
    } cases[] = {
        {"file there", longer, {}, "", SampleFile},
        {"no file yet", "", {}, "Cannot save trelvane.cfg: Permission denied.", "<unreadable>"},
        {"nothing could be written", longer, 0, "Cannot write trelvane.cfg: File too large.", longer},
        {"part written", longer, 10,
         "Cannot write trelvane.cfg: File too large. trelvane.cfg was being rewritten in place and may now be "
         "incomplete.",
         SampleFile.substr(0, 10) + longer.substr(10)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const GameFolder game(dir / "game");
        const fs::path path = game.path(GameFile::Settings);
        ASSERT_TRUE(fs::create_directory(game.root()));
        if (!c.old.empty())
            writeFile(path, c.old);
        setMode(game.root(), 0500);

        const bool asExpected = asPlayer(dir.path(), [&] {
            std::optional<WritesFail> full;
            if (c.room)
                full.emplace(*c.room);
            return messageOf(saveSettingsFile(game, sampleSettings())) == c.outcome;
        });

        setMode(game.root(), 0700);
        EXPECT_TRUE(asExpected);
        EXPECT_EQ(readFile(path), c.after);
        EXPECT_EQ(entries(game.root()),
                  c.old.empty() ? std::vector<std::string>{} : std::vector<std::string>{"trelvane.cfg"});
    }
}

TEST(SaveSettingsFile, ANewFileGetsTheRightsAnyNewFileGets)
{
    TempDir dir;
    const mode_t mask = ::umask(027);
    const auto error = saveSettingsFile(GameFolder(dir.path()), sampleSettings());
    ::umask(mask);
    ASSERT_EQ(messageOf(error), "");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "trelvane.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// The game, running as the player, must still be able to write what another user saved;
// and a folder anyone may write to does not make a file the player may not write the player's.
TEST(SaveSettingsFile, SavedFileKeepsItsOwnerGroupAndMode)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    const struct {
        const char *name;
        uid_t uid;
        gid_t gid;
        mode_t mode;
        bool byPlayer;  // saved by "nobody" rather than the superuser
        const char *outcome = "";
    } cases[] = {
        {"replaced by the superuser", 65534, 4242, 0640, false},
        {"set-group-id file", 65534, 4242, 02664, false},
        {"the superuser's own file of another group", 0, 4242, 0640, false},
        {"writable by its group alone", 65534, 4242, 0464, false},
        {"another user's shared file, rewritten in place", 1, 4242, 0666, true},
        {"another user's file", 1, 65534, 0644, true, "Cannot save trelvane.cfg: Permission denied."},
        {"the player's own file that only its group may write", 65534, 65534, 0464, true,
         "Cannot save trelvane.cfg: Permission denied."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path path = dir / "game/trelvane.cfg";
        fs::create_directories(dir / "game");
        fs::create_directory(dir / "player");
        setMode(dir.path(), 0755);
        setMode(dir / "game", 0777);
        writeFile(path, OldSettings);
        ASSERT_EQ(chown(path.c_str(), c.uid, c.gid), 0);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        struct stat before {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);

        const auto save = [&] {
            return messageOf(saveSettingsFile(GameFolder(dir / "game"), sampleSettings())) == c.outcome;
        };
        EXPECT_TRUE(c.byPlayer ? asPlayer(dir / "player", save) : save());

        struct stat after {};
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, c.uid);
        EXPECT_EQ(after.st_gid, c.gid);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        // The superuser can give the new file every right, so it replaces the old one whole.
        EXPECT_EQ(after.st_ino != before.st_ino, !c.byPlayer);
        EXPECT_EQ(readFile(path), *c.outcome ? OldSettings : SampleFile);
        EXPECT_EQ(entries(dir / "game"), std::vector<std::string>{"trelvane.cfg"});
    }
}

// A player's write clears the set-user-id and set-group-id bits of a file:
// the saved file still has every bit of its mode.
TEST(SaveSettingsFile, APlayersOwnSetIdFileKeepsItsMode)
{
    for (const mode_t mode : {mode_t{04755}, mode_t{02775}}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        const fs::path path = dir / "game/trelvane.cfg";
        fs::create_directories(dir / "game");
        fs::create_directory(dir / "player");
        writeFile(path, OldSettings);
        if (geteuid() == 0) {
            setMode(dir.path(), 0755);
            setMode(dir / "game", 0777);
            ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        }
        setMode(path, mode);

        EXPECT_TRUE(
            asPlayer(dir / "player", [&] { return !saveSettingsFile(GameFolder(dir / "game"), sampleSettings()); }));

        struct stat after {};
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(readFile(path), SampleFile);
    }
}

// A link is written through only where that cannot turn the writer's rights
// against another user's file: here the superuser saves in a player's folder.
TEST(SaveSettingsFile, LinksOfAnotherOwnerAreNotWrittenThrough)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can make links of another user";
    constexpr uid_t Player = 65534;
    const struct {
        const char *name;
        uid_t linkOwner;
        uid_t targetOwner;
        const char *outcome;
    } cases[] = {
        {"the player's link to the superuser's file", Player, 0,
         "Cannot save trelvane.cfg: it is a link to a file of another user."},
        {"the player's link to the player's file", Player, Player, ""},
        {"the writer's own link", 0, Player, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path link = dir / "trelvane.cfg";
        const fs::path target = dir / "target";
        writeFile(target, OldSettings);
        ASSERT_EQ(chown(target.c_str(), c.targetOwner, c.targetOwner), 0);
        ASSERT_EQ(chmod(target.c_str(), 0600), 0);
        fs::create_symlink("target", link);
        ASSERT_EQ(lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);

        EXPECT_EQ(messageOf(saveSettingsFile(GameFolder(dir.path()), sampleSettings())), c.outcome);

        EXPECT_EQ(readFile(target), *c.outcome ? OldSettings : SampleFile);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"target", "trelvane.cfg"}));
    }
}

// The new file reaches the disk before it takes the old one's place; the folder follows the rename.
// A file rewritten in place through a link is synced where it stands.
TEST(SaveSettingsFile, SyncsTheFileBeforeTheRenameAndTheFolderAfter)
{
    const struct {
        bool throughLink;  // the writer's own link to the file: written through, in place
        std::size_t failingCall;
        int failure;
        const char *outcome;
        const char *calls;
        bool newBytes;  // the file holds the new settings afterwards
    } cases[] = {
        {false, 0, 0, "", "fsync rename fsync ", true},
        {false, 1, EIO, "Cannot write trelvane.cfg: Input/output error.", "fsync ", false},
        {false, 3, EIO, "trelvane.cfg was saved, but it may not survive a power cut: Input/output error.",
         "fsync rename fsync ", true},
        {false, 3, EINVAL, "", "fsync rename fsync ", true},  // a file system that syncs no folders
        {true, 0, 0, "", "fsync ", true},
        {true, 1, EIO,
         "Cannot write trelvane.cfg: Input/output error. trelvane.cfg was being rewritten in place and may now be "
         "incomplete.",
         "fsync ", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outcome);
        TempDir dir;
        const fs::path file = dir / (c.throughLink ? "target" : "trelvane.cfg");
        writeFile(file, OldSettings);
        if (c.throughLink)
            fs::create_symlink("target", dir / "trelvane.cfg");

        std::optional<FileError> error;
        std::string calls;
        {
            CallsFail seam(c.failingCall, c.failure);
            error = saveSettingsFile(GameFolder(dir.path()), sampleSettings());
            calls = CallsFail::calls;
        }

        EXPECT_EQ(messageOf(error), c.outcome);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(readFile(file), c.newBytes ? SampleFile : OldSettings);
        EXPECT_EQ(entries(dir.path()), c.throughLink ? (std::vector<std::string>{"target", "trelvane.cfg"})
                                                     : std::vector<std::string>{"trelvane.cfg"});
    }
}

// The name turned into a link to `to`, as another process could do between a check and an open.
int relink(int folder, const char *name, const char *to)
{
    ::unlinkat(folder, name, 0);
    return ::symlinkat(to, folder, name);
}

// A folder may refuse new files with EPERM (an immutable folder) as well as
// EACCES; and what was checked before an open must still hold after it.
TEST(SaveSettingsFile, OpensCountOnTheFileOpenedNotOnTheNameChecked)
{
    const struct {
        const char *name;
        bool throughLink;  // trelvane.cfg is the writer's own link to "target"
        std::function<int(int, const char *, int)> beforeOpen;
        const char *outcome;
    } cases[] = {
        {"the folder refuses new files with EPERM", false,
         [](int, const char *, int flags) { return flags & O_CREAT ? EPERM : 0; }, ""},
        {"the file gives way to a link before its in-place open", false,
         [](int folder, const char *name, int flags) {
             return flags & O_CREAT ? EPERM : relink(folder, name, "target");
         },
         "Cannot save trelvane.cfg: Too many levels of symbolic links."},
        {"the link is turned to a device before its open", true,
         [](int folder, const char *name, int flags) {
             return flags & O_CREAT ? 0 : relink(folder, name, "/dev/null");
         },
         "Cannot save trelvane.cfg: it is not a regular file."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir / "target", OldSettings);
        if (c.throughLink)
            fs::create_symlink("target", dir / "trelvane.cfg");
        else
            writeFile(dir / "trelvane.cfg", OldSettings);

        std::optional<FileError> error;
        {
            CallsFail seam;
            CallsFail::beforeOpen = c.beforeOpen;
            error = saveSettingsFile(GameFolder(dir.path()), sampleSettings());
        }

        EXPECT_EQ(messageOf(error), c.outcome);
        EXPECT_EQ(readFile(dir / "target"), OldSettings);
        if (!*c.outcome) {
            EXPECT_EQ(readFile(dir / "trelvane.cfg"), SampleFile);
        }
        EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"target", "trelvane.cfg"})) << "no temporary file";
    }
}
#endif

}  // namespace
}  // namespace trelvane

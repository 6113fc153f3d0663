// Settings files on disk: what a load reports, the exact bytes a save leaves,
// and that a failed save leaves the old file and no temporary file behind.

#include "files/wholefile.h"
#include "settings/settingsfile.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

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
#include <string_view>

namespace trelvane {
namespace {

using namespace trelvane::testing;

// A file as the game leaves it, and the values it holds.
const QByteArray SampleFile("3\r\n9\r\n1\r\n0\r\n1\r\n0\r\n1\r\n0\r\n50\r\n1\r\n.07\r\n0\r\n1\r\n1\r\n"
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

QByteArray withLine(int line, const QByteArray &text)
{
    QList<QByteArray> lines = SampleFile.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

TEST(LoadSettingsFile, ReadsAWellFormedFile)
{
    for (ReadMode mode : {ReadMode::StartUp, ReadMode::Factory}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
        writeFile(path, SampleFile);
        GameSettings loaded;
        EXPECT_EQ(messageOf(loadSettingsFile(path, mode, loaded)), "");
        EXPECT_TRUE(loaded == sampleSettings());
        EXPECT_EQ(readFile(path), SampleFile) << "a load never writes";
    }
}

TEST(LoadSettingsFile, ProblemsInTheFileNameTheFileAndLine)
{
    struct Case {
        const char *name;
        QString fileName;
        QByteArray content;
        ReadMode mode;
        bool fails;
        int line;  // the line the message must name; 0: not checked
    };
    const Case cases[] = {
        {"word on line 4", QStringLiteral("trelvane.cfg"), withLine(4, "abc"), ReadMode::StartUp, true, 4},
        {"empty line 4 at start-up", QStringLiteral("trelvane.cfg"), withLine(4, ""), ReadMode::StartUp, true, 4},
        {"empty line 4 in the factory file", QStringLiteral("default.cfg"), withLine(4, ""), ReadMode::Factory, false,
         0},
        {"word in the factory file", QStringLiteral("default.cfg"), withLine(9, "fast"), ReadMode::Factory, true, 9},
        {"sphere detail out of range", QStringLiteral("trelvane.cfg"), withLine(1, "9"), ReadMode::StartUp, true, 1},
        {"file ends early", QStringLiteral("trelvane.cfg"), SampleFile.left(SampleFile.lastIndexOf("30\r\n")),
         ReadMode::StartUp, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(c.fileName);
        writeFile(path, c.content);

        GameSettings loaded;
        const std::string message = messageOf(loadSettingsFile(path, c.mode, loaded));
        const ReadResult direct =
            loadSettings(std::string_view(c.content.constData(), static_cast<std::size_t>(c.content.size())), c.mode);

        ASSERT_EQ(message.empty(), !c.fails) << message;
        ASSERT_EQ(direct.ok(), !c.fails);
        if (message.empty()) {
            EXPECT_TRUE(loaded == direct.settings);
            continue;
        }
        EXPECT_EQ(message, direct.error->describe(c.fileName.toStdString()));
        EXPECT_NE(message.find(c.fileName.toStdString()), std::string::npos) << message;
        EXPECT_EQ(message.find(dir.path().toStdString()), std::string::npos) << "the file name, not its path";
        EXPECT_TRUE(c.line == 0 || message.find("line " + std::to_string(c.line)) != std::string::npos) << message;
    }
}

TEST(LoadSettingsFile, EmptyFactoryValueReadsAsZero)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("default.cfg"));
    writeFile(path, withLine(3, ""));
    GameSettings factory;
    ASSERT_EQ(messageOf(loadSettingsFile(path, ReadMode::Factory, factory)), "");
    GameSettings expected = sampleSettings();
    expected.FPS = 0;
    EXPECT_TRUE(factory == expected);
    GameSettings startUp;
    EXPECT_TRUE(loadSettingsFile(path, ReadMode::StartUp, startUp).has_value());
}

TEST(LoadSettingsFile, UnopenableFilesAreReported)
{
    struct Case {
        const char *name;
        std::function<void(const QDir &)> arrange;
        QString reason;
    };
    const Case cases[] = {
        {"missing", [](const QDir &) {}, QStringLiteral("No such file")},
        {"a folder", [](const QDir &d) { d.mkdir(QStringLiteral("trelvane.cfg")); },
         QStringLiteral("is not a regular file")},
        {"a pipe", [](const QDir &d) { makePipe(d.filePath(QStringLiteral("trelvane.cfg"))); },
         QStringLiteral("is not a regular file")},
        // A file that opens but cannot be read: the kernel refuses to read this one from its start.
        {"a read error",
         [](const QDir &d) {
             QFile::link(QStringLiteral("/proc/self/mem"), d.filePath(QStringLiteral("trelvane.cfg")));
         },
         QStringLiteral("Cannot read trelvane.cfg")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        c.arrange(QDir(dir.path()));
        const QStringList before = entries(dir.path());

        GameSettings loaded;
        const auto error = loadSettingsFile(dir.filePath(QStringLiteral("trelvane.cfg")), ReadMode::StartUp, loaded);

        ASSERT_TRUE(error.has_value());
        const QString message = error->message();
        EXPECT_TRUE(message.contains(QStringLiteral("trelvane.cfg"))) << message.toStdString();
        EXPECT_FALSE(message.contains(dir.path())) << message.toStdString();
        EXPECT_TRUE(c.reason.isEmpty() || message.contains(c.reason)) << message.toStdString();
        EXPECT_EQ(entries(dir.path()), before) << "a failed load creates nothing";
    }
}

TEST(SaveSettingsFile, WritesExactlyTheWritersBytes)
{
    GameSettings quiet;
    quiet.SoundVolume = 0;
    quiet.MusicVolume = 50;
    quiet.Keys = {1, 2, 3, 4, 237};

    struct Case {
        const char *name;
        GameSettings settings;
        QByteArray oldContent;  // empty: no file yet
    };
    const Case cases[] = {
        {"new file", sampleSettings(), {}},
        {"over a longer file", sampleSettings(), SampleFile + "7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n"},
        {"over another file", quiet, SampleFile},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
        if (!c.oldContent.isEmpty())
            writeFile(path, c.oldContent);

        EXPECT_EQ(messageOf(saveSettingsFile(path, c.settings)), "");
        EXPECT_EQ(readFile(path), bytesOf(writeSettings(c.settings)));
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("trelvane.cfg")}) << "no temporary file left";

        GameSettings back;
        EXPECT_EQ(messageOf(loadSettingsFile(path, ReadMode::StartUp, back)), "");
        EXPECT_TRUE(back == c.settings);
    }
}

TEST(SaveSettingsFile, SampleSettingsGiveTheGamesBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
    ASSERT_EQ(messageOf(saveSettingsFile(path, sampleSettings())), "");
    EXPECT_EQ(readFile(path), SampleFile);
    ASSERT_EQ(messageOf(saveSettingsFile(path, sampleSettings())), "");
    EXPECT_EQ(readFile(path), SampleFile) << "saving twice gives the same file";
}

const QByteArray OldSettings = withLine(9, "320");
const auto ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

struct SaveFailure {
    const char *name;
    QString subPath;  // where the save goes, below the temporary folder
    std::function<void(const QDir &)> arrange;
    QString reason;  // must appear in the message, when not empty
    std::function<void(const QDir &)> restore;
    std::optional<rlim_t> room = {};  // set: the disk takes only this many bytes
};

void expectFailedSaveChangesNothing(const SaveFailure &c)
{
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QDir root(dir.path());
    c.arrange(root);
    const QString path = root.filePath(c.subPath);
    const QString folder = QFileInfo(path).absolutePath();
    const QStringList rootBefore = entries(root.path());
    const QStringList folderBefore = entries(folder);
    const QByteArray fileBefore = readFile(path);

    std::optional<FileError> failure;
    {
        std::optional<WritesFail> full;
        if (c.room)
            full.emplace(*c.room);
        failure = saveSettingsFile(path, sampleSettings());
    }
    ASSERT_TRUE(failure.has_value());
    const QString error = failure->message();

    if (c.restore)
        c.restore(root);
    EXPECT_TRUE(error.contains(QStringLiteral("trelvane.cfg"))) << error.toStdString();
    EXPECT_TRUE(c.reason.isEmpty() || error.contains(c.reason)) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QLatin1Char('.'))) << error.toStdString();
    EXPECT_EQ(readFile(path), fileBefore);
    EXPECT_EQ(entries(root.path()), rootBefore) << "nothing created or removed";
    EXPECT_EQ(entries(folder), folderBefore) << "no temporary file left";
}

TEST(SaveSettingsFile, FailedSaveLeavesTheOldFile)
{
    const SaveFailure cases[] = {
        {"file marked read-only", QStringLiteral("trelvane.cfg"),
         [](const QDir &d) {
             writeFile(d.filePath(QStringLiteral("trelvane.cfg")), OldSettings);
             QFile::setPermissions(d.filePath(QStringLiteral("trelvane.cfg")),
                                   QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
         },
         QStringLiteral("read-only"),
         [](const QDir &d) { QFile::setPermissions(d.filePath(QStringLiteral("trelvane.cfg")), ReadWrite); }},
        {"missing folder",
         QStringLiteral("game/trelvane.cfg"),
         [](const QDir &) {},
         QStringLiteral("No such file"),
         {}},
        {"name taken by a folder",
         QStringLiteral("trelvane.cfg"),
         [](const QDir &d) {
             d.mkdir(QStringLiteral("trelvane.cfg"));
             writeFile(d.filePath(QStringLiteral("trelvane.cfg/inside")), "kept");
         },
         {},
         {}},
        {"folder name taken by a file",
         QStringLiteral("game/trelvane.cfg"),
         [](const QDir &d) { writeFile(d.filePath(QStringLiteral("game")), OldSettings); },
         {},
         {}},
        {"a pipe in the file's place",
         QStringLiteral("trelvane.cfg"),
         [](const QDir &d) { makePipe(d.filePath(QStringLiteral("trelvane.cfg"))); },
         QStringLiteral("is not a regular file"),
         {}},
        {"disk full, over the old file",
         QStringLiteral("trelvane.cfg"),
         [](const QDir &d) { writeFile(d.filePath(QStringLiteral("trelvane.cfg")), OldSettings); },
         QStringLiteral("File too large"),
         {},
         0},
        {"disk full, no file yet",
         QStringLiteral("trelvane.cfg"),
         [](const QDir &) {},
         QStringLiteral("File too large"),
         {},
         0},
        {"disk fills in the middle",
         QStringLiteral("trelvane.cfg"),
         [](const QDir &d) { writeFile(d.filePath(QStringLiteral("trelvane.cfg")), OldSettings); },
         QStringLiteral("File too large"),
         {},
         10},
    };
    for (const SaveFailure &c : cases)
        expectFailedSaveChangesNothing(c);
}

TEST(SaveSettingsFile, FailedRenameLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
    writeFile(path, OldSettings);
    FileReplacement replacement(path);
    ASSERT_FALSE(replacement.open());
    ASSERT_FALSE(replacement.write(SampleFile));
    // Something takes the file's name before the new file can: the rename must fail.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("trelvane.cfg")));
    writeFile(dir.filePath(QStringLiteral("trelvane.cfg/inside")), "kept");

    const auto failure = replacement.commit();

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->action.toStdString(), "save");
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("trelvane.cfg/inside"))), QByteArray("kept"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("trelvane.cfg")}) << "no temporary file left";
}

// An installed game's folder may be locked with only the settings file left
// writable: no temporary file fits there, so the file is rewritten in place.
TEST(SaveSettingsFile, LockedFolderRewritesAWritableFileInPlace)
{
    for (const bool fileThere : {true, false}) {
        SCOPED_TRACE(fileThere ? "file there" : "no file yet");
        QTemporaryDir dir;
        const QString game = dir.filePath(QStringLiteral("game"));
        const QString path = QDir(game).filePath(QStringLiteral("trelvane.cfg"));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("game")));
        if (fileThere)
            writeFile(path, OldSettings);
        QFile::setPermissions(game, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        const bool saved = asPlayer(dir.path(), [&] { return !saveSettingsFile(path, sampleSettings()); });

        QFile::setPermissions(game, ReadWrite);
        EXPECT_EQ(saved, fileThere);
        EXPECT_EQ(readFile(path), fileThere ? SampleFile : QByteArray("<unreadable>"));
        EXPECT_EQ(entries(game), fileThere ? QStringList{QStringLiteral("trelvane.cfg")} : QStringList{});
    }
}

// The game, running as the player, must still be able to write what an administrator saved.
TEST(SaveSettingsFile, ReplacedFileKeepsItsOwnerAndMode)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
    writeFile(path, OldSettings);
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(chown(name.constData(), 65534, 65534), 0);
    ASSERT_EQ(chmod(name.constData(), 0640), 0);

    ASSERT_EQ(messageOf(saveSettingsFile(path, sampleSettings())), "");

    struct stat after {};
    ASSERT_EQ(stat(name.constData(), &after), 0);
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(path), SampleFile);
}

}  // namespace
}  // namespace trelvane

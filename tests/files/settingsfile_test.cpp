// Settings files on disk: what a load reports, the exact bytes a save leaves,
// and that a failed save leaves the old file and no temporary file behind.

#include "settingsfile.h"
#include "settingsreader.h"
#include "settingswriter.h"

#include <gtest/gtest.h>

#include "diskfiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
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
        const FileLoad load = loadSettingsFile(path, mode);
        EXPECT_EQ(load.error.toStdString(), "");
        EXPECT_TRUE(load.settings == sampleSettings());
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
        {"empty line 4 in the factory file", QStringLiteral("default.cfg"), withLine(4, ""), ReadMode::Factory, false, 0},
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

        const FileLoad load = loadSettingsFile(path, c.mode);
        const ReadResult direct =
            loadSettings(std::string_view(c.content.constData(), static_cast<std::size_t>(c.content.size())), c.mode);

        ASSERT_EQ(load.ok(), !c.fails) << load.error.toStdString();
        ASSERT_EQ(direct.ok(), !c.fails);
        if (load.ok()) {
            EXPECT_TRUE(load.settings == direct.settings);
            continue;
        }
        const std::string message = load.error.toStdString();
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
    const FileLoad factory = loadSettingsFile(path, ReadMode::Factory);
    ASSERT_TRUE(factory.ok()) << factory.error.toStdString();
    GameSettings expected = sampleSettings();
    expected.FPS = 0;
    EXPECT_TRUE(factory.settings == expected);
    EXPECT_FALSE(loadSettingsFile(path, ReadMode::StartUp).ok());
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
        {"a folder", [](const QDir &d) { d.mkdir(QStringLiteral("trelvane.cfg")); }, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        c.arrange(QDir(dir.path()));
        const QStringList before = entries(dir.path());

        const FileLoad load = loadSettingsFile(dir.filePath(QStringLiteral("trelvane.cfg")), ReadMode::StartUp);

        ASSERT_FALSE(load.ok());
        EXPECT_TRUE(load.error.contains(QStringLiteral("trelvane.cfg"))) << load.error.toStdString();
        EXPECT_FALSE(load.error.contains(dir.path())) << load.error.toStdString();
        EXPECT_TRUE(c.reason.isEmpty() || load.error.contains(c.reason)) << load.error.toStdString();
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

        EXPECT_EQ(saveSettingsFile(path, c.settings).toStdString(), "");
        EXPECT_EQ(readFile(path), bytesOf(writeSettings(c.settings)));
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("trelvane.cfg")}) << "no temporary file left";

        const FileLoad back = loadSettingsFile(path, ReadMode::StartUp);
        EXPECT_TRUE(back.ok()) << back.error.toStdString();
        EXPECT_TRUE(back.settings == c.settings);
    }
}

TEST(SaveSettingsFile, SampleSettingsGiveTheGamesBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trelvane.cfg"));
    ASSERT_EQ(saveSettingsFile(path, sampleSettings()).toStdString(), "");
    EXPECT_EQ(readFile(path), SampleFile);
    ASSERT_EQ(saveSettingsFile(path, sampleSettings()).toStdString(), "");
    EXPECT_EQ(readFile(path), SampleFile) << "saving twice gives the same file";
}

const QByteArray OldSettings = withLine(9, "320");
const auto ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

struct SaveFailure {
    const char *name;
    QString subPath;  // where the save goes, below the temporary folder
    std::function<void(const QDir &)> arrange;
    QString reason;   // must appear in the message, when not empty
    std::function<void(const QDir &)> restore;
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

    const QString error = saveSettingsFile(path, sampleSettings());

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
        {"missing folder", QStringLiteral("game/trelvane.cfg"), [](const QDir &) {}, QStringLiteral("No such file"),
         {}},
        {"name taken by a folder", QStringLiteral("trelvane.cfg"),
         [](const QDir &d) {
             d.mkdir(QStringLiteral("trelvane.cfg"));
             writeFile(d.filePath(QStringLiteral("trelvane.cfg/inside")), "kept");
         },
         {}, {}},
        {"folder name taken by a file", QStringLiteral("game/trelvane.cfg"),
         [](const QDir &d) { writeFile(d.filePath(QStringLiteral("game")), OldSettings); }, {}, {}},
    };
    for (const SaveFailure &c : cases)
        expectFailedSaveChangesNothing(c);
}

TEST(SaveSettingsFile, ReadOnlyFolderLeavesTheOldFile)
{
    if (!permissionsStopWrites())
        GTEST_SKIP() << "permission bits do not stop this user from writing";
    const SaveFailure cases[] = {
        {"read-only folder", QStringLiteral("game/trelvane.cfg"),
         [](const QDir &d) {
             d.mkdir(QStringLiteral("game"));
             writeFile(d.filePath(QStringLiteral("game/trelvane.cfg")), OldSettings);
             QFile::setPermissions(d.filePath(QStringLiteral("game")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
         },
         {},
         [](const QDir &d) { QFile::setPermissions(d.filePath(QStringLiteral("game")), ReadWrite); }},
    };
    for (const SaveFailure &c : cases)
        expectFailedSaveChangesNothing(c);
}

}  // namespace
}  // namespace trelvane

#include "scorereset.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace trelvane {

namespace {

const QString DefaultScoresName = QStringLiteral("data/defaultscores.dat");
const QString HighScoresName = QStringLiteral("data/highscores.dat");

// Messages name the file as the player sees it from the game's folder.
QString shown(const QString &relativeName) { return QDir::toNativeSeparators(relativeName); }

QString failure(const QString &what, const QString &relativeName, const QString &reason)
{
    return QStringLiteral("%1 %2: %3.").arg(what, shown(relativeName), reason);
}

// QSaveFile replaces the file by renaming over it, which a read-only mark on
// the file itself would not stop; the player set that mark, so it is honoured.
bool markedReadOnly(const QFileInfo &info)
{
    if (!info.exists() || info.isDir())
        return false;
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

}  // namespace

std::string resetScoresContent(std::string_view defaultBytes)
{
    std::string content(defaultBytes);
    content += "\r\n";
    return content;
}

QString resetHighScores(const QString &programFolder)
{
    const QDir folder(programFolder);

    QFile source(folder.filePath(DefaultScoresName));
    if (!source.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Cannot open"), DefaultScoresName, source.errorString());
    const QByteArray defaults = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return failure(QStringLiteral("Cannot read"), DefaultScoresName, source.errorString());
    source.close();

    const QString targetPath = folder.filePath(HighScoresName);
    if (markedReadOnly(QFileInfo(targetPath)))
        return failure(QStringLiteral("Cannot replace"), HighScoresName, QStringLiteral("the file is read-only"));

    const std::string content =
        resetScoresContent(std::string_view(defaults.constData(), static_cast<std::size_t>(defaults.size())));
    const auto size = static_cast<qint64>(content.size());

    // Until commit() the old table stays in place; a failed save discards its temporary file.
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly))
        return failure(QStringLiteral("Cannot replace"), HighScoresName, target.errorString());
    if (target.write(content.data(), size) != size) {
        const QString reason = target.errorString();
        target.cancelWriting();
        return failure(QStringLiteral("Cannot write"), HighScoresName, reason);
    }
    if (!target.commit())
        return failure(QStringLiteral("Cannot replace"), HighScoresName, target.errorString());
    return {};
}

}  // namespace trelvane

#include "settingsfile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string>
#include <string_view>

#include "settingswriter.h"

namespace trelvane {

namespace {

// The player knows the file by its name in the game's folder, not by its full path.
QString shownName(const QString &path) { return QFileInfo(path).fileName(); }

QString failure(const QString &what, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 %2: %3.").arg(what, shownName(path), reason);
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

FileLoad loadSettingsFile(const QString &path, ReadMode mode)
{
    FileLoad load;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        load.error = failure(QStringLiteral("Cannot open"), path, file.errorString());
        return load;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        load.error = failure(QStringLiteral("Cannot read"), path, file.errorString());
        return load;
    }
    file.close();

    const ReadResult result =
        loadSettings(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), mode);
    if (result.error) {
        load.error = QString::fromStdString(result.error->describe(shownName(path).toStdString()));
        return load;
    }
    load.settings = result.settings;
    return load;
}

QString saveSettingsFile(const QString &path, const GameSettings &s)
{
    if (markedReadOnly(QFileInfo(path)))
        return failure(QStringLiteral("Cannot save"), path, QStringLiteral("the file is read-only"));

    const std::string content = writeSettings(s);
    const auto size = static_cast<qint64>(content.size());

    // Until commit() the old settings stay in place; a failed save discards its temporary file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(QStringLiteral("Cannot save"), path, file.errorString());
    if (file.write(content.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(QStringLiteral("Cannot save"), path, reason);
    }
    if (!file.commit())
        return failure(QStringLiteral("Cannot save"), path, file.errorString());
    return {};
}

}  // namespace trelvane

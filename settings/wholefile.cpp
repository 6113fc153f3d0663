#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace trelvane {

namespace {

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

std::optional<FileFailure> readWholeFile(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileFailure{QStringLiteral("open"), file.errorString()};
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileFailure{QStringLiteral("read"), file.errorString()};
    return std::nullopt;
}

std::optional<FileFailure> replaceWholeFile(const QString &path, const QByteArray &content)
{
    if (markedReadOnly(QFileInfo(path)))
        return FileFailure{QStringLiteral("save"), QStringLiteral("the file is read-only")};

    // Until commit() the old file stays in place; a failed save discards its temporary file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileFailure{QStringLiteral("save"), file.errorString()};
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileFailure{QStringLiteral("write"), reason};
    }
    if (!file.commit())
        return FileFailure{QStringLiteral("save"), file.errorString()};
    return std::nullopt;
}

}  // namespace trelvane

#include "files/wholefile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace trelvane {

namespace {

const QString NotRegular = QStringLiteral("it is not a regular file");

QString nameOf(const QString &path) { return QFileInfo(path).fileName(); }

// A pipe, device or folder under the file's name: opening it could block, and
// writing over it would not give the game a file.
bool notRegular(const QFileInfo &info) { return info.exists() && !info.isFile(); }

// QSaveFile replaces the file by renaming over it, which a read-only mark on
// the file itself would not stop; the player set that mark, so it is honoured.
bool markedReadOnly(const QFileInfo &info)
{
    if (!info.exists() || info.isDir())
        return false;
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

// The game runs as the player: a file replaced by an administrator must stay
// the player's. Where the system does not allow it (any other user), the new
// file is the writer's, which is then the player anyway.
bool keepOwner(const QSaveFile &file, const QFileInfo &old)
{
#ifdef Q_OS_UNIX
    return !old.exists() || fchown(file.handle(), old.ownerId(), old.groupId()) == 0;
#else
    Q_UNUSED(file);
    Q_UNUSED(old);
    return true;
#endif
}

// Some file systems report a full disk only when the data reaches it.
bool syncToDisk(const QSaveFile &file)
{
#ifdef Q_OS_UNIX
    return fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

}  // namespace

std::optional<FileError> readWholeFile(const QString &path, QByteArray &bytes)
{
    if (notRegular(QFileInfo(path)))
        return FileError{nameOf(path), QStringLiteral("open"), NotRegular};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileError{nameOf(path), QStringLiteral("open"), file.errorString()};
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileError{nameOf(path), QStringLiteral("read"), file.errorString()};
    return std::nullopt;
}

FileReplacement::FileReplacement(const QString &path) : path_(path), file_(path)
{
    // Where no temporary file can be made beside it, a writable file is rewritten in place.
    file_.setDirectWriteFallback(true);
}

std::optional<FileError> FileReplacement::open()
{
    const QFileInfo old(path_);
    if (notRegular(old))
        return FileError{nameOf(path_), QStringLiteral("save"), NotRegular};
    if (markedReadOnly(old))
        return FileError{nameOf(path_), QStringLiteral("save"), QStringLiteral("the file is read-only")};
    // Unbuffered: a write that fails is reported by write(), never lost in a buffer.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileError{nameOf(path_), QStringLiteral("save"), file_.errorString()};
    keepOwner(file_, old);
    return std::nullopt;
}

std::optional<FileError> FileReplacement::write(const QByteArray &content)
{
    // The file is unbuffered, so each write reaches the system here. A disk that
    // fills up takes part of a write without an error; the next part then fails with the reason.
    qsizetype done = 0;
    while (done < content.size()) {
        const qint64 n = file_.write(content.constData() + done, content.size() - done);
        if (n <= 0)
            return FileError{nameOf(path_), QStringLiteral("write"), file_.errorString()};
        done += n;
    }
    if (!syncToDisk(file_))
        return FileError{nameOf(path_), QStringLiteral("write"), qt_error_string()};
    return std::nullopt;
}

std::optional<FileError> FileReplacement::commit()
{
    if (!file_.commit())
        return FileError{nameOf(path_), QStringLiteral("save"), file_.errorString()};
    return std::nullopt;
}

std::optional<FileError> replaceWholeFile(const QString &path, const QByteArray &content)
{
    FileReplacement replacement(path);
    if (auto failure = replacement.open())
        return failure;
    if (auto failure = replacement.write(content))
        return failure;
    return replacement.commit();
}

}  // namespace trelvane

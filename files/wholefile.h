#pragma once
// Reading a file whole and replacing it whole: every file the utility touches
// goes through here. A replacement is written to a temporary file first, so a
// failure at any point leaves the old file exactly as it was. Only where the
// folder refuses new files but the file itself may be written is it rewritten
// in place, as the game's own installers leave some folders.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <optional>

#include "files/fileerror.h"

namespace trelvane {

// Errors name the file by its own name; a caller that knows it by a longer
// name in the game's folder puts that in instead.

// Reads regular files only: a pipe or a device in the file's place could block
// the window for good, and a folder holds no settings.
std::optional<FileError> readWholeFile(const QString &path, QByteArray &bytes);

// The steps of one replacement, each checked: open, write every byte to disk,
// then put the new file in the old one's place. Until commit() the old file is
// untouched (but for the in-place case above); dropping the object discards
// what was written.
class FileReplacement {
public:
    explicit FileReplacement(const QString &path);

    std::optional<FileError> open();
    std::optional<FileError> write(const QByteArray &content);
    std::optional<FileError> commit();

private:
    QString path_;
    QSaveFile file_;
};

std::optional<FileError> replaceWholeFile(const QString &path, const QByteArray &content);

}  // namespace trelvane

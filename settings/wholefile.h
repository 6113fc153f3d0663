#pragma once
// Reading a file whole and replacing it whole: every file the utility touches
// goes through here. A replacement is written to a temporary file first, so a
// failure at any point leaves the old file exactly as it was.

#include <QByteArray>
#include <QString>
#include <optional>

namespace trelvane {

struct FileFailure {
    QString action;  // "open", "read", "save", ...
    QString reason;  // the system's words, or ours

    // e.g. Cannot save trelvane.cfg: the file is read-only.
    QString describe(const QString &shownName) const
    {
        return QStringLiteral("Cannot %1 %2: %3.").arg(action, shownName, reason);
    }
};

std::optional<FileFailure> readWholeFile(const QString &path, QByteArray &bytes);

std::optional<FileFailure> replaceWholeFile(const QString &path, const QByteArray &content);

}  // namespace trelvane

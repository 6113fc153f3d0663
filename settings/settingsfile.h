#pragma once
// Reading and writing settings files on disk. Every write goes through
// QSaveFile, so a failed save leaves the old file exactly as it was.

#include <QString>

#include "gamesettings.h"
#include "settingsreader.h"

namespace trelvane {

struct FileLoad {
    GameSettings settings;
    QString error;  // empty on success; otherwise a sentence for the player naming file and line
    bool ok() const { return error.isEmpty(); }
};

// Reads, converts and range-checks the whole file before returning anything.
FileLoad loadSettingsFile(const QString &path, ReadMode mode);

// Returns an empty string on success, else a sentence naming the file and the system's reason.
QString saveSettingsFile(const QString &path, const GameSettings &s);

}  // namespace trelvane

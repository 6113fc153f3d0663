#pragma once
// Reading and writing settings files on disk. Every write goes through the
// one safe replacement, so a failed save leaves the old file as it was.

#include <QString>
#include <optional>

#include "files/fileerror.h"
#include "settings/gamesettings.h"
#include "settings/settingsreader.h"

namespace trelvane {

// Reads, converts and range-checks the whole file; `settings` is set only when all is well.
std::optional<FileError> loadSettingsFile(const QString &path, ReadMode mode, GameSettings &settings);

std::optional<FileError> saveSettingsFile(const QString &path, const GameSettings &s);

}  // namespace trelvane

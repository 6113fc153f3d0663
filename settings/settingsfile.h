#pragma once
// Reading and writing settings files on disk. Every write goes through the
// one safe replacement, so a failed save leaves the old file as it was.

#include <optional>

#include "files/fileerror.h"
#include "files/gamefolder.h"
#include "settings/gamesettings.h"
#include "settings/settingsreader.h"

namespace trelvane {

// Reads, converts and range-checks the file; `settings` is set only when all is well.
std::optional<FileError> loadSettingsFile(const GameFolder &folder, GameFile file, ReadMode mode,
                                          GameSettings &settings);

// Replaces trelvane.cfg.
std::optional<FileError> saveSettingsFile(const GameFolder &folder, const GameSettings &s);

}  // namespace trelvane

#pragma once
// The game's files as the window uses them: each outcome is either nothing
// (done) or the sentence for the player.

#include <filesystem>
#include <optional>
#include <string>

#include "settings/gamesettings.h"

namespace trelvane {

struct FileFailure {
    std::string message;
    bool contentSaved = false;  // written in full; only its durability is in doubt
};

// trelvane.cfg (as at start-up) or default.cfg (as Restore Defaults reads it).
std::optional<FileFailure> readGameSettings(const std::filesystem::path &folder, bool factory, GameSettings &s);
std::optional<FileFailure> writeGameSettings(const std::filesystem::path &folder, const GameSettings &s);
std::optional<FileFailure> resetGameScores(const std::filesystem::path &folder);

}  // namespace trelvane

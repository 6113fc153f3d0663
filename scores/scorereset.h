#pragma once
// Replacing the game's high-score table with its default one.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "files/fileerror.h"

namespace trelvane {

// The new high-score file: the default table's bytes followed by CR LF.
std::string resetScoresContent(std::string_view defaultBytes);

// Reads <folder>/data/defaultscores.dat and replaces <folder>/data/highscores.dat
// safely; on failure the high-score file is left as it was.
std::optional<FileError> resetHighScores(const QString &programFolder);

}  // namespace trelvane

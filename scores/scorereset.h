#pragma once
// Replacing the game's high-score table with its default one.

#include <optional>
#include <string>
#include <string_view>

#include "files/fileerror.h"
#include "files/gamefolder.h"

namespace trelvane {

// The new high-score file: the default table's bytes followed by CR LF.
std::string resetScoresContent(std::string_view defaultBytes);

// Copies data/defaultscores.dat over data/highscores.dat, then CR LF, in
// pieces of fixed size whatever the table's length; on failure the high-score
// file is left as it was (but where it is rewritten in place, which the error says).
std::optional<FileError> resetHighScores(const GameFolder &folder);

}  // namespace trelvane

#pragma once
// Replacing the game's high-score table with its default one.

#include <QString>
#include <string>
#include <string_view>

namespace trelvane {

// The new high-score file: the default table's bytes followed by CR LF.
std::string resetScoresContent(std::string_view defaultBytes);

// Reads <folder>/data/defaultscores.dat and replaces <folder>/data/highscores.dat
// through QSaveFile. Returns an empty string on success, else a sentence naming
// the file and the reason; on failure the high-score file is left untouched.
QString resetHighScores(const QString &programFolder);

}  // namespace trelvane

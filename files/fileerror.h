#pragma once
// What went wrong with one of the game's files: the one form in which reading,
// saving, restoring and the high-score reset report, and the one place where
// the sentence for the player is made.

#include <QString>

namespace trelvane {

struct FileError {
    QString file;  // as the player knows it from the game's folder: "trelvane.cfg", "data/highscores.dat"
    QString action;  // what the system refused: "open", "read", "save", "write"; empty when the content is wrong
    QString reason;  // the system's words; for wrong content, where it is wrong and how

    // e.g. Cannot save trelvane.cfg: the file is read-only.
    //      trelvane.cfg, line 4 (Complex Score): "abc" is not a number.
    QString message() const;
};

}  // namespace trelvane

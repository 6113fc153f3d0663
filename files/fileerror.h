#pragma once
// What went wrong with one of the game's files: the one form in which reading,
// saving, restoring and the high-score reset report, and the one place where
// the sentence for the player is made.

#include <string>

namespace trelvane {

// The step the system refused.
enum class FileAction { None, Open, Read, Save, Write, Sync };  // None: the content is wrong

struct FileError {
    std::string file;  // as the player knows it: "trelvane.cfg", "data/highscores.dat" (native separators)
    FileAction action = FileAction::None;
    std::string reason;  // the system's words; for wrong content, where and how
    bool mayBeIncomplete = false;  // an in-place rewrite failed part way

    // e.g. Cannot save trelvane.cfg: the file is read-only.
    //      trelvane.cfg, line 4 (Complex Score): "abc" is not a number.
    std::string message() const;

    // Sync: the new content is in place; only its surviving a power cut is in doubt.
    bool contentSaved() const { return action == FileAction::Sync; }
};

}  // namespace trelvane

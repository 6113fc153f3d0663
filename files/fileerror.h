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
    // A replacement that failed part way and could put neither copy back under the
    // file's name: where each copy now is, named as `file` is. oldCopy is empty when
    // the system had already deleted the old file.
    std::string newCopy{};
    std::string oldCopy{};

    // e.g. Cannot save trelvane.cfg: the file is read-only.
    //      trelvane.cfg, line 4 (Complex Score): "abc" is not a number.
    //      Cannot save trelvane.cfg: <reason>. The new trelvane.cfg is in
    //      trelvane.cfg.12-0.tmp, the old one in trelvane.cfg.12-0.bak.
    std::string message() const;

    // Sync: the new content is in place; only its surviving a power cut is in doubt.
    bool contentSaved() const { return action == FileAction::Sync; }
    // The file's own name holds neither copy; the message says where they are.
    bool copiesElsewhere() const { return !newCopy.empty(); }
};

}  // namespace trelvane

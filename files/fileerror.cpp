#include "files/fileerror.h"

namespace trelvane {

namespace {

const char *verb(FileAction action)
{
    switch (action) {
    case FileAction::Open: return "open";
    case FileAction::Read: return "read";
    case FileAction::Save: return "save";
    case FileAction::Write: return "write";
    case FileAction::None:
    case FileAction::Sync: break;
    }
    return "";
}

}  // namespace

std::string FileError::message() const
{
    if (action == FileAction::None)
        return file + ", " + reason + ".";
    if (action == FileAction::Sync)
        return file + " was saved, but it may not survive a power cut: " + reason + ".";
    std::string out = std::string("Cannot ") + verb(action) + " " + file + ": " + reason + ".";
    if (mayBeIncomplete)
        out += " " + file + " was being rewritten in place and may now be incomplete.";
    if (copiesElsewhere())
        out += " The new " + file + " is in " + newCopy + (oldCopy.empty() ? "" : ", the old one in " + oldCopy) + ".";
    return out;
}

}  // namespace trelvane

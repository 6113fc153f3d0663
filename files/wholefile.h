#pragma once
// Reading and replacing the game's files: every file the utility touches goes
// through here. One interface; each system has its own implementation file.
//
// A replacement is written to a temporary file beside the old one and renamed
// over it, so a failure at any point leaves the old file exactly as it was.
// The new file gets the old one's rights and owner. Where that cannot be done
// that way, the file is rewritten in place instead: over the old bytes, then
// cut to length, so that it keeps its owner. That happens where the folder
// refuses new files but the file may be written (as the game's installers
// leave some folders), where the old owner or rights cannot be given to a new
// file, and where the name is a link that may be written through. A failed
// in-place rewrite says that the file may now be incomplete.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files/fileerror.h"

namespace trelvane {

// A file and the name the player knows it by, which every error carries.
struct FilePlace {
    std::filesystem::path path;
    std::string shown;
};

// Reads regular files only: a pipe or a device in the file's place could block
// the window for good, and a folder holds no settings. The file is opened
// without waiting and checked once open, so nothing can be swapped in between.
class FileReader {
public:
    FileReader();
    ~FileReader();
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    std::optional<FileError> open(const FilePlace &place);
    // Up to `size` bytes; `got` is 0 at the end of the file.
    std::optional<FileError> read(char *buffer, std::size_t size, std::size_t &got);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// At most `limit` bytes from the start of the file; `bytes` is set only on success.
std::optional<FileError> readFileStart(const FilePlace &place, std::size_t limit, std::string &bytes);

// The steps of one replacement, each checked. write() may be called any number
// of times. Until commit() the old file is untouched; dropping the object
// discards what was written.
class FileReplacement {
public:
    explicit FileReplacement(FilePlace place);
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    std::optional<FileError> open();
    std::optional<FileError> write(std::string_view content);
    // A FileAction::Sync error here means the new content is in place.
    std::optional<FileError> commit();

private:
    struct State;
    std::unique_ptr<State> state_;
};

std::optional<FileError> replaceWholeFile(const FilePlace &place, std::string_view content);

}  // namespace trelvane

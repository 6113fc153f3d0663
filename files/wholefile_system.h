#pragma once
// What the two systems' file layers share (wholefile_posix.cpp and
// wholefile_windows.cpp, over wholefile.cpp): the ways a replacement can be
// saved, the reasons given in the layer's own words, the piece in which files
// are read and written, the one form of each error, and the holder of an open
// file. Each system supplies only the calls marked so below.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "files/wholefile.h"

namespace trelvane::files {

// How a replacement puts its content in the file's place, and why. Each system
// chooses it once per save, in its chooseWay().
enum class SaveWay {
    // A new file beside the old one takes its name: a failure at any point leaves
    // the old file as it was.
    ReplaceBeside,
    // The file is rewritten in place, over the old bytes and then cut to length,
    // as a new file could not take its place:
    InPlaceFolderTakesNoFile,  // the folder refuses new files, but the file itself may be written
    InPlaceKeepingOwner,  // a new file could not be given the old one's owner, group or mode (POSIX)
    InPlaceThroughLink,  // the name is a link, and the file it points to is the one to change
};

// What the layer refuses in its own words, where no call of the system failed.
enum class Refusal { NotRegular, ReadOnly, LinkToMissingFile, LinkOfAnotherUser };

// The piece in which a file is read, copied and written.
inline constexpr std::size_t Chunk = std::size_t{64} * 1024;

// An error as the system numbers it.
#ifdef _WIN32
using SystemCode = DWORD;  // GetLastError()
#else
using SystemCode = int;  // errno
#endif

// Each system: the error of the call that just failed, and the system's words for an error (without a full stop).
SystemCode lastSystemError();
std::string systemWords(SystemCode code);

FileError failure(const FilePlace &place, FileAction action, SystemCode code);
FileError failure(const FilePlace &place, FileAction action, Refusal refusal);
// A rewrite in place that failed: once the file was touched, it may be incomplete.
FileError rewriteFailure(const FilePlace &place, SystemCode code, bool touched);

// An open file or folder, closed when its holder goes.
class SystemFile {
public:
#ifdef _WIN32
    using Raw = HANDLE;
    static Raw none() { return INVALID_HANDLE_VALUE; }
#else
    using Raw = int;  // a descriptor
    static constexpr Raw none() { return -1; }
#endif

    SystemFile() = default;
    explicit SystemFile(Raw raw) : raw_(raw) {}
    ~SystemFile() { close(); }
    SystemFile(const SystemFile &) = delete;
    SystemFile &operator=(const SystemFile &) = delete;
    SystemFile &operator=(SystemFile &&other) noexcept
    {
        std::swap(raw_, other.raw_);
        return *this;
    }

    bool valid() const { return raw_ != none(); }
    Raw get() const { return raw_; }
    // Each system; false where the system reports a failure (a late write error, on Windows).
    bool close();

private:
    Raw raw_ = none();
};

// Each system: a regular file opened for reading.
std::optional<FileError> openToRead(const FilePlace &place, SystemFile &file);
// Each system: at most `size` bytes, fewer at the end of the file; false with the system's error.
bool readSome(SystemFile &file, char *buffer, std::size_t size, std::size_t &got);
// Each system: some of the bytes, at least one; false with the system's error.
bool writeSome(SystemFile &file, std::string_view bytes, std::size_t &written);

// Every byte, or false with the system's error; `done` counts what reached the file.
bool writeAll(SystemFile &file, std::string_view bytes, std::size_t &done);

// What a replacement holds on every system.
struct Replacing {
    FilePlace place;
    SaveWay way = SaveWay::ReplaceBeside;
    SystemFile newFile;  // the temporary file beside the old one; none where the folder takes no new file
    SystemFile target;  // the old file itself, opened to be rewritten in place
    std::string held;  // the content, where there is no temporary file to hold it
    std::uint64_t size = 0;  // of the content

    // Into the temporary file, or held until commit().
    std::optional<FileError> take(std::string_view content);
};

}  // namespace trelvane::files

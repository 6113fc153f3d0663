#include "files/wholefile.h"

#include <algorithm>
#include <array>
#include <utility>

#include "files/wholefile_system.h"

// What rests on the system's calls alone, the same on every system.

namespace trelvane {

namespace files {

namespace {

// Indexed by Refusal.
constexpr std::array<const char *, 4> RefusalWords{
    "it is not a regular file",
    "the file is read-only",
    "it is a link to a missing file",
    "it is a link to a file of another user",
};
static_assert(RefusalWords.size() == static_cast<std::size_t>(Refusal::LinkOfAnotherUser) + 1);

}  // namespace

FileError failure(const FilePlace &place, FileAction action, SystemCode code)
{
    return FileError{place.shown, action, systemWords(code)};
}

FileError failure(const FilePlace &place, FileAction action, Refusal refusal)
{
    return FileError{place.shown, action, RefusalWords[static_cast<std::size_t>(refusal)]};
}

FileError rewriteFailure(const FilePlace &place, SystemCode code, bool touched)
{
    FileError error = failure(place, FileAction::Write, code);
    error.mayBeIncomplete = touched;
    return error;
}

bool writeAll(SystemFile &file, std::string_view bytes, std::size_t &done)
{
    done = 0;
    while (done < bytes.size()) {
        std::size_t written = 0;
        if (!writeSome(file, bytes.substr(done, Chunk), written))
            return false;
        done += written;
    }
    return true;
}

std::optional<FileError> Replacing::take(std::string_view content)
{
    size += content.size();
    if (!newFile.valid()) {
        held.append(content);
        return std::nullopt;
    }
    std::size_t done = 0;
    if (!writeAll(newFile, content, done))
        return failure(place, FileAction::Write, lastSystemError());
    return std::nullopt;
}

}  // namespace files

using namespace files;

// ---- Reading

struct FileReader::State {
    FilePlace place;
    SystemFile file;
};

FileReader::FileReader() : state_(std::make_unique<State>()) {}
FileReader::~FileReader() = default;

std::optional<FileError> FileReader::open(const FilePlace &place)
{
    state_->file.close();
    state_->place = place;
    SystemFile file;
    if (auto error = openToRead(place, file))
        return error;
    state_->file = std::move(file);
    return std::nullopt;
}

std::optional<FileError> FileReader::read(char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    if (!readSome(state_->file, buffer, std::min(size, Chunk), got))
        return failure(state_->place, FileAction::Read, lastSystemError());
    return std::nullopt;
}

std::optional<FileError> readFileStart(const FilePlace &place, std::size_t limit, std::string &bytes)
{
    FileReader reader;
    if (auto error = reader.open(place))
        return error;
    std::string start;
    std::array<char, Chunk> buffer{};
    while (start.size() < limit) {
        std::size_t got = 0;
        if (auto error = reader.read(buffer.data(), std::min(buffer.size(), limit - start.size()), got))
            return error;
        if (got == 0)
            break;
        start.append(buffer.data(), got);
    }
    bytes = std::move(start);
    return std::nullopt;
}

std::optional<FileError> replaceWholeFile(const FilePlace &place, std::string_view content)
{
    FileReplacement replacement(place);
    if (auto error = replacement.open())
        return error;
    if (auto error = replacement.write(content))
        return error;
    return replacement.commit();
}

}  // namespace trelvane

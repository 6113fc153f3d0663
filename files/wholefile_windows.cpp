// The files layer on Windows: wide paths throughout, so folders with any name
// work; handles, never the C runtime's text mode, so no CR is ever added.

#include "files/wholefile.h"

#include <algorithm>
#include <string>
#include <utility>

#include "files/systemcalls_windows.h"

namespace trelvane {

namespace windows {

SystemCalls &systemCalls()
{
    static SystemCalls calls{::CreateFileW, ::WriteFile, ::FlushFileBuffers, ::ReplaceFileW, ::MoveFileExW};
    return calls;
}

}  // namespace windows

namespace {

using windows::systemCalls;

const char NotRegular[] = "it is not a regular file";
const char ReadOnly[] = "the file is read-only";

// The one place where the system's words for an error code are made.
std::string systemReason(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t *>(&text), 0,
                       nullptr);
    std::wstring wide(text ? text : L"", length);
    LocalFree(text);
    // The message adds its own full stop.
    while (!wide.empty() &&
           (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' || wide.back() == L'.'))
        wide.pop_back();
    if (wide.empty())
        return "system error " + std::to_string(code);
    std::string reason(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                                                    static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                                                    nullptr)),
                       '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), reason.data(),
                        static_cast<int>(reason.size()), nullptr, nullptr);
    return reason;
}

FileError failure(const FilePlace &place, FileAction action, DWORD code)
{
    return FileError{place.shown, action, systemReason(code)};
}

FileError failure(const FilePlace &place, FileAction action, const char *reason)
{
    return FileError{place.shown, action, reason};
}

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle &operator=(Handle &&other) noexcept
    {
        std::swap(h_, other.h_);
        return *this;
    }

    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close()
    {
        const bool ok = !valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

constexpr DWORD NoFile = INVALID_FILE_ATTRIBUTES;
// What a player or the game may have set on the file; read-only is refused before.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD attributesOf(const std::filesystem::path &path) { return GetFileAttributesW(path.c_str()); }

bool holdsFile(const std::filesystem::path &path) { return attributesOf(path) != NoFile; }

// A file beside `place`, named as the player knows `place`: from the game's folder.
std::string shownBeside(const FilePlace &place, const std::filesystem::path &beside)
{
    const std::size_t folderEnd = place.shown.find_last_of("\\/");
    const std::u8string name = beside.filename().u8string();
    return place.shown.substr(0, folderEnd == std::string::npos ? 0 : folderEnd + 1) +
           std::string(name.begin(), name.end());
}

// Every byte, or the reason why not; a full disk takes part of a write and refuses the rest.
bool writeAll(HANDLE file, std::string_view content)
{
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 20));
        DWORD written = 0;
        if (!systemCalls().writeFile(file, content.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_HANDLE_DISK_FULL);
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

}  // namespace

// ---- Reading

struct FileReader::State {
    Handle file;
    std::string shown;
};

FileReader::FileReader() : state_(std::make_unique<State>()) {}
FileReader::~FileReader() = default;

std::optional<FileError> FileReader::open(const FilePlace &place)
{
    state_->file.close();
    const DWORD attributes = attributesOf(place.path);
    if (attributes != NoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(place, FileAction::Open, NotRegular);
    Handle file(CreateFileW(place.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failure(place, FileAction::Open, GetLastError());
    // A device or a pipe under the file's name (checked on what was opened).
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return failure(place, FileAction::Open, NotRegular);
    state_->file = std::move(file);
    state_->shown = place.shown;
    return std::nullopt;
}

std::optional<FileError> FileReader::read(char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
    if (!ReadFile(state_->file.get(), buffer, chunk, &n, nullptr))
        return FileError{state_->shown, FileAction::Read, systemReason(GetLastError())};
    got = n;
    return std::nullopt;
}

// ---- Replacing

// Normally a temporary file beside the target, written, flushed and put in the
// target's place. In place (when the folder takes no new file) the content is
// kept until commit(), so the old file is untouched until then there too.
struct FileReplacement::State {
    FilePlace place;
    std::filesystem::path temporary;
    // Where ReplaceFileW puts the old file: a name no other file has, so that after
    // any failure the old file is known to be under its own name or under this one.
    std::filesystem::path backup;
    Handle file;  // the temporary file, or the target itself when rewritten in place
    bool inPlace = false;
    std::string pending;  // in place: what commit() writes

    ~State() { discard(); }

    // What a failed or abandoned replacement leaves: nothing.
    void discard()
    {
        file.close();
        if (!temporary.empty())
            DeleteFileW(temporary.c_str());
        temporary.clear();
    }

    DWORD openTemporary();
    std::optional<FileError> openInPlace();
    std::optional<FileError> rewriteInPlace();
    std::optional<FileError> putInPlace();
    std::optional<FileError> recover();
};

FileReplacement::FileReplacement(FilePlace place) : state_(std::make_unique<State>())
{
    state_->place = std::move(place);
}

FileReplacement::~FileReplacement() = default;

std::optional<FileError> FileReplacement::open()
{
    State &s = *state_;
    const DWORD attributes = attributesOf(s.place.path);
    if (attributes != NoFile) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return failure(s.place, FileAction::Save, NotRegular);
        // ReplaceFileW would refuse too, but with the system's vaguer words.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure(s.place, FileAction::Save, ReadOnly);
        // A link is written through: a replacement would put a plain file in its place.
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return s.openInPlace();
    }
    const DWORD code = s.openTemporary();
    if (code == ERROR_SUCCESS)
        return std::nullopt;
    // A folder that takes no new file: a file that may be written is rewritten in place.
    if (attributes != NoFile && code == ERROR_ACCESS_DENIED)
        return s.openInPlace();
    return failure(s.place, FileAction::Save, code);
}

// In the same folder, so that the last step is a rename within one volume.
DWORD FileReplacement::State::openTemporary()
{
    const std::filesystem::path folder = place.path.parent_path();
    const std::wstring stem = place.path.filename().wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = stem + std::to_wstring(attempt);
        std::filesystem::path spare = folder / (name + L".bak");
        if (holdsFile(spare))
            continue;  // kept by an earlier run that had the same process number
        std::filesystem::path candidate = folder / (name + L".tmp");
        file = Handle(systemCalls().createFile(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            temporary = std::move(candidate);
            backup = std::move(spare);
            return ERROR_SUCCESS;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
            return code;
    }
    return ERROR_FILE_EXISTS;
}

std::optional<FileError> FileReplacement::State::openInPlace()
{
    file = Handle(systemCalls().createFile(place.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failure(place, FileAction::Save, GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        file.close();
        return failure(place, FileAction::Save, NotRegular);
    }
    inPlace = true;
    return std::nullopt;
}

std::optional<FileError> FileReplacement::write(std::string_view content)
{
    State &s = *state_;
    if (s.inPlace) {
        s.pending.append(content);
        return std::nullopt;
    }
    if (!writeAll(s.file.get(), content))
        return failure(s.place, FileAction::Write, GetLastError());
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::rewriteInPlace()
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN))
        return failure(place, FileAction::Write, GetLastError());
    if (!writeAll(file.get(), pending) || !SetEndOfFile(file.get()) || !systemCalls().flushFileBuffers(file.get())) {
        FileError error = failure(place, FileAction::Write, GetLastError());
        error.mayBeIncomplete = true;
        return error;
    }
    if (!file.close())
        return failure(place, FileAction::Write, GetLastError());
    return std::nullopt;
}

std::optional<FileError> FileReplacement::commit()
{
    State &s = *state_;
    if (s.inPlace)
        return s.rewriteInPlace();
    auto error = s.putInPlace();
    if (error)
        s.discard();
    return error;
}

std::optional<FileError> FileReplacement::State::putInPlace()
{
    // Some file systems report a full disk only when the data reaches it.
    if (!systemCalls().flushFileBuffers(file.get()) || !file.close())
        return failure(place, FileAction::Write, GetLastError());

    const DWORD attributes = attributesOf(place.path);
    // Something else took the name since open(). Wine's ReplaceFileW would move a folder aside.
    if (attributes != NoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(place, FileAction::Save, NotRegular);
    // A new file has no rights to keep, and MoveFileExW gives it the folder's.
    if (attributes == NoFile) {
        if (!systemCalls().moveFile(temporary.c_str(), place.path.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return failure(place, FileAction::Save, GetLastError());
        temporary.clear();
        return std::nullopt;
    }
    // ReplaceFileW keeps the old file's rights, attributes and creation time; Wine's
    // keeps no attributes, so they are given here as well.
    SetFileAttributesW(temporary.c_str(), attributes & KeptAttributes);
    if (systemCalls().replaceFile(place.path.c_str(), temporary.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
        temporary.clear();
        // Saved. An old file that cannot be deleted stays under the backup name.
        DeleteFileW(backup.c_str());
        return std::nullopt;
    }
    const DWORD code = GetLastError();
    // Most failures (ERROR_UNABLE_TO_REMOVE_REPLACED among them) leave both files under
    // their own names: commit() removes the temporary, and the old file is as it was.
    if (holdsFile(place.path))
        return failure(place, FileAction::Save, code);
    return recover();
}

// ReplaceFileW failed part way: the new file still has its temporary name, and the old
// one has left its own, for the backup name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) or for
// good (ERROR_UNABLE_TO_MOVE_REPLACEMENT, where no backup is made). The temporary is
// deleted only once the old file is back under its own name.
std::optional<FileError> FileReplacement::State::recover()
{
    if (systemCalls().moveFile(temporary.c_str(), place.path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temporary.clear();
        DeleteFileW(backup.c_str());
        return std::nullopt;
    }
    FileError error = failure(place, FileAction::Save, GetLastError());
    if (holdsFile(backup) && systemCalls().moveFile(backup.c_str(), place.path.c_str(), MOVEFILE_WRITE_THROUGH))
        return error;
    // Neither copy can take the name: both stay where they are, and the message says where.
    error.newCopy = shownBeside(place, temporary);
    if (holdsFile(backup))
        error.oldCopy = shownBeside(place, backup);
    temporary.clear();
    return error;
}

}  // namespace trelvane

// The files layer on Windows: wide paths throughout, so folders with any name
// work; handles, never the C runtime's text mode, so no CR is ever added.

#include "files/wholefile.h"

#include <string>
#include <utility>

#include "files/systemcalls_windows.h"
#include "files/wholefile_system.h"

namespace trelvane {

namespace windows {

SystemCalls &systemCalls()
{
    static SystemCalls calls{::CreateFileW, ::WriteFile, ::FlushFileBuffers, ::ReplaceFileW, ::MoveFileExW};
    return calls;
}

}  // namespace windows

using windows::systemCalls;

namespace {

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

}  // namespace

namespace files {

SystemCode lastSystemError() { return GetLastError(); }

// The one place where the system's words for an error code are made.
std::string systemWords(SystemCode code)
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

bool SystemFile::close()
{
    const bool closed = !valid() || CloseHandle(raw_);
    raw_ = none();
    return closed;
}

std::optional<FileError> openToRead(const FilePlace &place, SystemFile &file)
{
    const DWORD attributes = attributesOf(place.path);
    if (attributes != NoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(place, FileAction::Open, Refusal::NotRegular);
    file =
        SystemFile(CreateFileW(place.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failure(place, FileAction::Open, GetLastError());
    // A device or a pipe under the file's name (checked on what was opened).
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return failure(place, FileAction::Open, Refusal::NotRegular);
    return std::nullopt;
}

bool readSome(SystemFile &file, char *buffer, std::size_t size, std::size_t &got)
{
    DWORD n = 0;
    const bool read = ReadFile(file.get(), buffer, static_cast<DWORD>(size), &n, nullptr);
    got = read ? n : 0;
    return read;
}

// A full disk takes part of a write and refuses the rest.
bool writeSome(SystemFile &file, std::string_view bytes, std::size_t &written)
{
    DWORD n = 0;
    if (!systemCalls().writeFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr))
        return false;
    if (n == 0) {
        SetLastError(ERROR_HANDLE_DISK_FULL);
        return false;
    }
    written = n;
    return true;
}

}  // namespace files

using namespace files;

// ---- Replacing

// Normally a temporary file beside the target, written, flushed and put in the
// target's place. In place, the content is held until commit(), so the old file
// is untouched until then there too.
struct FileReplacement::State : Replacing {
    std::filesystem::path temporary;
    // Where ReplaceFileW puts the old file: a name no other file has, so that after
    // any failure the old file is known to be under its own name or under this one.
    std::filesystem::path backup;

    ~State() { discard(); }

    // What a failed or abandoned replacement leaves: nothing.
    void discard()
    {
        newFile.close();
        if (!temporary.empty())
            DeleteFileW(temporary.c_str());
        temporary.clear();
    }

    std::optional<FileError> chooseWay(DWORD attributes);
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
            return failure(s.place, FileAction::Save, Refusal::NotRegular);
        // ReplaceFileW would refuse too, but with the system's vaguer words.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure(s.place, FileAction::Save, Refusal::ReadOnly);
    }
    return s.chooseWay(attributes);
}

// The one place where the way of saving is chosen, from what is under the file's name.
std::optional<FileError> FileReplacement::State::chooseWay(DWORD attributes)
{
    const bool exists = attributes != NoFile;
    // A link is written through: a replacement would put a plain file in its place.
    if (exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        way = SaveWay::InPlaceThroughLink;
        return openInPlace();
    }
    const DWORD code = openTemporary();
    if (code == ERROR_SUCCESS) {
        way = SaveWay::ReplaceBeside;
        return std::nullopt;
    }
    // A folder that takes no new file: a file that may be written is rewritten in place.
    if (exists && code == ERROR_ACCESS_DENIED) {
        way = SaveWay::InPlaceFolderTakesNoFile;
        return openInPlace();
    }
    return failure(place, FileAction::Save, code);
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
        newFile = SystemFile(systemCalls().createFile(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (newFile.valid()) {
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
    target = SystemFile(systemCalls().createFile(place.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.valid())
        return failure(place, FileAction::Save, GetLastError());
    if (GetFileType(target.get()) != FILE_TYPE_DISK) {
        target.close();
        return failure(place, FileAction::Save, Refusal::NotRegular);
    }
    return std::nullopt;
}

std::optional<FileError> FileReplacement::write(std::string_view content) { return state_->take(content); }

std::optional<FileError> FileReplacement::State::rewriteInPlace()
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(target.get(), start, nullptr, FILE_BEGIN))
        return failure(place, FileAction::Write, GetLastError());
    std::size_t done = 0;
    if (!writeAll(target, held, done) || !SetEndOfFile(target.get()) || !systemCalls().flushFileBuffers(target.get()))
        return rewriteFailure(place, GetLastError(), true);
    if (!target.close())
        return failure(place, FileAction::Write, GetLastError());
    return std::nullopt;
}

std::optional<FileError> FileReplacement::commit()
{
    State &s = *state_;
    if (s.way != SaveWay::ReplaceBeside)
        return s.rewriteInPlace();
    auto error = s.putInPlace();
    if (error)
        s.discard();
    return error;
}

std::optional<FileError> FileReplacement::State::putInPlace()
{
    // Some file systems report a full disk only when the data reaches it.
    if (!systemCalls().flushFileBuffers(newFile.get()) || !newFile.close())
        return failure(place, FileAction::Write, GetLastError());

    const DWORD attributes = attributesOf(place.path);
    // Something else took the name since open(). Wine's ReplaceFileW would move a folder aside.
    if (attributes != NoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(place, FileAction::Save, Refusal::NotRegular);
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

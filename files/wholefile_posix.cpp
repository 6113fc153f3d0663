// The files layer on POSIX systems: descriptors throughout, and every step of a
// replacement taken relative to the folder it opened once.

#include "files/wholefile.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/systemcalls_posix.h"
#include "files/wholefile_system.h"

namespace trelvane {

namespace posix {

namespace {

// openat takes its mode as a variadic argument, which a table entry cannot.
int openAt(int folder, const char *name, int flags, mode_t mode) { return ::openat(folder, name, flags, mode); }

}  // namespace

SystemCalls &systemCalls()
{
    static SystemCalls calls{::fsync, ::renameat, openAt};
    return calls;
}

}  // namespace posix

using namespace files;
using posix::systemCalls;

namespace {

constexpr mode_t AnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t Rights = 07777;

// A file just opened, and what it is: the checks count on the file opened, not
// on its name, which may have changed since.
std::optional<FileError> openedRegular(const FilePlace &place, FileAction action, const SystemFile &file,
                                       struct stat &st)
{
    if (!file.valid() || ::fstat(file.get(), &st) != 0)
        return failure(place, action, errno);
    if (!S_ISREG(st.st_mode))
        return failure(place, action, Refusal::NotRegular);
    return std::nullopt;
}

std::string temporaryName(const std::string &name)
{
    static std::mt19937 random{std::random_device{}()};
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string out = name + ".";
    for (int i = 0; i < 6; ++i)
        out.push_back(Letters[random() % (sizeof Letters - 1)]);
    return out;
}

bool sameRights(const struct stat &a, const struct stat &b)
{
    return a.st_uid == b.st_uid && a.st_gid == b.st_gid && (a.st_mode & Rights) == (b.st_mode & Rights);
}

}  // namespace

namespace files {

SystemCode lastSystemError() { return errno; }

std::string systemWords(SystemCode code) { return std::strerror(code); }

bool SystemFile::close()
{
    const bool closed = !valid() || ::close(raw_) == 0;
    raw_ = none();
    return closed;
}

std::optional<FileError> openToRead(const FilePlace &place, SystemFile &file)
{
    // Without waiting: a pipe opens at once, and is turned away below.
    file = SystemFile(::open(place.path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    return openedRegular(place, FileAction::Open, file, st);
}

bool readSome(SystemFile &file, char *buffer, std::size_t size, std::size_t &got)
{
    ssize_t n = 0;
    do
        n = ::read(file.get(), buffer, size);
    while (n < 0 && errno == EINTR);
    got = n > 0 ? static_cast<std::size_t>(n) : 0;
    return n >= 0;
}

bool writeSome(SystemFile &file, std::string_view bytes, std::size_t &written)
{
    ssize_t n = 0;
    do
        n = ::write(file.get(), bytes.data(), bytes.size());
    while (n < 0 && errno == EINTR);
    if (n == 0)
        errno = EIO;
    written = n > 0 ? static_cast<std::size_t>(n) : 0;
    return n > 0;
}

}  // namespace files

// ---- Replacing

struct FileReplacement::State : Replacing {
    std::string name;  // within the folder
    SystemFile folder;  // opened once: every later step is relative to it
    bool exists = false;
    bool link = false;  // the name is a link, which may be written through
    struct stat old {};  // the file replaced (a link's target)
    std::string newName;  // the temporary file's, while it exists

    ~State() { discardNewFile(); }

    void discardNewFile()
    {
        newFile.close();
        if (!newName.empty())
            ::unlinkat(folder.get(), newName.c_str(), 0);
        newName.clear();
    }

    std::optional<FileError> checkOld(const struct stat &st);
    std::optional<FileError> openThroughLink(const struct stat &linkStat);
    std::optional<FileError> openTarget(bool throughLink, struct stat &st);
    int makeNewFile();  // the reason it cannot, or 0
    std::optional<FileError> giveOldRights(bool &kept);
    std::optional<FileError> chooseWay();
    std::optional<FileError> rewriteInPlace();
    std::optional<FileError> commit();
};

std::optional<FileError> FileReplacement::State::checkOld(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return failure(place, FileAction::Save, Refusal::NotRegular);
    // A rename would pass over a read-only mark on the file itself; the player set it, so it is honoured.
    if ((st.st_mode & AnyWrite) == 0)
        return failure(place, FileAction::Save, Refusal::ReadOnly);
    old = st;
    return std::nullopt;
}

// A link is written through only where it cannot turn the writer's rights
// against a file of someone else: the link and its target have one owner, or
// the link is the writer's own.
std::optional<FileError> FileReplacement::State::openThroughLink(const struct stat &linkStat)
{
    struct stat st {};
    if (::fstatat(folder.get(), name.c_str(), &st, 0) != 0) {
        if (errno == ENOENT)
            return failure(place, FileAction::Save, Refusal::LinkToMissingFile);
        return failure(place, FileAction::Save, errno);
    }
    if (auto error = checkOld(st))
        return error;
    if (auto error = openTarget(true, st))
        return error;
    if (st.st_uid != linkStat.st_uid && linkStat.st_uid != ::geteuid())
        return failure(place, FileAction::Save, Refusal::LinkOfAnotherUser);
    old = st;
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::openTarget(bool throughLink, struct stat &st)
{
    const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (throughLink ? 0 : O_NOFOLLOW);
    target = SystemFile(systemCalls().openat(folder.get(), name.c_str(), flags, 0));
    return openedRegular(place, FileAction::Save, target, st);
}

int FileReplacement::State::makeNewFile()
{
    // A new file gets the rights any new file gets; a replacement gets the old ones.
    const mode_t mode = exists ? S_IRUSR | S_IWUSR : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(name);
        newFile = SystemFile(systemCalls().openat(folder.get(), candidate.c_str(),
                                                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (newFile.valid()) {
            newName = candidate;
            return 0;
        }
        if (errno != EEXIST)
            break;
    }
    return errno;
}

// `kept`: the new file now has the old one's owner, group and mode.
std::optional<FileError> FileReplacement::State::giveOldRights(bool &kept)
{
    const int fd = newFile.get();
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return failure(place, FileAction::Save, errno);
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        const int refused = ::fchown(fd, old.st_uid, old.st_gid) == 0 ? 0 : errno;
        if (::fstat(fd, &now) != 0)
            return failure(place, FileAction::Save, errno);
        // Judged by what the file has: a file system without owners takes no change and needs none.
        if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && refused != 0 && refused != EPERM)
            return failure(place, FileAction::Save, refused);
    }
    if ((now.st_mode & Rights) != (old.st_mode & Rights) && ::fchmod(fd, old.st_mode & Rights) != 0) {
        const int refused = errno;
        if (::fstat(fd, &now) != 0)
            return failure(place, FileAction::Save, errno);
        if ((now.st_mode & Rights) != (old.st_mode & Rights) && refused != EPERM)
            return failure(place, FileAction::Save, refused);
    } else if (::fstat(fd, &now) != 0) {
        return failure(place, FileAction::Save, errno);
    }
    kept = sameRights(now, old);
    return std::nullopt;
}

// The one place where the way of saving is chosen, from what open() found.
std::optional<FileError> FileReplacement::State::chooseWay()
{
    // The content waits in a new file beside the old one, even where it is then written in place.
    const int refused = makeNewFile();
    if (refused != 0 && (!exists || (refused != EACCES && refused != EPERM)))
        return failure(place, FileAction::Save, refused);
    way = SaveWay::ReplaceBeside;
    if (link) {
        way = SaveWay::InPlaceThroughLink;
    } else if (refused != 0) {
        way = SaveWay::InPlaceFolderTakesNoFile;
    } else if (exists) {
        bool kept = false;
        if (auto error = giveOldRights(kept))
            return error;
        if (!kept)
            way = SaveWay::InPlaceKeepingOwner;
    }
    struct stat st {};
    if (way != SaveWay::ReplaceBeside && !target.valid())
        return openTarget(false, st);
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::rewriteInPlace()
{
    // Written over, then cut to length: the file is never emptied first, and keeps its owner.
    std::uint64_t done = 0;
    std::size_t written = 0;
    const auto incomplete = [&](SystemCode code) { return rewriteFailure(place, code, done + written > 0); };
    if (newFile.valid()) {
        std::array<char, Chunk> buffer{};
        while (done < size) {
            const ssize_t n = ::pread(newFile.get(), buffer.data(), buffer.size(), static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return incomplete(n == 0 ? EIO : errno);
            if (!writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)), written))
                return incomplete(errno);
            done += written;
            written = 0;
        }
    } else if (!writeAll(target, held, written)) {
        return incomplete(errno);
    }
    written = static_cast<std::size_t>(size - done);
    if (::ftruncate(target.get(), static_cast<off_t>(size)) != 0)
        return incomplete(errno);
    if (systemCalls().fsync(target.get()) != 0)
        return incomplete(errno);
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::commit()
{
    if (way != SaveWay::ReplaceBeside)
        return rewriteInPlace();
    if (exists) {
        // A write clears a file's set-user-id and set-group-id bits: the old rights are given again.
        bool kept = false;
        if (auto error = giveOldRights(kept))
            return error;
        if (!kept)
            return failure(place, FileAction::Save, EPERM);
    }
    // Some file systems report a full disk only when the data reaches it.
    if (systemCalls().fsync(newFile.get()) != 0)
        return failure(place, FileAction::Write, errno);
    if (systemCalls().renameat(folder.get(), newName.c_str(), folder.get(), name.c_str()) != 0)
        return failure(place, FileAction::Save, errno);
    newName.clear();
    // The rename itself lasts only once the folder is on disk; some file systems cannot sync a folder.
    if (systemCalls().fsync(folder.get()) != 0 && errno != EINVAL)
        return failure(place, FileAction::Sync, errno);
    return std::nullopt;
}

FileReplacement::FileReplacement(FilePlace place) : state_(std::make_unique<State>())
{
    state_->place = std::move(place);
}

FileReplacement::~FileReplacement() = default;

std::optional<FileError> FileReplacement::open()
{
    State &s = *state_;
    std::filesystem::path folder = s.place.path.parent_path();
    if (folder.empty())
        folder = ".";
    s.name = s.place.path.filename().string();
    s.folder = SystemFile(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!s.folder.valid())
        return failure(s.place, FileAction::Save, errno);

    struct stat st {};
    if (::fstatat(s.folder.get(), s.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        s.exists = true;
        s.link = S_ISLNK(st.st_mode);
        if (auto error = s.link ? s.openThroughLink(st) : s.checkOld(st))
            return error;
        // Not writable for this user (or on a read-only mount): a rename would get round it.
        if (!s.link && ::faccessat(s.folder.get(), s.name.c_str(), W_OK, AT_EACCESS) != 0)
            return failure(s.place, FileAction::Save, errno);
    } else if (errno != ENOENT) {
        return failure(s.place, FileAction::Save, errno);
    }
    return s.chooseWay();
}

std::optional<FileError> FileReplacement::write(std::string_view content) { return state_->take(content); }

std::optional<FileError> FileReplacement::commit()
{
    State &s = *state_;
    auto error = s.commit();
    // Whatever happened, no temporary file is left behind.
    s.discardNewFile();
    return error;
}

}  // namespace trelvane

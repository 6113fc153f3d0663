#include "files/wholefile.h"

#include <algorithm>
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

namespace {

using posix::systemCalls;

const char *const NotRegular = "it is not a regular file";
constexpr std::size_t Chunk = std::size_t{64} * 1024;
constexpr mode_t AnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t Rights = 07777;

FileError failure(const std::string &shown, FileAction action, int error)
{
    return FileError{shown, action, std::strerror(error)};
}

void closeIfOpen(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Every byte, or the reason why not; `done` counts what reached the file.
bool writeAll(int fd, std::string_view bytes, off_t offset, bool positioned, std::size_t &done)
{
    done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            positioned ? ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done))
                       : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ssize_t readSome(int fd, char *buffer, std::size_t size)
{
    ssize_t n = 0;
    do
        n = ::read(fd, buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
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

// ---- Reading ---------------------------------------------------------------

struct FileReader::State {
    std::string shown;
    int fd = -1;
    ~State() { closeIfOpen(fd); }
};

FileReader::FileReader() : state_(std::make_unique<State>()) {}
FileReader::~FileReader() = default;

std::optional<FileError> FileReader::open(const FilePlace &place)
{
    State &s = *state_;
    s.shown = place.shown;
    closeIfOpen(s.fd);
    // Without waiting: a pipe opens at once, and is turned away below.
    s.fd = ::open(place.path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (s.fd < 0)
        return failure(s.shown, FileAction::Open, errno);
    struct stat st {};
    if (::fstat(s.fd, &st) != 0)
        return failure(s.shown, FileAction::Open, errno);
    if (!S_ISREG(st.st_mode)) {
        closeIfOpen(s.fd);
        return FileError{s.shown, FileAction::Open, NotRegular};
    }
    return std::nullopt;
}

std::optional<FileError> FileReader::read(char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    const ssize_t n = readSome(state_->fd, buffer, size);
    if (n < 0)
        return failure(state_->shown, FileAction::Read, errno);
    got = static_cast<std::size_t>(n);
    return std::nullopt;
}

// ---- Replacing -------------------------------------------------------------

struct FileReplacement::State {
    FilePlace place;
    std::string name;  // within the folder
    int folder = -1;  // opened once: every later step is relative to it
    bool exists = false;
    struct stat old {};  // the file replaced (a link's target)
    bool inPlace = false;
    int target = -1;  // the old file, opened for an in-place rewrite
    std::string temporary;  // its name while it exists
    int temp = -1;
    std::string held;  // the content, where no temporary file could be made
    std::uint64_t size = 0;

    ~State()
    {
        discardTemporary();
        closeIfOpen(target);
        closeIfOpen(folder);
    }

    void discardTemporary()
    {
        closeIfOpen(temp);
        if (!temporary.empty())
            ::unlinkat(folder, temporary.c_str(), 0);
        temporary.clear();
    }

    FileError fail(FileAction action, int error) const { return failure(place.shown, action, error); }
    FileError fail(FileAction action, const char *reason) const { return FileError{place.shown, action, reason}; }

    std::optional<FileError> checkOld(const struct stat &st);
    std::optional<FileError> openThroughLink(const struct stat &link);
    std::optional<FileError> openTarget();
    int makeTemporary();  // the reason it cannot, or 0
    // nullopt and inPlace set: the rights can only be kept by a rewrite in place.
    std::optional<FileError> giveOldRights();
    std::optional<FileError> rewriteInPlace();
    std::optional<FileError> commit();
};

std::optional<FileError> FileReplacement::State::checkOld(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return fail(FileAction::Save, NotRegular);
    // A rename would pass over a read-only mark on the file itself; the player set it, so it is honoured.
    if ((st.st_mode & AnyWrite) == 0)
        return fail(FileAction::Save, "the file is read-only");
    old = st;
    return std::nullopt;
}

// A link is written through only where it cannot turn the writer's rights
// against a file of someone else: the link and its target have one owner, or
// the link is the writer's own.
std::optional<FileError> FileReplacement::State::openThroughLink(const struct stat &link)
{
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, 0) != 0) {
        if (errno == ENOENT)
            return fail(FileAction::Save, "it is a link to a missing file");
        return fail(FileAction::Save, errno);
    }
    if (auto error = checkOld(st))
        return error;
    target = systemCalls().openat(folder, name.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (target < 0)
        return fail(FileAction::Save, errno);
    // The checks count on the file opened, not on the name, which may have changed since.
    if (::fstat(target, &st) != 0)
        return fail(FileAction::Save, errno);
    if (!S_ISREG(st.st_mode))
        return fail(FileAction::Save, NotRegular);
    if (st.st_uid != link.st_uid && link.st_uid != ::geteuid())
        return fail(FileAction::Save, "it is a link to a file of another user");
    old = st;
    inPlace = true;
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::openTarget()
{
    if (target >= 0)
        return std::nullopt;
    target = systemCalls().openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (target < 0)
        return fail(FileAction::Save, errno);
    struct stat st {};
    if (::fstat(target, &st) != 0)
        return fail(FileAction::Save, errno);
    if (!S_ISREG(st.st_mode))
        return fail(FileAction::Save, NotRegular);
    return std::nullopt;
}

int FileReplacement::State::makeTemporary()
{
    // A new file gets the rights any new file gets; a replacement gets the old ones once written.
    const mode_t mode = exists ? S_IRUSR | S_IWUSR : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(name);
        temp =
            systemCalls().openat(folder, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (temp >= 0) {
            temporary = candidate;
            return 0;
        }
        if (errno != EEXIST)
            break;
    }
    return errno;
}

std::optional<FileError> FileReplacement::State::giveOldRights()
{
    struct stat now {};
    if (::fstat(temp, &now) != 0)
        return fail(FileAction::Save, errno);
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        const int refused = ::fchown(temp, old.st_uid, old.st_gid) == 0 ? 0 : errno;
        if (::fstat(temp, &now) != 0)
            return fail(FileAction::Save, errno);
        // Judged by what the file has: a file system without owners takes no change and needs none.
        if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && refused != 0 && refused != EPERM)
            return fail(FileAction::Save, refused);
    }
    if ((now.st_mode & Rights) != (old.st_mode & Rights) && ::fchmod(temp, old.st_mode & Rights) != 0) {
        const int refused = errno;
        if (::fstat(temp, &now) != 0)
            return fail(FileAction::Save, errno);
        if ((now.st_mode & Rights) != (old.st_mode & Rights) && refused != EPERM)
            return fail(FileAction::Save, refused);
    } else if (::fstat(temp, &now) != 0) {
        return fail(FileAction::Save, errno);
    }
    if (!sameRights(now, old))
        inPlace = true;
    return std::nullopt;
}

std::optional<FileError> FileReplacement::State::rewriteInPlace()
{
    if (auto error = openTarget())
        return error;
    // Written over, then cut to length: the file is never emptied first, and keeps its owner.
    std::uint64_t done = 0;
    std::size_t written = 0;
    const auto incomplete = [&](FileAction action, int error) {
        FileError e = fail(action, error);
        e.mayBeIncomplete = done + written > 0;
        return e;
    };
    if (temp >= 0) {
        std::array<char, Chunk> buffer{};
        while (done < size) {
            const ssize_t n = ::pread(temp, buffer.data(), buffer.size(), static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return incomplete(FileAction::Write, n == 0 ? EIO : errno);
            if (!writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)),
                          static_cast<off_t>(done), true, written))
                return incomplete(FileAction::Write, errno);
            done += written;
            written = 0;
        }
    } else if (!writeAll(target, held, 0, true, written)) {
        return incomplete(FileAction::Write, errno);
    }
    written = static_cast<std::size_t>(size - done);
    if (::ftruncate(target, static_cast<off_t>(size)) != 0)
        return incomplete(FileAction::Write, errno);
    if (systemCalls().fsync(target) != 0)
        return incomplete(FileAction::Write, errno);
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
    s.folder = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (s.folder < 0)
        return s.fail(FileAction::Save, errno);

    struct stat st {};
    if (::fstatat(s.folder, s.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        s.exists = true;
        if (auto error = S_ISLNK(st.st_mode) ? s.openThroughLink(st) : s.checkOld(st))
            return error;
        // Not writable for this user (or on a read-only mount): a rename would get round it.
        if (!s.inPlace && ::faccessat(s.folder, s.name.c_str(), W_OK, AT_EACCESS) != 0)
            return s.fail(FileAction::Save, errno);
    } else if (errno != ENOENT) {
        return s.fail(FileAction::Save, errno);
    }

    if (const int error = s.makeTemporary()) {
        // A folder that refuses new files: a file already there is rewritten in place.
        if (!s.exists || (error != EACCES && error != EPERM))
            return s.fail(FileAction::Save, error);
        s.inPlace = true;
        return s.openTarget();
    }
    return std::nullopt;
}

std::optional<FileError> FileReplacement::write(std::string_view content)
{
    State &s = *state_;
    s.size += content.size();
    if (s.temp < 0) {
        s.held.append(content);
        return std::nullopt;
    }
    std::size_t done = 0;
    if (!writeAll(s.temp, content, 0, false, done))
        return s.fail(FileAction::Write, errno);
    return std::nullopt;
}

std::optional<FileError> FileReplacement::commit()
{
    State &s = *state_;
    auto error = s.commit();
    // Whatever happened, no temporary file is left behind.
    s.discardTemporary();
    return error;
}

std::optional<FileError> FileReplacement::State::commit()
{
    State &s = *this;
    if (!s.inPlace && s.exists)
        if (auto error = s.giveOldRights())
            return error;
    if (s.inPlace)
        return s.rewriteInPlace();
    // Some file systems report a full disk only when the data reaches it.
    if (systemCalls().fsync(s.temp) != 0)
        return s.fail(FileAction::Write, errno);
    if (systemCalls().renameat(s.folder, s.temporary.c_str(), s.folder, s.name.c_str()) != 0)
        return s.fail(FileAction::Save, errno);
    s.temporary.clear();
    // The rename itself lasts only once the folder is on disk; some file systems cannot sync a folder.
    if (systemCalls().fsync(s.folder) != 0 && errno != EINVAL)
        return s.fail(FileAction::Sync, errno);
    return std::nullopt;
}

}  // namespace trelvane

#pragma once
// Small file helpers for tests that check what is left on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

#include <csignal>
#include <filesystem>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/fileerror.h"

namespace trelvane::testing {

// The message a file operation gave, or "" when it went well: for readable assertions.
inline std::string messageOf(const std::optional<FileError> &error)
{
    return error ? error->message().toStdString() : std::string();
}

inline QByteArray bytesOf(const std::string &s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(content), content.size());
}

inline QByteArray readFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return "<unreadable>";  // opening a pipe would wait for a writer
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

// Everything in a folder, hidden files included: a stray temporary file shows here.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Permission bits do not stop the superuser; tests that rely on them say so.
inline bool permissionsStopWrites()
{
    QTemporaryDir probe;
    QFile::setPermissions(probe.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile f(QDir(probe.path()).filePath(QStringLiteral("probe")));
    const bool created = f.open(QIODevice::WriteOnly);
    f.close();
    QFile::setPermissions(probe.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return !created;
}

// While one lives, no file of this process grows beyond `room` bytes: writes
// past it fail with "File too large", as on a full disk, without root or a
// mount. Assert nothing while it lives: a message written to a file would fail too.
class WritesFail {
public:
    explicit WritesFail(rlim_t room = 0)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{room, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WritesFail()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    WritesFail(const WritesFail &) = delete;
    WritesFail &operator=(const WritesFail &) = delete;

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

// A named pipe under a file's name: opening it for reading waits for a writer.
inline void makePipe(const QString &path)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0644), 0) << path.toStdString();
}

// Runs `action` as a player without special rights: as root (which permission
// bits do not stop) it runs in a child process as "nobody", owning `folder`.
inline bool asPlayer(const QString &folder, const std::function<bool()> &action)
{
    if (geteuid() != 0)
        return action();
    constexpr uid_t Nobody = 65534;
    namespace fs = std::filesystem;
    const fs::path root(QFile::encodeName(folder).constData());
    EXPECT_EQ(::lchown(root.c_str(), Nobody, Nobody), 0);
    for (const auto &entry : fs::recursive_directory_iterator(root))
        EXPECT_EQ(::lchown(entry.path().c_str(), Nobody, Nobody), 0);
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0;
        _exit(dropped && action() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace trelvane::testing

// What a replacement leaves on a Windows disk: the bytes as given (no CR added),
// the old file's attributes, any folder name, and after a failure the old file
// and no temporary file.

#include "files/systemcalls_windows.h"
#include "files/wholefile.h"

#include <gtest/gtest.h>

#include "diskfiles.h"

namespace trelvane {
namespace {

using namespace trelvane::testing;

enum Fault { None = 0, NoNewFile = 1, FlushFails = 2, ReplaceFails = 4 };

// The fakes are plain functions: a lambda does not convert to a WINAPI pointer on 32-bit Windows.
HANDLE WINAPI createFileNotNew(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE model)
{
    if (disposition != CREATE_NEW)
        return ::CreateFileW(name, access, share, security, disposition, flags, model);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI flushFails(HANDLE) { return SetLastError(ERROR_DISK_FULL), FALSE; }

BOOL WINAPI replaceRefused(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    return SetLastError(ERROR_SHARING_VIOLATION), FALSE;
}

// The folder refuses new files (as an installed game's may), or a step of the replacement fails.
class Faults {
public:
    explicit Faults(int which) : saved_(windows::systemCalls())
    {
        auto &calls = windows::systemCalls();
        if (which & NoNewFile)
            calls.createFile = createFileNotNew;
        if (which & FlushFails)
            calls.flushFileBuffers = flushFails;
        if (which & ReplaceFails)
            calls.replaceFile = replaceRefused;
    }
    ~Faults() { windows::systemCalls() = saved_; }
    Faults(const Faults &) = delete;
    Faults &operator=(const Faults &) = delete;

private:
    windows::SystemCalls saved_;
};

TEST(ReplaceWholeFile, LeavesTheNewBytesOrTheOldFileAndNoTemporaryFile)
{
    const struct Case {
        const char *name;
        const wchar_t *folder;
        DWORD attributes;  // of the old file; 0: no file yet
        int faults;
        std::string error;  // in the message; empty: saved
    } cases[] = {
        {"over a hidden file", L"game", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, None, ""},
        {"in a folder of any name", L"Tr\u00e9lvane \u30b2\u30fc\u30e0 \u0416", FILE_ATTRIBUTE_ARCHIVE, None, ""},
        {"folder takes no new file", L"game", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, NoNewFile, ""},
        {"folder takes no new file, no file yet", L"game", 0, NoNewFile,
         "Cannot save trelvane.cfg: " + systemWords(ERROR_ACCESS_DENIED)},
        {"flush fails", L"game", FILE_ATTRIBUTE_ARCHIVE, FlushFails,
         "Cannot write trelvane.cfg: " + systemWords(ERROR_DISK_FULL)},
        {"flush fails in place", L"game", FILE_ATTRIBUTE_ARCHIVE, NoNewFile | FlushFails, "may now be incomplete"},
        {"replace fails", L"game", FILE_ATTRIBUTE_ARCHIVE, ReplaceFails, "Cannot save trelvane.cfg: "},
    };
    const std::string content("3\r\n.07\r\nlone\nend");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path folder = dir / c.folder;
        const fs::path path = folder / "trelvane.cfg";
        ASSERT_TRUE(fs::create_directory(folder));
        if (c.attributes) {
            writeFile(path, "old\r\n");
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), c.attributes));
        }
        const std::string before = readFile(path);
        const auto entriesBefore = entries(folder);

        std::string message;
        {
            Faults faults(c.faults);
            message = messageOf(replaceWholeFile({path, "trelvane.cfg"}, content));
        }

        EXPECT_TRUE(c.error.empty() ? message.empty() : contains(message, c.error)) << message;
        if (!contains(message, "incomplete")) {
            EXPECT_EQ(readFile(path), message.empty() ? content : before);
        }
        const DWORD kept = c.attributes || !message.empty() ? c.attributes : FILE_ATTRIBUTE_ARCHIVE;
        EXPECT_EQ(GetFileAttributesW(path.c_str()), kept ? kept : INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(entries(folder), message.empty() ? std::vector<std::string>{"trelvane.cfg"} : entriesBefore);
        std::string back;
        if (message.empty()) {
            EXPECT_EQ(messageOf(readFileStart({path, "trelvane.cfg"}, 100, back)), "");
            EXPECT_EQ(back, content);
        }
    }
}

}  // namespace
}  // namespace trelvane

// What a replacement leaves on a Windows disk: the bytes as given (no CR added),
// the old file's attributes, any folder name, and after a failure the old file
// and no temporary file, or, where Windows moved the old file away, a whole copy
// of each file that the message names.

#include "files/gamefolder.h"
#include "files/systemcalls_windows.h"
#include "files/wholefile.h"
#include "scores/scorereset.h"
#include "settings/settingsfile.h"
#include "settings/settingswriter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "diskfiles.h"

namespace trelvane {
namespace {

using namespace trelvane::testing;

enum Fault { None = 0, NoNewFile = 1, FlushFails = 2, ReplaceFails = 4 };
// After a ReplaceFileW that failed part way.
enum Moves { MovesWork, NewFileStays, NothingMoves };

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

DWORD partialFailure = 0;
Moves moves = MovesWork;
std::wstring replacement;

// Leaves the files as Windows does when it reports each of these codes.
BOOL WINAPI replaceFailingPartWay(LPCWSTR replaced, LPCWSTR newFile, LPCWSTR backup, DWORD, LPVOID, LPVOID)
{
    replacement = newFile;
    // Gone, as documented where no backup name is given; with one, both keep their names.
    if (partialFailure == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        DeleteFileW(replaced);
    if (partialFailure == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(replaced, backup ? backup : (std::wstring(replaced) + L".rf").c_str(), 0);
    return SetLastError(partialFailure), FALSE;
}

BOOL WINAPI moveAfterPartialFailure(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (moves == NothingMoves || (moves == NewFileStays && from == replacement))
        return SetLastError(ERROR_SHARING_VIOLATION), FALSE;
    return ::MoveFileExW(from, to, flags);
}

// The folder refuses new files (as an installed game's may), or a step of the replacement fails.
class Faults {
public:
    explicit Faults(int which, DWORD partial = 0, Moves after = MovesWork) : saved_(windows::systemCalls())
    {
        auto &calls = windows::systemCalls();
        if (which & NoNewFile)
            calls.createFile = createFileNotNew;
        if (which & FlushFails)
            calls.flushFileBuffers = flushFails;
        if (which & ReplaceFails)
            calls.replaceFile = replaceRefused;
        if (partial) {
            partialFailure = partial;
            moves = after;
            calls.replaceFile = replaceFailingPartWay;
            calls.moveFile = moveAfterPartialFailure;
        }
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

// ReplaceFileW fails part way when an antivirus program or a backup tool holds a
// file. Then the file's name holds a whole copy, or the message says where each
// copy is: for the settings and for the high-score table.
TEST(ReplaceWholeFile, AReplacementFailingPartWayLosesNoCopy)
{
    enum Outcome { Saved, OldKept, CopiesNamed };
    const struct Case {
        const char *name;
        DWORD code;
        Moves moves;
        Outcome outcome;
    } cases[] = {
        {"both keep their names", ERROR_UNABLE_TO_REMOVE_REPLACED, MovesWork, OldKept},
        {"old file gone", ERROR_UNABLE_TO_MOVE_REPLACEMENT, MovesWork, Saved},
        {"old file gone, new one held", ERROR_UNABLE_TO_MOVE_REPLACEMENT, NewFileStays, CopiesNamed},
        {"old file moved aside", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, MovesWork, Saved},
        {"old file moved aside, new one held", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, NewFileStays, OldKept},
        {"old file moved aside, both held", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, NothingMoves, CopiesNamed},
    };
    const std::string old = "old\r\n", defaults = "Anna 5000";
    for (const Case &c : cases)
        for (const GameFile which : {GameFile::Settings, GameFile::HighScores}) {
            const std::string shown = GameFolder::shownName(which);
            SCOPED_TRACE(std::string(c.name) + ": " + shown);
            TempDir dir;
            const GameFolder game(dir.path());
            const fs::path path = game.path(which);
            ASSERT_TRUE(fs::create_directory(dir / "data"));
            writeFile(game.path(GameFile::DefaultScores), defaults);
            writeFile(path, old);
            const auto before = entries(path.parent_path());

            std::string message;
            {
                Faults faults(None, c.code, c.moves);
                message = messageOf(which == GameFile::Settings ? saveSettingsFile(game, GameSettings{})
                                                                : resetHighScores(game));
            }

            const std::string saved =
                which == GameFile::Settings ? writeSettings(GameSettings{}) : resetScoresContent(defaults);
            EXPECT_EQ(message.empty(), c.outcome == Saved) << message;
            if (c.outcome != CopiesNamed) {
                EXPECT_EQ(readFile(path), c.outcome == Saved ? saved : old);
                EXPECT_EQ(entries(path.parent_path()), before);
                continue;
            }
            EXPECT_FALSE(fs::exists(path));
            int newCopies = 0;
            for (const std::string &name : entries(path.parent_path())) {
                if (std::find(before.begin(), before.end(), name) != before.end())
                    continue;
                const std::string named = shown.substr(0, shown.rfind("\\") + 1) + name;
                const std::string content = readFile(path.parent_path() / name);
                newCopies += content == saved;
                EXPECT_TRUE(content == saved ? contains(message, "The new " + shown + " is in " + named)
                                             : content == old && contains(message, "the old one in " + named))
                    << name << ": " << message;
            }
            EXPECT_EQ(newCopies, 1) << message;
        }
}

}  // namespace
}  // namespace trelvane

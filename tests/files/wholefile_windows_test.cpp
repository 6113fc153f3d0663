// What a replacement leaves on a Windows disk: the bytes as given (no CR added),
// the old file's attributes, any folder name, and no temporary file.

#include "files/wholefile.h"

#include <gtest/gtest.h>

#include "diskfiles.h"

namespace trelvane {
namespace {

using namespace trelvane::testing;

TEST(ReplaceWholeFile, LeavesExactlyTheBytesAndTheOldAttributes)
{
    const struct Case {
        const char *name;
        const wchar_t *folder;
        DWORD attributes;  // of the old file; 0: no file yet
    } cases[] = {
        {"new file", L"game", 0},
        {"over a plain file", L"game", FILE_ATTRIBUTE_ARCHIVE},
        {"over a hidden file", L"game", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {"in a folder of any name", L"Tr\u00e9lvane \u30b2\u30fc\u30e0 \u0416", FILE_ATTRIBUTE_ARCHIVE},
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

        EXPECT_EQ(messageOf(replaceWholeFile({path, "trelvane.cfg"}, content)), "");

        EXPECT_EQ(readFile(path), content);
        EXPECT_EQ(GetFileAttributesW(path.c_str()), c.attributes ? c.attributes : FILE_ATTRIBUTE_ARCHIVE);
        EXPECT_EQ(entries(folder), std::vector<std::string>{"trelvane.cfg"}) << "no temporary file left";
        std::string back;
        EXPECT_EQ(messageOf(readFileStart({path, "trelvane.cfg"}, 100, back)), "");
        EXPECT_EQ(back, content);
    }
}

}  // namespace
}  // namespace trelvane

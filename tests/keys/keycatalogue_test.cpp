#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>

#include "keys/keycatalogue.h"

using trelvane::GetCode;
using trelvane::GetIndex;
using trelvane::KeyCatalogue;
using trelvane::KeyCount;

namespace {

struct Translation {
    int in;
    int out;
};

TEST(KeyCatalogue, CodesStrictlyAscendFromEscapeToMediaSelect)
{
    ASSERT_EQ(KeyCatalogue.size(), 144u);
    EXPECT_EQ(KeyCatalogue.front().code, 0x01);
    EXPECT_EQ(KeyCatalogue.back().code, 0xED);
    for (std::size_t i = 1; i < KeyCatalogue.size(); ++i)
        EXPECT_LT(KeyCatalogue[i - 1].code, KeyCatalogue[i].code) << "row " << i;
}

// Every name and code against the golden table, row by row.
TEST(KeyCatalogue, EveryRowMatchesTheGoldenTable)
{
    std::ifstream golden(TRELVANE_KEY_TABLE);
    ASSERT_TRUE(golden.is_open()) << TRELVANE_KEY_TABLE;
    std::size_t row = 0;
    for (std::string line; std::getline(golden, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t nameAt = line.find('\t') + 1;
        const std::size_t codeAt = line.rfind('\t') + 1;
        ASSERT_LT(row, KeyCatalogue.size());
        EXPECT_EQ(line.substr(0, nameAt - 1), std::to_string(row));
        EXPECT_EQ(KeyCatalogue[row].name, line.substr(nameAt, codeAt - 1 - nameAt)) << "row " << row;
        EXPECT_EQ(KeyCatalogue[row].code, std::stoi(line.substr(codeAt))) << "row " << row;
        ++row;
    }
    EXPECT_EQ(row, KeyCatalogue.size());
}

TEST(KeyCatalogue, NamesShownInTheLists)
{
    const std::map<int, std::string> expected = {
        {0, "ESCAPE"},
        {8, "8"},
        {10, "0"},
        {11, "Minus (-)"},
        {42, "Backslash (\\)"},
        {50, "Comma (,)"},
        {68, "NumLock"},
        {69, "Scroll Lock"},
        {73, "Subtract (-)"},
        {96, "PrevTrack"},
        {104, "Next Track"},
        {114, "Comma (,)"},
        {121, "Page Up/Prior"},
        {143, "Media Select"},
    };
    for (const auto &[index, name] : expected)
        EXPECT_EQ(KeyCatalogue[static_cast<std::size_t>(index)].name, name) << "row " << index;
}

TEST(KeyCatalogue, NamesUniqueButForTheTwoCommas)
{
    std::map<std::string_view, int> count;
    for (const auto &row : KeyCatalogue)
        ++count[row.name];
    for (const auto &[name, n] : count) {
        if (name == "Comma (,)")
            EXPECT_EQ(n, 2);
        else
            EXPECT_EQ(n, 1) << name;
    }
}

TEST(KeyCatalogue, CodesLeftOutOfTheCatalogue)
{
    // 112 byte values name no key; together with the 144 rows they cover 0..255.
    int missing = 0;
    for (int c = 0; c <= 0xFF; ++c) {
        bool present = false;
        for (const auto &row : KeyCatalogue)
            present = present || row.code == c;
        missing += present ? 0 : 1;
    }
    EXPECT_EQ(missing, 112);
}

TEST(KeyTranslation, GetIndex)
{
    const Translation cases[] = {
        {1, 0},   {51, 50}, {179, 114}, {237, 143},  {0, 0},     {84, 0},           {85, 0}, {86, 83},
        {238, 0}, {257, 0}, {-1, 0},    {-32768, 0}, {32767, 0}, {0x101 + 0x32, 0},  // 0x133 must not be taken for 0x33
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetIndex(static_cast<std::int16_t>(c.in)), c.out) << "code " << c.in;
}

TEST(KeyTranslation, GetCode)
{
    const Translation cases[] = {
        {0, 1}, {50, 51}, {82, 83}, {83, 86}, {114, 179}, {143, 237}, {-1, 0}, {144, 0}, {-32768, 0}, {32767, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetCode(static_cast<std::int16_t>(c.in)), c.out) << "index " << c.in;
}

TEST(KeyTranslation, InverseOnEveryRow)
{
    for (int i = 0; i < KeyCount; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        const std::int16_t code = GetCode(index);
        EXPECT_EQ(code, KeyCatalogue[static_cast<std::size_t>(i)].code);
        EXPECT_EQ(GetIndex(code), index);
    }
}

TEST(KeyTranslation, UnknownCodesComeBackAsEscape)
{
    int kept = 0;
    for (int c = -32768; c <= 32767; ++c) {
        const auto code = static_cast<std::int16_t>(c);
        const std::int16_t back = GetCode(GetIndex(code));
        if (back == code)
            ++kept;
        else
            ASSERT_EQ(back, 1) << "code " << c;
    }
    EXPECT_EQ(kept, KeyCount);  // exactly the catalogue's own codes survive
}

}  // namespace

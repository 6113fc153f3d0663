#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "keys/keycatalogue.h"
#include "printsettings.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

using namespace trelvane;

namespace {

constexpr ReadMode BothModes[] = {ReadMode::StartUp, ReadMode::Factory};

GameSettings base() { return GameSettings{3, 9, 1, 0, 1, 0, 1, 0, 120, 1, 40, 0, 60, 1, {1, 2, 3, 4, 5}}; }

void expectRoundTrip(const GameSettings &s, const char *what, int n)
{
    const std::string bytes = writeSettings(s);
    for (ReadMode mode : BothModes) {
        const ReadResult r = readSettings(bytes, mode);
        ASSERT_TRUE(r.ok()) << what << ' ' << n << ": " << r.error->where();
        EXPECT_EQ(r.settings, s) << what << ' ' << n << ":\n" << bytes;
        EXPECT_EQ(writeSettings(r.settings), bytes) << what << ' ' << n;
    }
}

TEST(RoundTrip, EveryVolumePosition)
{
    for (int p = 0; p <= 100; ++p) {
        GameSettings s = base();
        s.SoundVolume = p;
        s.MusicVolume = 100 - p;
        expectRoundTrip(s, "position", p);
    }
}

TEST(RoundTrip, EveryKeyInEverySlot)
{
    for (int i = 0; i < KeyCount; ++i) {
        GameSettings s = base();
        const std::int16_t code = GetCode(static_cast<std::int16_t>(i));
        for (std::size_t slot = 0; slot < s.Keys.size(); ++slot)
            s.Keys[slot] = slot % 2 == 0 ? code : GetCode(static_cast<std::int16_t>(KeyCount - 1 - i));
        expectRoundTrip(s, "key index", i);
        const ReadResult r = readSettings(writeSettings(s), ReadMode::StartUp);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(GetIndex(r.settings.Keys[0]), i);
    }
}

TEST(RoundTrip, ExtremesOfEachType)
{
    constexpr std::int32_t I32Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t I32Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int16_t I16Min = std::numeric_limits<std::int16_t>::min();
    constexpr std::int16_t I16Max = std::numeric_limits<std::int16_t>::max();
    const GameSettings cases[] = {
        {I32Min,
         I32Max,
         I16Min,
         I16Max,
         -1,
         0,
         1,
         2,
         I32Min,
         I16Max,
         I32Min,
         I16Min,
         I32Max,
         -1,
         {I16Min, I16Max, 0, -1, 238}},
        {I32Max, I32Min, I16Max, I16Min, 0, 0, 0, 0, I32Max, 0, I32Max, 0, I32Min, 0, {0, 0, 0, 0, 0}},
        {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -7, -1, {-1, -1, -1, -1, -1}},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 123456789, 0, -987654321, 0, {0, 0, 0, 0, 0}},
    };
    int n = 0;
    for (const auto &s : cases)
        expectRoundTrip(s, "case", n++);
}

TEST(RoundTrip, HandEditedFileIsWrittenInTheWritersForm)
{
    const std::string edited = "2.5\n  8\n\"1\"\n1 \n1\n0\n1\n0\n40\n1\n0.5\n1\n.75\n1\n203\n205\n57\n30\n32\nextra\n";
    const ReadResult r = readSettings(edited, ReadMode::StartUp);
    ASSERT_TRUE(r.ok()) << r.error->where();
    EXPECT_EQ(writeSettings(r.settings), "2\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n.5\r\n1\r\n.75\r\n1\r\n"
                                         "203\r\n205\r\n57\r\n30\r\n32\r\n");
}

TEST(RoundTrip, UnknownKeyCodeIsSavedAsEscape)
{
    GameSettings s = base();
    s.Keys = {0, 84, 257, -1, 51};
    const ReadResult r = readSettings(writeSettings(s), ReadMode::StartUp);
    ASSERT_TRUE(r.ok());
    // What the window does: select GetIndex of the code, save GetCode of the selection.
    std::array<std::int16_t, KeySlotCount> saved{};
    for (std::size_t i = 0; i < saved.size(); ++i)
        saved[i] = GetCode(GetIndex(r.settings.Keys[i]));
    EXPECT_EQ(saved, (std::array<std::int16_t, KeySlotCount>{1, 1, 1, 1, 51}));
}

}  // namespace

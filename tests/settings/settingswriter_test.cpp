#include <gtest/gtest.h>

#include <string>

#include "settings/settingswriter.h"

using namespace trelvane;

namespace {

GameSettings sample()
{
    GameSettings s;
    s.SphereDetail = 2;
    s.OdoDetail = 8;
    s.FPS = 1;
    s.Score = 1;
    s.Level = 1;
    s.Mask = 0;
    s.Mirror = 1;
    s.Transparency = 0;
    s.MsgTrans = 40;
    s.Sound = 1;
    s.SoundVolume = 75;
    s.Music = 1;
    s.MusicVolume = 50;
    s.Particles = 1;
    s.Keys = {203, 205, 57, 30, 32};
    return s;
}

TEST(WriteSettings, WholeRecordByteForByte)
{
    EXPECT_EQ(writeSettings(sample()), "2\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n.75\r\n1\r\n.5\r\n1\r\n"
                                       "203\r\n205\r\n57\r\n30\r\n32\r\n");
}

TEST(WriteSettings, VolumeLines)
{
    const struct {
        std::int32_t position;
        const char *line;
    } cases[] = {
        {0, "0"},    {1, ".01"}, {7, ".07"},   {29, ".29"},  {50, ".5"},   {57, ".57"},
        {75, ".75"}, {100, "1"}, {-50, "-.5"}, {-1, "-.01"}, {150, "1.5"}, {-100, "-1"},
    };
    for (const auto &c : cases) {
        GameSettings s = sample();
        s.SoundVolume = c.position;
        s.MusicVolume = c.position;
        const std::string v = c.line;
        EXPECT_EQ(writeSettings(s), "2\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n" + v + "\r\n1\r\n" + v +
                                        "\r\n1\r\n203\r\n205\r\n57\r\n30\r\n32\r\n")
            << "position " << c.position;
    }
}

TEST(WriteSettings, IntegersPlainAndNegatives)
{
    GameSettings s;
    s.SphereDetail = -7;
    s.OdoDetail = 2147483647;
    s.FPS = -32768;
    s.MsgTrans = 320;
    s.Keys = {0, -1, 32767, 1, 237};
    EXPECT_EQ(writeSettings(s),
              "-7\r\n2147483647\r\n-32768\r\n0\r\n0\r\n0\r\n0\r\n0\r\n320\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
              "0\r\n-1\r\n32767\r\n1\r\n237\r\n");
}

TEST(WriteSettings, TwiceGivesIdenticalBytes)
{
    const GameSettings s = sample();
    EXPECT_EQ(writeSettings(s), writeSettings(s));
}

}  // namespace

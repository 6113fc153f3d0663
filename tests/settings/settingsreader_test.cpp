#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/fileerror.h"
#include "printsettings.h"
#include "settings/settingsreader.h"

using namespace trelvane;

namespace {

const std::vector<std::string> SampleLines = {
    "2", "8", "1", "1", "1", "0", "1", "0", "40", "1", ".75", "1", ".5", "1", "203", "205", "57", "30", "32",
};

GameSettings sampleRecord()
{
    return GameSettings{2, 8, 1, 1, 1, 0, 1, 0, 40, 1, 75, 1, 50, 1, {203, 205, 57, 30, 32}};
}

std::string join(const std::vector<std::string> &lines, const std::string &eol = "\r\n")
{
    std::string out;
    for (const auto &l : lines)
        out += l + eol;
    return out;
}

// The sample file with line `lineNo` (1-based) replaced.
std::string withLine(int lineNo, const std::string &text)
{
    std::vector<std::string> lines = SampleLines;
    lines[static_cast<std::size_t>(lineNo - 1)] = text;
    return join(lines);
}

ValueLines physicalLines()
{
    ValueLines l{};
    for (int i = 0; i < 19; ++i)
        l[static_cast<std::size_t>(i)] = i + 1;
    return l;
}

constexpr ReadMode BothModes[] = {ReadMode::StartUp, ReadMode::Factory};

TEST(ReadSettings, SampleFileInBothModes)
{
    for (ReadMode mode : BothModes) {
        const ReadResult r = readSettings(join(SampleLines), mode);
        ASSERT_TRUE(r.ok()) << r.error->where();
        EXPECT_EQ(r.settings, sampleRecord());
        EXPECT_EQ(r.lines, physicalLines());
    }
}

TEST(ReadSettings, SphereDetailForms)
{
    const struct {
        const char *text;
        std::int32_t value;
    } cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"4.5", 4},
        {"2.51", 3},
        {"   3", 3},
        {"\t3", 3},
        {"3 ", 3},
        {"3\t \t", 3},
        {"\"3\"", 3},
        {"\"3\"junk", 3},
        {"  \"3\"  ", 3},
        {"\" 3 \"", 3},
        {"+3", 3},
        {"003", 3},
        {"3.", 3},
        {".35e1", 4},
        {"25E-1", 2},
        {"2.5e0", 2},
        {"1e3", 1000},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (ReadMode mode : BothModes) {
        for (const auto &c : cases) {
            const ReadResult r = readSettings(withLine(1, c.text), mode);
            ASSERT_TRUE(r.ok()) << c.text << ": " << r.error->where();
            EXPECT_EQ(r.settings.SphereDetail, c.value) << c.text;
            EXPECT_EQ(r.settings.OdoDetail, 8) << c.text;  // the next line is untouched
        }
    }
}

TEST(ReadSettings, VolumeForms)
{
    const struct {
        const char *text;
        std::int32_t position;
    } cases[] = {
        {"0.5", 50},
        {".5", 50},
        {"0.50", 50},
        {"5e-1", 50},
        {".29", 29},
        {".57", 57},
        {"1", 100},
        {"0", 0},
        {"\".75\"", 75},
        {".07", 7},
        {"-.5", -50},
        {"0.005", 0},
        {"0.025", 2},
        {"1.5", 150},
        {"21474836.47", 2147483647},
        {"-21474836.48", -2147483647 - 1},
    };
    for (const auto &c : cases) {
        const ReadResult r = readSettings(withLine(11, c.text), ReadMode::StartUp);
        ASSERT_TRUE(r.ok()) << c.text << ": " << r.error->where();
        EXPECT_EQ(r.settings.SoundVolume, c.position) << c.text;
        const ReadResult m = readSettings(withLine(13, c.text), ReadMode::StartUp);
        ASSERT_TRUE(m.ok()) << c.text;
        EXPECT_EQ(m.settings.MusicVolume, c.position) << c.text;
    }
}

TEST(ReadSettings, KeyCodeForms)
{
    const struct {
        const char *text;
        std::int16_t code;
    } cases[] = {
        {"179", 179},         {"abc", 0},     {"", 0},          {"   ", 0},         {"3x", 0},
        {"\"\"", 0},          {"inf", 0},     {"0x39", 0},      {"1e2", 100},       {"-1", -1},
        {"2.5", 2},           {"\"57\"", 57}, {"32767", 32767}, {"-32768", -32768}, {"32767.4", 32767},
        {"-32768.5", -32768},
    };
    for (ReadMode mode : BothModes) {
        for (const auto &c : cases) {
            const ReadResult r = readSettings(withLine(17, c.text), mode);
            ASSERT_TRUE(r.ok()) << c.text << ": " << r.error->where();
            EXPECT_EQ(r.settings.Keys[2], c.code) << c.text;
            EXPECT_EQ(r.settings.Keys[3], 30) << c.text;
        }
    }
}

TEST(ReadSettings, EmptyValueDependsOnMode)
{
    const struct {
        int line;
        const char *text;
    } cases[] = {{4, ""}, {4, "  \t"}, {4, "\"\""}, {1, ""}, {11, ""}, {14, ""}};
    for (const auto &c : cases) {
        const std::string bytes = withLine(c.line, c.text);
        const ReadResult startUp = readSettings(bytes, ReadMode::StartUp);
        ASSERT_FALSE(startUp.ok()) << c.line << " \"" << c.text << '"';
        EXPECT_EQ(startUp.error->line, c.line);
        EXPECT_EQ(startUp.error->found, "");

        const ReadResult factory = readSettings(bytes, ReadMode::Factory);
        ASSERT_TRUE(factory.ok()) << c.line;
        GameSettings expected = sampleRecord();
        switch (c.line) {
        case 1: expected.SphereDetail = 0; break;
        case 4: expected.Score = 0; break;
        case 11: expected.SoundVolume = 0; break;
        case 14: expected.Particles = 0; break;
        }
        EXPECT_EQ(factory.settings, expected) << c.line;
    }
}

TEST(ReadSettings, LineEndings)
{
    const struct {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"CR LF", join(SampleLines, "\r\n")},
        {"LF", join(SampleLines, "\n")},
        {"CR", join(SampleLines, "\r")},
        {"no final line end", join(SampleLines).substr(0, join(SampleLines).size() - 2)},
        {"mixed", "2\n8\r1\r\n1\n1\r0\r\n1\n0\r40\r\n1\n.75\r1\r\n.5\n1\r203\r\n205\n57\r30\r\n32"},
        {"more than 19 lines", join(SampleLines) + "7\r\n8\r\nwhatever, it is\r\n"},
        {"junk after the last value", join(SampleLines) + "\x01\xff\"unterminated"},
    };
    for (const auto &c : cases) {
        for (ReadMode mode : BothModes) {
            const ReadResult r = readSettings(c.bytes, mode);
            ASSERT_TRUE(r.ok()) << c.name << ": " << r.error->where();
            EXPECT_EQ(r.settings, sampleRecord()) << c.name;
            EXPECT_EQ(r.lines, physicalLines()) << c.name;
        }
    }
}

TEST(ReadSettings, CommaShiftsEveryLaterValue)
{
    // Line 2 holds two values: the 19th value is then found on line 18, and
    // line 19 is never read.
    std::vector<std::string> lines = SampleLines;
    lines[1] = "8,0";
    lines[18] = "not read";
    const ReadResult r = readSettings(join(lines), ReadMode::StartUp);
    ASSERT_TRUE(r.ok()) << r.error->where();
    // Each later value is read by the field before: ".75" becomes a toggle
    // (rounded to 1), ".5" the particles (rounded to 0).
    const GameSettings expected{2, 8, 0, 1, 1, 1, 0, 1, 0, 40, 100, 1, 100, 0, {1, 203, 205, 57, 30}};
    EXPECT_EQ(r.settings, expected);
    const ValueLines where{1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    EXPECT_EQ(r.lines, where);
}

TEST(ReadSettings, EighteenLinesWithACommaHoldNineteenValues)
{
    std::vector<std::string> lines(SampleLines.begin(), SampleLines.end() - 1);
    lines[17] += ",32";
    const ReadResult r = readSettings(join(lines), ReadMode::StartUp);
    ASSERT_TRUE(r.ok()) << r.error->where();
    EXPECT_EQ(r.settings, sampleRecord());
    EXPECT_EQ(r.lines[18], 18);

    // A comma at the very end of the file still promises a value: an empty key reads as 0.
    lines[17] = "30,";
    const ReadResult atEnd = readSettings(join(lines).substr(0, join(lines).size() - 2), ReadMode::StartUp);
    ASSERT_TRUE(atEnd.ok()) << atEnd.error->where();
    EXPECT_EQ(atEnd.settings.Keys[4], 0);
}

TEST(ReadSettings, CommaInsideQuotesBelongsToTheValue)
{
    std::vector<std::string> lines = SampleLines;
    lines[14] = "\"5,7\"";
    lines[15] = "\"203\",";  // the trailing comma opens an empty value
    const ReadResult r = readSettings(join(lines), ReadMode::StartUp);
    ASSERT_TRUE(r.ok()) << r.error->where();
    EXPECT_EQ(r.settings.Keys, (std::array<std::int16_t, 5>{0, 203, 0, 57, 30}));
    EXPECT_EQ(r.lines[17], 17);
    EXPECT_EQ(r.lines[18], 18);
}

TEST(ReadSettings, AllNineteenValuesOnOneLine)
{
    std::string bytes;
    for (const auto &l : SampleLines)
        bytes += (bytes.empty() ? "" : ", ") + l;
    const ReadResult r = readSettings(bytes, ReadMode::StartUp);
    ASSERT_TRUE(r.ok()) << r.error->where();
    EXPECT_EQ(r.settings, sampleRecord());
    for (int line : r.lines)
        EXPECT_EQ(line, 1);
}

struct ErrorCase {
    const char *name;
    ReadMode mode;
    std::string bytes;
    int line;
    const char *caption;
    std::string found;
};

TEST(ReadSettings, Errors)
{
    std::vector<std::string> eighteen(SampleLines.begin(), SampleLines.end() - 1);
    std::string unterminated = join(eighteen);
    unterminated.resize(unterminated.size() - 2);
    const ErrorCase cases[] = {
        {"word on a toggle", ReadMode::StartUp, withLine(4, "abc"), 4, "Complex Score:", "abc"},
        {"word on a toggle, factory", ReadMode::Factory, withLine(4, "abc"), 4, "Complex Score:", "abc"},
        {"number then letters", ReadMode::Factory, withLine(9, "40x"), 9, "Message Transition Speed:", "40x"},
        {"16-bit toggle", ReadMode::StartUp, withLine(3, "70000"), 3, "Display FPS:", "70000"},
        {"16-bit toggle, negative", ReadMode::StartUp, withLine(14, "-32769"), 14, "Particles:", "-32769"},
        {"16-bit toggle by rounding", ReadMode::StartUp, withLine(10, "32767.5"), 10, "Sound Effects:", "32767.5"},
        {"16-bit key", ReadMode::StartUp, withLine(17, "40000"), 17, "Jump:", "40000"},
        {"16-bit key, factory", ReadMode::Factory, withLine(19, "-40000"), 19, "Sharp Right:", "-40000"},
        {"32-bit slider", ReadMode::StartUp, withLine(1, "3000000000"), 1, "Sphere Detail:", "3000000000"},
        {"32-bit slider by rounding", ReadMode::StartUp, withLine(9, "2147483647.5"), 9,
         "Message Transition Speed:", "2147483647.5"},
        {"32-bit slider, exponent", ReadMode::Factory, withLine(2, "1e10"), 2, "Score Odometer Detail:", "1e10"},
        {"beyond double", ReadMode::StartUp, withLine(9, "1e400"), 9, "Message Transition Speed:", "1e400"},
        {"volume beyond 32 bits", ReadMode::StartUp, withLine(13, "21474836.48"), 13, "Background Music: volume",
         "21474836.48"},
        {"infinity", ReadMode::StartUp, withLine(11, "inf"), 11, "Sound Effects: volume", "inf"},
        {"hex", ReadMode::StartUp, withLine(2, "0x8"), 2, "Score Odometer Detail:", "0x8"},
        {"18 lines", ReadMode::StartUp, join(eighteen), 19, "Sharp Right:", ""},
        {"18 lines, factory", ReadMode::Factory, join(eighteen), 19, "Sharp Right:", ""},
        {"18 lines, no final line end", ReadMode::StartUp, unterminated, 18, "Sharp Right:", ""},
        {"empty file", ReadMode::Factory, "", 1, "Sphere Detail:", ""},
        {"ends early", ReadMode::StartUp, "2\r\n8\r\n1\r\n", 4, "Complex Score:", ""},
        {"ends early, CR only", ReadMode::StartUp, "2\r8\r\r", 3, "Display FPS:", ""},
        {"CR LF counted once", ReadMode::StartUp, "2\r\n8\r\n\r\n", 3, "Display FPS:", ""},
        {"LF CR counted twice", ReadMode::StartUp, "2\n\r8\r\n", 2, "Score Odometer Detail:", ""},
        {"quote to the line end", ReadMode::StartUp, withLine(5, "\"1,\r"), 5, "Complex Level:", "1,"},
        {"blanks after a word are not part of it", ReadMode::StartUp, withLine(4, "abc \t"), 4,
         "Complex Score:", "abc"},
    };
    for (const auto &c : cases) {
        const ReadResult r = readSettings(c.bytes, c.mode);
        ASSERT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.error->line, c.line) << c.name;
        EXPECT_EQ(r.error->caption, c.caption) << c.name;
        EXPECT_EQ(r.error->found, c.found) << c.name;
        EXPECT_FALSE(r.error->problem.empty()) << c.name;
    }
}

TEST(SettingsError, MessageForThePlayer)
{
    const struct {
        std::string bytes;
        ReadMode mode;
        std::string text;
    } cases[] = {
        {withLine(4, "abc"), ReadMode::StartUp, "trelvane.cfg, line 4 (Complex Score): \"abc\" is not a number."},
        {withLine(4, ""), ReadMode::StartUp,
         "trelvane.cfg, line 4 (Complex Score): the value is empty; a number is expected."},
        {withLine(1, "9"), ReadMode::StartUp, "trelvane.cfg, line 1 (Sphere Detail): \"9\" must be between 0 and 8."},
        {withLine(3, "70000"), ReadMode::StartUp,
         "trelvane.cfg, line 3 (Display FPS): \"70000\" must be between 0 and 1."},
        {withLine(17, "40000"), ReadMode::Factory,
         "trelvane.cfg, line 17 (Jump): \"40000\" must be between -32768 and 32767."},
        {withLine(11, "1.01"), ReadMode::Factory,
         "trelvane.cfg, line 11 (Sound Effects: volume): \"1.01\" must be between 0 and 1."},
        {"2\r\n", ReadMode::StartUp,
         "trelvane.cfg, line 2 (Score Odometer Detail): the file ends here, but a value for "
         "Score Odometer Detail is expected."},
        {withLine(6, std::string("a\tb\x01") + std::string(60, 'x')), ReadMode::StartUp,
         "trelvane.cfg, line 6 (Masking): \"a?b?" + std::string(36, 'x') + "...\" is not a number."},
        {withLine(7, "1\x7f"), ReadMode::StartUp, "trelvane.cfg, line 7 (Mirror): \"1?\" is not a number."},
        {withLine(6, std::string(40, 'x')), ReadMode::StartUp,
         "trelvane.cfg, line 6 (Masking): \"" + std::string(40, 'x') + "\" is not a number."},
        {withLine(2, std::string(MaxValueLength + 1, '7')), ReadMode::Factory,
         "trelvane.cfg, line 2 (Score Odometer Detail): \"" + std::string(40, '7') +
             "...\" is longer than 4096 characters."},
    };
    for (const auto &c : cases) {
        const ReadResult r = loadSettings(c.bytes, c.mode);
        ASSERT_FALSE(r.ok()) << c.text;
        EXPECT_EQ((FileError{"trelvane.cfg", FileAction::None, r.error->where()}.message()), c.text);
    }
}

TEST(CheckRanges, FirstValueOutsideItsControl)
{
    const struct {
        int line;
        const char *text;
        const char *caption;
        const char *found;
    } cases[] = {
        {1, "-1", "Sphere Detail:", "-1"},
        {1, "9", "Sphere Detail:", "9"},
        {1, "8.6", "Sphere Detail:", "9"},
        {2, "5", "Score Odometer Detail:", "5"},
        {2, "13", "Score Odometer Detail:", "13"},
        {3, "2", "Display FPS:", "2"},
        {5, "-1", "Complex Level:", "-1"},
        {8, "2", "Transparency:", "2"},
        {9, "0", "Message Transition Speed:", "0"},
        {9, "321", "Message Transition Speed:", "321"},
        {10, "3", "Sound Effects:", "3"},
        {11, "-.01", "Sound Effects: volume", "-.01"},
        {13, "1.01", "Background Music: volume", "1.01"},
        {14, "-1", "Particles:", "-1"},
    };
    for (const auto &c : cases) {
        const ReadResult read = readSettings(withLine(c.line, c.text), ReadMode::StartUp);
        ASSERT_TRUE(read.ok()) << c.text;
        const auto error = checkRanges(read.settings, read.lines);
        const ReadResult loaded = loadSettings(withLine(c.line, c.text), ReadMode::StartUp);
        ASSERT_TRUE(error.has_value()) << c.line << ' ' << c.text;
        EXPECT_EQ(error->line, c.line);
        EXPECT_EQ(error->caption, c.caption);
        EXPECT_EQ(error->found, c.found);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error->where(), error->where());
    }
}

TEST(CheckRanges, BoundsAndKeysPass)
{
    // Each control at both ends of its range, and key codes far outside the catalogue.
    GameSettings low{0, 6, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, {-32768, 0, -1, 238, 32767}};
    GameSettings high{8, 12, 1, 1, 1, 1, 1, 1, 320, 2, 100, 2, 100, 2, {1, 1, 1, 1, 1}};
    EXPECT_FALSE(checkRanges(low, physicalLines()).has_value());
    EXPECT_FALSE(checkRanges(high, physicalLines()).has_value());
    // 1.004999 is position 100.4999, which rounds into range.
    EXPECT_TRUE(loadSettings(withLine(13, "1.004999"), ReadMode::StartUp).ok());
}

TEST(CheckRanges, ReportsThePhysicalLine)
{
    // After a comma shift the value for Display FPS stands on line 2.
    std::vector<std::string> lines = SampleLines;
    lines[1] = "8, 5";
    const ReadResult r = loadSettings(join(lines), ReadMode::Factory);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error->line, 2);
    EXPECT_EQ(r.error->caption, "Display FPS:");
    EXPECT_EQ(r.error->found, "5");
}

}  // namespace

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "settings/decimal.h"

using namespace trelvane;

namespace {

TEST(FormatDecimal, FileForm)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {0.01, ".01"},
        {0.07, ".07"},
        {0.29, ".29"},
        {0.5, ".5"},
        {0.75, ".75"},
        {-0.5, "-.5"},
        {-0.01, "-.01"},
        {1.5, "1.5"},
        {-3.0, "-3"},
        {320.0, "320"},
        {1000.0, "1000"},
        {12.25, "12.25"},
        {0.001, ".001"},
        {1.0 / 3.0, ".333333333333333"},
        {2.0 / 3.0, ".666666666666667"},
        {-21474836.48, "-21474836.48"},
        {21474836.47, "21474836.47"},
        {123456789012345678.0, "123456789012346000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatDecimal(c.value), c.text) << c.value;
}

TEST(FormatDecimal, IgnoresTheLocale)
{
    const char *names[] = {"de_DE.UTF-8", "de_DE.utf8",  "fr_FR.UTF-8",
                           "fr_FR.utf8",  "nl_NL.UTF-8", "German_Germany.1252"};
    const char *found = nullptr;
    for (const char *name : names) {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
            found = name;
            break;
        }
    }
#ifndef _WIN32
    if (!found) {
        // None installed: compile one into a private folder from the system's locale sources.
        static const std::string folder = ::testing::TempDir() + "trelvane-locales";
        const std::string build =
            "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(build.c_str()) == 0) {
            setenv("LOCPATH", folder.c_str(), 1);
            if (std::setlocale(LC_ALL, "de_DE.UTF-8") && *std::localeconv()->decimal_point == ',')
                found = "de_DE.UTF-8 (built)";
            unsetenv("LOCPATH");
        }
    }
#endif
    if (!found) {
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "no locale with a decimal comma is installed, and none could be built";
    }
    const std::string written = formatDecimal(0.75);
    const std::optional<double> read = parseDecimal(".75");
    const std::optional<double> comma = parseDecimal("0,75");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(written, ".75") << found;
    EXPECT_EQ(read, 0.75) << found;
    EXPECT_FALSE(comma.has_value()) << found;
}

TEST(ParseDecimal, Numbers)
{
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"0", 0.0},         {"3", 3.0},
        {"-3", -3.0},       {"+3", 3.0},
        {"007", 7.0},       {".5", 0.5},
        {"0.5", 0.5},       {"5.", 5.0},
        {"-.5", -0.5},      {"2.5", 2.5},
        {"1e2", 100.0},     {"1E2", 100.0},
        {"1e+2", 100.0},    {"25e-1", 2.5},
        {".29", 0.29},      {"3 ", 3.0},
        {" \t3\t ", 3.0},   {"0.000", 0.0},
        {"1e-400", 0.0},    {"0e99999999999", 0.0},
        {"32767", 32767.0}, {"123456789012345678901234567890", 1.2345678901234568e29},
    };
    for (const auto &c : cases) {
        const std::optional<double> v = parseDecimal(c.text);
        ASSERT_TRUE(v.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*v, c.value) << '"' << c.text << '"';
    }
}

TEST(ParseDecimal, HugeIsInfinite)
{
    EXPECT_EQ(parseDecimal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseDecimal("-1e99999999999999999999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseDecimal(std::string(500, '9')), std::numeric_limits<double>::infinity());
}

TEST(ParseDecimal, NotNumbers)
{
    const char *cases[] = {
        "",      " ",   "abc", "3x",  "x3",  "1,5",  ".",    "-",   "+",   "e5",   "1e",    "1e+",
        "1.2.3", "--1", "+-1", "inf", "nan", "0x1A", "&H1A", "1d2", "3 4", "1 e2", "\"3\"", "٣",
    };
    for (const char *text : cases)
        EXPECT_FALSE(parseDecimal(text).has_value()) << '"' << text << '"';
}

TEST(RoundHalfEven, Table)
{
    const struct {
        double in;
        double out;
    } cases[] = {
        {2.5, 2.0},
        {3.5, 4.0},
        {-2.5, -2.0},
        {-3.5, -4.0},
        {0.5, 0.0},
        {1.5, 2.0},
        {-0.5, 0.0},
        {2.4999999999999996, 2.0},
        {2.5000000000000004, 3.0},
        {28.999999999999996, 29.0},
        {56.99999999999999, 57.0},
        {-0.49999999999999994, 0.0},
        {4503599627370497.0, 4503599627370497.0},
        {0.0, 0.0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

}  // namespace

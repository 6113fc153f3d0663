#include "settings/decimal.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace trelvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Beyond this the exponent only decides between infinity and zero.
constexpr long long ExponentCap = 100000;

}  // namespace

std::optional<double> parseDecimal(std::string_view text)
{
    const std::string_view s = trimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }

    // Significant digits with leading zeros dropped; exponent10 is the power of
    // ten of the last digit kept.
    std::string digits;
    long long exponent10 = 0;
    std::size_t mantissaDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits) {
        if (!digits.empty() || s[i] != '0')
            digits.push_back(s[i]);
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits) {
            if (!digits.empty() || s[i] != '0')
                digits.push_back(s[i]);
            --exponent10;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i == s.size() || !isDigit(s[i]))
            return std::nullopt;
        long long e = 0;
        for (; i < s.size() && isDigit(s[i]); ++i) {
            if (e < ExponentCap)
                e = e * 10 + (s[i] - '0');
        }
        exponent10 += expNegative ? -e : e;
    }
    if (i != s.size())
        return std::nullopt;

    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty())
        return zero;

    // Decide the extremes here so that from_chars sees only sane exponents.
    const long long magnitude = exponent10 + static_cast<long long>(digits.size());
    const double infinity =
        negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (magnitude > 400)
        return infinity;
    if (magnitude < -400)
        return zero;

    digits.push_back('e');
    digits += std::to_string(exponent10);
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::scientific);
    if (ec == std::errc::result_out_of_range)
        return magnitude > 0 ? infinity : zero;
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;  // cannot happen for the text built above
    return negative ? -value : value;
}

double roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    // Work on the magnitude: for a non-negative double both floor() and the
    // difference below are exact, so the half-way test is exact too.
    const double a = std::fabs(v);
    double r = std::floor(a);
    const double rest = a - r;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return std::copysign(r, v);
}

std::optional<std::int32_t> roundToInteger(double v, std::int32_t lo, std::int32_t hi)
{
    const double r = roundHalfEven(v);
    if (!(r >= static_cast<double>(lo) && r <= static_cast<double>(hi)))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::string formatDecimal(double v)
{
    if (v == 0.0 || !std::isfinite(v))
        return "0";

    // Scientific form with 15 significant digits: d.dddddddddddddde[+-]x
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    if (ec != std::errc())
        return "0";
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));

    std::size_t i = 0;
    const bool negative = sci[i] == '-';
    if (negative)
        ++i;
    std::string digits;
    for (; i < sci.size() && sci[i] != 'e'; ++i) {
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    }
    int exponent = 0;
    std::from_chars(sci.data() + i + 1 + (sci[i + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent);

    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // The first digit stands for 10^exponent.
    std::string out;
    if (negative)
        out.push_back('-');
    const int count = static_cast<int>(digits.size());
    if (exponent < 0) {
        out.push_back('.');
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else if (exponent + 1 >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        out.append(digits, 0, whole);
        out.push_back('.');
        out.append(digits, whole);
    }
    return out;
}

std::string formatInteger(std::int64_t v)
{
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;  // 24 bytes hold every 64-bit value
    return std::string(buf, end);
}

}  // namespace trelvane

#pragma once
// Numbers as the settings file holds them: plain decimal text with a period as
// the separator, whatever the locale. Nothing here throws.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trelvane {

// Reads [blanks] [sign] digits [. digits] [e|E [sign] digits] [blanks], where
// either side of the point may be empty but not both ("5.", ".5").
// nullopt when the text is anything else (empty, "abc", "3x", "inf", "0x1A").
// A number beyond the double range gives +-infinity; a tiny one gives 0.
std::optional<double> parseDecimal(std::string_view text);

// To the nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// roundHalfEven(v) when it lies in [lo, hi]; nullopt otherwise (infinity included).
std::optional<std::int32_t> roundToInteger(double v, std::int32_t lo, std::int32_t hi);

// At most 15 significant digits, never an exponent, no zero before the point,
// no trailing zeros: 0.5 -> ".5", -0.5 -> "-.5", 1.0 -> "1", 0.0 -> "0".
std::string formatDecimal(double v);

std::string formatInteger(std::int64_t v);

}  // namespace trelvane

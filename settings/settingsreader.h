#pragma once
// Settings-file bytes -> GameSettings. Errors are values: nothing throws.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/gamesettings.h"
#include "settings/settingsfields.h"

namespace trelvane {

// A value longer than this is an error at once: nothing the game writes comes near it.
inline constexpr std::size_t MaxValueLength = 4096;
// The most of a file the reader can use: 19 values of at most MaxValueLength
// bytes, each with its CR LF. Whatever follows is never looked at.
inline constexpr std::size_t SettingsReadLimit = FieldCount * (MaxValueLength + 2);

enum class ReadMode {
    StartUp,  // lines 1-14 read as text, then converted: an empty value is an error
    Factory,  // lines 1-14 read as typed items: an empty value reads as 0
};

struct SettingsError {
    int line = 0;  // physical line of the file (1-based) where the problem is
    std::string caption;  // the field's caption, e.g. "Complex Score:"
    std::string found;  // the text found ("" when the file ended)
    std::string problem;  // e.g. "is not a number", "must be between 0 and 8"

    // e.g. line 4 (Complex Score): "abc" is not a number
    std::string where() const;
};

// The physical line (1-based) each of the values came from.
using ValueLines = std::array<int, FieldCount>;

struct ReadResult {
    GameSettings settings;
    ValueLines lines{};
    std::optional<SettingsError> error;  // set: settings are not to be used
    bool ok() const { return !error; }
};

// Reads the 19 values; no range check.
ReadResult readSettings(std::string_view bytes, ReadMode mode);

// The loaded values must fit the controls (sphere detail 0-8, ...).
std::optional<SettingsError> checkRanges(const GameSettings &s, const ValueLines &lines);

// readSettings followed by checkRanges: what the window uses.
ReadResult loadSettings(std::string_view bytes, ReadMode mode);

}  // namespace trelvane

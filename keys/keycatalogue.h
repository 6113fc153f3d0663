#pragma once
// The 144 keyboard keys the game can bind, and the translation between a
// key's scan code (what the settings file stores) and its place in a key list.

#include <array>
#include <cstdint>
#include <string_view>

namespace trelvane {

struct KeyRow {
    std::string_view name;  // what the player sees in the list
    std::int16_t code;  // keyboard scan code stored in the settings file
};

inline constexpr int KeyCount = 144;

// Row index = list index. Strictly ascending codes.
extern const std::array<KeyRow, KeyCount> KeyCatalogue;

// Code -> list index; a code the catalogue lacks gives 0 ("ESCAPE").
std::int16_t GetIndex(std::int16_t code);
// List index -> code; an index outside 0..143 (including -1) gives 0.
std::int16_t GetCode(std::int16_t index);

}  // namespace trelvane

#include "keys/keycatalogue.h"

#include <algorithm>
#include <cstddef>

namespace trelvane {

namespace {

constexpr bool codesStrictlyAscend()
{
    for (std::size_t i = 1; i < KeyCatalogue.size(); ++i) {
        if (KeyCatalogue[i - 1].code >= KeyCatalogue[i].code)
            return false;
    }
    return true;
}

// GetIndex relies on this for its binary search.
static_assert(codesStrictlyAscend(), "key codes must strictly ascend");
static_assert(KeyCatalogue.front().code == 0x01 && KeyCatalogue.back().code == 0xED);

}  // namespace

std::int16_t GetIndex(std::int16_t code)
{
    // Compared as full 16-bit values: 257 must not match the row of code 1.
    const auto it = std::lower_bound(KeyCatalogue.begin(), KeyCatalogue.end(), code,
                                     [](const KeyRow &row, std::int16_t c) { return row.code < c; });
    if (it == KeyCatalogue.end() || it->code != code)
        return 0;  // unknown codes show as "ESCAPE"
    return static_cast<std::int16_t>(it - KeyCatalogue.begin());
}

std::int16_t GetCode(std::int16_t index)
{
    if (index < 0 || index >= KeyCount)
        return 0;  // includes -1, "nothing selected"
    return KeyCatalogue[static_cast<std::size_t>(index)].code;
}

}  // namespace trelvane

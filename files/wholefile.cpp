#include "files/wholefile.h"

#include <algorithm>
#include <array>
#include <utility>

// What rests on the readers and replacements alone, the same on every system.

namespace trelvane {

std::optional<FileError> readFileStart(const FilePlace &place, std::size_t limit, std::string &bytes)
{
    FileReader reader;
    if (auto error = reader.open(place))
        return error;
    std::string start;
    std::array<char, std::size_t{64} * 1024> buffer{};
    while (start.size() < limit) {
        std::size_t got = 0;
        if (auto error = reader.read(buffer.data(), std::min(buffer.size(), limit - start.size()), got))
            return error;
        if (got == 0)
            break;
        start.append(buffer.data(), got);
    }
    bytes = std::move(start);
    return std::nullopt;
}

std::optional<FileError> replaceWholeFile(const FilePlace &place, std::string_view content)
{
    FileReplacement replacement(place);
    if (auto failure = replacement.open())
        return failure;
    if (auto failure = replacement.write(content))
        return failure;
    return replacement.commit();
}

}  // namespace trelvane

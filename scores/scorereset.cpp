#include "scores/scorereset.h"

#include <array>

#include "files/wholefile.h"

namespace trelvane {

std::string resetScoresContent(std::string_view defaultBytes)
{
    std::string content(defaultBytes);
    content += "\r\n";
    return content;
}

std::optional<FileError> resetHighScores(const GameFolder &folder)
{
    FileReader defaults;
    if (auto error =
            defaults.open({folder.path(GameFile::DefaultScores), GameFolder::shownName(GameFile::DefaultScores)}))
        return error;
    FileReplacement scores({folder.path(GameFile::HighScores), GameFolder::shownName(GameFile::HighScores)});
    if (auto error = scores.open())
        return error;
    std::array<char, std::size_t{64} * 1024> buffer{};
    for (;;) {
        std::size_t got = 0;
        if (auto error = defaults.read(buffer.data(), buffer.size(), got))
            return error;
        if (got == 0)
            break;
        if (auto error = scores.write(std::string_view(buffer.data(), got)))
            return error;
    }
    if (auto error = scores.write(resetScoresContent({})))
        return error;
    return scores.commit();
}

}  // namespace trelvane

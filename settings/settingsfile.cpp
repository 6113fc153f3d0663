#include "settings/settingsfile.h"

#include <limits>
#include <string>

#include "files/wholefile.h"
#include "settings/settingswriter.h"

namespace trelvane {

std::optional<FileError> loadSettingsFile(const GameFolder &folder, GameFile file, ReadMode mode,
                                          GameSettings &settings)
{
    const FilePlace place{folder.path(file), GameFolder::shownName(file)};
    std::string bytes;
    if (auto error = readFileStart(place, std::numeric_limits<std::size_t>::max(), bytes))
        return error;
    const ReadResult result = loadSettings(bytes, mode);
    if (result.error)
        return FileError{place.shown, FileAction::None, result.error->where()};
    settings = result.settings;
    return std::nullopt;
}

std::optional<FileError> saveSettingsFile(const GameFolder &folder, const GameSettings &s)
{
    const FilePlace place{folder.path(GameFile::Settings), GameFolder::shownName(GameFile::Settings)};
    return replaceWholeFile(place, writeSettings(s));
}

}  // namespace trelvane

#include "settings/settingsfile.h"

#include <string>

#include "files/wholefile.h"
#include "settings/settingswriter.h"

namespace trelvane {

std::optional<FileError> loadSettingsFile(const GameFolder &folder, GameFile file, ReadMode mode,
                                          GameSettings &settings)
{
    const FilePlace place{folder.path(file), GameFolder::shownName(file)};
    std::string bytes;
    // The reader never uses more than the limit: a huge file costs no more than a small one.
    if (auto error = readFileStart(place, SettingsReadLimit, bytes))
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

#include "window/gamefiles.h"

#include <QDir>

#include "scores/scorereset.h"
#include "settings/settingsfile.h"

namespace trelvane {

namespace {

QString inFolder(const std::filesystem::path &folder, const char *name) { return QDir(folder).filePath(name); }

std::optional<FileFailure> failure(const std::optional<FileError> &e)
{
    if (!e)
        return std::nullopt;
    return FileFailure{e->message().toStdString()};
}

}  // namespace

std::optional<FileFailure> readGameSettings(const std::filesystem::path &folder, bool factory, GameSettings &s)
{
    return failure(loadSettingsFile(inFolder(folder, factory ? "default.cfg" : "trelvane.cfg"),
                                    factory ? ReadMode::Factory : ReadMode::StartUp, s));
}

std::optional<FileFailure> writeGameSettings(const std::filesystem::path &folder, const GameSettings &s)
{
    return failure(saveSettingsFile(inFolder(folder, "trelvane.cfg"), s));
}

std::optional<FileFailure> resetGameScores(const std::filesystem::path &folder)
{
    return failure(resetHighScores(QDir(folder).path()));
}

}  // namespace trelvane

#include "settings/settingsfile.h"

#include <QByteArray>
#include <QFileInfo>

#include <string>
#include <string_view>

#include "files/wholefile.h"
#include "settings/settingswriter.h"

namespace trelvane {

std::optional<FileError> loadSettingsFile(const QString &path, ReadMode mode, GameSettings &settings)
{
    QByteArray bytes;
    if (auto error = readWholeFile(path, bytes))
        return error;
    const ReadResult result =
        loadSettings(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), mode);
    if (result.error)
        return FileError{QFileInfo(path).fileName(), {}, QString::fromStdString(result.error->where())};
    settings = result.settings;
    return std::nullopt;
}

std::optional<FileError> saveSettingsFile(const QString &path, const GameSettings &s)
{
    return replaceWholeFile(path, QByteArray::fromStdString(writeSettings(s)));
}

}  // namespace trelvane

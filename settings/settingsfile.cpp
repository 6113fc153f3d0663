#include "settingsfile.h"

#include <QByteArray>
#include <QFileInfo>

#include <string>
#include <string_view>

#include "settingswriter.h"
#include "wholefile.h"

namespace trelvane {

namespace {

// The player knows the file by its name in the game's folder, not by its full path.
QString shownName(const QString &path) { return QFileInfo(path).fileName(); }

}  // namespace

FileLoad loadSettingsFile(const QString &path, ReadMode mode)
{
    FileLoad load;
    QByteArray bytes;
    if (const auto failure = readWholeFile(path, bytes)) {
        load.error = failure->describe(shownName(path));
        return load;
    }
    const ReadResult result =
        loadSettings(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), mode);
    if (result.error) {
        load.error = QString::fromStdString(result.error->describe(shownName(path).toStdString()));
        return load;
    }
    load.settings = result.settings;
    return load;
}

QString saveSettingsFile(const QString &path, const GameSettings &s)
{
    const std::string content = writeSettings(s);
    if (const auto failure = replaceWholeFile(path, QByteArray::fromStdString(content)))
        return failure->describe(shownName(path));
    return {};
}

}  // namespace trelvane

#include "scores/scorereset.h"

#include <QByteArray>
#include <QDir>

#include "files/wholefile.h"

namespace trelvane {

namespace {

const QString DefaultScoresName = QStringLiteral("data/defaultscores.dat");
const QString HighScoresName = QStringLiteral("data/highscores.dat");

// Messages name the file as the player sees it from the game's folder.
QString shown(const QString &relativeName) { return QDir::toNativeSeparators(relativeName); }

}  // namespace

std::string resetScoresContent(std::string_view defaultBytes)
{
    std::string content(defaultBytes);
    content += "\r\n";
    return content;
}

std::optional<FileError> resetHighScores(const QString &programFolder)
{
    const QDir folder(programFolder);
    QByteArray defaults;
    if (auto error = readWholeFile(folder.filePath(DefaultScoresName), defaults)) {
        error->file = shown(DefaultScoresName);
        return error;
    }
    const std::string content =
        resetScoresContent(std::string_view(defaults.constData(), static_cast<std::size_t>(defaults.size())));
    auto error = replaceWholeFile(folder.filePath(HighScoresName), QByteArray::fromStdString(content));
    if (error)
        error->file = shown(HighScoresName);
    return error;
}

}  // namespace trelvane

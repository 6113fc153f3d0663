#include "scorereset.h"

#include <QByteArray>
#include <QDir>

#include "wholefile.h"

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

QString resetHighScores(const QString &programFolder)
{
    const QDir folder(programFolder);
    QByteArray defaults;
    if (const auto failure = readWholeFile(folder.filePath(DefaultScoresName), defaults))
        return failure->describe(shown(DefaultScoresName));
    const std::string content =
        resetScoresContent(std::string_view(defaults.constData(), static_cast<std::size_t>(defaults.size())));
    if (const auto failure = replaceWholeFile(folder.filePath(HighScoresName), QByteArray::fromStdString(content)))
        return failure->describe(shown(HighScoresName));
    return {};
}

}  // namespace trelvane

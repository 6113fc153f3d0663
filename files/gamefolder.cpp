#include "files/gamefolder.h"

#include <utility>

namespace trelvane {

namespace {

const char *relativeName(GameFile f)
{
    switch (f) {
    case GameFile::Settings: return "trelvane.cfg";
    case GameFile::Factory: return "default.cfg";
    case GameFile::DefaultScores: return "data/defaultscores.dat";
    case GameFile::HighScores: return "data/highscores.dat";
    }
    return "";
}

}  // namespace

GameFolder::GameFolder(std::filesystem::path root) : root_(std::move(root)) {}

std::filesystem::path GameFolder::path(GameFile f) const
{
    return root_ / std::filesystem::path(relativeName(f)).make_preferred();
}

std::string GameFolder::shownName(GameFile f)
{
    std::string name = relativeName(f);
#ifdef _WIN32
    for (char &c : name)
        if (c == '/')
            c = '\\';
#endif
    return name;
}

}  // namespace trelvane

#pragma once
// The game's folder and the four files the utility knows in it.

#include <filesystem>
#include <string>

namespace trelvane {

enum class GameFile { Settings, Factory, DefaultScores, HighScores };

class GameFolder {
public:
    explicit GameFolder(std::filesystem::path root);

    const std::filesystem::path &root() const { return root_; }
    std::filesystem::path path(GameFile f) const;

    // The name in messages, from the game's folder: "trelvane.cfg", "data/highscores.dat" (native separators).
    static std::string shownName(GameFile f);

private:
    std::filesystem::path root_;
};

}  // namespace trelvane

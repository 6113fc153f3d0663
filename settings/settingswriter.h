#pragma once
// GameSettings -> the exact bytes the game reads: 19 lines, CR LF after each.

#include <string>

#include "settings/gamesettings.h"

namespace trelvane {

std::string writeSettings(const GameSettings &s);

}  // namespace trelvane

#pragma once
// Readable GameSettings in test failures: the file's own text, one line each.

#include <ostream>

#include "settings/gamesettings.h"
#include "settings/settingswriter.h"

namespace trelvane {

inline void PrintTo(const GameSettings &s, std::ostream *os)
{
    std::string text = writeSettings(s);
    for (auto &c : text) {
        if (c == '\r')
            c = ' ';
        else if (c == '\n')
            c = '|';
    }
    *os << '{' << text << '}';
}

}  // namespace trelvane

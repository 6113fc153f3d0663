#include "settings/settingswriter.h"

#include "settings/decimal.h"
#include "settings/settingsfields.h"

namespace trelvane {

std::string writeSettings(const GameSettings &s)
{
    std::string out;
    out.reserve(128);
    for (const FieldInfo &info : SettingsFields) {
        const std::int32_t v = fieldValue(s, info.field);
        if (info.kind == FieldKind::Volume)
            out += formatDecimal(static_cast<double>(v) / 100.0);  // the game reads the fraction
        else
            out += formatInteger(v);
        out += "\r\n";  // the last line too
    }
    return out;
}

}  // namespace trelvane

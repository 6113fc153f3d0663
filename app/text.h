#pragma once
// The toolkit-free code's texts, UTF-8 in string_views, as Qt's strings.

#include <QString>

#include <string_view>

namespace trelvane {

inline QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace trelvane

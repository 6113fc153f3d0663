#include "files/fileerror.h"

namespace trelvane {

QString FileError::message() const
{
    if (action.isEmpty())
        return QStringLiteral("%1, %2.").arg(file, reason);
    return QStringLiteral("Cannot %1 %2: %3.").arg(action, file, reason);
}

}  // namespace trelvane

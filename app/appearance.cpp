#include "appearance.h"

#include <QString>

namespace trelvane {

QIcon windowIconSet()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/trelvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace trelvane

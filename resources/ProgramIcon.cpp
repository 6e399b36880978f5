#include "resources/ProgramIcon.h"

namespace cs6 {

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/cs6edit-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace cs6

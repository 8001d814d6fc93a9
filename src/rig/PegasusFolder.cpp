#include "rig/PegasusFolder.h"

#include <QDir>
#include <QFileInfo>

namespace cubwave {

QString PegasusFolder::defaultFolder(const QString& winePrefix, const QString& home, const QString& workingDir)
{
    const QString prefix = !winePrefix.isEmpty() ? winePrefix : (home.isEmpty() ? QString() : home + QStringLiteral("/.wine"));
    if (!prefix.isEmpty()) {
        const QString underWine = QDir(prefix).filePath(QStringLiteral("drive_c/Pegasus"));
        if (QFileInfo(underWine).isDir())
            return underWine;
    }
    return QDir(workingDir).filePath(QStringLiteral("Pegasus"));
}

}  // namespace cubwave

#include "voice/CaseBlindFile.h"

#include <QDir>
#include <QFileInfo>

namespace cubwave {

QString CaseBlindFile::find(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists())
        return path;
    const QString name = info.fileName();
    if (name.isEmpty())
        return path;
    const QFileInfoList entries =
        info.dir().entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return entry.absoluteFilePath();  // newest first
    }
    return path;
}

}  // namespace cubwave

#include "platform/SystemEnvironment.h"

#include <QDir>
#include <QStandardPaths>

namespace cubwave {

QString SystemEnvironment::variable(const QString& name) const
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString SystemEnvironment::documentsFolder() const
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/Documents");
    return path;
}

QString SystemEnvironment::configFolder() const
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/.config");
    return path;
}

}  // namespace cubwave

#include "ui/export/ExportMessages.h"

#include <QDir>

namespace cubwave {

const QString ExportMessages::kWrittenTitle = QStringLiteral("File Written Successfully.");
const QString ExportMessages::kWriteErrorTitle = QStringLiteral("Unable to write file.");

QString ExportMessages::writtenText(const QString& path)
{
    return QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + QDir::toNativeSeparators(path)
           + QLatin1Char('.');
}

QString ExportMessages::fileError(const QString& path, const QString& reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

}  // namespace cubwave

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

QString ExportMessages::refusedContactsText(const std::vector<qsizetype>& lines)
{
    // A message box shows a few lines well; the count says how many more there are.
    constexpr size_t kListed = 20;
    const bool one = lines.size() == 1;
    QString text = QString::number(lines.size())
                   + (one ? QStringLiteral(" contact has no valid date, time or call sign; logbooks will refuse it. Log line ")
                          : QStringLiteral(" contacts have no valid date, time or call sign; logbooks will refuse them. Log lines "));
    for (size_t i = 0; i < lines.size() && i < kListed; ++i) {
        if (i > 0)
            text += QStringLiteral(", ");
        text += QString::number(lines[i]);
    }
    text += lines.size() > kListed ? QStringLiteral(", \u2026") : QStringLiteral(".");
    return text;
}

QString ExportMessages::fileError(const QString& path, const QString& reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

}  // namespace cubwave

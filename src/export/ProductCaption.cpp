#include "export/ProductCaption.h"

namespace cubwave {

const QString ProductCaption::kProgramName = QStringLiteral("Cubwave Log");
const QString ProductCaption::kVersion = QStringLiteral("1.8");
const QString ProductCaption::kMaker = QStringLiteral("Brantel Software");
const QString ProductCaption::kWebAddress = QStringLiteral("https://cubwave-log.example.org");
const QString ProductCaption::kEmail = QStringLiteral("cubwave-log@example.org");
const QString ProductCaption::kMainWindowCaption =
    QStringLiteral("Brantel's Cubwave Log 1.8") + QString(69, QLatin1Char(' ')) + kWebAddress;

QString ProductCaption::productName(const QString& caption, int width)
{
    return caption.left(width).trimmed();
}

}  // namespace cubwave

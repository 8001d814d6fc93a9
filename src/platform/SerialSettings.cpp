#include "platform/SerialSettings.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace cubwave {

namespace {
// The rates termios can set. 14400 and 28800 have no Linux speed constant: accepting them would
// set B0, which hangs the line up.
constexpr std::array kBauds{110,   300,   600,    1200,   2400,   4800,   9600,
                            19200, 38400, 57600, 115200, 230400, 460800, 921600};
}

bool SerialSettings::isSupportedBaud(int baud)
{
    return std::find(kBauds.begin(), kBauds.end(), baud) != kBauds.end();
}

std::optional<SerialSettings> SerialSettings::parse(const QString& text)
{
    const QStringList items = text.split(QLatin1Char(','));
    if (items.size() != 4)
        return std::nullopt;
    bool ok = false;
    SerialSettings s;
    s.baud = items[0].trimmed().toInt(&ok);
    if (!ok || !isSupportedBaud(s.baud))
        return std::nullopt;
    const QString parity = items[1].trimmed().toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("O") && parity != QLatin1String("E"))
        return std::nullopt;
    s.parity = parity[0].toLatin1();
    s.dataBits = items[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;
    s.stopBits = items[3].trimmed().toInt(&ok);
    if (!ok || (s.stopBits != 1 && s.stopBits != 2))
        return std::nullopt;
    return s;
}

QString SerialSettings::text() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(QLatin1Char(parity)).arg(dataBits).arg(stopBits);
}

}  // namespace cubwave

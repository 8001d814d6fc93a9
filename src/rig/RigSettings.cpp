#include "rig/RigSettings.h"

namespace cubwave {

QString RigSettings::settingsText() const
{
    QString baud = baudText;
    while (baud.endsWith(u' '))
        baud.chop(1);
    return baud + u',' + parity + u',' + dataBits + u',' + stopBits;
}

int RigSettings::lineBaudRate() const
{
    const int baud = baudText.trimmed().toInt();
    return baud == 56000 ? 57600 : baud;
}

int RigSettings::pollIntervalMs(QChar pollRate)
{
    switch (pollRate.unicode()) {
    case u'F':
        return 50;
    case u'S':
        return 1000;
    case u'R':
        return 5000;
    default:
        return 250;
    }
}

int RigSettings::pollIntervalMs() const { return pollIntervalMs(pollRate); }

void RigSettings::selectRig(const RigModel& model)
{
    rigName = QString::fromLatin1(model.name);
    const RigLineDefaults& row = model.defaults;
    frequencyQuery = QString::fromLatin1(row.frequencyQuery);
    modeQuery = QString::fromLatin1(row.modeQuery);
    convertToHex = row.convertToHex;
    if (row.baud)
        baudText = paddedBaud(QString::fromLatin1(row.baud));
    if (row.dataBits)
        dataBits = QLatin1Char(row.dataBits);
    if (row.stopBits)
        stopBits = QLatin1Char(row.stopBits);
    if (row.parity)
        parity = QLatin1Char(row.parity);
}

QString RigSettings::paddedBaud(QStringView baud) { return baud.toString().leftJustified(5, u' '); }

bool RigSettings::isBaudText(QStringView trimmedBaud)
{
    for (const char* text : kBaudTexts) {
        if (trimmedBaud == QLatin1StringView(text))
            return true;
    }
    return false;
}

}  // namespace cubwave

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace cubwave {

// The main window's settings, kept in "cubwavepref.txt" in this field order.
struct Preferences {
    QString ownCall;             // 1
    QString ownSpc;              // 2
    float utcOffsetHours = 0;    // 3  hours added to local time to get UTC
    QString mode = "CW";         // 4
    float operatingSeconds = 0;  // 5
    QString ownCountry;          // 6
    float ownLongitude = 0;      // 7  degrees, west positive
    float ownLatitude = 0;       // 8  degrees, north positive
    quint8 windowSizePct = 100;  // 9
    qint32 workedColour = 0;     // 10 red + 256 green + 65536 blue
    qint32 notWorkedColour = 0;  // 11
    QString band = "20";         // 12
    QString ownContinent;        // 13
    QString ownAge;              // 14
    quint8 voiceNavLevel = 0;    // 15 0 off, 1, 2
    QString rigModel = "None";   // 16
    QString ownName;             // 17
    QString defaultRst;          // 18
    QString ownColour;           // 19
    quint8 taskbar = 0;          // 20
    quint8 listPrevious = 0;     // 21 1 on

    bool operator==(const Preferences&) const = default;
};

// Text values between double quotes, numbers bare with "." as the decimal separator, one value
// per line, CR LF.
class PrefFile {
public:
    static constexpr int kFieldCount = 21;

    static QByteArray serialize(const Preferences& prefs);
    // Nothing when a line is missing, a number does not parse or a byte is out of range.
    static std::optional<Preferences> parse(const QByteArray& bytes);
};

}  // namespace cubwave

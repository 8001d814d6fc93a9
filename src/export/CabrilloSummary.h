#pragma once

#include "core/QsoRecord.h"

#include <QByteArray>
#include <QString>

#include <span>

namespace cubwave {

// The summary file submitted after the event: Cabrillo-style keyword lines, one fixed-column
// "QSO:" line per contact and "END-OF-LOG:", every line ended by CR LF, all in ASCII.
class CabrilloSummary {
public:
    struct Header {
        QString productName;  // the first 50 characters of the main window's caption, trimmed
        QString ownLocation;  // own state, province or country
        QString ownCall;      // trimmed
        QString name;
        QString address1;
        QString address2;
        QString email;
        QString soapbox;      // may hold several lines
    };

    // Where each QSO line's fields start (1-based).
    enum Column { Qso = 1, Frequency = 6, Mode = 12, Date = 15, Time = 26, Call = 31, Name = 43, Age = 53,
                  Location = 56, Other = 59 };

    static QByteArray document(const Header& header, std::span<const QsoRecord> records);
    // One QSO line without its CR LF. A field starts at its column; a field that reaches past
    // the next column never breaks the line: one blank follows it and the line goes on.
    static QByteArray qsoLine(const QsoRecord& record);
    static void appendQsoLine(QByteArray& out, const QsoRecord& record);
    // The frequency column for a band code: " 1800" ... "144", empty for an unknown band.
    static QString bandFrequency(const QString& bandCode);
};

}  // namespace cubwave

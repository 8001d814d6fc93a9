#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// Reads the Date and Time texts of a log record. Live contacts store "yyyy/mm/dd" and "hh:mm:ss",
// post-contest ones "hh:mm"; an edited record may hold one-digit parts or a "m/d/yyyy" date, which
// are read as well. Surrounding blanks are ignored; anything else that is not a real calendar date
// or time of day does not read.
class LogMoment {
public:
    struct Date {
        int year = 0;
        int month = 0;
        int day = 0;
    };
    struct Time {
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    static std::optional<Date> parseDate(QStringView text);
    static std::optional<Time> parseTime(QStringView text);

    // Days from 1970-01-01 to the date, or `unreadable`. Plain numbers rather than optionals,
    // and the stored forms read without a general parse: the rate walk may read the whole log.
    static qint64 dayNumberOr(QStringView date, qint64 unreadable);
    // Seconds from midnight to the time, or `unreadable`.
    static int secondOfDayOr(QStringView time, int unreadable);

    // Seconds from 1970-01-01 00:00:00 to the record's moment; nothing when either part does
    // not read.
    static std::optional<qint64> seconds(QStringView date, QStringView time);
    // The same count for a date-time's own date and time of day, whatever its time spec.
    static qint64 seconds(const QDateTime& wallClock);

    // The list form "mm/dd hh:nn". A part that does not read is shown as stored.
    static QString listText(QStringView date, QStringView time);
};

}  // namespace cubwave

#include "station/ClockTexts.h"

#include "core/ContactTime.h"

#include <gtest/gtest.h>

#include <limits>

using namespace cubwave;

TEST(ClockTexts, UtcClockAdvancesTheLocalTimeByTheOffset)
{
    struct Case {
        QTime local;
        float offset;
        const char* utc;
    };
    const Case cases[] = {
        {QTime(12, 0, 0), 5.5f, "17:30:00"},
        {QTime(12, 0, 0), -4.f, "08:00:00"},
        {QTime(23, 30, 15), 1.f, "00:30:15"},   // past midnight
        {QTime(0, 10, 0), -1.f, "23:10:00"},    // back before midnight
        {QTime(9, 5, 7), 0.f, "09:05:07"},
        {QTime(12, 0, 0), 0.33f, "12:20:00"},   // 19.8 minutes: the nearest whole minute
        {QTime(12, 0, 0), 48.f, "12:00:00"},    // whole days do not show
        {QTime(12, 0, 0), -26.5f, "09:30:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.local.toString().toStdString() + " + " + std::to_string(c.offset));
        EXPECT_EQ(utcClockText(c.local, c.offset), QLatin1String(c.utc));
    }
}

TEST(ClockTexts, UtcClockShowsTheTimeAContactWouldBeLoggedAt)
{
    const QDateTime local(QDate(2026, 6, 13), QTime(21, 47, 31), Qt::UTC);
    for (float offset : {5.5f, -4.f, 0.33f, -0.33f, 0.125f, -0.125f, 13.75f, -9.99f, 0.0083f}) {
        EXPECT_EQ(utcClockText(local.time(), offset), contactTimeText(contactUtc(local, offset))) << offset;
    }
}

TEST(ClockTexts, AnyStoredOffsetGivesAClockTime)
{
    const QTime local(6, 7, 8);
    for (float offset : {3.4e38f, -3.4e38f, 1e20f, std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()}) {
        const QString text = utcClockText(local, offset);
        EXPECT_TRUE(QTime::fromString(text, QStringLiteral("HH:mm:ss")).isValid()) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QLatin1String(":08"))) << text.toStdString();
    }
    EXPECT_EQ(utcClockText(local, std::numeric_limits<float>::quiet_NaN()), QLatin1String("06:07:08"));
}

TEST(ClockTexts, LocalClockOnTheTwelveHourDial)
{
    struct Case {
        QTime local;
        const char* text;
        const char* marker;
    };
    const Case cases[] = {
        {QTime(0, 5, 9), "12:05:09", "AM"},  {QTime(9, 3, 4), "9:03:04", "AM"},
        {QTime(11, 59, 59), "11:59:59", "AM"}, {QTime(12, 0, 0), "12:00:00", "PM"},
        {QTime(13, 7, 0), "1:07:00", "PM"},  {QTime(23, 59, 59), "11:59:59", "PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.local.toString().toStdString());
        EXPECT_EQ(localClockText(c.local), QLatin1String(c.text));
        EXPECT_EQ(amPmText(c.local), QLatin1String(c.marker));
    }
}

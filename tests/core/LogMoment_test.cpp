#include "core/LogMoment.h"

#include <gtest/gtest.h>

using namespace cubwave;

TEST(LogMoment, ReadsStoredAndEditedDates)
{
    struct Case {
        const char* text;
        int year, month, day;  // 0 when the text must not read
    };
    const Case cases[] = {
        {"2012/06/16", 2012, 6, 16}, {"2012/6/9", 2012, 6, 9},   {"6/9/2012", 2012, 6, 9},
        {" 2012/06/16 ", 2012, 6, 16}, {"2012/02/29", 2012, 2, 29}, {"2000/02/29", 2000, 2, 29},
        {"2011/02/29", 0, 0, 0},     {"1900/02/29", 0, 0, 0},     {"2012/13/01", 0, 0, 0},
        {"2012/00/10", 0, 0, 0},     {"2012/04/31", 0, 0, 0},     {"2012/06", 0, 0, 0},
        {"2012/06/16/1", 0, 0, 0},   {"2012-06-16", 0, 0, 0},     {"12/06/16", 0, 0, 0},
        {"2012//16", 0, 0, 0},       {"", 0, 0, 0},               {"yyyy/mm/dd", 0, 0, 0},
        {"99999/1/1", 0, 0, 0},       {"2012/0x/16", 0, 0, 0},     {"0000/01/01", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const auto d = LogMoment::parseDate(text);
        if (c.year == 0) {
            EXPECT_FALSE(d) << c.text;
            EXPECT_EQ(LogMoment::dayNumberOr(text, -99999), -99999) << c.text;
        } else {
            ASSERT_TRUE(d) << c.text;
            EXPECT_EQ(d->year, c.year) << c.text;
            EXPECT_EQ(d->month, c.month) << c.text;
            EXPECT_EQ(d->day, c.day) << c.text;
            EXPECT_EQ(LogMoment::dayNumberOr(text, -99999), QDate(1970, 1, 1).daysTo(QDate(c.year, c.month, c.day)))
                << c.text;
        }
    }
}

TEST(LogMoment, ReadsLiveAndPostContestTimes)
{
    struct Case {
        const char* text;
        int secondsOfDay;  // -1 when the text must not read
    };
    const Case cases[] = {
        {"18:05:33", 18 * 3600 + 5 * 60 + 33}, {"18:05", 18 * 3600 + 5 * 60}, {"0:00", 0},
        {"23:59:59", 86399},                   {"9:5:7", 9 * 3600 + 5 * 60 + 7},
        {"24:00", -1}, {"12:60", -1}, {"12:00:60", -1}, {"1805", -1}, {"18:05:33:00", -1},
        {"18:", -1},   {"", -1},      {"ab:cd", -1},    {"123:00", -1},
        {"1a:05", -1}, {"18:05:3x", -1}, {" 18:05 ", 18 * 3600 + 5 * 60},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(LogMoment::secondOfDayOr(text, -1), c.secondsOfDay) << c.text;
        const auto t = LogMoment::parseTime(text);
        if (c.secondsOfDay < 0) {
            EXPECT_FALSE(t) << c.text;
        } else {
            ASSERT_TRUE(t) << c.text;
            EXPECT_EQ(t->hour * 3600 + t->minute * 60 + t->second, c.secondsOfDay) << c.text;
        }
    }
}

TEST(LogMoment, CountsSecondsLikeTheCalendar)
{
    const QDateTime reference(QDate(2012, 6, 16), QTime(18, 5, 33), Qt::UTC);
    EXPECT_EQ(LogMoment::seconds(u"2012/06/16", u"18:05:33"), reference.toSecsSinceEpoch());
    EXPECT_EQ(LogMoment::seconds(reference), reference.toSecsSinceEpoch());
    // Across a leap day and a year end.
    EXPECT_EQ(*LogMoment::seconds(u"2012/03/01", u"00:00") - *LogMoment::seconds(u"2012/02/28", u"00:00"), 2 * 86400);
    EXPECT_EQ(*LogMoment::seconds(u"2013/01/01", u"00:00") - *LogMoment::seconds(u"2012/12/31", u"23:59:59"), 1);
    EXPECT_FALSE(LogMoment::seconds(u"2012/06/16", u"garbage"));
    EXPECT_FALSE(LogMoment::seconds(u"garbage", u"18:05"));
}

TEST(LogMoment, ListTextShowsMonthDayHourMinuteAndKeepsWhatDoesNotRead)
{
    EXPECT_EQ(LogMoment::listText(u"2012/06/16", u"18:05:33"), "06/16 18:05");
    EXPECT_EQ(LogMoment::listText(u"2012/6/9", u"8:05"), "06/09 08:05");
    EXPECT_EQ(LogMoment::listText(u"sometime", u"25:00"), "sometime 25:00");
}

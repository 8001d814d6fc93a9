#include "core/TimeStats.h"

#include "LogFixtures.h"

#include <gtest/gtest.h>

using namespace cubwave;
using cubwave::test::qso;
using cubwave::test::storeOf;

namespace {

// Local wall clock 10:00:00.750 with the operator five hours behind UTC: now is 15:00:00 UTC.
const QDateTime kLocal(QDate(2012, 6, 17), QTime(10, 0, 0, 750), Qt::UTC);
constexpr float kOffsetHours = 5.0f;
const QDateTime kUtc(QDate(2012, 6, 17), QTime(15, 0, 0), Qt::UTC);

// A contact logged ageSecs before now (negative: in the future).
QsoRecord aged(qint64 ageSecs)
{
    const QDateTime t = kUtc.addSecs(-ageSecs);
    return qso("W1AW", "20", "CW", t.toString("yyyy/MM/dd"), t.toString("HH:mm:ss"));
}

}  // namespace

TEST(TimeStats, CountsByAgeAtTheTwentyAndSixtyMinuteBoundaries)
{
    struct Case {
        qint64 ageSecs;
        int count20;
        int count60;
    };
    const Case cases[] = {
        {0, 1, 1},    {1199, 1, 1}, {1200, 0, 1}, {3599, 0, 1},
        {3600, 0, 0}, {-300, 1, 1}, {-86400, 1, 1},
    };
    for (const Case& c : cases) {
        const auto rates = TimeStats::compute(storeOf({aged(c.ageSecs)}), kLocal, kOffsetHours);
        EXPECT_EQ(rates.count20, c.count20) << c.ageSecs;
        EXPECT_EQ(rates.count60, c.count60) << c.ageSecs;
    }
}

TEST(TimeStats, TenContactsInFifteenMinutesShowThirtyAndTen)
{
    std::vector<QsoRecord> records{aged(7200), aged(4000)};
    for (int i = 9; i >= 0; --i)
        records.push_back(aged(i * 90));
    const auto rates = TimeStats::compute(storeOf(records), kLocal, kOffsetHours);
    EXPECT_EQ(rates.perHour20Text(), "30");
    EXPECT_EQ(rates.perHour60Text(), "10");
}

TEST(TimeStats, WalkStopsAtTheFirstOldRecordFromTheEnd)
{
    // A post-contest contact of yesterday, logged last, hides every recent one before it.
    auto rates = TimeStats::compute(storeOf({aged(60), aged(120), aged(86400)}), kLocal, kOffsetHours);
    EXPECT_EQ(rates.count20, 0);
    EXPECT_EQ(rates.count60, 0);

    rates = TimeStats::compute(storeOf({aged(60), aged(86400), aged(2000), aged(30)}), kLocal, kOffsetHours);
    EXPECT_EQ(rates.count20, 1);
    EXPECT_EQ(rates.count60, 2);
}

TEST(TimeStats, ReadsPostContestTimesAndCrossesMidnight)
{
    const QDateTime justAfterMidnight(QDate(2012, 6, 17), QTime(0, 5, 0), Qt::UTC);
    const auto rates = TimeStats::compute(
        storeOf({qso("W1AW", "20", "CW", "2012/06/16", "23:00"),      // 65 minutes old
                 qso("K1ABC", "20", "CW", "2012/06/16", "23:55"),     // 10 minutes old, "hh:mm"
                 qso("N0NE", "20", "CW", "2012/6/17", "0:04:30")}),   // edited short form
        justAfterMidnight, 0.0f);
    EXPECT_EQ(rates.count20, 2);
    EXPECT_EQ(rates.count60, 2);
}

TEST(TimeStats, OffsetIsAppliedInWholeMinutes)
{
    // 5.5 hours: 10:00 local is 15:30 UTC, so a contact at 15:00 is 30 minutes old.
    const auto rates = TimeStats::compute(storeOf({aged(0)}), kLocal, 5.5f);
    EXPECT_EQ(rates.count20, 0);
    EXPECT_EQ(rates.count60, 1);
}

TEST(TimeStats, UnreadableRecordsArePassedOver)
{
    QsoRecord badDate = aged(10);
    badDate[QsoRecord::Date] = "16.06.2012";
    QsoRecord badTime = aged(10);
    badTime[QsoRecord::Time] = "";
    QsoRecord empty;
    const auto rates =
        TimeStats::compute(storeOf({aged(1500), badDate, aged(100), badTime, empty}), kLocal, kOffsetHours);
    EXPECT_EQ(rates.count20, 1);
    EXPECT_EQ(rates.count60, 2);
}

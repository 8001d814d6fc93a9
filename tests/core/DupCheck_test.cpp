#include "core/DupCheck.h"

#include "LogFixtures.h"

#include <gtest/gtest.h>

using namespace cubwave;
using cubwave::test::qso;
using cubwave::test::storeOf;

namespace {

QsoRecord withExchange(QsoRecord r, const QString& name, const QString& age, const QString& spc, const QString& other)
{
    r[QsoRecord::Name] = name;
    r[QsoRecord::Age] = age;
    r[QsoRecord::Spc] = spc;
    r[QsoRecord::Other] = other;
    return r;
}

// W1AW worked four times (records 1, 3, 4, 5) on different bands and modes, stored once in
// lower case; the first contact lacks a name and the third brings it.
LogStore sampleLog()
{
    return storeOf({
        withExchange(qso("W1AW", "20", "CW", "2012/06/16", "18:05:33"), "", "12", "CT", "Blue"),
        withExchange(qso("K1ABC", "20", "CW"), "Sam", "11", "MA", "Red"),
        withExchange(qso("w1aw", "20", "PH", "2012/06/16", "18:40"), "Tom", "13", "RI", "Green"),
        withExchange(qso("W1AW", "20", "CW", "2012/06/17", "01:02:03"), "Tommy", "14", "NY", "Gold"),
        withExchange(qso("W1AW", "40", "CW", "2012/06/17", "02:00:00"), "Tom", "12", "CT", "Blue"),
    });
}

DupCheck::Input input(const QString& call, const QString& band, const QString& mode, bool listPrevious = false)
{
    DupCheck::Input in;
    in.call = call;
    in.band = band;
    in.mode = mode;
    in.listPrevious = listPrevious;
    return in;
}

}  // namespace

TEST(DupCheck, ReportsTheEarliestContactOnTheSameBandAndModeWhateverTheCase)
{
    const LogStore log = sampleLog();
    struct Case {
        const char* call;
        const char* band;
        const char* mode;
        int recNo;  // 0: no duplicate
    };
    const Case cases[] = {
        {"W1AW", "20", "CW", 1},  // records 1 and 4 both qualify: the lower is named
        {"w1aw", "20", "ph", 3},
        {"W1AW", "40", "CW", 5},
        {"W1AW", "40", "PH", 0},
        {"W1AW", "15", "CW", 0},
        {"W1A", "20", "CW", 0},   // a prefix is not the call
        {"W1AWX", "20", "CW", 0},
        {"N0NE", "20", "CW", 0},
    };
    for (const Case& c : cases) {
        const auto r = DupCheck::run(log, input(QString::fromLatin1(c.call), QString::fromLatin1(c.band),
                                                QString::fromLatin1(c.mode)));
        if (c.recNo == 0) {
            EXPECT_FALSE(r.duplicate) << c.call << ' ' << c.band << ' ' << c.mode;
        } else {
            ASSERT_TRUE(r.duplicate) << c.call << ' ' << c.band << ' ' << c.mode;
            EXPECT_EQ(r.duplicate->recNo, c.recNo) << c.call << ' ' << c.band << ' ' << c.mode;
        }
    }
}

TEST(DupCheck, ReportTextNamesTheStoredRecordWithTwoBlanksBeforeItsNumber)
{
    const LogStore log = sampleLog();
    EXPECT_EQ(DupCheck::run(log, input("W1AW", "20", "CW")).duplicate->report,
              "Duplicate on 20 W1AW 2012/06/16 18:05:33  Rec#  1");
    // The record's own call and post-contest time, not the typed text.
    EXPECT_EQ(DupCheck::run(log, input("W1AW", "20", "PH")).duplicate->report,
              "Duplicate on 20 w1aw 2012/06/16 18:40  Rec#  3");
    EXPECT_EQ(DupCheck::report(1234, qso("K1ABC", "6", "PH", "2012/06/16", "18:05:33")),
              "Duplicate on 6 K1ABC 2012/06/16 18:05:33  Rec#  1234");
}

TEST(DupCheck, FillsOnlyEmptyFieldsFromTheFirstContactThatHasAValue)
{
    const LogStore log = sampleLog();
    // On 15 m nothing stops the scan: every earlier W1AW contact is seen. Record 1 has no name,
    // so record 3 supplies it; the other items come from record 1.
    auto r = DupCheck::run(log, input("W1AW", "15", "CW"));
    EXPECT_EQ(r.fillOther, "Blue");
    EXPECT_EQ(r.fillSpc, "CT");
    EXPECT_EQ(r.fillName, "Tom");
    EXPECT_EQ(r.fillAge, "12");

    // Typed text is never replaced.
    DupCheck::Input typed = input("W1AW", "15", "CW");
    typed.fields = {"Purple", "", "Bob", "9"};
    r = DupCheck::run(log, typed);
    EXPECT_FALSE(r.fillOther);
    EXPECT_EQ(r.fillSpc, "CT");
    EXPECT_FALSE(r.fillName);
    EXPECT_FALSE(r.fillAge);
}

TEST(DupCheck, ScanStopsAtTheDuplicateSoLaterContactsNeitherFillNorList)
{
    const LogStore log = sampleLog();
    // Stopping at record 1 leaves the name empty: record 3 is never reached.
    auto r = DupCheck::run(log, input("W1AW", "20", "CW", true));
    EXPECT_FALSE(r.fillName);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].recNo, 1);

    r = DupCheck::run(log, input("W1AW", "40", "CW", true));
    std::vector<int> listed;
    for (const RecentRow& row : r.rows)
        listed.push_back(row.recNo);
    EXPECT_EQ(listed, (std::vector<int>{1, 3, 4, 5}));
}

TEST(DupCheck, ListPreviousGivesRecentContactRowsOrAnEmptyList)
{
    const LogStore log = sampleLog();
    auto r = DupCheck::run(log, input("W1AW", "20", "PH", true));
    EXPECT_TRUE(r.replaceList);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].cells(),
              (QStringList{"3", "w1aw", "Tom", "13", "RI", "Green", "06/16 18:40", "20", "PH"}));

    r = DupCheck::run(log, input("N0NE", "20", "PH", true));
    EXPECT_TRUE(r.replaceList);
    EXPECT_TRUE(r.rows.empty());

    r = DupCheck::run(log, input("W1AW", "20", "PH", false));
    EXPECT_FALSE(r.replaceList);
    EXPECT_TRUE(r.rows.empty());
}

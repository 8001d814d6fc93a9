#include "core/Statistics.h"

#include "LogFixtures.h"

#include <gtest/gtest.h>

using namespace cubwave;
using cubwave::test::qso;
using cubwave::test::storeOf;

TEST(Statistics, TotalsCountPhoneBlindToCaseAndGroupThousands)
{
    std::vector<QsoRecord> records;
    for (int i = 0; i < 1234; ++i)
        records.push_back(qso("W1AW", "20", i < 3 ? "PH" : i == 3 ? "ph" : "CW"));
    records[5][QsoRecord::Spc] = "Japan";
    records[6][QsoRecord::Spc] = "CT";
    const auto t = Statistics::totals(storeOf(records));
    EXPECT_EQ(t.contacts, "1,234");
    EXPECT_EQ(t.phone, "4");
    EXPECT_EQ(t.cw, "1,230");
    EXPECT_EQ(t.score, "0");  // no contact carries points

    const auto none = Statistics::totals(LogStore());
    EXPECT_EQ(none.contacts, "0");
    EXPECT_EQ(none.phone, "0");
    EXPECT_EQ(none.cw, "0");
}

TEST(Statistics, NewShowsOnlyForCountriesNotYetWorked)
{
    const QStringList dx{"Japan", "Cuba"};
    struct Case {
        const char* spc;
        bool shows;
    };
    const Case cases[] = {
        {"Germany", true}, {"JAPAN", false}, {"japan", false}, {"Cub", true}, {"USA", false}, {"usa", false},
        {"Canada", false}, {"not found", false}, {"CT", false}, {"Ohi", true}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Statistics::showsNew(QString::fromLatin1(c.spc), dx), c.shows) << c.spc;
}

TEST(Statistics, WorkedLineAndDxHeading)
{
    EXPECT_EQ(Statistics::statesWorkedText(12), "States / Provinces Worked: 12");
    EXPECT_EQ(Statistics::dxHeading(3), "DX  -  3");
    EXPECT_EQ(Statistics::dxHeading(0), "DX  -  0");
}

#include "core/PartialDupSearch.h"

#include "LogFixtures.h"

#include <gtest/gtest.h>

using namespace cubwave;
using cubwave::test::qso;
using cubwave::test::storeOf;
using Check = PartialDupSearch::ThreeCharCheck;

namespace {

LogStore sampleLog()
{
    return storeOf({
        qso("K1ABC", "20", "CW"),
        qso("K1ABD", "20", "cw"),
        qso("K1ABE", "20", "PH"),   // other mode
        qso("K1ABF", "40", "CW"),   // other band
        qso("k1abg", "20", "CW"),
        qso("K2ABC", "20", "CW"),
    });
}

PartialDupSearch::Input typing(const QString& fieldText, int key, bool displayOn = true, bool clockRunning = false)
{
    PartialDupSearch::Input in;
    in.fieldText = fieldText;
    in.keyCode = key;
    in.band = "20";
    in.mode = "CW";
    in.displayOn = displayOn;
    in.clockRunning = clockRunning;
    return in;
}

}  // namespace

TEST(PartialDupSearch, ListsCallsOnThisBandAndModeThatBeginWithTheTypedTextLaterFirst)
{
    const LogStore log = sampleLog();
    auto r = PartialDupSearch::run(log, typing("K1", 'A'));
    EXPECT_EQ(r.matches, "k1abg K1ABD K1ABC ");
    EXPECT_FALSE(r.possibleDuplicate);  // only two characters were there before the key

    r = PartialDupSearch::run(log, typing("K1A", 'B'));
    EXPECT_EQ(r.matches, "k1abg K1ABD K1ABC ");
    EXPECT_TRUE(r.possibleDuplicate);
    EXPECT_EQ(r.status, "Possible Duplicate!");

    r = PartialDupSearch::run(log, typing("k1ab", 'D'));  // the field's own text compared blind to case
    EXPECT_EQ(r.matches, "K1ABD ");

    r = PartialDupSearch::run(log, typing("K1AB", 'X'));
    EXPECT_EQ(r.matches, "");
    EXPECT_FALSE(r.possibleDuplicate);
    EXPECT_FALSE(r.status);
}

TEST(PartialDupSearch, KeepsTheEarliestMatchesOnceTheListPassesOneHundredCharacters)
{
    // Thirty nine-character calls: each piece is ten characters, so the eleventh makes the list
    // 110 long and ends the scan; later records are never reached.
    std::vector<QsoRecord> records;
    for (int i = 0; i < 30; ++i)
        records.push_back(qso(QStringLiteral("W9ABCD%1").arg(i, 3, 10, QLatin1Char('0')), "20", "CW"));
    const LogStore log = storeOf(records);

    const auto r = PartialDupSearch::run(log, typing("W9A", 'B'));
    QString expected;
    for (int i = 10; i >= 0; --i)
        expected += QStringLiteral("W9ABCD%1 ").arg(i, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(r.matches, expected);
    EXPECT_EQ(r.matches.size(), 110);
}

TEST(PartialDupSearch, OnlyCallKeysSearch)
{
    const LogStore log = sampleLog();
    struct Case {
        int key;
        bool searches;
    };
    const Case cases[] = {
        {'.', true}, {'/', true}, {'0', true}, {'9', true}, {'A', true}, {'Z', true},
        {'-', false}, {'[', false}, {'a', false}, {8 /* Backspace */, false}, {' ', false}, {0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PartialDupSearch::countsAsCallKey(c.key), c.searches) << c.key;

    // Backspace empties the line even where the text alone would match.
    const auto r = PartialDupSearch::run(log, typing("K1AB", 8));
    EXPECT_EQ(r.matches, "");
    EXPECT_FALSE(r.possibleDuplicate);
}

TEST(PartialDupSearch, DisplayOffListsNothingButStillChecksTheThirdCharacter)
{
    const LogStore log = sampleLog();
    auto r = PartialDupSearch::run(log, typing("K1A", 'B', false));
    EXPECT_EQ(r.matches, "");
    EXPECT_FALSE(r.possibleDuplicate);
    EXPECT_FALSE(r.status);

    r = PartialDupSearch::run(log, typing("KA", 'B', false));
    EXPECT_EQ(r.threeCharCheck, Check::Failed);
    EXPECT_TRUE(r.beep);
}

TEST(PartialDupSearch, ThirdCharacterNeedsADigitOrSlashInSecondOrThirdPlace)
{
    const LogStore empty;
    struct Case {
        const char* before;
        int key;
        Check check;
    };
    const Case cases[] = {
        {"W1", 'A', Check::Passed}, {"WA", '1', Check::Passed}, {"WA", '/', Check::Passed},
        {"W/", 'B', Check::Passed}, {"WA", 'B', Check::Failed}, {"1A", 'B', Check::Failed},
        {"WA", '.', Check::Failed}, {"W", '1', Check::NotRun},  {"WAB", 'C', Check::NotRun},
        {"WA", 8, Check::NotRun},   {"WA", 'b', Check::NotRun},
    };
    for (const Case& c : cases) {
        const auto r = PartialDupSearch::run(empty, typing(QString::fromLatin1(c.before), c.key));
        EXPECT_EQ(r.threeCharCheck, c.check) << c.before << " + " << c.key;
        switch (c.check) {
        case Check::Passed:
            EXPECT_EQ(r.status, " ");
            EXPECT_FALSE(r.beep);
            break;
        case Check::Failed:
            EXPECT_EQ(r.status, "The second or third character is not numeric!");
            EXPECT_TRUE(r.beep);
            break;
        case Check::NotRun:
            EXPECT_FALSE(r.status);
            EXPECT_FALSE(r.beep);
            break;
        }
    }
}

TEST(PartialDupSearch, RunningClockBlanksTheStatusWhenNothingElseIsSaid)
{
    const LogStore log = sampleLog();
    auto r = PartialDupSearch::run(log, typing("K1AB", 'X', true, true));
    EXPECT_EQ(r.status, " ");
    r = PartialDupSearch::run(log, typing("K1A", 'B', true, true));
    EXPECT_EQ(r.status, "Possible Duplicate!");
}

#include "spots/CallPrefix.h"

#include <gtest/gtest.h>

using namespace cubwave;

TEST(CallPrefix, ShortensCallsAsTheBandMapShowsThem)
{
    struct Case {
        const char* call;
        const char* caption;
    };
    const Case cases[] = {
        {"K1ABC", "K1"},         // up to the last digit
        {"VE3XYZ", "VE3"},
        {"3DA0XY", "3DA0"},      // the last digit, not the first
        {"KH6/K1ABC", "KH6"},    // a prefix of another country before the call
        {"K1ABC/4", "K4"},       // a new call area: the letters before the first digit and it
        {"K1ABC/P", "P"},        // a suffix of letters stands for itself
        {"K1ABC/KH6", "KH6"},
        {"K1ABC/", ""},          // nothing after the "/"
        {"ABC", "ABC"},          // no digit: the whole call
        {"K1A", "K1"},
        {"K1", ""},              // fewer than three characters
        {"/", ""},
        {"", ""},
        {"W1AW/MM", "MM"},
        {"VP2E/W1AW", "VP2E"},
        {"K1A/BCD", "K1A"},      // the "/" at 4 of 7 still counts as the first half (7 / 2 + 1 = 4.5)
        {"K1AB/C9", "C9"},       // a suffix that is not a plain number stays as it is
        {"k1abc", "k1"},         // the case as spotted
    };
    for (const Case& c : cases)
        EXPECT_EQ(callPrefix(QString::fromLatin1(c.call)), QString::fromLatin1(c.caption)) << c.call;
}

TEST(CallPrefix, OddCallsNeverReadPastTheirEnd)
{
    // Long, digit-only, slash-only and non-ASCII calls: a caption no longer than the call.
    const QString calls[] = {QString(20, u'9'), QStringLiteral("////"), QStringLiteral("K1ABC/12345678901234"),
                             QStringLiteral("K\u0661ABC/4"), QStringLiteral("\u00c9\u00c9\u00c9/\u00c9"),
                             QStringLiteral("1/2"), QStringLiteral("A/1")};
    for (const QString& call : calls)
        EXPECT_LE(callPrefix(call).size(), call.size()) << call.toStdString();
}

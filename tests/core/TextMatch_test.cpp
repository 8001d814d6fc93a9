#include "core/TextMatch.h"

#include <gtest/gtest.h>

#include <QString>

using namespace cubwave;

TEST(TextMatch, FoldsLettersOnlyAndLeavesOtherCharactersToQt)
{
    struct Case {
        const char16_t* a;
        const char16_t* b;
        bool equal;
    };
    const Case cases[] = {
        {u"W1AW", u"w1aw", true},  {u"ph", u"PH", true},   {u"20", u"20", true},  {u"", u"", true},
        {u"W1AW", u"W1AX", false}, {u"W1AW", u"W1A", false},
        {u"@", u"`", false},       {u"[", u"{", false},    {u"1", u"\x11", false},  // differ only in bit 0x20
        {u"\u00c4B", u"\u00e4b", true}, {u"\u00c4", u"A", false},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf16(c.a);
        const QString b = QString::fromUtf16(c.b);
        EXPECT_EQ(TextMatch::equalNoCase(a, b), c.equal) << a.toStdString() << " vs " << b.toStdString();
    }

    EXPECT_TRUE(TextMatch::startsWithNoCase(u"k1abc", u"K1A"));
    EXPECT_TRUE(TextMatch::startsWithNoCase(u"\u00c4bc", u"\u00e4B"));
    EXPECT_TRUE(TextMatch::startsWithNoCase(u"K1ABC", u""));
    EXPECT_FALSE(TextMatch::startsWithNoCase(u"K1", u"K1A"));
    EXPECT_FALSE(TextMatch::startsWithNoCase(u"K1[BC", u"K1{"));
}

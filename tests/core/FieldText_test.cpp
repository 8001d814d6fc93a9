#include "core/FieldText.h"
#include "core/LogFile.h"
#include "core/LogLine.h"

#include <gtest/gtest.h>

#include <QString>

using namespace cubwave;

namespace {

FieldRule callRule()
{
    FieldRule r;
    r.maxLength = 12;
    r.dropSpaces = true;
    r.upperCaseBelow = FieldRule::kWholeField;
    return r;
}

FieldRule ageRule()
{
    FieldRule r;
    r.maxLength = 3;
    r.only = QStringLiteral("0123456789");
    return r;
}

FieldRule otherRule()
{
    FieldRule r;
    r.maxLength = 30;
    r.upperCaseBelow = 1;
    return r;
}

FieldRule nameRule()
{
    FieldRule r = callRule();
    r.maxLength = 30;
    r.dropDigits = true;
    return r;
}

}  // namespace

TEST(FieldText, DropsWhatWouldBreakALogLine)
{
    // Every character the log reader refuses, or that would end a quoted field early.
    const char16_t breakers[] = {u'"', u'\t', u'\r', u'\n', u'\0', 0x1b, 0x7f, 0x85, 0x9f, 0x2028, 0x2029};
    for (char16_t c : breakers)
        EXPECT_TRUE(FieldText::breaksLine(QChar(c))) << int(c);
    for (char16_t c : {u' ', u',', u'\'', u'a', u'\u00e9', u'\u20ac'})
        EXPECT_FALSE(FieldText::breaksLine(QChar(c))) << int(c);

    EXPECT_EQ(FieldText::withoutLineBreakers(u"a\"b\tc\r\nd,e"), u"abcd,e");
    // A lone surrogate half would be written as a replacement character; a whole pair stays.
    const QString pair = QString::fromUtf16(u"\U0001F600");
    EXPECT_EQ(FieldText::withoutLineBreakers(QString(QChar(0xd83d)) + "x" + pair + QChar(0xde00)), "x" + pair);
}

TEST(FieldText, KeepsWhatTheFieldsKeystrokeRulesAcceptAndAppliesItsCase)
{
    struct Case {
        const char* what;
        FieldRule rule;
        const char16_t* current;
        qsizetype selectionStart;
        qsizetype selectionLength;
        const char16_t* incoming;
        const char16_t* text;
        qsizetype caret;
    };
    const Case cases[] = {
        {"call: upper case, no spaces, quotes and control characters gone", callRule(), u"", 0, 0,
         u"w1\"a w\t\r\n", u"W1AW", 4},
        {"call: cut to 12", callRule(), u"", 0, 0, u"abcdefghijklmnopqrstuvwxyz", u"ABCDEFGHIJKL", 12},
        {"call: only the room the field has left", callRule(), u"K1ABCDEF", 8, 0, u"ghijklmn", u"K1ABCDEFGHIJ", 12},
        {"call: replaces the selection", callRule(), u"K1ABC", 1, 3, u"zz", u"KZZC", 3},
        {"name: digits start the age field, never stay", nameRule(), u"", 0, 0, u"ann 12", u"ANN", 3},
        {"age: digits only", ageRule(), u"", 0, 0, u"1a\"2,3 4", u"123", 3},
        {"age: a full field takes nothing", ageRule(), u"123", 3, 0, u"4", u"123", 3},
        {"other: only the first letter upper case", otherRule(), u"", 0, 0, u"green, \"dark\"", u"Green, dark", 11},
        {"other: pasted behind text keeps its case", otherRule(), u"Bl", 2, 0, u"ue", u"Blue", 4},
        {"letters beyond a to z keep their case", callRule(), u"", 0, 0, u"\u00e9a", u"\u00e9A", 2},
        {"nothing to insert", callRule(), u"W1AW", 2, 0, u"\"\t", u"W1AW", 2},
    };
    for (const Case& c : cases) {
        const FieldText::Edit e = FieldText::insert(c.rule, QStringView(c.current), c.selectionStart,
                                                    c.selectionLength, QStringView(c.incoming));
        EXPECT_EQ(e.text, QStringView(c.text)) << c.what;
        EXPECT_EQ(e.caret, c.caret) << c.what;
    }
}

TEST(FieldText, NeverSplitsASurrogatePairAtTheLengthLimit)
{
    FieldRule r;
    r.maxLength = 3;
    const QString face = QString::fromUtf16(u"\U0001F600");  // two UTF-16 units
    const FieldText::Edit e = FieldText::insert(r, u"ab", 2, 0, face);
    EXPECT_EQ(e.text, "ab");
    EXPECT_EQ(FieldText::insert(r, u"a", 1, 0, face + face).text, "a" + face);
}

TEST(FieldText, AnythingAPasteLeavesReloadsFromTheLog)
{
    // Every character of the first 10,240 code points (a line stays within the reader's limit),
    // pasted into a field: the record it makes is read back as written.
    QString everything;
    for (char16_t u = 1; u < 0x2800; ++u)
        everything += QChar(u);
    FieldRule r;
    r.maxLength = 70000;
    QsoRecord record;
    record[QsoRecord::Name] = FieldText::insert(r, u"", 0, 0, everything).text;
    const LogReadResult back = LogFile::parse(LogLine::format(record).toUtf8() + "\r\n");
    ASSERT_TRUE(back.ok) << back.reason.toStdString();
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0], record);
}

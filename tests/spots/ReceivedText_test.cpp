#include "spots/ReceivedText.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

QString numbered(qsizetype size)
{
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < size; ++i)
        text.append(QChar(char16_t(u'a' + i % 26)));
    return text;
}

TEST(ReceivedText, TidyKeepsTheNewest9000OfABoxOver10000)
{
    ReceivedText box;
    const QString big = numbered(10500);
    box.append(big);
    box.tidy();
    EXPECT_EQ(box.text(), big.right(9000));
    EXPECT_EQ(box.caretPosition(), 8999);

    ReceivedText full;
    full.appendAndTidy(numbered(10000));
    EXPECT_EQ(full.text().size(), 10000);  // at 10,000 exactly nothing goes
    full.appendAndTidy(u"x");
    EXPECT_EQ(full.text().size(), 9000);
    EXPECT_TRUE(full.text().endsWith(u'x'));
}

TEST(ReceivedText, TheCaretMovesOnlyOnceTheBoxHoldsThreeCharacters)
{
    ReceivedText box;
    box.appendAndTidy(u"ab");
    EXPECT_EQ(box.caretPosition(), -1);
    box.appendAndTidy(u"c");
    EXPECT_EQ(box.caretPosition(), 2);
}

TEST(ReceivedText, ADuplicateIsFoundOnlyAmongTheNewestCharacters)
{
    const QString needle = QStringLiteral("DX de W3LPL:     14025.0  JA1ABC\n");
    struct Case {
        qsizetype fillerAfter;  // characters appended after the needle
        bool duplicate;
    };
    // The search starts 800 characters before the end counted from one, which reaches one
    // character further back than the last 800.
    const Case cases[] = {
        {0, true},
        {801 - needle.size(), true},
        {802 - needle.size(), false},
        {5000, false},
    };
    for (const Case& c : cases) {
        ReceivedText box;
        box.append(numbered(3000));
        box.append(needle);
        box.append(QString(c.fillerAfter, u'.'));
        EXPECT_EQ(box.isDuplicate(needle), c.duplicate) << c.fillerAfter;
        EXPECT_EQ(box.isDuplicate(needle.toLower()), c.duplicate) << "without case, " << c.fillerAfter;
    }
}

TEST(ReceivedText, AShortBoxIsSearchedWhole)
{
    ReceivedText box;
    box.append(u"hello cluster\r\n");
    box.append(QString(700, u'-'));
    EXPECT_TRUE(box.isDuplicate(u"HELLO"));
    EXPECT_FALSE(box.isDuplicate(u"goodbye"));
    EXPECT_TRUE(box.isDuplicate(u""));  // nothing to show
}

TEST(ReceivedText, AFloodBetweenTidiesKeepsOnlyTheNewestTextAndSaysSo)
{
    ReceivedText box;
    box.append(u"old text\r\n");
    QString flood = numbered(1024 * 1024);
    flood.append(QStringLiteral("the end"));
    box.append(flood);
    EXPECT_LE(box.text().size(), ReceivedText::kHardLimit);
    EXPECT_TRUE(box.text().startsWith(QLatin1StringView(ReceivedText::kDroppedMark)));
    EXPECT_TRUE(box.text().endsWith(QStringLiteral("the end")));
    EXPECT_FALSE(box.text().contains(QStringLiteral("old text")));

    // Appends that together pass the limit keep the older text's tail, then the new text.
    ReceivedText growing;
    growing.append(QString(ReceivedText::kHardLimit - 10, u'a') + QStringLiteral("TAIL"));
    growing.append(QStringLiteral("0123456789abcdef"));
    EXPECT_EQ(growing.text().size(), ReceivedText::kHardLimit);
    EXPECT_TRUE(growing.text().endsWith(QStringLiteral("TAIL0123456789abcdef")));
    EXPECT_TRUE(growing.text().startsWith(QLatin1StringView(ReceivedText::kDroppedMark)));
}

TEST(ReceivedText, TellsTheWidgetOnlyWhenTheTextChanged)
{
    ReceivedText box;
    EXPECT_FALSE(box.takeChanged());
    box.appendAndTidy(u"abc");
    box.appendAndTidy(u"def");
    EXPECT_TRUE(box.takeChanged());  // one repaint for both appends
    EXPECT_FALSE(box.takeChanged());
    box.tidy();
    EXPECT_FALSE(box.takeChanged());
    box.replace(u"** Attempting to Open Port **");
    EXPECT_TRUE(box.takeChanged());
    EXPECT_EQ(box.text(), QStringLiteral("** Attempting to Open Port **"));
}

}  // namespace

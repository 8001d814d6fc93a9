#include "cw/CwFieldRules.h"
#include "cw/CwNumber.h"

#include <gtest/gtest.h>

namespace cubwave {
namespace {

TEST(CwFieldRules, KeyFilters)
{
    const QString portOk = QStringLiteral("0123456789:\b");
    for (QChar c : portOk)
        EXPECT_TRUE(CwFieldRules::portOrSpeedKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("-./aA ;"))
        EXPECT_FALSE(CwFieldRules::portOrSpeedKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("-./0123456789:\b"))
        EXPECT_TRUE(CwFieldRules::wordSpaceKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral(",+a;"))
        EXPECT_FALSE(CwFieldRules::wordSpaceKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral(".0123456789\b"))
        EXPECT_TRUE(CwFieldRules::repeatKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("-:/a"))
        EXPECT_FALSE(CwFieldRules::repeatKeyAccepted(c)) << int(c.unicode());
}

TEST(CwFieldRules, MessageKeysAndPaste)
{
    EXPECT_EQ(CwFieldRules::messageKey(u'a'), QChar(u'A'));
    EXPECT_EQ(CwFieldRules::messageKey(u'$'), QChar(u'$'));
    EXPECT_EQ(CwFieldRules::messageKey(u'\t'), QChar(u'\t'));
    EXPECT_TRUE(CwFieldRules::messageKey(u'"').isNull());
    EXPECT_EQ(CwFieldRules::pastedMessage("say \"hi\"\r\nnow"), "say hinow");
}

TEST(CwFieldRules, NumberFieldsOnLeaving)
{
    EXPECT_EQ(CwFieldRules::leftNumberField("12"), "12");
    EXPECT_EQ(CwFieldRules::leftNumberField("1:2"), "0");
    EXPECT_EQ(CwFieldRules::leftNumberField(""), "0");
    EXPECT_EQ(CwFieldRules::leftWordSpace("-"), "0");
    EXPECT_EQ(CwFieldRules::leftWordSpace("-3"), "-3");
}

TEST(CwFieldRules, WordSpaceNeverBelowMinusEight)
{
    EXPECT_EQ(CwFieldRules::changedWordSpace("-12"), "-8");
    EXPECT_EQ(CwFieldRules::changedWordSpace("-8"), "-8");
    EXPECT_EQ(CwFieldRules::changedWordSpace("-"), "-");  // still being typed
    EXPECT_EQ(CwFieldRules::steppedWordSpace("-8", -1), "-8");
    EXPECT_EQ(CwFieldRules::steppedWordSpace("2", 1), "3");
    EXPECT_EQ(CwFieldRules::steppedWordSpace("x", 1), "1");
}

TEST(CwFieldRules, SpeedStepsWithoutBounds)
{
    EXPECT_EQ(CwFieldRules::steppedSpeed("13", 1), "14");
    EXPECT_EQ(CwFieldRules::steppedSpeed("1", -1), "0");
    EXPECT_EQ(CwFieldRules::steppedSpeed("0", -1), "-1");
    EXPECT_EQ(CwFieldRules::steppedSpeed("12.5", 1), "13.5");
}

TEST(CwFieldRules, RepeatIntervalOnLeaving)
{
    struct {
        const char* text;
        const char* shown;
        int ms;
        bool beep;
    } cases[] = {{"2.5", "2.5", 2500, false}, {"75", "0", 0, false}, {"60", "0", 0, false},
                 {"59.9", "59.9", 59900, false}, {"0", "0", 0, false}, {"..", "0", 0, true},
                 {"", "0", 0, true}};
    for (const auto& c : cases) {
        const auto r = CwFieldRules::leftRepeat(QString::fromLatin1(c.text));
        EXPECT_EQ(r.text, QString::fromLatin1(c.shown)) << c.text;
        EXPECT_EQ(r.intervalMs, c.ms) << c.text;
        EXPECT_EQ(r.beep, c.beep) << c.text;
    }
}

TEST(CwFieldRules, TestNeedsAPortOnlyForSerialKeying)
{
    struct {
        int iface;
        const char* port;
        bool refused;
    } cases[] = {{kCwDtr, "0", true}, {kCwRts, "", true}, {kCwRts, "0.5", true}, {kCwDtr, "1", false},
                 {kCwPrinter, "0", false}, {kCwNone, "0", false}, {kCwWinKey, "0", false}};
    for (const auto& c : cases) {
        CwSettings s;
        s.cwInterface = c.iface;
        s.port = c.port;
        EXPECT_EQ(CwFieldRules::testNeedsPort(s), c.refused) << c.iface << " " << c.port;
    }
}

TEST(CwNumber, APortAddressIsHexadecimalAfterAndHOrDecimalDigitsOnly)
{
    const struct {
        QString text;
        std::optional<quint16> address;
    } cases[] = {
        {"&H378", 0x378},        {" &h278 ", 0x278},       {"888", 888},         {"65535", 65535},
        {"&HFFFF", 0xffff},      {"&H0", std::nullopt},    {"0", std::nullopt},  {"65536", std::nullopt},
        {"&H10000", std::nullopt}, {"&H", std::nullopt},   {"", std::nullopt},   {"&H+37", std::nullopt},
        {"&H0x1", std::nullopt}, {"+888", std::nullopt},   {"&H3G", std::nullopt},
        // The library's conversion stopped at the NUL and took "&H37".
        {QString::fromLatin1("&H37\0" "8", 6), std::nullopt},
        {QString::fromLatin1("88\0" "8", 4), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CwNumber::parseAddress(c.text), c.address) << c.text.toStdString();
}

}  // namespace
}  // namespace cubwave

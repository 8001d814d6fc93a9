#include "cw/WinKeyFieldRules.h"

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

using Rule = WinKeyFieldRules::Left (*)(const QString&);

struct LeftCase {
    const char* field;
    Rule rule;
    const char* typed;
    const char* kept;
    std::optional<int> sent;
};

TEST(WinKeyFieldRules, EachFieldKeepsOrReplacesItsTextAndSendsOnlyItsRange)
{
    const LeftCase cases[] = {
        {"speed", &WinKeyFieldRules::speed, "0", "0", 0},
        {"speed", &WinKeyFieldRules::speed, "99", "99", 99},
        {"speed", &WinKeyFieldRules::speed, "100", "100", std::nullopt},
        {"speed", &WinKeyFieldRules::speed, "abc", "18", std::nullopt},
        {"speed", &WinKeyFieldRules::speed, "", "18", std::nullopt},
        {"speed", &WinKeyFieldRules::speed, " 25 ", " 25 ", 25},
        {"weight", &WinKeyFieldRules::weight, "99", "99", 99},
        {"weight", &WinKeyFieldRules::weight, "150", "150", std::nullopt},
        {"weight", &WinKeyFieldRules::weight, "x", "50", std::nullopt},
        // The keyer has always been sent 32 and 67, wider than the hint's 33 to 66.
        {"ratio", &WinKeyFieldRules::ratio, "30", "30", std::nullopt},
        {"ratio", &WinKeyFieldRules::ratio, "31", "31", std::nullopt},
        {"ratio", &WinKeyFieldRules::ratio, "32", "32", 32},
        {"ratio", &WinKeyFieldRules::ratio, "67", "67", 67},
        {"ratio", &WinKeyFieldRules::ratio, "68", "68", std::nullopt},
        {"ratio", &WinKeyFieldRules::ratio, "abc", "50", std::nullopt},
        {"ratio", &WinKeyFieldRules::ratio, "99999999999999999999", "99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto left = c.rule(QString::fromLatin1(c.typed));
        EXPECT_EQ(left.text, QString::fromLatin1(c.kept)) << c.field << " " << c.typed;
        EXPECT_EQ(left.send, c.sent) << c.field << " " << c.typed;
    }
}

TEST(WinKeyFieldRules, LeadInAndTailGoTogetherOrTheFieldLeftBecomesZero)
{
    struct Case {
        const char* lead;
        const char* tail;
        bool leftLead;
        const char* keptLead;
        const char* keptTail;
        std::optional<std::pair<int, int>> sent;
    };
    const Case cases[] = {
        {"10", "20", true, "10", "20", std::make_pair(10, 20)},
        {"255", "0", false, "255", "0", std::make_pair(255, 0)},
        {"300", "0", true, "0", "0", std::nullopt},     // does not fit a byte: nothing is sent
        {"300", "5", false, "300", "0", std::nullopt},  // the tail was left, so the tail goes
        {"10", "", true, "0", "", std::nullopt},
        {"", "7", false, "", "0", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto left = WinKeyFieldRules::leadTail(c.lead, c.tail, c.leftLead);
        EXPECT_EQ(left.leadIn, QString::fromLatin1(c.keptLead)) << c.lead << "/" << c.tail;
        EXPECT_EQ(left.tail, QString::fromLatin1(c.keptTail)) << c.lead << "/" << c.tail;
        EXPECT_EQ(left.send, c.sent) << c.lead << "/" << c.tail;
    }
}

TEST(WinKeyFieldRules, PortTextAndByte)
{
    EXPECT_EQ(WinKeyFieldRules::comPort("3").port, 3);
    EXPECT_EQ(WinKeyFieldRules::comPort("3").text, "3");
    EXPECT_EQ(WinKeyFieldRules::comPort("abc").text, "0");
    EXPECT_EQ(WinKeyFieldRules::comPort("abc").port, 0);
    EXPECT_EQ(WinKeyFieldRules::comPort("256").text, "256");
    EXPECT_EQ(WinKeyFieldRules::comPort("256").port, 0);
    EXPECT_EQ(WinKeyFieldRules::comPort("255").port, 255);
}

TEST(WinKeyFieldRules, OnlyPrintableAsciiIsText)
{
    // Ctrl+X and Ctrl+Y would reach the keyer as its PTT and key-down commands.
    for (int code : {0x00, 0x08, 0x0A, 0x18, 0x19, 0x1F, 0x7F, 0x80, 0xE9, 0x20AC})
        EXPECT_FALSE(WinKeyFieldRules::sendable(QChar(char16_t(code)))) << code;
    for (ushort code : {ushort(0x20), ushort('A'), ushort('9'), ushort('?'), ushort('/'), ushort(0x7E)})
        EXPECT_TRUE(WinKeyFieldRules::sendable(QChar(code))) << code;
}

}  // namespace
}  // namespace cubwave::test

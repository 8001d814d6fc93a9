#include "cw/CwMessages.h"

#include <gtest/gtest.h>

namespace cubwave {
namespace {

TEST(CwMessages, MacrosExpandInThreePasses)
{
    struct {
        const char* message;
        const char* call;
        const char* sent;
    } cases[] = {
        {"TU $ *", "  K1ABC  ", "TU K1ABC 5NN"},
        {"$$", "W1AW", "W1AWW1AW"},
        {"QSO # TU", "W1AW", "QSO  TU"},
        {"CQ TEST", "", "CQ TEST"},
        {"$ DE", "", " DE"},
        {"**#", "X", "5NN5NN"},
        {"NR #*!", "N0CALL", "NR 5NN!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CwMessages::expand(QString::fromLatin1(c.message), QString::fromLatin1(c.call)),
                  QString::fromLatin1(c.sent))
            << c.message;
}

TEST(CwMessages, EachKeyHasItsMessage)
{
    CwSettings s;
    for (int i = 0; i < CwSettings::kMessageCount; ++i)
        s.messages[i] = QStringLiteral("M%1").arg(i);
    for (int key = 112; key <= 120; ++key)
        EXPECT_EQ(CwMessages::messageForKey(s, key), QStringLiteral("M%1").arg(key - 112));
    EXPECT_EQ(CwMessages::messageForKey(s, 124), "M9");   // F10
    EXPECT_EQ(CwMessages::messageForKey(s, 122), "M10");  // F11
    for (int key : {111, 121, 123, 125, 65, 0})
        EXPECT_EQ(CwMessages::messageForKey(s, key), "") << key;
}

}  // namespace
}  // namespace cubwave

#include "station/UtcOffsetCheck.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 6, day), QTime(hour, minute, second), Qt::UTC);
}

}  // namespace

TEST(UtcOffsetCheck, RecommendsTheOffsetTheClocksImply)
{
    struct Case {
        const char* what;
        QDateTime utc;
        QDateTime local;
        float recommended;
    };
    const Case cases[] = {
        {"local time is UTC", at(13, 12, 0), at(13, 12, 0), 0.f},
        {"five and a half hours behind", at(13, 17, 30), at(13, 12, 0), 5.5f},
        {"four hours ahead", at(13, 8, 0), at(13, 12, 0), -4.f},
        {"UTC already tomorrow", at(14, 1, 0), at(13, 20, 0), 5.f},
        {"local already tomorrow", at(13, 20, 0), at(14, 5, 45), -9.75f},
        {"quarter-hour zone", at(13, 6, 15), at(13, 12, 0), -5.75f},
        {"twenty minutes: two decimals", at(13, 12, 20), at(13, 12, 0), 0.33f},
        {"forty minutes behind", at(13, 11, 20), at(13, 12, 0), -0.67f},
        // Clocks read a moment apart, either side of a minute boundary, still give whole hours.
        {"UTC read a second earlier", at(13, 17, 0, 59), at(13, 12, 1, 0), 5.f},
        {"UTC read a second later", at(13, 17, 1, 0), at(13, 12, 0, 59), 5.f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const UtcOffsetCheck check(c.utc, c.local, 0.f);
        EXPECT_EQ(check.recommendedHours(), c.recommended);
    }
}

TEST(UtcOffsetCheck, ReadsBothClocksAsWallClocks)
{
    // The local clock may come with the machine's zone attached; only its face counts.
    const QDateTime localWithZone(QDate(2026, 6, 13), QTime(12, 0), Qt::OffsetFromUTC, -4 * 3600);
    EXPECT_EQ(UtcOffsetCheck(at(13, 16, 0), localWithZone, 0.f).recommendedHours(), 4.f);
}

TEST(UtcOffsetCheck, AsksOnlyWhenTheStoredOffsetDiffers)
{
    struct Case {
        float stored;
        QDateTime utc;
        bool asks;
    };
    const Case cases[] = {
        {5.f, at(13, 12, 0), true},
        {0.f, at(13, 12, 0), false},
        {5.5f, at(13, 17, 30), false},
        {5.f, at(13, 17, 30), true},
        {0.33f, at(13, 12, 20), false},   // a single that is no exact binary fraction still agrees
        {0.34f, at(13, 12, 20), true},
        {-0.f, at(13, 12, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(UtcOffsetCheck(c.utc, at(13, 12, 0), c.stored).shouldAsk(), c.asks);
    }
}

TEST(UtcOffsetCheck, PromptShowsBothClocksAndBothOffsets)
{
    const UtcOffsetCheck check(at(13, 8, 37, 40), at(13, 3, 7, 40), -4.f);
    EXPECT_EQ(UtcOffsetCheck::title(), QLatin1String("Update the Local Time / UTC Offset?"));
    EXPECT_EQ(check.prompt(),
              QLatin1String("Would you like to adjust the UTC offset in this program for your local time setting?\r\n\r\n"
                            "Current System Time: 08:37\r\n\r\n"
                            "Current Local Time: 03:07\r\n\r\n"
                            "Recommended Offset Setting: 5.5\r\n\r\n"
                            "Current Offset Setting: -4\r\n\r\n"
                            "Please click OK to accept the recommended change or Cancel to keep the current setting."));
    EXPECT_EQ(check.defaultAnswer(), QLatin1String("5.5"));
}

TEST(UtcOffsetCheck, LocalTimeEqualToUtcOffersZeroAndOkStoresIt)
{
    const UtcOffsetCheck check(at(13, 12, 0), at(13, 12, 0), 5.f);
    ASSERT_TRUE(check.shouldAsk());
    EXPECT_TRUE(check.prompt().contains(QLatin1String("\r\n\r\nRecommended Offset Setting: 0\r\n\r\n")));
    EXPECT_TRUE(check.prompt().contains(QLatin1String("\r\n\r\nCurrent Offset Setting: 5\r\n\r\n")));
    EXPECT_EQ(check.defaultAnswer(), QLatin1String("0"));
    EXPECT_EQ(check.answeredOffset(check.defaultAnswer()), 0.f);
}

TEST(UtcOffsetCheck, OnlyANumericAnswerChangesTheOffset)
{
    const UtcOffsetCheck check(at(13, 12, 0), at(13, 12, 0), 5.f);
    struct Case {
        std::optional<QString> answer;
        std::optional<float> stored;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt},  // Cancel
        {QString(), std::nullopt},
        {QStringLiteral("   "), std::nullopt},
        {QStringLiteral("abc"), std::nullopt},
        {QStringLiteral("-"), std::nullopt},
        {QStringLiteral("5,5"), std::nullopt},
        {QStringLiteral("-4"), -4.f},
        {QStringLiteral("5.5"), 5.5f},
        {QStringLiteral(" 3 "), 3.f},
        {QStringLiteral("5"), 5.f},  // the same value is still an answer to save
        {QStringLiteral("24"), 24.f},
        {QStringLiteral("-24"), -24.f},
        // Further than a day from zero is no offset; it would move every logged time by days.
        {QStringLiteral("24.5"), std::nullopt},
        {QStringLiteral("-100"), std::nullopt},
        {QStringLiteral("1") + QString(30, QLatin1Char('0')), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.value_or(QStringLiteral("<cancelled>")).toStdString());
        EXPECT_EQ(check.answeredOffset(c.answer), c.stored);
    }
}

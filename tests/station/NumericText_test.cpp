#include "station/NumericText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cubwave;

TEST(NumericText, ReadsWhatAnOperatorTypesAsANumber)
{
    struct Case {
        const char* text;
        bool numeric;
        double value;
    };
    const Case cases[] = {
        {"-4", true, -4},       {"5.5", true, 5.5},     {" 3 ", true, 3},      {".5", true, 0.5},
        {"5.", true, 5},        {"+2", true, 2},        {"-0.25", true, -0.25}, {"007", true, 7},
        {"", false, 0},         {" ", false, 0},        {"-", false, 0},       {".", false, 0},
        {"-.", false, 0},       {"+", false, 0},        {"abc", false, 0},     {"5a", false, 0},
        {"1e3", false, 0},      {"5/2", false, 0},      {"1,5", false, 0},     {"1 000", false, 0},
        {"--4", false, 0},      {"4-", false, 0},       {"1.2.3", false, 0},   {"0x10", false, 0},
        {"inf", false, 0},      {"nan", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> v = NumericText::parse(QString::fromLatin1(c.text));
        ASSERT_EQ(v.has_value(), c.numeric);
        if (c.numeric) {
            EXPECT_DOUBLE_EQ(*v, c.value);
        }
    }
}

TEST(NumericText, RefusesDigitsOtherThanAsciiAndValuesBeyondSinglePrecision)
{
    EXPECT_FALSE(NumericText::parse(u"\u0663"));  // an Arabic-Indic three
    EXPECT_FALSE(NumericText::parse(u"\uff15"));  // a full-width five
    EXPECT_FALSE(NumericText::parse(QString(400, QLatin1Char('9'))));
    EXPECT_FALSE(NumericText::parse(QStringLiteral("1") + QString(39, QLatin1Char('0'))));
    EXPECT_TRUE(NumericText::parse(QStringLiteral("1") + QString(37, QLatin1Char('0'))));
}

TEST(NumericText, ShowsTheShortestTextWithoutAnExponent)
{
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {5.5f, "5.5"},       {-4.f, "-4"},         {0.f, "0"},          {-0.f, "0"},
        {0.33f, "0.33"},     {91.87f, "91.87"},    {-177.92f, "-177.92"}, {1e6f, "1000000"},
        {0.0001f, "0.0001"}, {12.75f, "12.75"},
        {std::numeric_limits<float>::infinity(), "0"}, {std::numeric_limits<float>::quiet_NaN(), "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumericText::shortest(c.value), QLatin1String(c.text)) << c.value;
}

TEST(NumericText, ShownNumbersReadBackAsTheSameSingle)
{
    for (float v : {5.3333335f, -0.1f, 1.f / 3.f, 41.71f, 3.4e38f, 1e-7f, -123456.79f}) {
        const QString text = NumericText::shortest(v);
        const std::optional<double> back = NumericText::parse(text);
        ASSERT_TRUE(back) << text.toStdString();
        EXPECT_EQ(static_cast<float>(*back), v) << text.toStdString();
    }
}

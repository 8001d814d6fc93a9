#include "core/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace cubwave;

TEST(NumberFormat, FormatsDoublesByPlaceholderPattern)
{
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {0, "###,##0", "0"},
        {7, "###,##0", "7"},
        {999, "###,##0", "999"},
        {1000, "###,##0", "1,000"},
        {11000, "###,##0", "11,000"},
        {1234567, "###,##0", "1,234,567"},                     // more digits than placeholders
        {1234567890123, "###,###,###,##0", "1,234,567,890,123"},
        {0, "###,###,###,##0", "0"},
        {12.5, "###", "13"},                                    // half away from zero
        {-12.5, "###", "-13"},
        {0.4, "###", ""},                                       // "#" prints no lone zero
        {12345, "##,###", "12,345"},
        {345, "##,###", "345"},
        {-0.001, "0.00", "0.00"},                               // rounds to zero: no sign
        {1, "#.##", "1."},
        {1.5, "#.##", "1.5"},
        {0.999, "0.00", "1.00"},                                // carry into the integer
        {0.5, "#####.##0", ".500"},
        {0, "#####.##0", ".000"},
        {999.9996, "#####.##0", "1000.000"},
        {7.5, "$#,##0 kHz", "$8 kHz"},                          // literal prefix and suffix
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberFormat::format(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.expected))
            << c.value << " with " << c.pattern;
}

TEST(NumberFormat, RoundsSinglesOnTheirDecimalFormNotTheirBinaryValue)
{
    // 3.5005f is 3.50049996...: rounding its binary value would give 3.500.
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {7.02f, "7.020"},       {146.52f, "146.520"},       {14.0255f, "14.026"},
        {3.5005f, "3.501"},     {28.0004f, "28.000"},       {123456.789f, "123456.790"},
        {9.9996f, "10.000"},    {0.5f, ".500"},             {54.0f, "54.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberFormat::format(c.value, u"#####.##0"), QString::fromLatin1(c.expected)) << c.value;
}

TEST(NumberFormat, NonFiniteValuesGiveEmptyText)
{
    EXPECT_EQ(NumberFormat::format(std::numeric_limits<float>::quiet_NaN(), u"#####.##0"), QString());
    EXPECT_EQ(NumberFormat::format(std::numeric_limits<double>::infinity(), u"###,##0"), QString());
}

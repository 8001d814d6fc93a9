#include "cw/CodePractice.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

namespace cubwave {
namespace {

std::function<double()> seeded(unsigned seed)
{
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return std::uniform_real_distribution<double>(0, 1)(*engine); };
}

TEST(CodePractice, LettersOnlyGivesGroupsOfCapitals)
{
    const auto r = CodePractice::generate("10", "5", true, seeded(1));
    EXPECT_TRUE(QRegularExpression("^([A-Z]{5} ){10}$").match(r.text).hasMatch()) << r.text.toStdString();
    EXPECT_FALSE(r.capped);
}

TEST(CodePractice, AllDrawsFromTheFortyOneCharacters)
{
    const auto r = CodePractice::generate("200", "5", false, seeded(2));
    EXPECT_TRUE(QRegularExpression("^([A-Z0-9.,?/-]{5} ){200}$").match(r.text).hasMatch());
    EXPECT_EQ(CodePractice::kCharacterSet.size(), 41);
}

TEST(CodePractice, CharacterNumberIsIntOfNTimesRPlusOne)
{
    // r just below 1 picks the last character, r = 0 the first, r in [26/41, 27/41) the first digit.
    const double draws[] = {0.0, 0.999999, 26.5 / 41, 36.5 / 41, 40.5 / 41};
    int i = 0;
    const auto r = CodePractice::generate("1", "5", false, [&] { return draws[i++]; });
    EXPECT_EQ(r.text, "A-0.- ");
    int j = 0;
    const auto letters = CodePractice::generate("1", "2", true, [&] { return j++ == 0 ? 0.999999 : 0.5; });
    EXPECT_EQ(letters.text, "ZN ");
}

TEST(CodePractice, FieldsThatAreNotNumbersTakeTheirDefaults)
{
    const auto r = CodePractice::generate("ten", "", true, seeded(3));
    EXPECT_EQ(r.groupsText, "10");
    EXPECT_EQ(r.groupLengthText, "5");
    EXPECT_EQ(r.text.size(), 60);
}

TEST(CodePractice, TextIsCappedWithNotice)
{
    int draws = 0;
    const auto r = CodePractice::generate("1000000", "5", true, [&] {
        ++draws;
        return 0.5;
    });
    EXPECT_TRUE(r.capped);
    EXPECT_EQ(r.text.size(), CodePractice::kMaxCharacters);
    EXPECT_LE(draws, CodePractice::kMaxCharacters);
    const auto longGroup = CodePractice::generate("1", "99999999", true, [] { return 0.1; });
    EXPECT_TRUE(longGroup.capped);
    EXPECT_EQ(longGroup.text.size(), CodePractice::kMaxCharacters);
}

TEST(CodePractice, BadRandomValuesStayInTheSet)
{
    const double draws[] = {-3, 7, std::nan(""), 1.0};
    int i = 0;
    const auto r = CodePractice::generate("1", "4", true, [&] { return draws[i++]; });
    EXPECT_EQ(r.text, "AZAZ ");
}

TEST(CodePractice, ZeroOrNegativeCountsGiveNothing)
{
    EXPECT_EQ(CodePractice::generate("0", "5", true, seeded(4)).text, "");
    EXPECT_EQ(CodePractice::generate("-3", "5", true, seeded(4)).text, "");
    EXPECT_EQ(CodePractice::generate("2", "0", true, seeded(4)).text, "  ");
}

TEST(CodePractice, HugeCountsAreCappedWithoutOverflow)
{
    // Each count alone is taken up to 10^12; their product needs more than 64 bits (UBSan
    // caught the plain product).
    const struct {
        const char* groups;
        const char* length;
    } cases[] = {
        {"1000000000000", "1000000000000"},
        {"4294967296", "4294967295"},  // a product of exactly 2^64
        {"99999999999999999999", "99999999999999999999"},
        {"3037000500", "3037000499"},
    };
    for (const auto& c : cases) {
        const auto r = CodePractice::generate(c.groups, c.length, true, [] { return 0.5; });
        EXPECT_TRUE(r.capped) << c.groups;
        EXPECT_EQ(r.text.size(), CodePractice::kMaxCharacters) << c.groups;
    }
    const qint64 big = 1'000'000'000'000;
    EXPECT_EQ(CodePractice::plannedLength(big, big), CodePractice::kMaxCharacters);
    EXPECT_EQ(CodePractice::plannedLength(4294967296, 4294967295), CodePractice::kMaxCharacters);
    EXPECT_EQ(CodePractice::plannedLength(10, 5), 60);
    EXPECT_EQ(CodePractice::plannedLength(0, big), 0);
    EXPECT_EQ(CodePractice::plannedLength(big, 0), CodePractice::kMaxCharacters);
}

}  // namespace
}  // namespace cubwave

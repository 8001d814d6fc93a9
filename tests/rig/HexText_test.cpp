// The query boxes' hex text and the hex view of a reply.
#include "rig/HexText.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

struct HexCase {
    const char* text;
    int maxBytes;
    std::optional<QByteArray> bytes;
};

class HexQueries : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexQueries, BecomeBytesOrNothing)
{
    EXPECT_EQ(HexText::spacedToBytes(QString::fromLatin1(GetParam().text), GetParam().maxBytes), GetParam().bytes)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexQueries,
    ::testing::Values(HexCase{"FE FE 64 E0 03 FD", -1, QByteArray::fromHex("FEFE64E003FD")},
                      HexCase{"FE FE 64 E0 03 FD 00", 6, QByteArray::fromHex("FEFE64E003FD")},
                      HexCase{"3f-41-0d", -1, QByteArray::fromHex("3F410D")},
                      HexCase{"00 00 00 00 03 ", -1, QByteArray::fromHex("0000000003")},
                      HexCase{"", -1, QByteArray()},
                      HexCase{"00 00 0", -1, std::nullopt},
                      HexCase{"00 0G 00", -1, std::nullopt},
                      HexCase{"0000", -1, std::nullopt},
                      HexCase{"FE FE 6", 3, std::nullopt}));

TEST(HexText, RefusesTypedBytesRunTogether)
{
    struct Case {
        const char* typed;
        std::optional<QByteArray> bytes;
    };
    for (const Case& c : {Case{"FE FE 64 E0 03 FD", QByteArray::fromHex("FEFE64E003FD")},
                          Case{"fe-fe,64", QByteArray::fromHex("FEFE64")}, Case{"", QByteArray()},
                          Case{"FEFE64", std::nullopt},  // not FE E6
                          Case{"FE FEE0", std::nullopt}, Case{"FE  FE", std::nullopt}, Case{"FE F", std::nullopt}}) {
        EXPECT_EQ(HexText::typedToBytes(QString::fromLatin1(c.typed)), c.bytes) << c.typed;
    }
}

TEST(HexText, ShowsEachByteAsTwoUpperCaseDigitsAndASpace)
{
    EXPECT_EQ(HexText::bytesToSpaced(QByteArray::fromHex("00FE0d")), "00 FE 0D ");
    EXPECT_EQ(HexText::bytesToSpaced({}), "");
}

}  // namespace

// The frequency and mode commands of every family, byte for byte, from the radios' CAT
// references: Kenwood and Elecraft text, Icom CI-V, Yaesu five-byte commands, Ten-Tec's
// front-panel and Orion protocols.
#include "rig/FrequencyHz.h"
#include "rig/RigCommandBuilder.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

RigCommandContext contextFor(const char* rig, const char* frequencyQuery = nullptr, const char* modeQuery = nullptr)
{
    RigCommandContext context;
    context.model = RigModels::find(QString::fromLatin1(rig));
    EXPECT_NE(context.model, nullptr) << rig;
    context.frequencyQuery = QString::fromLatin1(frequencyQuery ? frequencyQuery : context.model->defaults.frequencyQuery);
    context.modeQuery = QString::fromLatin1(modeQuery ? modeQuery : context.model->defaults.modeQuery);
    return context;
}

QByteArray hex(const char* spaced) { return QByteArray::fromHex(QByteArray(spaced).replace(' ', "")); }

struct FrequencyCase {
    const char* name;
    const char* rig;
    const char* query;  // nullptr: the rig's default frequency query
    qint64 hz;
    QByteArray bytes;   // empty together with ok: nothing to send
    bool ok = true;
};

void PrintTo(const FrequencyCase& c, std::ostream* os) { *os << c.name; }

class FrequencyCommands : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(FrequencyCommands, AreWrittenByteForByte)
{
    const FrequencyCase& c = GetParam();
    const RigCommand command = RigCommandBuilder::frequency(contextFor(c.rig, c.query), c.hz);
    EXPECT_EQ(command.ok(), c.ok) << qPrintable(command.error);
    EXPECT_EQ(command.bytes.toHex(' '), c.bytes.toHex(' '));
    EXPECT_TRUE(command.pegasusFile.isEmpty());
    if (!c.ok) {
        EXPECT_TRUE(command.bytes.isEmpty());
    }
}

const qint64 k14025 = *FrequencyHz::fromMHz(14.025f);
const qint64 k28475 = *FrequencyHz::fromMHz(28.475f);

INSTANTIATE_TEST_SUITE_P(
    Families, FrequencyCommands,
    ::testing::Values(
        FrequencyCase{"Kenwood", "Kenwood", nullptr, k14025, "FA00014025000;"},
        FrequencyCase{"KenwoodSinglePrecision", "Kenwood", nullptr, k28475, "FA00028475000;"},
        FrequencyCase{"KenwoodTakesTheQuerysLetters", "Kenwood", "FB;", k14025, "FB00014025000;"},
        FrequencyCase{"KenwoodTakesLongerDigitsAsTheyAre", "Kenwood", nullptr, 123'456'789'012,
                      "FA123456789012;"},
        FrequencyCase{"KenwoodWithoutLettersInItsQuery", "Kenwood", "", k14025, {}, false},
        FrequencyCase{"KenwoodQueryNotLetters", "Kenwood", "1;", k14025, {}, false},
        FrequencyCase{"ElecraftAlwaysVfoA", "Elecraft", "XY;", k14025, "FA00014025000;"},
        FrequencyCase{"Icom", "Icom", nullptr, k14025, hex("FE FE 64 E0 05 00 50 02 14 00 FD")},
        FrequencyCase{"IcomAddress5E", "Icom", "FE FE 5E E0 03 FD", k14025, hex("FE FE 5E E0 05 00 50 02 14 00 FD")},
        FrequencyCase{"IcomLowerCaseAddress", "Icom", "FE FE 5e E0 03 FD", k14025,
                      hex("FE FE 5E E0 05 00 50 02 14 00 FD")},
        FrequencyCase{"IcomAtItsLimit", "Icom", nullptr, 9'999'999'999, hex("FE FE 64 E0 05 99 99 99 99 99 FD")},
        FrequencyCase{"IcomOnePast", "Icom", nullptr, 10'000'000'000, {}, false},
        FrequencyCase{"IcomAddressNotHex", "Icom", "FE FE G4 E0 03 FD", k14025, {}, false},
        FrequencyCase{"IcomAddressMissing", "Icom", "FE FE 6", k14025, {}, false},
        FrequencyCase{"OmniVi", "Ten Tec Omni VI", nullptr, k14025, hex("FE FE 04 E0 05 00 50 02 14 00 FD")},
        // The IC-735 reads and sets four bytes: eight digits.
        FrequencyCase{"Icom735", "Icom 735", nullptr, k14025, hex("FE FE 64 E0 05 00 50 02 14 FD")},
        FrequencyCase{"Icom735AtItsLimit", "Icom 735", nullptr, 99'999'999, hex("FE FE 64 E0 05 99 99 99 99 FD")},
        FrequencyCase{"Icom735OnePast", "Icom 735", nullptr, 100'000'000, {}, false},
        FrequencyCase{"Yaesu", "Yaesu", nullptr, k14025, hex("01 40 25 00 01")},
        FrequencyCase{"YaesuRoundsToTenHertz", "Yaesu", nullptr, 14'025'006, hex("01 40 25 01 01")},
        FrequencyCase{"YaesuAtItsLimit", "Yaesu", nullptr, 999'999'990, hex("99 99 99 99 01")},
        FrequencyCase{"YaesuOnePast", "Yaesu", nullptr, 1'000'000'000, {}, false},
        FrequencyCase{"Yaesu23cmButton", "Yaesu", nullptr, 1'270'000'000, {}, false},
        FrequencyCase{"Yaesu890", "Yaesu 890", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu920", "Yaesu 920", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu990", "Yaesu 990", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu1000D", "Yaesu 1000 D", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu1000", "Yaesu 1000", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu757", "Yaesu 757 GX II", nullptr, k14025, hex("00 25 40 01 0A")},
        FrequencyCase{"Yaesu890AtItsLimit", "Yaesu 890", nullptr, 999'999'990, hex("99 99 99 99 0A")},
        FrequencyCase{"Yaesu890OnePast", "Yaesu 890", nullptr, 1'000'000'000, {}, false},
        FrequencyCase{"FTdx9000", "Yaesu FTdx9000", nullptr, k14025, "FA14025000;"},
        FrequencyCase{"FTdx9000LongerDigits", "Yaesu FTdx9000", nullptr, 1'270'000'000, "FA1270000000;"},
        FrequencyCase{"FrontPanel", "Ten Tec Fnt Pnl", nullptr, k14025, hex("2A 41 00 D6 01 28 0D")},
        FrequencyCase{"FrontPanelAtItsLimit", "Ten Tec Fnt Pnl", nullptr, 4'294'967'295, hex("2A 41 FF FF FF FF 0D")},
        FrequencyCase{"FrontPanelOnePast", "Ten Tec Fnt Pnl", nullptr, 4'294'967'296, {}, false},
        FrequencyCase{"OrionInHertz", "Ten Tec Orion", nullptr, k14025, "*AF14025000\r"},
        FrequencyCase{"Other", "Other", nullptr, k14025, {}},
        FrequencyCase{"None", "None", nullptr, k14025, {}},
        FrequencyCase{"KenwoodZero", "Kenwood", nullptr, 0, {}, false},
        FrequencyCase{"YaesuBelowZero", "Yaesu", nullptr, -500'000, {}, false},
        FrequencyCase{"OrionBelowZero", "Ten Tec Orion", nullptr, -1, {}, false}),
    [](const ::testing::TestParamInfo<FrequencyCase>& info) { return std::string(info.param.name); });

TEST(FrequencyCommands, CiVRadiosSetAsManyDigitsAsTheyReport)
{
    for (const RigModel& model : RigModels::all()) {
        if (model.frequencyCommand == FrequencyCommand::CiV) {
            EXPECT_EQ(model.frequencyDigits, 2 * model.civFrequencyBytes) << model.name;
        }
    }
}

TEST(FrequencyCommands, KenwoodTwoSetsVfoBWhenTheRadioReportsIt)
{
    RigCommandContext context = contextFor("Kenwood 2");
    for (const auto& [digit, expected] : std::vector<std::pair<int, QByteArray>>{
             {10, "FA00014025000;"}, {0, "FA00014025000;"}, {1, "FB00014025000;"}, {2, "FA00014025000;"}}) {
        context.kenwoodVfoDigit = digit;
        EXPECT_EQ(RigCommandBuilder::frequency(context, k14025).bytes, expected) << digit;
    }
}

TEST(FrequencyCommands, PegasusGetsTheExchangeFileInsteadOfBytes)
{
    RigCommandContext context = contextFor("Ten Tec Pegasus");
    context.rigMode = QStringLiteral(" CW ");
    const RigCommand command = RigCommandBuilder::frequency(context, k14025);
    EXPECT_TRUE(command.ok());
    EXPECT_TRUE(command.bytes.isEmpty());
    EXPECT_EQ(command.pegasusFile, "14.025\r\nCW\r\n");
    EXPECT_FALSE(RigCommandBuilder::frequency(context, 0).ok());
}

TEST(FrequencyCommands, ExplainWhyNothingIsSent)
{
    EXPECT_EQ(RigCommandBuilder::frequency(contextFor("Yaesu"), 1'270'000'000).error,
              "1270 MHz does not fit the radio's 8-digit frequency field.");
    EXPECT_EQ(RigCommandBuilder::frequency(contextFor("Kenwood"), -500'000).error,
              "The frequency -0.5 MHz is not above 0.");
    EXPECT_TRUE(RigCommandBuilder::frequency(contextFor("Icom", "FE FE"), k14025).error.contains("characters 7 and 8"));
}

struct ModeCase {
    const char* rig;
    const char* mode;
    QByteArray bytes;
    const char* modeQuery = nullptr;
    const char* frequencyQuery = nullptr;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.rig << " " << c.mode; }

class ModeCommands : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeCommands, AreWrittenByteForByte)
{
    const ModeCase& c = GetParam();
    const RigCommand command =
        RigCommandBuilder::mode(contextFor(c.rig, c.frequencyQuery, c.modeQuery), QString::fromLatin1(c.mode));
    EXPECT_TRUE(command.ok()) << qPrintable(command.error);
    EXPECT_EQ(command.bytes.toHex(' '), c.bytes.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Kenwood, ModeCommands,
    ::testing::Values(ModeCase{"Kenwood", "CW", "MD3;"}, ModeCase{"Kenwood", "LSB", "MD1;"},
                      ModeCase{"Kenwood", "USB", "MD2;"}, ModeCase{"Kenwood", "AM", "MD5;"},
                      ModeCase{"Kenwood", "FM", "MD4;"}, ModeCase{"Kenwood", "RTTY", "MD6;"},
                      ModeCase{"Kenwood", "FSK", "MD6;"}, ModeCase{"Kenwood", "CW-R", ""},
                      ModeCase{"Kenwood", "cw", ""}, ModeCase{"Kenwood 2", "USB", "MD2;"},
                      ModeCase{"Elecraft", "CW", "MD3;"}));
INSTANTIATE_TEST_SUITE_P(
    YaesuText, ModeCommands,
    ::testing::Values(ModeCase{"Yaesu FTdx9000", "LSB", "MD01;"}, ModeCase{"Yaesu FTdx9000", "USB", "MD02;"},
                      ModeCase{"Yaesu FTdx9000", "CW", "MD03;"}, ModeCase{"Yaesu FTdx9000", "FM", "MD04;"},
                      ModeCase{"Yaesu FTdx9000", "AM", "MD05;"}, ModeCase{"Yaesu FTdx9000", "RTTY", "MD06;"},
                      ModeCase{"Yaesu FTdx9000", "CW-R", "MD07;"}, ModeCase{"Yaesu FTdx9000", "USB", "MD12;", "MD1;"},
                      ModeCase{"Yaesu FTdx9000", "PKT", ""}));
INSTANTIATE_TEST_SUITE_P(
    YaesuFiveByte, ModeCommands,
    ::testing::Values(ModeCase{"Yaesu", "LSB", hex("00 00 00 00 07")}, ModeCase{"Yaesu", "USB", hex("01 00 00 00 07")},
                      ModeCase{"Yaesu", "CW", hex("02 00 00 00 07")}, ModeCase{"Yaesu", "AM", hex("04 00 00 00 07")},
                      ModeCase{"Yaesu", "FM", hex("08 00 00 00 07")}, ModeCase{"Yaesu", "DIG", hex("0A 00 00 00 07")},
                      ModeCase{"Yaesu", "RTTY", hex("0A 00 00 00 07")}, ModeCase{"Yaesu", "PKT", hex("0C 00 00 00 07")},
                      ModeCase{"Yaesu", "CW-R", ""}));
INSTANTIATE_TEST_SUITE_P(
    YaesuStatus, ModeCommands,
    ::testing::Values(ModeCase{"Yaesu 890", "LSB", hex("00 00 00 00 0C")},
                      ModeCase{"Yaesu 920", "USB", hex("00 00 00 01 0C")},
                      ModeCase{"Yaesu 990", "CW", hex("00 00 00 02 0C")},
                      ModeCase{"Yaesu 1000", "CW-R", hex("00 00 00 03 0C")},
                      ModeCase{"Yaesu 1000 D", "AM", hex("00 00 00 04 0C")},
                      ModeCase{"Yaesu 757 GX II", "FM", hex("00 00 00 06 0C")},
                      ModeCase{"Yaesu 890", "RTTY", hex("00 00 00 08 0C")},
                      ModeCase{"Yaesu 890", "PKT", hex("00 00 00 0A 0C")}, ModeCase{"Yaesu 890", "DIG", ""}));
INSTANTIATE_TEST_SUITE_P(
    CiV, ModeCommands,
    ::testing::Values(ModeCase{"Icom", "LSB", hex("FE FE 64 E0 06 00 FD")}, ModeCase{"Icom", "USB", hex("FE FE 64 E0 06 01 FD")},
                      ModeCase{"Icom", "AM", hex("FE FE 64 E0 06 02 FD")}, ModeCase{"Icom", "CW", hex("FE FE 64 E0 06 03 FD")},
                      ModeCase{"Icom", "RTTY", hex("FE FE 64 E0 06 04 FD")}, ModeCase{"Icom", "FM", hex("FE FE 64 E0 06 05 FD")},
                      ModeCase{"Icom", "CW-R", hex("FE FE 64 E0 06 07 FD")},
                      ModeCase{"Icom", "RTTY-R", hex("FE FE 64 E0 06 08 FD")},
                      ModeCase{"Icom", "CW", hex("FE FE 5E E0 06 03 FD"), nullptr, "FE FE 5E E0 03 FD"},
                      ModeCase{"Ten Tec Omni VI", "USB", hex("FE FE 04 E0 06 01 FD")},
                      ModeCase{"Icom", "PKT", ""}));
INSTANTIATE_TEST_SUITE_P(
    WithoutModeCommands, ModeCommands,
    ::testing::Values(ModeCase{"Icom 735", "CW", ""}, ModeCase{"Ten Tec Orion", "CW", ""},
                      ModeCase{"Ten Tec Fnt Pnl", "USB", ""}, ModeCase{"Ten Tec Pegasus", "USB", ""},
                      ModeCase{"Other", "CW", ""}, ModeCase{"None", "CW", ""}));

TEST(ModeCommands, RefuseAnAddressOrQueryTheyCannotUse)
{
    EXPECT_FALSE(RigCommandBuilder::mode(contextFor("Icom", "FE FE 6"), u"CW").ok());
    EXPECT_FALSE(RigCommandBuilder::mode(contextFor("Yaesu FTdx9000", nullptr, "MD"), u"CW").ok());
    EXPECT_FALSE(RigCommandBuilder::mode(contextFor("Yaesu FTdx9000", nullptr, "M;0;"), u"CW").ok());
    // A mode the table lacks needs no address at all.
    EXPECT_TRUE(RigCommandBuilder::mode(contextFor("Icom", "FE FE 6"), u"PKT").ok());
}

}  // namespace

// Each family's decoder on whole replies: the documented examples, one real reply of each
// format, and malformed replies that must leave the values as they were.
#include "rig/PegasusOutFile.h"
#include "rig/RigModel.h"
#include "rig/RigReplyDecoder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

#include <cstring>

using namespace cubwave;

namespace {

QByteArray hex(const char* spaced) { return QByteArray::fromHex(spaced); }

// The 38-character "IF" status of the Kenwood CAT reference: frequency, step, RIT offset, RIT,
// XIT, memory bank and channel, TX/RX, mode (column 30), VFO (column 31), scan, split, tone,
// tone number, shift, ";".
QByteArray kenwoodIf(const char* hz11, char mode, char vfo)
{
    QByteArray r = QByteArray("IF") + hz11 + "     " + "+0000" + "0" + "0" + "0" + "00" + "0" + mode + vfo + "0"
                   + "0" + "0" + "00" + "0" + ";";
    return r;
}

// A status record of the given length with bytes placed at 1-based positions.
QByteArray record(int length, std::initializer_list<std::pair<int, const char*>> placed)
{
    QByteArray r(length, '\0');
    for (const auto& [position, spaced] : placed) {
        const QByteArray b = hex(spaced);
        r.replace(position - 1, b.size(), b);
    }
    return r;
}

struct Case {
    const char* name;
    const char* model;
    QByteArray reply;
    bool frequencyQueryLast;
    float frequencyMHz;  // 0: no frequency expected
    const char* mode;    // nullptr: no mode expected
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

RigReading decodeWithDefaults(const Case& c)
{
    const RigModel* model = RigModels::find(QString::fromLatin1(c.model));
    EXPECT_NE(model, nullptr) << c.model;
    const QString frequencyQuery = QString::fromLatin1(model->defaults.frequencyQuery);
    const QString modeQuery = QString::fromLatin1(model->defaults.modeQuery);
    return RigReplyDecoder::decode(*model, c.reply, {frequencyQuery, modeQuery, c.frequencyQueryLast});
}

class WholeReplies : public ::testing::TestWithParam<Case> {};

TEST_P(WholeReplies, GiveTheirFrequencyAndMode)
{
    const Case& c = GetParam();
    const RigReading reading = decodeWithDefaults(c);
    if (c.frequencyMHz > 0) {
        ASSERT_TRUE(reading.frequencyMHz.has_value());
        EXPECT_FLOAT_EQ(*reading.frequencyMHz, c.frequencyMHz);
    } else {
        EXPECT_FALSE(reading.frequencyMHz.has_value()) << *reading.frequencyMHz;
    }
    if (c.mode) {
        ASSERT_NE(reading.mode, nullptr);
        EXPECT_STREQ(reading.mode, c.mode);
    } else {
        EXPECT_EQ(reading.mode, nullptr) << reading.mode;
    }
}

// 14.025 MHz in each family's coding.
const QByteArray kYaesu890 = record(19, {{3, "15 66 84"}, {8, "02"}});       // 10 Hz steps, binary
const QByteArray kYaesu1000 = record(16, {{2, "01 56 68 40"}, {8, "02"}});   // 0.625 Hz steps
const QByteArray kYaesu990 = record(32, {{2, "15 66 84"}, {8, "02"}});
const QByteArray kYaesu1000D = record(16, {{2, "15 66 84"}, {8, "01"}});
const QByteArray kYaesu920 = record(28, {{2, "00 D6 01 28"}, {8, "41"}});    // hertz; CW on USB
const QByteArray kYaesu757 = record(75, {{6, "00 25 40 01"}, {10, "02"}});   // BCD, low byte first

INSTANTIATE_TEST_SUITE_P(
    RealReplies, WholeReplies,
    ::testing::Values(
        // The documented Kenwood example, and each reply alone as the assembler hands it over.
        Case{"KenwoodBoth", "Kenwood", "FA00014025000;MD3;", true, 14.025f, "CW"},
        Case{"KenwoodMd7IsCw", "Kenwood", "FA00014025000;MD7;", true, 14.025f, "CW"},
        Case{"KenwoodMd2IsPhone", "Kenwood", "FA00014025000;MD2;", true, 14.025f, "PH"},
        Case{"KenwoodFa", "Kenwood", "FA00014025000;", true, 14.025f, nullptr},
        Case{"KenwoodMd", "Kenwood", "MD1;", true, 0, "PH"},
        Case{"ElecraftFa", "Elecraft", "FA00007025500;", true, 7.0255f, nullptr},
        Case{"KenwoodRoundsToFiveDecimals", "Kenwood", "FA00014025005;", true, 14.025f, nullptr},
        Case{"KenwoodIf", "Kenwood 2", kenwoodIf("00014025000", '3', '0'), true, 14.025f, "CW"},
        Case{"KenwoodIfUsb", "Kenwood 2", kenwoodIf("00021200000", '2', '1'), true, 21.2f, "PH"},
        // CW reverse is CW on every path.
        Case{"KenwoodIfCwReverse", "Kenwood 2", kenwoodIf("00007010000", '7', '0'), true, 7.01f, "CW"},
        // The documented Icom example: the echo of the query, then the reply.
        Case{"IcomEchoThenReply", "Icom", hex("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 02 14 00 FD"), true, 14.025f,
             nullptr},
        Case{"IcomSixMetres", "Icom", hex("FE FE E0 64 03 00 00 10 50 00 FD"), true, 50.1f, nullptr},
        Case{"IcomOneEightHundred", "Icom", hex("FE FE E0 64 03 00 00 80 01 00 FD"), true, 1.8f, nullptr},
        Case{"IcomTwoMetres", "Icom", hex("FE FE E0 64 03 00 00 20 44 01 FD"), true, 144.2f, nullptr},
        Case{"Icom735FourBytes", "Icom 735", hex("FE FE E0 04 03 00 50 02 14 FD"), true, 14.025f, nullptr},
        Case{"Icom735SevenMegahertz", "Icom 735", hex("FE FE E0 04 03 00 50 02 07 FD"), true, 7.025f, nullptr},
        Case{"OmniViFrequency", "Ten Tec Omni VI", hex("FE FE E0 04 03 00 50 02 14 00 FD"), true, 14.025f, nullptr},
        Case{"IcomModeCw", "Icom", hex("FE FE E0 64 04 03 01 FD"), false, 0, "CW"},
        Case{"IcomModeCwReverse", "Icom", hex("FE FE E0 64 04 07 01 FD"), false, 0, "CW"},
        Case{"IcomModeUsb", "Icom", hex("FE FE E0 64 04 01 01 FD"), false, 0, "PH"},
        // The documented five-byte example, and each mode byte.
        Case{"YaesuFiveByteCw", "Yaesu", hex("01 40 25 00 02"), true, 14.025f, "CW"},
        Case{"YaesuFiveByteLsb", "Yaesu", hex("00 70 25 00 00"), true, 7.025f, "PH"},
        Case{"YaesuFiveByteUsb", "Yaesu", hex("01 40 25 00 01"), true, 14.025f, "PH"},
        Case{"YaesuFiveByteCwReverse", "Yaesu", hex("01 40 25 00 03"), true, 14.025f, "CW"},
        Case{"YaesuFiveByteAm", "Yaesu", hex("01 40 25 00 04"), true, 14.025f, "PH"},
        Case{"YaesuFiveByteFm", "Yaesu", hex("01 40 25 00 08"), true, 14.025f, "PH"},
        Case{"YaesuFiveByteCwNarrow", "Yaesu", hex("01 40 25 00 82"), true, 14.025f, "CW"},
        Case{"YaesuFiveByteCwReverseNarrow", "Yaesu", hex("01 40 25 00 83"), true, 14.025f, "CW"},
        Case{"YaesuFiveByteAmNarrow", "Yaesu", hex("01 40 25 00 84"), true, 14.025f, "PH"},
        Case{"YaesuFiveByteFmNarrow", "Yaesu", hex("01 40 25 00 88"), true, 14.025f, "PH"},
        Case{"YaesuFiveByteUnknownModeKeepsMode", "Yaesu", hex("01 40 25 00 06"), true, 14.025f, nullptr},
        Case{"Yaesu890", "Yaesu 890", kYaesu890, true, 14.025f, "CW"},
        Case{"Yaesu1000", "Yaesu 1000", kYaesu1000, true, 14.025f, "CW"},
        Case{"Yaesu990", "Yaesu 990", kYaesu990, true, 14.025f, "CW"},
        Case{"Yaesu1000D", "Yaesu 1000 D", kYaesu1000D, true, 14.025f, "PH"},
        Case{"Yaesu920", "Yaesu 920", kYaesu920, true, 14.025f, "CW"},
        Case{"Yaesu920ModeDigitA", "Yaesu 920", record(28, {{2, "00 D6 01 28"}, {8, "0A"}}), true, 14.025f, "PH"},
        Case{"Yaesu890ModeDigit8KeepsMode", "Yaesu 890", record(19, {{3, "15 66 84"}, {8, "08"}}), true, 14.025f,
             nullptr},
        Case{"Yaesu757", "Yaesu 757 GX II", kYaesu757, true, 14.025f, "CW"},
        Case{"Yaesu757Am", "Yaesu 757 GX II", record(75, {{6, "00 25 40 01"}, {10, "04"}}), true, 14.025f, "AM"},
        Case{"Yaesu757Fm", "Yaesu 757 GX II", record(75, {{6, "00 25 40 01"}, {10, "05"}}), true, 14.025f, "FM"},
        Case{"Yaesu757Lsb", "Yaesu 757 GX II", record(75, {{6, "00 25 70 00"}, {10, "00"}}), true, 7.025f, "PH"},
        Case{"FTdx9000EightDigits", "Yaesu FTdx9000", "FA14025000;", true, 14.025f, nullptr},
        // Newer Yaesu text radios send nine digits.
        Case{"YaesuTextNineDigits", "Yaesu FTdx9000", "FA014025000;", true, 14.025f, nullptr},
        Case{"YaesuTextFiftyMegahertz", "Yaesu FTdx9000", "FA050125000;", true, 50.125f, nullptr},
        Case{"FTdx9000ModeCw", "Yaesu FTdx9000", "MD03;", false, 0, "CW"},
        Case{"FTdx9000ModeCwReverse", "Yaesu FTdx9000", "MD07;", false, 0, "CW"},
        Case{"FTdx9000ModeUsb", "Yaesu FTdx9000", "MD02;", false, 0, "PH"},
        Case{"FrontPanelFrequency", "Ten Tec Fnt Pnl", QByteArray("A") + hex("00 D6 01 28") + "\r", true, 14.025f,
             nullptr},
        Case{"FrontPanelFrequencyWithCrByte", "Ten Tec Fnt Pnl", QByteArray("A") + hex("00 D6 01 0D") + "\r", true,
             14.02497f, nullptr},
        Case{"FrontPanelModeCw", "Ten Tec Fnt Pnl", "M33\r", false, 0, "CW"},
        Case{"FrontPanelModeUsb", "Ten Tec Fnt Pnl", "M11\r", false, 0, "PH"},
        Case{"FrontPanelModeBinaryLsb", "Ten Tec Fnt Pnl", QByteArray("M") + hex("02 02") + "\r", false, 0, "PH"},
        Case{"OrionFrequency", "Ten Tec Orion", "@AF14025000\r", true, 14.025f, nullptr},
        Case{"OrionAfterOtherText", "Ten Tec Orion", "Version 1.372\r@AF14025000\r", true, 14.025f, nullptr},
        Case{"OrionUpperCw", "Ten Tec Orion", "@RMM2\r", true, 0, "CW"},
        Case{"OrionLowerCw", "Ten Tec Orion", "@RMM3\r", true, 0, "CW"},
        Case{"OrionUsb", "Ten Tec Orion", "@RMM0\r", true, 0, "PH"},
        // A reply begins a piece: after the reply before it, or after an error answer.
        Case{"KenwoodAfterAnError", "Kenwood", "?;FA00014025000;", true, 14.025f, nullptr},
        Case{"KenwoodAfterCarriageReturn", "Kenwood", "\rMD3;", true, 0, "CW"},
        Case{"KenwoodFirstModeThatBeginsAPiece", "Kenwood", "xMD2;MD3;", true, 0, "CW"},
        Case{"KenwoodIfAfterAnError", "Kenwood 2", "?;" + kenwoodIf("00014025000", '3', '0'), true, 14.025f, "CW"},
        Case{"FTdx9000ModeAfterAnError", "Yaesu FTdx9000", "?;MD03;", false, 0, "CW"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Replies that must change nothing at all.
INSTANTIATE_TEST_SUITE_P(
    Malformed, WholeReplies,
    ::testing::Values(
        Case{"KenwoodLetterInDigits", "Kenwood", "FA0001402500X;", true, 0, nullptr},
        Case{"KenwoodShortDigits", "Kenwood", "FA000140;", true, 0, nullptr},
        Case{"KenwoodNoTerminator", "Kenwood", "FA00014025000", true, 0, nullptr},
        Case{"KenwoodModeWithoutDigit", "Kenwood", "MD;", true, 0, nullptr},
        Case{"KenwoodError", "Kenwood", "?;", true, 0, nullptr},
        Case{"KenwoodIfShort", "Kenwood 2", "IF0001402", true, 0, nullptr},
        Case{"KenwoodIfLetters", "Kenwood 2", kenwoodIf("0001402500X", '3', '0'), true, 0, nullptr},
        Case{"IcomNotBcd", "Icom", hex("FE FE E0 64 03 00 5A 02 14 00 FD"), true, 0, nullptr},
        Case{"IcomThreeDataBytes", "Icom", hex("FE FE E0 64 03 50 02 14 FD"), true, 0, nullptr},
        Case{"IcomEchoOnly", "Icom", hex("FE FE 64 E0 03 FD"), true, 0, nullptr},
        Case{"IcomModeWithoutData", "Icom", hex("FE FE E0 64 04 FD"), false, 0, nullptr},
        Case{"IcomFrequencyReplyWhileModeAwaited", "Icom", hex("FE FE E0 64 03 00 50 02 14 00 FD"), false, 0,
             nullptr},
        Case{"IcomNotGood", "Icom", hex("FE FE E0 64 FA FD"), true, 0, nullptr},
        // The documented rejection: a mode byte that is not two decimal digits spoils the reply.
        Case{"YaesuFiveByteModeNotDecimal", "Yaesu", hex("01 40 25 00 0A"), true, 0, nullptr},
        Case{"YaesuFiveByteFrequencyNotDecimal", "Yaesu", hex("01 4A 25 00 02"), true, 0, nullptr},
        Case{"YaesuFiveByteShort", "Yaesu", hex("01 40 25 00"), true, 0, nullptr},
        Case{"Yaesu890FourBytes", "Yaesu 890", hex("00 00 15 66"), true, 0, nullptr},
        Case{"Yaesu757NineBytesGiveNoMode", "Yaesu 757 GX II", record(9, {{6, "00 25 40 01"}}), true, 14.025f, nullptr},
        Case{"Yaesu757EightBytes", "Yaesu 757 GX II", record(8, {}), true, 0, nullptr},
        Case{"Yaesu757NotBcd", "Yaesu 757 GX II", record(75, {{6, "00 2A 40 01"}, {10, "0B"}}), true, 0, nullptr},
        Case{"YaesuTextNoDigits", "Yaesu FTdx9000", "FA;", true, 0, nullptr},
        Case{"YaesuTextNoTerminator", "Yaesu FTdx9000", "FA14025000", true, 0, nullptr},
        Case{"YaesuTextLetter", "Yaesu FTdx9000", "FA1402500X;", true, 0, nullptr},
        Case{"YaesuTextModeMissing", "Yaesu FTdx9000", "MD0;", false, 0, nullptr},
        Case{"FrontPanelFourBytes", "Ten Tec Fnt Pnl", QByteArray("A") + hex("00 D6 01"), true, 0, nullptr},
        Case{"FrontPanelModeTwoBytes", "Ten Tec Fnt Pnl", "M3", false, 0, nullptr},
        Case{"FrontPanelUnknownMode", "Ten Tec Fnt Pnl", QByteArray("M") + hex("09 09") + "\r", false, 0, nullptr},
        Case{"OrionNoCarriageReturn", "Ten Tec Orion", "@AF14025000", true, 0, nullptr},
        Case{"OrionLetterInDigits", "Ten Tec Orion", "@AF1402X000\r", true, 0, nullptr},
        Case{"OrionModeMissing", "Ten Tec Orion", "@RMM", true, 0, nullptr},
        Case{"OtherHasNoDecoder", "Other", "FA00014025000;MD3;", true, 0, nullptr},
        // Markers inside line noise, not at the start of a piece.
        Case{"KenwoodModeInsideNoise", "Kenwood", "\x9a\x13MD3;", true, 0, nullptr},
        Case{"KenwoodFrequencyInsideNoise", "Kenwood", "kFA00014025000;", true, 0, nullptr},
        Case{"KenwoodModeInsideAFrequencyReply", "Kenwood", "FA000MD3;", true, 0, nullptr},
        Case{"KenwoodIfInsideNoise", "Kenwood 2", "Z" + kenwoodIf("00014025000", '3', '0'), true, 0, nullptr},
        Case{"YaesuTextFrequencyInsideNoise", "Yaesu FTdx9000", "\x01" "FA14025000;", true, 0, nullptr},
        Case{"YaesuTextModeInsideNoise", "Yaesu FTdx9000", "xMD03;", false, 0, nullptr},
        Case{"OrionFrequencyInsideNoise", "Ten Tec Orion", "x@AF14025000\r", true, 0, nullptr},
        Case{"OrionModeInsideNoise", "Ten Tec Orion", "x@RMM3\r", true, 0, nullptr}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(KenwoodInfoReply, KeepsTheVfoDigitAndTakesOnlyWhatIsThere)
{
    const RigModel& model = *RigModels::find(u"Kenwood 2");
    const QByteArray full = kenwoodIf("00014025000", '2', '1');
    ASSERT_EQ(full.size(), 38);
    RigReading reading = RigReplyDecoder::decode(model, full, {u"IF;", u"", true});
    ASSERT_TRUE(reading.kenwoodVfoDigit);
    EXPECT_EQ(*reading.kenwoodVfoDigit, 1);

    // Cut before the VFO column: frequency and mode, no VFO digit.
    reading = RigReplyDecoder::decode(model, full.first(30), {u"IF;", u"", true});
    EXPECT_TRUE(reading.frequencyMHz);
    EXPECT_STREQ(reading.mode, "PH");
    EXPECT_FALSE(reading.kenwoodVfoDigit);
    // Cut before the mode column: the frequency alone.
    reading = RigReplyDecoder::decode(model, full.first(29), {u"IF;", u"", true});
    EXPECT_TRUE(reading.frequencyMHz);
    EXPECT_EQ(reading.mode, nullptr);
}

TEST(KenwoodTextReply, SearchesForTheFrequencyQuerysOwnLetters)
{
    const RigModel& model = *RigModels::find(u"Kenwood");
    // A frequency query asking for VFO B finds "FB".
    RigReading reading = RigReplyDecoder::decode(model, "FB00007030000;", {u"FB;", u"MD;", true});
    ASSERT_TRUE(reading.frequencyMHz);
    EXPECT_FLOAT_EQ(*reading.frequencyMHz, 7.03f);
    // A frequency query shorter than three characters reads no frequency.
    reading = RigReplyDecoder::decode(model, "FA00014025000;", {u"FA", u"MD;", true});
    EXPECT_FALSE(reading.frequencyMHz);
}

struct PegasusCase {
    const char* name;
    QByteArray file;
    float frequencyMHz;  // 0: nothing read
    const char* mode;
};

class PegasusFiles : public ::testing::TestWithParam<PegasusCase> {};

TEST_P(PegasusFiles, GiveBothValuesOrNothing)
{
    const PegasusCase& c = GetParam();
    const RigReading reading = PegasusOutFile::parse(c.file);
    if (c.frequencyMHz == 0) {
        EXPECT_TRUE(reading.empty());
        return;
    }
    ASSERT_TRUE(reading.frequencyMHz);
    EXPECT_FLOAT_EQ(*reading.frequencyMHz, c.frequencyMHz);
    if (c.mode)
        EXPECT_STREQ(reading.mode, c.mode);
    else
        EXPECT_EQ(reading.mode, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    OutFile, PegasusFiles,
    ::testing::Values(PegasusCase{"CommaQuoted", "14.025,\"USB\"\r\n", 14.025f, "PH"},
                      PegasusCase{"TwoLines", "14.025\r\nUSB\r\n", 14.025f, "PH"},
                      PegasusCase{"BareLineFeeds", "7.0305\nCW\n", 7.0305f, "CW"},
                      PegasusCase{"CwAnyCase", "7.0305,cw", 7.0305f, "CW"},
                      PegasusCase{"EmptyModeKeepsMode", "7.0305,\"\"", 7.0305f, nullptr},
                      PegasusCase{"NumberOnly", "14.025\r\n", 0, nullptr},
                      PegasusCase{"Empty", "", 0, nullptr},
                      PegasusCase{"NotANumber", "abc,\"USB\"", 0, nullptr},
                      PegasusCase{"NumberWithLetters", "14.02x,\"USB\"", 0, nullptr},
                      PegasusCase{"UnterminatedQuote", "14.025,\"USB", 0, nullptr},
                      PegasusCase{"Negative", "-14.025,USB", 0, nullptr},
                      PegasusCase{"BeyondSinglePrecision", QByteArray(46, '2') + "015\r0\r\n", 0, nullptr}),
    [](const ::testing::TestParamInfo<PegasusCase>& info) { return std::string(info.param.name); });

TEST(PegasusOutFileRead, ReadsTheFileFromItsFolderAndNoMoreThanFourKilobytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(PegasusOutFile::read(dir.path()).empty());  // no file yet

    QFile file(dir.filePath("PEGASUS.OUT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("21.3,\"USB\"\r\n" + QByteArray(64 * 1024, 'x'));
    file.close();
    const RigReading reading = PegasusOutFile::read(dir.path());
    ASSERT_TRUE(reading.frequencyMHz);
    EXPECT_FLOAT_EQ(*reading.frequencyMHz, 21.3f);

    // Values that begin past the first 4 KB are never reached.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(5000, ' ') + "21.3,\"USB\"\r\n");
    file.close();
    EXPECT_TRUE(PegasusOutFile::read(dir.path()).empty());
}

}  // namespace

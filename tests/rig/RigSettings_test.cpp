// "RigCntrl.txt" byte for byte, its defaults and ranges, the line rate, and the per-rig rows.
#include "rig/ModeFromFrequency.h"
#include "rig/RigModel.h"
#include "rig/RigSettings.h"
#include "rig/RigSettingsFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string_view>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;

namespace {

RigSettings kenwoodOnPort3()
{
    RigSettings s;
    s.selectRig(*RigModels::find(u"Kenwood"));
    s.baudText = "9600 ";
    s.port = 3;
    s.powerLine = u'D';
    s.pollRate = u'F';
    s.useFrequency = true;
    s.modeBy = ModeSource::Frequency;
    return s;
}

TEST(RigSettingsFile, WritesFourteenCrLfLinesByteForByte)
{
    const QByteArray expected = "\"9600 \"\r\n"
                                "\"N\"\r\n"
                                "\"8\"\r\n"
                                "\"2\"\r\n"
                                "\"MD;\"\r\n"
                                "\"FA;\"\r\n"
                                "\"9600,N,8,2\"\r\n"
                                "3\r\n"
                                "\"D\"\r\n"
                                "\"F\"\r\n"
                                "\"Kenwood\"\r\n"
                                "0\r\n"
                                "1\r\n"
                                "2\r\n";
    EXPECT_EQ(RigSettingsFile::serialize(kenwoodOnPort3()), expected);
}

TEST(RigSettingsFile, WritesHexQueriesAndTheFiftySixOptionAsTheyStand)
{
    RigSettings s;
    s.selectRig(*RigModels::find(u"Ten Tec Fnt Pnl"));
    const QList<QByteArray> lines = RigSettingsFile::serialize(s).split('\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], "\"56000\"\r");
    EXPECT_EQ(lines[4], "\"3F 4D 0D\"\r");
    EXPECT_EQ(lines[5], "\"3F 41 0D\"\r");
    EXPECT_EQ(lines[6], "\"56000,N,8,1\"\r");
    EXPECT_EQ(lines[11], "1\r");
    // The file keeps "56000"; the line opens at the radio's 57600.
    EXPECT_EQ(s.lineBaudRate(), 57600);
    EXPECT_EQ(RigSettingsFile::parse(RigSettingsFile::serialize(s)).lineBaudRate(), 57600);
}

TEST(RigSettingsFile, RoundTripsEveryRigAndOption)
{
    for (const RigModel& model : RigModels::all()) {
        RigSettings s;
        s.selectRig(model);
        s.port = 10;
        s.powerLine = u'R';
        s.pollRate = u'R';
        s.convertToHex = !s.convertToHex;
        s.useFrequency = false;
        s.modeBy = ModeSource::DontUse;
        s.parity = u'E';
        s.dataBits = u'7';
        EXPECT_EQ(RigSettingsFile::parse(RigSettingsFile::serialize(s)), s) << model.name;
    }
}

TEST(RigSettingsFile, ShortOrMissingFileLeavesTheDefaults)
{
    const QByteArray full = RigSettingsFile::serialize(kenwoodOnPort3());
    const RigSettings defaults;
    EXPECT_EQ(RigSettingsFile::parse(QByteArray()), defaults);

    // Only the first four lines: the line settings are read, the rest stays at the defaults.
    qsizetype cut = 0;
    for (int i = 0; i < 4; ++i)
        cut = full.indexOf("\r\n", cut) + 2;
    const RigSettings four = RigSettingsFile::parse(full.first(cut));
    EXPECT_EQ(four.baudText, "9600 ");
    EXPECT_EQ(four.rigName, defaults.rigName);
    EXPECT_EQ(four.frequencyQuery, defaults.frequencyQuery);
    EXPECT_EQ(four.port, defaults.port);

    QTemporaryDir dir;
    EXPECT_EQ(RigSettingsFile::read(dir.filePath("RigCntrl.txt")), defaults);
}

struct OutOfRange {
    int line;  // 1-based
    const char* value;
};

class RigSettingsOutOfRange : public ::testing::TestWithParam<OutOfRange> {};

TEST_P(RigSettingsOutOfRange, KeepsTheDefaultForThatValueOnly)
{
    QList<QByteArray> lines = RigSettingsFile::serialize(kenwoodOnPort3()).split('\n');
    lines[GetParam().line - 1] = QByteArray(GetParam().value) + "\r";
    const RigSettings read = RigSettingsFile::parse(lines.join('\n'));
    RigSettings expected = kenwoodOnPort3();
    const RigSettings defaults;
    switch (GetParam().line) {
    case 1: expected.baudText = defaults.baudText; break;
    case 2: expected.parity = defaults.parity; break;
    case 3: expected.dataBits = defaults.dataBits; break;
    case 4: expected.stopBits = defaults.stopBits; break;
    case 5: expected.modeQuery = defaults.modeQuery; break;
    case 8: expected.port = defaults.port; break;
    case 9: expected.powerLine = defaults.powerLine; break;
    case 10: expected.pollRate = defaults.pollRate; break;
    case 11: expected.rigName = defaults.rigName; break;
    case 12: expected.convertToHex = defaults.convertToHex; break;
    case 13: expected.useFrequency = defaults.useFrequency; break;
    case 14: expected.modeBy = defaults.modeBy; break;
    default: break;
    }
    EXPECT_EQ(read, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RigSettingsOutOfRange,
    ::testing::Values(OutOfRange{1, "\"56700\""}, OutOfRange{1, "\"\""}, OutOfRange{2, "\"X\""},
                      OutOfRange{2, "\"n\""}, OutOfRange{3, "\"9\""}, OutOfRange{4, "\"3\""}, OutOfRange{8, "0"},
                      OutOfRange{8, "99"}, OutOfRange{8, "three"}, OutOfRange{9, "\"Q\""}, OutOfRange{10, "\"FF\""},
                      OutOfRange{11, "\"kenwood\""}, OutOfRange{11, "\"Kenwood 3\""}, OutOfRange{12, "2"},
                      OutOfRange{13, "-1"}, OutOfRange{14, "0"}, OutOfRange{14, "4"}, OutOfRange{5, "\"open"}));

// A file that is there but cannot be used gives the defaults and says why; a missing one is
// no problem.
TEST(RigSettingsFile, SaysWhyAFileThatIsThereCouldNotBeRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("RigCntrl.txt");
    const QByteArray good = RigSettingsFile::serialize(kenwoodOnPort3());
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* problem;  // nullptr: none
    };
    const auto write = [&](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    for (const Case& c : {
             Case{"missing", [] {}, nullptr},
             Case{"folder", [&] { ASSERT_TRUE(QDir(dir.path()).mkdir("RigCntrl.txt")); }, "it is a folder"},
             Case{"oversized", [&] { write(good + QByteArray(RigSettingsFile::kMaxBytes, ' ')); },
                  "it is larger than 64 KB"},
             Case{"NUL bytes", [&] { write(good.left(20) + '\0' + good.mid(20)); },
                  "it holds NUL bytes, so it is no text file"},
             Case{"dangling link", [&] { ASSERT_TRUE(QFile::link(dir.filePath("gone"), path)); },
                  "No such file or directory"},
             Case{"good", [&] { write(good); }, nullptr},
         }) {
        QFile::remove(path);
        QDir(dir.path()).rmdir("RigCntrl.txt");
        c.make();
        const RigSettingsFile::Loaded loaded = RigSettingsFile::load(path);
        EXPECT_EQ(loaded.problem.value_or(QString()), QString::fromLatin1(c.problem ? c.problem : "")) << c.name;
        EXPECT_EQ(loaded.settings, std::string_view(c.name) == "good" ? kenwoodOnPort3() : RigSettings{}) << c.name;
    }
}

TEST(RigSettingsFile, ReadsAnUnpaddedBaudAndLatinOneText)
{
    QByteArray file = RigSettingsFile::serialize(kenwoodOnPort3());
    file.replace("\"9600 \"", "\"9600\"");
    file.replace("\"MD;\"", "\"MD\xE9;\"");
    const RigSettings read = RigSettingsFile::parse(file);
    EXPECT_EQ(read.baudText, "9600 ");
    EXPECT_EQ(read.modeQuery, QString::fromLatin1("MD\xE9;"));
}

TEST(RigSettingsFile, KeepsAQuoteOutOfTheFile)
{
    RigSettings s = kenwoodOnPort3();
    s.frequencyQuery = "F\"A;";
    EXPECT_EQ(RigSettingsFile::parse(RigSettingsFile::serialize(s)).frequencyQuery, "FA;");
}

TEST(RigSettingsFile, WritesAtomicallyAndReportsAFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("RigCntrl.txt");
    ASSERT_TRUE(RigSettingsFile::write(path, kenwoodOnPort3()).ok);
    EXPECT_EQ(RigSettingsFile::read(path), kenwoodOnPort3());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"RigCntrl.txt"});

    const WriteResult failed = RigSettingsFile::write(dir.filePath("gone/RigCntrl.txt"), kenwoodOnPort3());
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    // The old file is untouched by a failed write elsewhere.
    EXPECT_EQ(RigSettingsFile::read(path), kenwoodOnPort3());
}

// The nineteen of old in their order, then the daemon that reaches every radio Hamlib knows.
TEST(RigModels, ListsTheNineteenRigsInOrderThenRigctldComparedExactly)
{
    const char* const expected[] = {"None", "Elecraft", "Icom", "Icom 735", "Kenwood", "Kenwood 2",
                                    "Ten Tec Omni VI", "Ten Tec Orion", "Ten Tec Fnt Pnl", "Ten Tec Pegasus",
                                    "Yaesu", "Yaesu 757 GX II", "Yaesu 890", "Yaesu 920", "Yaesu 990",
                                    "Yaesu 1000 D", "Yaesu 1000", "Yaesu FTdx9000", "Other", "Hamlib rigctld"};
    ASSERT_EQ(RigModels::all().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_STREQ(RigModels::all()[i].name, expected[i]);
    EXPECT_EQ(RigModels::find(u"kenwood"), nullptr);
    EXPECT_EQ(RigModels::find(u"Kenwood "), nullptr);
    EXPECT_NE(RigModels::find(u"Kenwood"), nullptr);
}

TEST(RigSettingsSelectRig, AppliesTheRowAndLeavesBlankCellsAlone)
{
    RigSettings s;
    s.baudText = "1200 ";
    s.dataBits = u'7';
    s.stopBits = u'1';
    s.parity = u'E';
    s.frequencyQuery = "old";
    s.modeQuery = "old";
    s.convertToHex = true;

    RigSettings ftdx = s;
    ftdx.selectRig(*RigModels::find(u"Yaesu FTdx9000"));
    EXPECT_EQ(ftdx.baudText, "4800 ");
    EXPECT_EQ(ftdx.dataBits, u'7');
    EXPECT_EQ(ftdx.stopBits, u'1');
    EXPECT_EQ(ftdx.parity, u'E');
    EXPECT_EQ(ftdx.frequencyQuery, "FA;");
    EXPECT_EQ(ftdx.modeQuery, "MD0;");
    EXPECT_FALSE(ftdx.convertToHex);

    RigSettings icom = s;
    icom.selectRig(*RigModels::find(u"Icom"));
    EXPECT_EQ(icom.settingsText(), "1200,N,8,1");
    EXPECT_EQ(icom.frequencyQuery, "FE FE 64 E0 03 FD");
    EXPECT_TRUE(icom.convertToHex);

    for (const char16_t* name : {u"None", u"Ten Tec Pegasus", u"Other"}) {
        RigSettings blank = s;
        blank.selectRig(*RigModels::find(name));
        EXPECT_EQ(blank.settingsText(), "1200,E,7,1");
        EXPECT_TRUE(blank.frequencyQuery.isEmpty());
        EXPECT_TRUE(blank.modeQuery.isEmpty());
        EXPECT_FALSE(blank.convertToHex);
    }
    EXPECT_TRUE(RigModels::find(u"Other")->operatorSetsHex);
    EXPECT_TRUE(RigModels::find(u"Icom 735")->showsIcomAddressNote);
    EXPECT_FALSE(RigModels::find(u"Ten Tec Omni VI")->showsIcomAddressNote);
}

TEST(RigSettings, PollIntervalsAreHalfTheCaptionsCycle)
{
    EXPECT_EQ(RigSettings::pollIntervalMs(u'F'), 50);
    EXPECT_EQ(RigSettings::pollIntervalMs(u'M'), 250);
    EXPECT_EQ(RigSettings::pollIntervalMs(u'S'), 1000);
    EXPECT_EQ(RigSettings::pollIntervalMs(u'R'), 5000);
}

struct ModeCase {
    float mhz;
    const char* mode;  // nullptr: unchanged
};

class ModeFromFrequencyTable : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeFromFrequencyTable, UsesStrictSinglePrecisionBounds)
{
    const char* mode = ModeFromFrequency::modeFor(GetParam().mhz);
    if (GetParam().mode)
        EXPECT_STREQ(mode, GetParam().mode) << GetParam().mhz;
    else
        EXPECT_EQ(mode, nullptr) << GetParam().mhz;
}

INSTANTIATE_TEST_SUITE_P(
    Bands, ModeFromFrequencyTable,
    ::testing::Values(ModeCase{1.83f, nullptr}, ModeCase{3.5f, nullptr}, ModeCase{3.525f, "CW"},
                      ModeCase{3.6f, nullptr}, ModeCase{3.75f, "PH"}, ModeCase{4.0f, nullptr},
                      ModeCase{7.03f, "CW"}, ModeCase{7.125f, nullptr}, ModeCase{7.2f, "PH"},
                      ModeCase{10.12f, "CW"}, ModeCase{10.16f, nullptr}, ModeCase{14.025f, "CW"},
                      ModeCase{14.15f, nullptr}, ModeCase{14.2f, "PH"}, ModeCase{18.08f, "CW"},
                      ModeCase{18.13f, "PH"}, ModeCase{21.025f, "CW"}, ModeCase{21.3f, "PH"},
                      ModeCase{24.9f, "CW"}, ModeCase{24.95f, "PH"}, ModeCase{28.05f, "CW"},
                      ModeCase{28.4f, "PH"}, ModeCase{29.7f, nullptr}, ModeCase{50.09f, "CW"},
                      ModeCase{50.125f, "PH"}, ModeCase{144.05f, "CW"}, ModeCase{146.52f, "PH"},
                      ModeCase{148.0f, nullptr}, ModeCase{0.0f, nullptr}));

}  // namespace

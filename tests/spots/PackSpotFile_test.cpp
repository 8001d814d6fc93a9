#include "spots/PackSpotFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

PackSpotSettings telnetSettings()
{
    PackSpotSettings s;
    s.baudText = QStringLiteral("19200");
    s.parity = u'E';
    s.dataBits = u'7';
    s.stopBits = u'2';
    s.port = 10;
    s.powerLine = u'D';
    s.connectionType = QStringLiteral("Telnet");
    s.convertToHex = true;
    s.handshaking = 4;
    s.listDxOnly = true;
    s.listDisplay = true;
    s.commandHex = QStringLiteral("1B");
    s.telnetPort = QStringLiteral("7300");
    s.telnetHost = QStringLiteral("dxc.example.org");
    return s;
}

const QByteArray kTelnetFile = "\"19200\"\r\n\"E\"\r\n\"7\"\r\n\"2\"\r\n10\r\n\"D\"\r\n\"Telnet\"\r\n1\r\n4\r\n1\r\n#TRUE#\r\n"
                               "\"1B\"\r\n\"7300\"\r\n\"dxc.example.org\"\r\n";

TEST(PackSpotFile, WritesFourteenLinesTextsQuotedNumbersBareBooleansMarked)
{
    EXPECT_EQ(PackSpotFile::serialize(telnetSettings()), kTelnetFile);
    const PackSpotSettings defaults;
    EXPECT_EQ(PackSpotFile::serialize(defaults),
              QByteArray("\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"None\"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n"
                         "\"03\"\r\n\"\"\r\n\"\"\r\n"));
}

TEST(PackSpotFile, ReadsBackWhatItWrote)
{
    const auto parsed = PackSpotFile::parse(kTelnetFile);
    EXPECT_FALSE(parsed.problem);
    EXPECT_EQ(parsed.settings, telnetSettings());

    PackSpotSettings agw;
    agw.connectionType = QStringLiteral("AGW Packet Engine");
    agw.telnetHost = QStringLiteral("a host, with a comma");  // a quoted value keeps its commas
    EXPECT_EQ(PackSpotFile::parse(PackSpotFile::serialize(agw)).settings, agw);
}

TEST(PackSpotFile, AcceptsBareValuesAndAnyCaseAndATrailingSpaceInTheBaud)
{
    const QByteArray bare = "9600 \n n\n8\n1\n3\nr\nagw packet engine\n0\n2\n0\n#false#\n03\n7300\ncluster.example.net";
    const auto parsed = PackSpotFile::parse(bare);
    ASSERT_FALSE(parsed.problem) << parsed.problem->toStdString();
    EXPECT_EQ(parsed.settings.baudText, QStringLiteral("9600"));
    EXPECT_EQ(parsed.settings.parity, u'N');
    EXPECT_EQ(parsed.settings.port, 3);
    EXPECT_EQ(parsed.settings.powerLine, u'R');
    EXPECT_EQ(parsed.settings.connectionType, QStringLiteral("AGW Packet Engine"));
    EXPECT_EQ(parsed.settings.handshaking, 2);
    EXPECT_FALSE(parsed.settings.listDisplay);
    EXPECT_EQ(parsed.settings.telnetPort, QStringLiteral("7300"));
    EXPECT_EQ(parsed.settings.telnetHost, QStringLiteral("cluster.example.net"));
}

TEST(PackSpotFile, AMalformedFileGivesTheDefaultsWithTheTypeNoneAndSaysWhichLine)
{
    const auto withLine = [](int lineNumber, const QByteArray& value) {
        QList<QByteArray> lines = kTelnetFile.split('\n');
        lines[lineNumber - 1] = value + '\r';
        return lines.join('\n');
    };
    struct Case {
        QByteArray bytes;
        const char* problem;
    };
    const Case cases[] = {
        {QByteArray(), "it has 0 of its 14 lines"},
        {kTelnetFile.left(kTelnetFile.lastIndexOf("\"7300\"")), "it has 12 of its 14 lines"},
        {withLine(1, "\"9601\""), "line 1 (baud rate)"},
        {withLine(2, "\"X\""), "line 2 (parity)"},
        {withLine(5, "0"), "line 5 (port) is not a number from 1 to 10"},
        {withLine(5, "11"), "line 5 (port)"},
        {withLine(5, "three"), "line 5 (port)"},
        {withLine(7, "\"Packet radio\""), "line 7 (connection type)"},
        {withLine(9, "5"), "line 9 (handshaking)"},
        {withLine(10, "2"), "line 10 (List DX Only)"},
        {withLine(11, "#MAYBE#"), "line 11 (List)"},
        {withLine(14, "\"dxc\"example\""), "line 14 (Telnet host) is not one value"},
        {withLine(13, "73,00"), "line 13 (Telnet port) is not one value"},
    };
    for (const Case& c : cases) {
        const auto parsed = PackSpotFile::parse(c.bytes);
        ASSERT_TRUE(parsed.problem) << c.problem;
        EXPECT_TRUE(parsed.problem->startsWith(QLatin1StringView(c.problem))) << parsed.problem->toStdString();
        EXPECT_EQ(parsed.settings, PackSpotSettings{}) << c.problem;
        EXPECT_EQ(parsed.settings.connectionType, QStringLiteral("None"));
    }
}

TEST(PackSpotFile, LoadNamesTheFileWhenItCannotBeUsedAndIsQuietWhenItIsMissing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1StringView(PackSpotFile::kFileName));
    const auto missing = PackSpotFile::load(path);
    EXPECT_FALSE(missing.problem);
    EXPECT_EQ(missing.settings.connectionType, QStringLiteral("None"));

    test::writeFile(path, kTelnetFile);
    const auto good = PackSpotFile::load(path);
    EXPECT_FALSE(good.problem);
    EXPECT_EQ(good.settings, telnetSettings());

    const QByteArray bad[] = {QByteArray("\"9600\"\r\n"), kTelnetFile + QByteArray(1, '\0'),
                              QByteArray(PackSpotFile::kMaxBytes + 1, ' ')};
    for (const QByteArray& bytes : bad) {
        test::writeFile(path, bytes);
        const auto loaded = PackSpotFile::load(path);
        ASSERT_TRUE(loaded.problem);
        EXPECT_TRUE(loaded.problem->contains(path)) << loaded.problem->toStdString();
        EXPECT_TRUE(loaded.problem->contains(QStringLiteral("\"None\""))) << loaded.problem->toStdString();
        EXPECT_EQ(loaded.settings, PackSpotSettings{});
    }

    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_TRUE(PackSpotFile::load(folder).problem);
}

TEST(PackSpotFile, AFailedWriteLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1StringView(PackSpotFile::kFileName));
    ASSERT_TRUE(PackSpotFile::write(path, PackSpotSettings{}).ok);
    const QByteArray before = test::readAll(path);
    {
        const test::FileSizeLimit full(20);
        const WriteResult result = PackSpotFile::write(path, telnetSettings());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(test::readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QLatin1StringView(PackSpotFile::kFileName)});
    ASSERT_TRUE(PackSpotFile::write(path, telnetSettings()).ok);
    EXPECT_EQ(test::readAll(path), kTelnetFile);
}

TEST(PackSpotSettings, CommandCharacterAndSettingsText)
{
    EXPECT_EQ(PackSpotSettings::commandCharacter(u"03"), 3);
    EXPECT_EQ(PackSpotSettings::commandCharacter(u" 1b "), 0x1B);
    EXPECT_EQ(PackSpotSettings::commandCharacter(u"FF"), 0xFF);
    EXPECT_EQ(PackSpotSettings::commandCharacter(u"0"), 0);
    for (const char16_t* bad : {u"", u"100", u"G1", u"-1", u"0x3", u"123456789"})
        EXPECT_FALSE(PackSpotSettings::commandCharacter(bad)) << QString::fromUtf16(bad).toStdString();

    EXPECT_EQ(telnetSettings().settingsText(), QStringLiteral("19200,E,7,2"));
    EXPECT_EQ(PackSpotSettings::connectionTypeNamed(u"tnc"), QStringLiteral("TNC"));
    EXPECT_FALSE(PackSpotSettings::connectionTypeNamed(u"AGW"));
}

}  // namespace

#include "core/LogStore.h"
#include "core/Preferences.h"
#include "core/SharedPrefsDocument.h"
#include "export/ProductCaption.h"
#include "ui/export/ExportCommands.h"
#include "ui/export/ExportMessages.h"
#include "ui/export/RateGraphWindow.h"
#include "ui/export/SummaryDialog.h"
#include "ExportFixtures.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace cubwave::test {
namespace {

const QString kOwnCall = QStringLiteral("n0cub");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class ExportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        QDir base(root.path());
        for (const char* d : {"work", "data", "shared"})
            ASSERT_TRUE(base.mkdir(QString::fromLatin1(d)));
        workDir = base.filePath(QStringLiteral("work"));
        dataFolder = base.filePath(QStringLiteral("data"));
        sharedFolder = base.filePath(QStringLiteral("shared"));
        writeFile(workDir + QStringLiteral("/ADIFCnt.txt"), "\"USA\",291\r\n\"Canada\",1\r\n\"Japan\",339\r\n");
        shared.load(sharedFolder + QStringLiteral("/SharedUserPreferences.xml"));
        std::vector<QsoRecord> log;
        Contact a;
        a.call = QStringLiteral("W1AW");
        log.push_back(a.record());
        Contact b;
        b.call = QStringLiteral("JA1XYZ");
        b.spc = QStringLiteral("Japan");
        b.name = QStringLiteral("Hiro");
        b.mode = QStringLiteral("PH");
        b.time = QStringLiteral("18:40:00");
        log.push_back(b.record());
        ASSERT_TRUE(store.load(log));
    }

    ExportCommands commands(std::function<int(QDialog&)> runModal = {})
    {
        return ExportCommands(
            {dialogs, beeper, settings, clock, shared, workDir, dataFolder, sharedFolder, std::move(runModal)});
    }
    QString target(const char* name) const { return dataFolder + QLatin1Char('/') + QString::fromLatin1(name); }

    QTemporaryDir root;
    QString workDir;
    QString dataFolder;
    QString sharedFolder;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    FakeClock clock;
    SharedPrefsDocument shared;
    LogStore store;
};

TEST_F(ExportCommandsTest, AdifAsksForPowerAndFileThenWritesAndReports)
{
    const QString startFolder = QDir::currentPath();
    clock.setUtcShiftSecs(2 * 3600);  // local 14:05:33, UTC two hours on
    dialogs.inputAnswers.push_back(QStringLiteral("100 "));
    dialogs.fileAnswers.push_back(target("Cubwave.adi"));
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);

    ASSERT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(dialogs.inputs[0].title, QStringLiteral("Please enter your transmitter output power."));
    EXPECT_EQ(dialogs.inputs[0].prompt, ExportCommands::kPowerPrompt);
    EXPECT_EQ(dialogs.inputs[0].defaultText, QStringLiteral("100"));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].folder, dataFolder);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Cubwave.adi"));
    EXPECT_EQ(dialogs.fileRequests[0].filter, QStringLiteral("ADIF Files (*.adi) | *.adi"));

    const QByteArray text = readAll(target("Cubwave.adi"));
    EXPECT_TRUE(text.startsWith("ADIF Export from Brantel's Cubwave Log 1.8\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nLog exported on: ")) << text.toStdString();
    const AdiRead read = readAdi(text);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.records.size(), 2);
    EXPECT_EQ(field(read.records[0], "tx_pwr"), "100");
    EXPECT_EQ(field(read.records[0], "dxcc"), "291");
    EXPECT_EQ(field(read.records[1], "dxcc"), "339");
    EXPECT_EQ(field(read.records[1], "mode"), "SSB");
    for (const auto& rec : read.records) {
        EXPECT_EQ(field(rec, "station_callsign"), "N0CUB");
        EXPECT_EQ(field(rec, "operator"), "N0CUB");
    }
    // The header says which ADIF and program wrote it, and when in UTC.
    EXPECT_EQ(read.headerFields,
              (QList<std::pair<QByteArray, QByteArray>>{{"adif_ver", "3.1.4"},
                                                        {"programid", "Cubwave Log"},
                                                        {"programversion", "1.8"},
                                                        {"created_timestamp", "20260613 160533"}}));

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("The file was successfully written to the directory:\r\n\r\n")
                                            + target("Cubwave.adi") + QStringLiteral("."));
    EXPECT_EQ(beeper.beeps, 0);
    // Every path is built from the folders it was given: the process's folder stays as it was.
    EXPECT_EQ(QDir::currentPath(), startFolder);
}

TEST_F(ExportCommandsTest, AdifWithoutPowerOrWithAPowerThatIsNoNumber)
{
    dialogs.inputAnswers.push_back(std::nullopt);  // Cancel
    dialogs.fileAnswers.push_back(target("a.adi"));
    dialogs.inputAnswers.push_back(QStringLiteral("lots"));
    dialogs.fileAnswers.push_back(target("b.adi"));
    ExportCommands cmds = commands();
    cmds.exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    cmds.exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    EXPECT_FALSE(readAll(target("a.adi")).contains("<Tx_Pwr:"));
    EXPECT_FALSE(readAll(target("b.adi")).contains("<Tx_Pwr:"));
    EXPECT_EQ(readAdi(readAll(target("b.adi"))).records.size(), 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(dialogs.messages[0].text.contains(QStringLiteral("power")));
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("\"lots\" is not a number"))) << dialogs.messages[1].text.toStdString();
}

TEST_F(ExportCommandsTest, AdifReportsTheContactsLogbooksWillRefuse)
{
    // Log lines 2 (no date), 4 (no call) and 5 (25:00): written all the same, and named.
    std::vector<QsoRecord> log(store.records().begin(), store.records().end());
    Contact noDate;
    noDate.date = QStringLiteral("2012/02/30");
    Contact noCall;
    noCall.call.clear();
    Contact noTime;
    noTime.time = QStringLiteral("25:00");
    log = {log[0], noDate.record(), log[1], noCall.record(), noTime.record()};
    ASSERT_TRUE(store.load(log));
    dialogs.fileAnswers.push_back(target("a.adi"));
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    EXPECT_EQ(readAdi(readAll(target("a.adi"))).records.size(), 5);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[0].text,
              ExportMessages::writtenText(target("a.adi"))
                  + QStringLiteral("\r\n\r\n3 contacts have no valid date, time or call sign; logbooks will refuse "
                                   "them. Log lines 2, 4, 5."));

    // One: the singular. More than 20: the first 20, then an ellipsis.
    EXPECT_EQ(ExportMessages::refusedContactsText({7}),
              QStringLiteral("1 contact has no valid date, time or call sign; logbooks will refuse it. Log line 7."));
    std::vector<qsizetype> many;
    for (qsizetype i = 1; i <= 25; ++i)
        many.push_back(i * 10);
    EXPECT_TRUE(ExportMessages::refusedContactsText(many).endsWith(
        QStringLiteral("refuse them. Log lines 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, "
                       "160, 170, 180, 190, 200, \u2026")));
    EXPECT_TRUE(ExportMessages::refusedContactsText(many).startsWith(QStringLiteral("25 contacts ")));
    // A log logbooks take whole adds nothing to the message.
    dialogs.messages.clear();
    ASSERT_TRUE(store.load({log[0], log[2]}));
    dialogs.fileAnswers.push_back(target("b.adi"));
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, ExportMessages::writtenText(target("b.adi")));
}

TEST_F(ExportCommandsTest, AdifCancelledSaveWritesAndShowsNothing)
{
    dialogs.inputAnswers.push_back(QStringLiteral("5"));
    dialogs.fileAnswers.push_back(std::nullopt);
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(beeper.beeps, 0);
    EXPECT_TRUE(QDir(dataFolder).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportCommandsTest, AdifPrefersTheSharedFoldersTable)
{
    writeFile(sharedFolder + QStringLiteral("/ADIFCnt.txt"), "\"USA\",7\r\n");
    dialogs.fileAnswers.push_back(target("x.adi"));
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    EXPECT_EQ(field(readAdi(readAll(target("x.adi"))).records[0], "dxcc"), "7");
}

TEST_F(ExportCommandsTest, AdifWithAMissingOrMalformedTableBeepsAndNamesTheFile)
{
    QFile::remove(workDir + QStringLiteral("/ADIFCnt.txt"));
    dialogs.fileAnswers.push_back(target("x.adi"));
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_TRUE(dialogs.messages[0].text.contains(workDir + QStringLiteral("/ADIFCnt.txt")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_TRUE(dialogs.fileRequests.empty());

    writeFile(workDir + QStringLiteral("/ADIFCnt.txt"), "\"USA\",291\r\n\"Canada\"\r\n");
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("ADIFCnt.txt, line 2")))
        << dialogs.messages[1].text.toStdString();
    EXPECT_EQ(beeper.beeps, 2);
    EXPECT_FALSE(QFile::exists(target("x.adi")));

    // An empty table is refused as a missing one is: no DXCC number could be written.
    writeFile(workDir + QStringLiteral("/ADIFCnt.txt"), "");
    commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(dialogs.messages[2].text, workDir + QStringLiteral("/ADIFCnt.txt: the file holds no country rows"));
    EXPECT_EQ(beeper.beeps, 3);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    EXPECT_FALSE(QFile::exists(target("x.adi")));
}

TEST_F(ExportCommandsTest, AFailedWriteLeavesTheOldFileWholeAndNothingPartial)
{
    const QByteArray old = "an earlier export\r\n";
    writeFile(target("Cubwave.adi"), old);
    for (int i = 0; i < 300; ++i)
        store.append(store.at(1));
    dialogs.fileAnswers.push_back(target("Cubwave.adi"));
    {
        const FileSizeLimit limit(4096);
        commands().exportAdif(store, ProductCaption::kMainWindowCaption, kOwnCall);
    }
    EXPECT_EQ(readAll(target("Cubwave.adi")), old);
    EXPECT_EQ(QDir(dataFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Cubwave.adi")});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(target("Cubwave.adi") + QStringLiteral(": ")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(beeper.beeps, 1);
}

TEST_F(ExportCommandsTest, SummaryWindowWritesTheFileAndTheMenuKeepsTheTrimmedCall)
{
    Preferences prefs;
    prefs.ownCall = QStringLiteral("  K1ABC/P ");
    prefs.ownSpc = QStringLiteral("CT");
    dialogs.fileAnswers.push_back(target("K1ABC.log"));
    commands([](QDialog& d) {
        static_cast<SummaryDialog&>(d).Command4_Click();
        return 0;
    }).writeSummary(store, prefs, ProductCaption::kMainWindowCaption, nullptr);
    EXPECT_EQ(prefs.ownCall, QStringLiteral("K1ABC/P"));
    EXPECT_EQ(dialogs.fileRequests.at(0).fileName, QStringLiteral("K1ABC.log"));
    const QByteArray text = readAll(target("K1ABC.log"));
    EXPECT_TRUE(text.startsWith("START-OF-LOG: 2.0\r\nCREATED-BY: Brantel's Cubwave Log 1.8\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nCALLSIGN: K1ABC/P\r\n"));
    EXPECT_TRUE(text.contains("\r\nSTATE-PROVINCE-COUNTRY: CT\r\n"));
    EXPECT_EQ(text.count("\r\nQSO: "), 2);
}

TEST_F(ExportCommandsTest, GraphWithTooFewContactsShowsTheMessage)
{
    bool opened = false;
    commands([&](QDialog& d) {
        opened = d.objectName() == QLatin1String("GraphQSO");
        return 0;
    }).showGraph(store, nullptr);
    EXPECT_TRUE(opened);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Not Enough Contacts to Graph."));
}

TEST(ProductCaption, TheHeadersTakeTheProductNameFromTheCaption)
{
    const QString& caption = ProductCaption::kMainWindowCaption;
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Brantel's Cubwave Log 1.8") + QString(69, QLatin1Char(' '))));
    EXPECT_EQ(caption.mid(25 + 69), ProductCaption::kWebAddress);
    EXPECT_EQ(ProductCaption::productName(caption, 60), QStringLiteral("Brantel's Cubwave Log 1.8"));
    EXPECT_EQ(ProductCaption::productName(caption, 50), QStringLiteral("Brantel's Cubwave Log 1.8"));
}

}  // namespace
}  // namespace cubwave::test

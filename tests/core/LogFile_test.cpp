#include "core/LogFile.h"
#include "core/LogLine.h"
#include "core/LogStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;

namespace {

QsoRecord sample(const QString& call = "W1AW", const QString& spc = "CT", const QString& mode = "CW")
{
    QsoRecord r;
    r[QsoRecord::Call] = call;
    r[QsoRecord::Age] = "12";
    r[QsoRecord::Other] = "Blue";
    r[QsoRecord::Spc] = spc;
    r[QsoRecord::Date] = "2012/06/16";
    r[QsoRecord::Time] = "18:05:33";
    r[QsoRecord::Mode] = mode;
    r[QsoRecord::Band] = "20";
    r[QsoRecord::Name] = "Tom";
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(LogLine, FormatsElevenQuotedFieldsWithEmptyOnesAsTwoQuotes)
{
    EXPECT_EQ(LogLine::format(sample()),
              R"("W1AW","12","Blue","","CT","2012/06/16","18:05:33","CW","20","Tom","")");
}

TEST(LogLine, ParsesWhatItFormats)
{
    const QsoRecord r = sample("VE3XYZ", "Japan", "PH");
    ASSERT_EQ(LogLine::parse(LogLine::format(r)), r);
}

TEST(LogLine, ParsesUnquotedFieldsTrimmedAndCommasInsideQuotes)
{
    const auto r = LogLine::parse(uR"( K1ABC ,12,"Red, blue","",CT,2012/06/16,18:05,CW,20,Ann,7.020)");
    ASSERT_TRUE(r);
    EXPECT_EQ((*r)[QsoRecord::Call], "K1ABC");
    EXPECT_EQ((*r)[QsoRecord::Other], "Red, blue");
    EXPECT_EQ((*r)[QsoRecord::Frequency], "7.020");
}

TEST(LogLine, RejectsMalformedLines)
{
    const char16_t* bad[] = {
        uR"("W1AW","12","Blue","","CT","2012/06/16","18:05:33","CW","20","Tom")",          // ten fields
        uR"("W1AW","12","Blue","","CT","2012/06/16","18:05:33","CW","20","Tom","","")",    // twelve
        uR"("W1AW","12","Bl"ue","","CT","2012/06/16","18:05:33","CW","20","Tom","")",      // stray quote
        uR"("W1AW","12","Blue","","CT","2012/06/16","18:05:33","CW","20","Tom",")",        // unterminated
        uR"(W1"AW,"12","Blue","","CT","2012/06/16","18:05:33","CW","20","Tom","")",        // quote in bare field
    };
    for (const char16_t* line : bad)
        EXPECT_FALSE(LogLine::parse(QString::fromUtf16(line))) << QString::fromUtf16(line).toStdString();
}

TEST(LogFile, ParsesCrLfAndLfLinesAndSkipsBlankOnes)
{
    const QByteArray line = LogLine::format(sample()).toUtf8();
    const auto result = LogFile::parse(line + "\r\n" + line + "\n\r\n");
    ASSERT_TRUE(result.ok) << result.reason.toStdString();
    EXPECT_EQ(result.records.size(), 2u);
}

TEST(LogFile, RefusesWhatCannotBeALog)
{
    const QByteArray line = LogLine::format(sample()).toUtf8() + "\r\n";
    QByteArray tooMany;
    for (int i = 0; i <= LogStore::kCapacity; ++i)
        tooMany += line;
    const QByteArray binary = line + QByteArray("\"A\x01\",\"\"\r\n", 9);
    const QByteArray hugeLine = "\"" + QByteArray(10 * 1024 * 1024, 'A') + "\"\r\n";
    const QByteArray badUtf8 = line + "\"\xff\xfe\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";

    EXPECT_FALSE(LogFile::parse(tooMany).ok);
    EXPECT_FALSE(LogFile::parse(binary).ok);
    EXPECT_FALSE(LogFile::parse(hugeLine).ok);
    EXPECT_FALSE(LogFile::parse(badUtf8).ok);
    EXPECT_TRUE(LogFile::parse(QByteArray()).ok);
}

TEST(LogFile, AppendWritesOneCrLfLineAndRewriteReplacesTheFile)
{
    QTemporaryDir dir;
    const LogFile log(dir.filePath("log.txt"));
    ASSERT_TRUE(log.append(sample("W1AW")).ok);
    ASSERT_TRUE(log.append(sample("K1ABC")).ok);
    EXPECT_EQ(readAll(log.path()), LogLine::format(sample("W1AW")).toUtf8() + "\r\n" +
                                       LogLine::format(sample("K1ABC")).toUtf8() + "\r\n");

    ASSERT_TRUE(log.rewrite({sample("N0CALL")}).ok);
    const auto back = log.read();
    ASSERT_TRUE(back.ok);
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].call(), "N0CALL");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.txt"});  // no temp left
}

TEST(LogFile, FailedAppendReportsTheReason)
{
    // /dev/full accepts the open and fails every write with "no space left".
    const WriteResult result = LogFile("/dev/full").append(sample());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

TEST(LogFile, FailedRewriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    const LogFile missingFolder(dir.filePath("nowhere/log.txt"));
    EXPECT_FALSE(missingFolder.rewrite({sample()}).ok);

    const LogFile log(dir.filePath("log.txt"));
    ASSERT_TRUE(log.append(sample()).ok);
    const QByteArray before = readAll(log.path());
    // A folder where the temporary file would be renamed to makes the rename fail.
    const LogFile blocked(dir.filePath("sub"));
    QDir(dir.path()).mkdir("sub");
    EXPECT_FALSE(blocked.rewrite({sample("X")}).ok);
    EXPECT_EQ(readAll(log.path()), before);
}

TEST(LogStore, LoadCountsPhoneDxAndWorkedLikeAReload)
{
    LogStore store;
    ASSERT_TRUE(store.load({sample("A1A", "ct", "ph"), sample("B1B", "Japan"), sample("C1C", "JAPAN"),
                            sample("D1D", "CT"), sample("E1E", "HI"), sample("F1F", "Hawaii", "PH")}));
    EXPECT_EQ(store.count(), 6);
    EXPECT_EQ(store.phoneCount(), 2.0f);
    EXPECT_EQ(store.dxList(), (QStringList{"Japan", "Hawaii"}));
    EXPECT_TRUE(store.worked(1));
    EXPECT_EQ(store.workedCount(), 1);
}

TEST(LogStore, LoadRefusesMoreThanAThousandDxEntriesAndKeepsTheOldLog)
{
    LogStore store;
    ASSERT_TRUE(store.load({sample()}));
    std::vector<QsoRecord> many;
    for (int i = 0; i <= LogStore::kDxCapacity; ++i)
        many.push_back(sample("K1ABC", QStringLiteral("Land %1").arg(i)));
    EXPECT_FALSE(store.load(many));
    EXPECT_EQ(store.count(), 1);
}

TEST(LogStore, AppendStopsAtCapacityAndCountAtLoadIsFixedOnce)
{
    LogStore store;
    store.noteLoaded();
    EXPECT_EQ(store.countAtLoad(), 0.0f);  // an empty log leaves it open
    for (int i = 0; i < LogStore::kCapacity; ++i)
        ASSERT_TRUE(store.append(sample()));
    EXPECT_FALSE(store.append(sample()));
    EXPECT_EQ(store.count(), LogStore::kCapacity);
    store.noteLoaded();
    store.dropLast();
    store.noteLoaded();
    EXPECT_EQ(store.countAtLoad(), static_cast<float>(LogStore::kCapacity));
}

TEST(LogStore, MarkWorkedOnlyCountsTheFirstTime)
{
    LogStore store;
    EXPECT_EQ(store.markWorked("ct"), 1);
    EXPECT_EQ(store.markWorked("CT"), 0);
    EXPECT_EQ(store.markWorked("XX"), 0);
    EXPECT_EQ(store.workedCount(), 1);
}

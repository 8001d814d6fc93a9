#include "core/LogFile.h"
#include "core/LogLine.h"
#include "core/LogStore.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

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

// A line of eleven bare fields whose quoted form, as a rewrite writes it, is quotedBytes long.
QByteArray bareLine(qsizetype quotedBytes)
{
    const qsizetype content = quotedBytes - 2 * QsoRecord::FieldCount - (QsoRecord::FieldCount - 1);
    return QByteArray(content, 'A') + QByteArray(QsoRecord::FieldCount - 1, ',');
}

using test::FileSizeLimit;

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

    EXPECT_FALSE(LogFile::parse(tooMany).ok);
    EXPECT_FALSE(LogFile::parse(binary).ok);
    EXPECT_FALSE(LogFile::parse(hugeLine).ok);
    EXPECT_TRUE(LogFile::parse(QByteArray()).ok);
}

TEST(LogFile, AcceptsOnlyLogsThatItsOwnRewriteCanReadBack)
{
    // Bare fields gain quotes when rewritten, so the size limits apply to the rewritten form; a
    // log just under them as read but over them as rewritten would stop loading after an edit.
    const qsizetype quotedLineOfFullestLog = LogStore::kCapacity * 1024LL / LogStore::kCapacity - 2;
    const auto fullLog = [&](bool oneByteMore) {
        QByteArray all;
        for (int i = 0; i < LogStore::kCapacity; ++i)
            all += bareLine(quotedLineOfFullestLog + (oneByteMore && i == 0 ? 1 : 0)) + "\n";
        return all;
    };
    const struct {
        const char* what;
        QByteArray bytes;
        bool ok;
    } cases[] = {
        {"longest line", bareLine(LogFile::kMaxLineBytes) + "\r\n", true},
        {"one byte longer once quoted", bareLine(LogFile::kMaxLineBytes + 1) + "\r\n", false},
        {"largest file", fullLog(false), true},
        {"one byte larger once quoted", fullLog(true), false},
    };
    for (const auto& c : cases) {
        const LogReadResult read = LogFile::parse(c.bytes);
        EXPECT_EQ(read.ok, c.ok) << c.what << ": " << read.reason.toStdString();
        if (!read.ok)
            continue;
        const LogReadResult again = LogFile::parse(LogFile::serialize(read.records));
        EXPECT_TRUE(again.ok) << c.what << ": " << again.reason.toStdString();
        EXPECT_TRUE(again.records == read.records) << c.what;
    }
}

TEST(LogFile, AppendThatRunsOutOfSpaceLeavesTheLogAsItWas)
{
    const QByteArray line = LogLine::format(sample("K1NEW")).toUtf8() + "\r\n";
    // Room for none of the line, half of it, and all of it but the final line feed.
    const qsizetype room[] = {0, line.size() / 2, line.size() - 1};
    for (const qsizetype spare : room) {
        QTemporaryDir dir;
        const LogFile log(dir.filePath("log.txt"));
        ASSERT_TRUE(log.append(sample("W1AW")).ok);
        ASSERT_TRUE(log.append(sample("VE3XYZ")).ok);
        const QByteArray before = readAll(log.path());

        WriteResult result;
        {
            const FileSizeLimit limit(static_cast<rlim_t>(before.size() + spare));
            result = log.append(sample("K1NEW"));
        }
        EXPECT_FALSE(result.ok) << spare;
        EXPECT_FALSE(result.error.isEmpty()) << spare;
        EXPECT_EQ(readAll(log.path()), before) << "no part of the line may stay, room " << spare;

        // Once there is room again the next contact lands on a line of its own.
        ASSERT_TRUE(log.append(sample("K1NEW")).ok);
        const LogReadResult back = log.read();
        ASSERT_TRUE(back.ok) << back.reason.toStdString();
        ASSERT_EQ(back.records.size(), 3u);
        EXPECT_EQ(back.records[2].call(), "K1NEW");
    }
}

TEST(LogFile, AppendIntoARemovedFolderFailsWithoutCreatingIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkdir(folder));
    const LogFile log(folder + "/log.txt");
    ASSERT_TRUE(log.append(sample()).ok);
    ASSERT_TRUE(QDir(folder).removeRecursively());

    EXPECT_FALSE(log.append(sample("K1NEW")).ok);
    EXPECT_FALSE(QFileInfo::exists(folder));
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

TEST(LogFile, ReadsALineThatIsNoUtf8AsLatin1)
{
    // "Jos\xe9" is how a single-byte Windows tool writes José.
    const auto result = LogFile::parse("\"EA1ABC\",\"12\",\"\",\"\",\"Spain\",\"2012/06/16\",\"18:05\",\"CW\",\"20\",\"Jos\xe9\",\"\"\r\n");
    ASSERT_TRUE(result.ok) << result.reason.toStdString();
    EXPECT_EQ(result.records[0][QsoRecord::Name], QString::fromUtf8("Jos\xc3\xa9"));
}

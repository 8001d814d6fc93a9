#include "core/LogFile.h"
#include "core/LogLine.h"
#include "core/LogStore.h"
#include "support/TestFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace cubwave;
using test::readAll;
using test::FileSizeLimit;

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

// A line of eleven bare fields whose quoted form, as a rewrite writes it, is quotedBytes long.
QByteArray bareLine(qsizetype quotedBytes)
{
    const qsizetype content = quotedBytes - 2 * QsoRecord::FieldCount - (QsoRecord::FieldCount - 1);
    return QByteArray(content, 'A') + QByteArray(QsoRecord::FieldCount - 1, ',');
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

TEST(LogStore, AThousandAndFirstDxEntryStillLoadsAndTheListStopsGrowing)
{
    std::vector<QsoRecord> many;
    for (int i = 0; i <= LogStore::kDxCapacity; ++i)
        many.push_back(sample("K1ABC", QStringLiteral("Land %1").arg(i)));
    many.push_back(sample("K1DEF", "land 3"));  // a spelling already listed
    many.push_back(sample("K1GHI", "CT"));

    LogStore store;
    ASSERT_TRUE(store.load({sample()}));
    EXPECT_FALSE(store.dxListOverflowed());
    ASSERT_TRUE(store.load(many));
    EXPECT_EQ(store.count(), LogStore::kDxCapacity + 3);  // every contact is in the log
    EXPECT_EQ(store.dxCount(), LogStore::kDxCapacity);
    EXPECT_EQ(store.dxList().last(), QStringLiteral("Land %1").arg(LogStore::kDxCapacity - 1));
    EXPECT_TRUE(store.dxListOverflowed());
    EXPECT_TRUE(store.worked(1));

    // A live entry past the bound is refused by the list (the contact itself is kept) and noted.
    LogStore live;
    many.resize(LogStore::kDxCapacity);
    ASSERT_TRUE(live.load(many));
    EXPECT_FALSE(live.dxListOverflowed());
    EXPECT_FALSE(live.addDx("Atlantis"));
    EXPECT_TRUE(live.dxListOverflowed());

    // A log that fits again clears the note.
    ASSERT_TRUE(live.load({sample()}));
    EXPECT_FALSE(live.dxListOverflowed());
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

TEST(LogFile, WriterRefusesWhatTheReaderWouldRefuseAndWritesNothing)
{
    const auto with = [](QsoRecord::Field field, const QString& text) {
        QsoRecord r = sample();
        r[field] = text;
        return r;
    };
    const QString longest = QString(LogFile::kMaxLineBytes - LogLine::format(with(QsoRecord::Name, "")).toUtf8().size(), 'N');
    const struct {
        const char* what;
        QsoRecord record;
        bool ok;
    } cases[] = {
        {"plain", sample(), true},
        {"comma and tab kept", with(QsoRecord::Other, "Red, \tblue"), true},
        {"accents and emoji", with(QsoRecord::Name, QString::fromUtf8("Jos\xc3\xa9 \xf0\x9f\x98\x80")), true},
        {"longest line", with(QsoRecord::Name, longest), true},
        {"double quote", with(QsoRecord::Name, "To\"m"), false},
        {"line feed", with(QsoRecord::Other, "Blue\nGreen"), false},
        {"carriage return", with(QsoRecord::Call, "W1AW\r"), false},
        {"nul", with(QsoRecord::Age, QString(QChar(0))), false},
        {"escape", with(QsoRecord::Spc, "C\x1bT"), false},
        {"lone surrogate", with(QsoRecord::Name, QString(QChar(0xd800))), false},
        {"one byte too long", with(QsoRecord::Name, longest + "N"), false},
        {"two-byte letters too long", with(QsoRecord::Name, QString(longest.size() / 2 + 1, QChar(0xe9))), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogLine::refusal(c.record).isEmpty(), c.ok) << c.what;

        QTemporaryDir dir;
        const LogFile log(dir.filePath("log.txt"));
        ASSERT_TRUE(log.append(sample("K1OLD")).ok);
        const QByteArray before = readAll(log.path());

        const WriteResult appended = log.append(c.record);
        EXPECT_EQ(appended.ok, c.ok) << c.what;
        if (!c.ok) {
            EXPECT_FALSE(appended.error.isEmpty()) << c.what;
            EXPECT_EQ(readAll(log.path()), before) << c.what;
        }
        const WriteResult rewritten = log.rewrite({sample("K1NEW"), c.record});
        EXPECT_EQ(rewritten.ok, c.ok) << c.what;
        if (!c.ok) {
            EXPECT_FALSE(rewritten.error.isEmpty()) << c.what;
            EXPECT_EQ(readAll(log.path()), before) << c.what;
        }
        const LogReadResult back = log.read();
        EXPECT_TRUE(back.ok) << c.what << ": " << back.reason.toStdString();
        if (c.ok) {
            EXPECT_EQ(back.records, (std::vector<QsoRecord>{sample("K1NEW"), c.record})) << c.what;
        }
    }
}

TEST(LogFile, RewriteRefusesALogLargerOrLongerThanTheReaderTakes)
{
    QTemporaryDir dir;
    const LogFile log(dir.filePath("log.txt"));
    ASSERT_TRUE(log.append(sample()).ok);
    const QByteArray before = readAll(log.path());

    QsoRecord big = sample();
    big[QsoRecord::Name] = QString(60 * 1024, 'N');
    std::vector<QsoRecord> tooLarge(200, big);  // every line fits, the file does not
    std::vector<QsoRecord> tooMany(LogStore::kCapacity + 1, sample());

    for (const std::vector<QsoRecord>* records : {&tooLarge, &tooMany}) {
        const WriteResult result = log.rewrite(*records);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(readAll(log.path()), before);
    }
    tooMany.pop_back();
    EXPECT_TRUE(log.rewrite(tooMany).ok);
    EXPECT_TRUE(log.read().ok);
}

TEST(LogFile, AppendRefusesALineThatWouldTakeTheFileOverTheReadersLimit)
{
    QTemporaryDir dir;
    const LogFile log(dir.filePath("log.txt"));
    QsoRecord big = sample();
    big[QsoRecord::Name] = QString(60 * 1024, 'N');
    // Just under the file limit: one more long line does not fit, a short one does.
    const qint64 limit = LogStore::kCapacity * 1024LL;
    const qint64 bigLine = LogLine::format(big).toUtf8().size() + 2;
    std::vector<QsoRecord> records(static_cast<size_t>(limit / bigLine), big);
    ASSERT_TRUE(log.rewrite(records).ok);
    const QByteArray before = readAll(log.path());
    ASSERT_GT(before.size() + bigLine, limit);

    const WriteResult refused = log.append(big);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(readAll(log.path()).size(), before.size());
    ASSERT_TRUE(log.append(sample()).ok);
    EXPECT_TRUE(log.read().ok);
}

TEST(LogFile, AppendAfterALastLineWithoutABreakKeepsBothRecords)
{
    QTemporaryDir dir;
    const LogFile log(dir.filePath("log.txt"));
    {
        QFile f(log.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(LogLine::format(sample("W1AW")).toUtf8());  // saved by an editor without a final break
    }
    ASSERT_TRUE(log.read().ok);
    ASSERT_TRUE(log.append(sample("K1NEW")).ok);
    const LogReadResult back = log.read();
    ASSERT_TRUE(back.ok) << back.reason.toStdString();
    EXPECT_EQ(back.records, (std::vector<QsoRecord>{sample("W1AW"), sample("K1NEW")}));
}

TEST(LogFile, RewriteThatRunsOutOfSpaceLeavesTheLogAsItWas)
{
    // An edit or delete in a log of 150 contacts (about 10 KiB, inside the 16 KiB a buffered
    // writer holds back) and of 1000 (above it).
    for (const int contacts : {150, 1000}) {
        QTemporaryDir dir;
        const LogFile log(dir.filePath("log.txt"));
        std::vector<QsoRecord> records;
        for (int i = 0; i < contacts; ++i)
            records.push_back(sample(QStringLiteral("K%1AB").arg(i)));
        ASSERT_TRUE(log.rewrite(records).ok);
        const QByteArray before = readAll(log.path());
        records.erase(records.begin() + 3);

        WriteResult result;
        {
            const FileSizeLimit limit(static_cast<rlim_t>(before.size() / 2));
            result = log.rewrite(records);
        }
        EXPECT_FALSE(result.ok) << contacts;
        EXPECT_FALSE(result.error.isEmpty()) << contacts;
        EXPECT_EQ(readAll(log.path()), before) << contacts;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"});
    }
}

TEST(LogFile, ALineEndingInHalfAUtf8CharacterIsReadAsLatin1NotCut)
{
    // A bare last field cut inside a two-byte character: nothing of the line may go missing.
    const auto result = LogFile::parse("\"EA1ABC\",\"12\",\"\",\"\",\"Spain\",\"2012/06/16\",\"18:05\",\"CW\",\"20\",\"Jos\",7.0\xc3\r\n");
    ASSERT_TRUE(result.ok) << result.reason.toStdString();
    EXPECT_EQ(result.records[0][QsoRecord::Frequency], QString::fromLatin1("7.0\xc3"));
}

#include "core/LogArchive.h"
#include "core/LogFile.h"
#include "core/LogLine.h"
#include "core/LogStore.h"
#include "support/FakeClock.h"
#include "support/TestFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace cubwave;
using test::readAll;
using test::writeFile;

namespace {

QsoRecord contact(const QString& call, const QString& spc = "CT")
{
    QsoRecord r;
    r[QsoRecord::Call] = call;
    r[QsoRecord::Spc] = spc;
    r[QsoRecord::Date] = "2026/06/13";
    r[QsoRecord::Time] = "14:05:33";
    r[QsoRecord::Mode] = "CW";
    r[QsoRecord::Band] = "20";
    return r;
}

QByteArray logBytes(const QStringList& calls)
{
    std::vector<QsoRecord> records;
    for (const QString& call : calls)
        records.push_back(contact(call));
    return LogFile::serialize(records);
}

// A store as the window holds it: loaded at start-up with atLoad records, then grown or
// shrunk to count.
LogStore storeOf(int atLoad, int count)
{
    LogStore store;
    std::vector<QsoRecord> records;
    for (int i = 0; i < atLoad; ++i)
        records.push_back(contact(QStringLiteral("K%1A").arg(i)));
    store.load(records);
    store.noteLoaded();
    while (store.count() > count)
        store.dropLast();
    while (store.count() < count)
        store.append(contact("N0NEW"));
    return store;
}

class LogArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkpath("work"));
        ASSERT_TRUE(QDir(tmp.path()).mkpath("data"));
        writeFile(archive.logPath(), logBytes({"W1AW", "VE3XYZ", "JA1ABC"}));
    }

    QString path(const QString& relative) const { return QDir(tmp.path()).filePath(relative); }
    QStringList backups() const { return QDir(archive.backupFolder()).entryList(QDir::Files | QDir::Hidden); }
    QStringList workFiles() const { return QDir(path("work")).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir tmp;
    test::FakeClock clock{QDateTime(QDate(2026, 6, 13), QTime(14, 5, 33), Qt::UTC)};
    LogArchive archive{clock, path("work"), path("data")};
};

}  // namespace

TEST_F(LogArchiveTest, NamesFilesFromTheLocalClockAndTheOwnCall)
{
    EXPECT_EQ(archive.logPath(), path("work/log.txt"));
    EXPECT_EQ(archive.backupFilePath(), path("data/BACKUP/202606131405.log"));
    clock.setLocal(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 59), Qt::UTC));
    EXPECT_EQ(archive.backupFilePath(), path("data/BACKUP/202701020304.log"));

    const std::pair<const char*, const char*> calls[] = {
        {"W1AW", "W1AW2027-01-02.log"},
        {"VE3XYZ/P", "VE3XYZ2027-01-02.log"},
        {"w1aw", "YourCall2027-01-02.log"},
        {"", "YourCall2027-01-02.log"},
    };
    for (const auto& [call, name] : calls)
        EXPECT_EQ(archive.suggestedArchivePath(call), path(QStringLiteral("data/BACKUP/") + name)) << call;
}

TEST_F(LogArchiveTest, BackupIsTakenOnlyWhenTheCountChangedSinceLoad)
{
    const struct {
        int atLoad, count;
        bool due;
    } cases[] = {
        {0, 0, false},  // nothing logged
        {3, 3, false},  // unchanged since start-up
        {3, 0, false},  // an empty log is never backed up
        {0, 2, true},   // started empty, contacts added
        {3, 5, true},   // contacts added
        {3, 2, true},   // a contact deleted
    };
    for (const auto& c : cases) {
        QDir(archive.backupFolder()).removeRecursively();
        const LogStore store = storeOf(c.atLoad, c.count);
        const LogArchive::BackupResult result = archive.backup(store);
        EXPECT_EQ(result.taken, c.due) << c.atLoad << " -> " << c.count;
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        if (c.due) {
            EXPECT_EQ(result.path, archive.backupFilePath());
            EXPECT_EQ(readAll(result.path), readAll(archive.logPath()));  // the folder was made too
        } else {
            EXPECT_TRUE(backups().isEmpty()) << c.atLoad << " -> " << c.count;
        }
    }
}

TEST_F(LogArchiveTest, BackupNeverReplacesAnEarlierOne)
{
    const LogStore store = storeOf(0, 3);
    const QByteArray first = readAll(archive.logPath());
    LogArchive::BackupResult result = archive.backup(store);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.path, path("data/BACKUP/202606131405.log"));

    // Later backups in the same minute get a suffix instead of replacing it.
    const QByteArray second = logBytes({"W1AW", "VE3XYZ", "JA1ABC", "K1NEW"});
    writeFile(archive.logPath(), second);
    clock.advanceMs(20'000);  // 14:05:53
    result = archive.backup(store);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.path, path("data/BACKUP/202606131405-2.log"));
    ASSERT_TRUE(archive.backup(store).ok);
    EXPECT_EQ(backups(), (QStringList{"202606131405-2.log", "202606131405-3.log", "202606131405.log"}));
    EXPECT_EQ(readAll(path("data/BACKUP/202606131405.log")), first);
    EXPECT_EQ(readAll(path("data/BACKUP/202606131405-2.log")), second);

    clock.advanceMs(10'000);  // 14:06:03
    result = archive.backup(store);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.path, path("data/BACKUP/202606131406.log"));
}

TEST_F(LogArchiveTest, BackupFailuresAreReportedAndTouchNothing)
{
    const LogStore store = storeOf(0, 3);
    const QByteArray log = readAll(archive.logPath());

    // A file where the backup folder should be.
    writeFile(archive.backupFolder(), "not a folder");
    LogArchive::BackupResult result = archive.backup(store);
    EXPECT_TRUE(result.taken);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(archive.backupFolder()), "not a folder");
    EXPECT_EQ(readAll(archive.logPath()), log);

    // No working file to copy.
    QFile::remove(archive.backupFolder());
    QFile::remove(archive.logPath());
    result = archive.backup(store);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(backups().isEmpty());
}

TEST(LogArchive, NewLogNeedsYesTypedInAnyCase)
{
    const std::pair<const char*, bool> answers[] = {
        {"YES", true}, {"yes", true}, {"yEs", true}, {"YES ", false}, {"Y", false}, {"NO", false}, {"", false},
    };
    for (const auto& [answer, confirms] : answers)
        EXPECT_EQ(LogArchive::confirmsNewLog(answer), confirms) << answer;
}

TEST_F(LogArchiveTest, NewLogAlwaysKeepsACopyOfANonEmptyLogBeforeErasingIt)
{
    const QByteArray log = readAll(archive.logPath());

    // Unchanged since start-up (as after a start, or after a restart with no new contacts):
    // erasing it still keeps a copy.
    ASSERT_TRUE(archive.startNewLog().ok);
    EXPECT_TRUE(QFileInfo(archive.logPath()).isFile());
    EXPECT_EQ(QFileInfo(archive.logPath()).size(), 0);
    EXPECT_EQ(backups(), QStringList{"202606131405.log"});
    EXPECT_EQ(readAll(archive.backupFilePath()), log);
    EXPECT_EQ(workFiles(), QStringList{"log.txt"});  // no temporary file left behind

    // A second new log in the same minute keeps the first copy and adds its own.
    const QByteArray other = logBytes({"K1NEW"});
    writeFile(archive.logPath(), other);
    ASSERT_TRUE(archive.startNewLog().ok);
    EXPECT_EQ(backups(), (QStringList{"202606131405-2.log", "202606131405.log"}));
    EXPECT_EQ(readAll(path("data/BACKUP/202606131405-2.log")), other);

    // An empty log needs no copy; no log yet: one is created empty.
    ASSERT_TRUE(archive.startNewLog().ok);
    QFile::remove(archive.logPath());
    ASSERT_TRUE(archive.startNewLog().ok);
    EXPECT_TRUE(QFileInfo(archive.logPath()).isFile());
    EXPECT_EQ(backups().size(), 2);
}

TEST_F(LogArchiveTest, NewLogKeepsTheLogWhenItsBackupFails)
{
    const QByteArray log = readAll(archive.logPath());
    writeFile(archive.backupFolder(), "not a folder");
    const WriteResult result = archive.startNewLog();
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(archive.logPath()), log);
}

TEST_F(LogArchiveTest, ArchiveCopiesTheLogReplacingAnOlderArchive)
{
    const QString target = path("data/BACKUP/W1AW2026-06-13.log");
    ASSERT_TRUE(QDir().mkpath(archive.backupFolder()));
    writeFile(target, "an older archive");
    ASSERT_TRUE(archive.archiveTo(target).ok);
    EXPECT_EQ(readAll(target), readAll(archive.logPath()));
    EXPECT_EQ(backups(), QStringList{"W1AW2026-06-13.log"});
}

TEST_F(LogArchiveTest, ArchiveFailuresAreReported)
{
    writeFile(path("afile"), "a regular file");
    const WriteResult underAFile = archive.archiveTo(path("afile/x.log"));
    EXPECT_FALSE(underAFile.ok);
    EXPECT_FALSE(underAFile.error.isEmpty());
    EXPECT_EQ(readAll(path("afile")), "a regular file");

    QFile::remove(archive.logPath());
    const WriteResult noLog = archive.archiveTo(path("data/x.log"));
    EXPECT_FALSE(noLog.ok);
    EXPECT_FALSE(noLog.error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("data/x.log")));
}

TEST_F(LogArchiveTest, RestoreReplacesTheLogWithTheChosenCopy)
{
    // A backup taken earlier comes back byte for byte, and the store can reload it.
    ASSERT_TRUE(archive.backup(storeOf(0, 3)).ok);
    writeFile(archive.logPath(), logBytes({"K1NEW"}));

    ASSERT_TRUE(archive.restoreFrom(archive.backupFilePath()).ok);
    EXPECT_EQ(readAll(archive.logPath()), readAll(archive.backupFilePath()));
    EXPECT_EQ(workFiles(), QStringList{"log.txt"});
    const LogReadResult back = LogFile(archive.logPath()).read();
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.records.size(), 3u);

    // An empty archive is a valid, empty log.
    writeFile(path("empty.log"), "");
    ASSERT_TRUE(archive.restoreFrom(path("empty.log")).ok);
    EXPECT_EQ(QFileInfo(archive.logPath()).size(), 0);
}

TEST_F(LogArchiveTest, RestoreRefusesWhatTheReloadCouldNotOpenAndKeepsTheLog)
{
    const QByteArray log = readAll(archive.logPath());
    writeFile(path("quote.log"), logBytes({"W1AW"}) + R"("K1"A","","","","CT","","","CW","20","","")" "\r\n");
    writeFile(path("binary.log"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    writeFile(path("afile"), "a regular file");

    const struct {
        const char* what;
        QString source;
    } cases[] = {
        {"stray quote", path("quote.log")},
        {"not text", path("binary.log")},
        {"missing", path("nothing.log")},
        {"a folder", path("data")},
        {"under a regular file", path("afile/x.log")},
    };
    for (const auto& c : cases) {
        const WriteResult result = archive.restoreFrom(c.source);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_FALSE(result.error.isEmpty()) << c.what;
        EXPECT_EQ(readAll(archive.logPath()), log) << c.what;
    }
}

TEST_F(LogArchiveTest, RestoreIntoAWorkingFolderThatCannotBeWrittenFails)
{
    writeFile(path("afile"), "a regular file");
    const LogArchive blocked(clock, path("afile"), path("data"));
    const WriteResult result = blocked.restoreFrom(archive.logPath());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(path("afile")), "a regular file");
}

TEST_F(LogArchiveTest, RestoreTakesALogWithMoreDxEntriesThanTheListShows)
{
    QByteArray manyCountries;
    for (int i = 0; i <= LogStore::kDxCapacity; ++i)
        manyCountries += LogLine::format(contact("K1A", QStringLiteral("Land %1").arg(i))).toUtf8() + "\r\n";
    writeFile(path("countries.log"), manyCountries);
    ASSERT_TRUE(archive.restoreFrom(path("countries.log")).ok);
    EXPECT_EQ(readAll(archive.logPath()), manyCountries);
}

namespace {

// A log of n contacts, about 70 bytes each.
QByteArray logOf(int n)
{
    QStringList calls;
    for (int i = 0; i < n; ++i)
        calls << QStringLiteral("K%1AB").arg(i);
    return logBytes(calls);
}

}  // namespace

TEST_F(LogArchiveTest, FullDiskNeverCostsTheLogOrLeavesAShortCopy)
{
    // Logs below and above the 16 KiB a buffered writer holds back, with room for about half.
    for (const int contacts : {20, 150, 1000}) {
        SCOPED_TRACE(contacts);
        QDir(archive.backupFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(archive.backupFolder()));
        const QByteArray log = logOf(contacts);
        writeFile(archive.logPath(), log);
        const QString olderArchive = path("data/BACKUP/W1AW2026-06-13.log");
        writeFile(olderArchive, "an older archive");
        writeFile(path("restore.log"), logOf(contacts + 5));
        const rlim_t room = static_cast<rlim_t>(log.size() / 2);

        LogArchive::BackupResult backup;
        WriteResult newLog, archived, restored;
        {
            const test::FileSizeLimit limit(room);
            backup = archive.backup(storeOf(0, contacts));
            newLog = archive.startNewLog();
            archived = archive.archiveTo(olderArchive);
            restored = archive.restoreFrom(path("restore.log"));
        }
        EXPECT_FALSE(backup.ok);
        EXPECT_FALSE(backup.error.isEmpty());
        EXPECT_FALSE(newLog.ok);
        EXPECT_FALSE(newLog.error.isEmpty());
        EXPECT_FALSE(archived.ok);
        EXPECT_FALSE(archived.error.isEmpty());
        EXPECT_FALSE(restored.ok);
        EXPECT_FALSE(restored.error.isEmpty());

        EXPECT_EQ(readAll(archive.logPath()), log);  // the new log did not erase it
        EXPECT_EQ(readAll(olderArchive), "an older archive");
        EXPECT_EQ(backups(), QStringList{"W1AW2026-06-13.log"});  // no short backup, no temporary file
        EXPECT_EQ(workFiles(), QStringList{"log.txt"});
    }
}

TEST_F(LogArchiveTest, RestoreBacksUpTheCurrentLogFirstAsANewLogDoes)
{
    const QByteArray current = readAll(archive.logPath());
    const QByteArray chosen = logBytes({"K1OLD"});
    writeFile(path("chosen.log"), chosen);

    ASSERT_TRUE(archive.restoreFrom(path("chosen.log")).ok);
    EXPECT_EQ(readAll(archive.logPath()), chosen);
    EXPECT_EQ(backups(), QStringList{"202606131405.log"});
    EXPECT_EQ(readAll(archive.backupFilePath()), current);

    // An empty log holds nothing worth a copy.
    writeFile(archive.logPath(), "");
    ASSERT_TRUE(archive.restoreFrom(path("chosen.log")).ok);
    EXPECT_EQ(backups().size(), 1);

    // No backup, no restore: the log that could not be copied stays.
    writeFile(archive.logPath(), current);
    ASSERT_TRUE(QDir(archive.backupFolder()).removeRecursively());
    writeFile(archive.backupFolder(), "not a folder");
    const WriteResult refused = archive.restoreFrom(path("chosen.log"));
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.contains("backed up")) << refused.error.toStdString();
    EXPECT_EQ(readAll(archive.logPath()), current);
}

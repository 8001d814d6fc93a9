#include "core/LogArchive.h"

#include "core/FileRead.h"
#include "core/LogFile.h"
#include "core/LogStore.h"
#include "core/NameFromCall.h"
#include "platform/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace cubwave {

const QString LogArchive::kLogFileName = QStringLiteral("log.txt");
const QString LogArchive::kBackupFolderName = QStringLiteral("BACKUP");
const QString LogArchive::kFileFilter = QStringLiteral("Log Files (*.log) | *.log");

const QString LogArchive::kNewLogTitle = QStringLiteral("WARNING - Your existing log file will be ERASED!");
const QString LogArchive::kNewLogPrompt = QStringLiteral(
    "Are you sure that you want to start a new log file?  This function will ERASE the existing log "
    "file!\n\nTo verify that you want to start a new log file, please type: YES");
const QString LogArchive::kNewLogErrorTitle = QStringLiteral("Error Starting New Log");
const QString LogArchive::kArchiveInfoTitle = QStringLiteral("Archive Information");
const QString LogArchive::kArchiveInfoText = QStringLiteral(
    "This function is used to create a permanent copy of your currently open log file.  To open "
    "your log file at a later date, click File > Restore from Archive or Backup.");
const QString LogArchive::kArchiveErrorTitle = QStringLiteral("Error Archiving Log");
const QString LogArchive::kRestoreInfoTitle = QStringLiteral("Opening Archived Data Information");
const QString LogArchive::kRestoreInfoText = QStringLiteral(
    "This action will open an archived log or backup file and creates a working file called "
    "log.txt.  If you make any changes to your archived data that you would like to permanently "
    "save, before you click File > New to start a new contest, be sure to click File > Archive to "
    "save your changes.");
const QString LogArchive::kRestoreConfirmTitle = QStringLiteral("Are your sure?");
const QString LogArchive::kRestoreConfirmText = QStringLiteral(
    "Are you sure that you want to open an archived log?  This action will clear and replace "
    "existing QSO data.");
const QString LogArchive::kRestoreErrorTitle = QStringLiteral("Error Restoring Log");

namespace {

// Earlier backups of one minute before a new one takes the next free suffix; a bound, so a
// folder that reports every name as taken cannot keep the backup looping.
constexpr int kBackupsPerMinute = 1000;

}  // namespace

LogArchive::LogArchive(const Clock& clock, QString workDir, QString dataFolder)
    : clock_(clock), workDir_(std::move(workDir)), dataFolder_(std::move(dataFolder))
{
}

QString LogArchive::logPath() const { return QDir(workDir_).filePath(kLogFileName); }

QString LogArchive::backupFolder() const { return QDir(dataFolder_).filePath(kBackupFolderName); }

QString LogArchive::backupFilePath() const
{
    return QDir(backupFolder()).filePath(clock_.localNow().toString(QStringLiteral("yyyyMMddhhmm")) +
                                         QStringLiteral(".log"));
}

QString LogArchive::suggestedArchivePath(const QString& ownCall) const
{
    return QDir(backupFolder()).filePath(nameFromCall(ownCall) +
                                         clock_.localNow().toString(QStringLiteral("yyyy-MM-dd")) +
                                         QStringLiteral(".log"));
}

bool LogArchive::backupDue(const LogStore& store)
{
    return store.count() > 0 && static_cast<float>(store.count()) != store.countAtLoad();
}

LogArchive::BackupResult LogArchive::backup(const LogStore& store) const
{
    if (!backupDue(store))
        return {};
    return backupNow();
}

LogArchive::BackupResult LogArchive::backupNow() const
{
    BackupResult result;
    result.taken = true;
    const QString folder = backupFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        result.ok = false;
        result.error = QStringLiteral("Could not create the folder %1").arg(QDir::toNativeSeparators(folder));
        return result;
    }
    const QString first = backupFilePath();
    const QString stem = first.chopped(4);  // without ".log"
    for (int n = 1; n <= kBackupsPerMinute; ++n) {
        const QString path = n == 1 ? first : QStringLiteral("%1-%2.log").arg(stem).arg(n);
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            continue;
        const WriteResult copied = copyFileAtomically(logPath(), path, ExistingFile::Keep);
        result.ok = copied.ok;
        result.error = copied.error;
        result.path = copied.ok ? path : QString();
        return result;
    }
    result.ok = false;
    result.error = QStringLiteral("%1 backups were taken this minute already").arg(kBackupsPerMinute);
    return result;
}

bool LogArchive::confirmsNewLog(const QString& answer)
{
    return answer.toUpper() == QLatin1String("YES");
}

LogArchive::BackupResult LogArchive::backupBeforeReplacing() const
{
    // The file, not the store, says what would be lost: the store may hold fewer contacts, or
    // the same number as at start-up, and the log is still worth a copy.
    const QFileInfo log(logPath());
    if (log.exists() && (!log.isFile() || log.size() != 0))
        return backupNow();
    return {};
}

WriteResult LogArchive::startNewLog() const
{
    const BackupResult saved = backupBeforeReplacing();
    if (!saved.ok)
        return {false, QStringLiteral("The log could not be backed up, so it was not erased.  ") + saved.error};
    return replaceFileAtomically(logPath(), QByteArray());
}

WriteResult LogArchive::archiveTo(const QString& target) const
{
    return copyFileAtomically(logPath(), target, ExistingFile::Replace);
}

WriteResult LogArchive::restoreFrom(const QString& source) const
{
    const FileBytes in = readFileBytes(source, LogFile::kMaxFileBytes);
    if (!in.ok)
        return {false, in.error};
    // The reload that follows ends the program on a file it cannot read; with the working log
    // already replaced, the contacts in it would be gone. Such a file is refused here instead.
    // The bytes checked are the bytes written.
    LogReadResult parsed = LogFile::parse(in.bytes);
    LogStore trial;
    if (!parsed.ok || !trial.load(std::move(parsed.records))) {
        const QString why = parsed.ok ? QStringLiteral("more than %1 contacts").arg(LogStore::kCapacity)
                                      : parsed.describe();
        return {false, QStringLiteral("%1 is not a log that can be opened (%2).  The current log was "
                                      "not changed.")
                           .arg(QDir::toNativeSeparators(source), why)};
    }
    // The log being replaced may hold contacts that were never archived.
    const BackupResult saved = backupBeforeReplacing();
    if (!saved.ok) {
        return {false, QStringLiteral("The current log could not be backed up, so nothing was restored.  ") +
                           saved.error};
    }
    return replaceFileAtomically(logPath(), in.bytes);
}

}  // namespace cubwave

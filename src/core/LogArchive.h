#pragma once

#include "core/FileWrite.h"

#include <QString>

namespace cubwave {

class Clock;
class LogStore;

// Whole-log file operations: the automatic backup, emptying the log for a new one, archive
// copies and restoring one over the working file. The dialogs around them are the window's;
// every method returns the system's reason when it fails.
class LogArchive {
public:
    static const QString kLogFileName;        // "log.txt"
    static const QString kBackupFolderName;   // "BACKUP"
    static const QString kFileFilter;         // for the archive and restore file dialogs

    // Texts of the dialogs around these operations.
    static const QString kNewLogTitle;
    static const QString kNewLogPrompt;
    static const QString kNewLogErrorTitle;   // the new log refused because its backup failed
    static const QString kArchiveInfoTitle;
    static const QString kArchiveInfoText;
    static const QString kArchiveErrorTitle;
    static const QString kRestoreInfoTitle;
    static const QString kRestoreInfoText;
    static const QString kRestoreConfirmTitle;
    static const QString kRestoreConfirmText;
    static const QString kRestoreErrorTitle;

    struct BackupResult {
        bool taken = false;  // false also when no backup was due
        bool ok = true;
        QString error;  // the system's reason when !ok
        QString path;   // the backup file, when taken
    };

    // workDir holds "log.txt"; dataFolder is the program data folder that holds "BACKUP".
    LogArchive(const Clock& clock, QString workDir, QString dataFolder);

    QString logPath() const;
    QString backupFolder() const;
    // The backup folder, the local date and time as "yyyymmddhhnn", ".log". A later backup in the
    // same minute never replaces it: it is named "yyyymmddhhnn-2.log", "-3", and so on.
    QString backupFilePath() const;
    // The backup folder, the own call's file-name stem, the local date "yyyy-mm-dd", ".log".
    QString suggestedArchivePath(const QString& ownCall) const;

    // A backup is due when the log holds records and their number differs from the count at load.
    static bool backupDue(const LogStore& store);
    // Copies "log.txt" to a new backup file when one is due, creating the backup folder when
    // missing. A backup is never left short nor written over an earlier one.
    BackupResult backup(const LogStore& store) const;

    // The typed confirmation of a new log: "YES" without regard to case.
    static bool confirmsNewLog(const QString& answer);
    // Backs up "log.txt" whenever it holds anything, whatever the store holds, then empties it
    // (creating it when missing). A backup that failed leaves the log as it was: erasing it
    // would lose those contacts. The caller zeroes the operating time, saves the preferences
    // and reloads the log.
    WriteResult startNewLog() const;

    // Copies "log.txt" to target, replacing it whole.
    WriteResult archiveTo(const QString& target) const;
    // Copies source over "log.txt" when it is a log this program can load, after backing up
    // "log.txt" as a new log does; anything else, and a failed backup, leaves the working file
    // as it was. The caller reloads the log afterwards.
    WriteResult restoreFrom(const QString& source) const;

private:
    BackupResult backupNow() const;
    // A backup of "log.txt" whenever it holds anything; nothing to do (ok) when it does not.
    BackupResult backupBeforeReplacing() const;

    const Clock& clock_;
    QString workDir_;
    QString dataFolder_;
};

}  // namespace cubwave

#pragma once

#include "core/FileWrite.h"
#include "core/LogStore.h"
#include "core/Preferences.h"

#include <QObject>
#include <QString>

#include <functional>

namespace cubwave {

class Clock;

// What the entry line holds when the operator commits a contact.
struct ContactEntry {
    QString call;
    QString name;
    QString age;
    QString spc;
    QString other;
    QString postDate;  // post-contest mode only
    QString postTime;
};

// The contest being logged: the log store and log.txt, the preferences and the current band,
// mode and frequency text. Windows read it and subscribe to its signals instead of being
// refreshed one by one after every change.
class ContestSession : public QObject {
    Q_OBJECT

public:
    static inline const QString kPrefFileName = QStringLiteral("cubwavepref.txt");
    static inline const QString kLogFileName = QStringLiteral("log.txt");

    using AppendToLog = std::function<WriteResult(const QString& logPath, const QsoRecord& record)>;

    // workDir holds log.txt and cubwavepref.txt. appendToLog empty: LogFile::append.
    ContestSession(Clock& clock, QString workDir, AppendToLog appendToLog = {}, QObject* parent = nullptr);

    LogStore& store() { return store_; }
    const LogStore& store() const { return store_; }
    Preferences& prefs() { return prefs_; }
    const Preferences& prefs() const { return prefs_; }
    QString logPath() const;
    QString prefPath() const;

    // Preferences: false when cubwavepref.txt is missing or unreadable (prefs unchanged).
    bool readPreferences();
    // Replaces cubwavepref.txt; preferencesNotSaved tells why when it could not. A file the
    // operator made read-only is left alone and counts as no failure: the preferences stay in
    // memory for this run, and preferencesReadOnly says so the first time.
    bool savePreferences();

    // Reads log.txt into the store. logReloaded on success; logUnreadable (and the log counts as
    // not loaded, so nothing writes it) otherwise.
    bool reloadLog();
    // Why the last reload failed, for the operator: "log.txt line N: <reason>", or "log.txt:
    // <reason>" when the file as a whole was refused. Empty after a reload that succeeded.
    const QString& logReadProblem() const { return logReadProblem_; }
    // Writes the whole store back to log.txt; the caller reloads either way.
    WriteResult rewriteLog();
    // True once log.txt has been read into the store; until then nothing writes it.
    bool logLoaded() const { return logLoaded_; }
    void markNotLoaded(const QString& why, const QString& fix);
    const QString& notLoadedWhy() const { return notLoadedWhy_; }
    const QString& notLoadedFix() const { return notLoadedFix_; }

    // Stores the entry as the next contact and appends it to log.txt, synced. On success
    // contactAdded has been emitted; on failure the store is as it was.
    struct StoreOutcome {
        enum class Kind { Stored, LogNotLoaded, LogFull, WriteFailed };
        Kind kind = Kind::Stored;
        QString error;  // WriteFailed: the system's reason
        bool stored() const { return kind == Kind::Stored; }
    };
    StoreOutcome storeContact(const ContactEntry& entry);

    // The "New" marker: a DX entry that is not on the DX list yet.
    bool isNewDx(const QString& spcText) const;

    // Band and mode commands: saved at once; a band or mode change may reload the log.
    void setBand(const QString& band);
    void setMode(const QString& mode);
    // Reports of the rig: a frequency in a band other than the current one runs the band command;
    // a usable frequency becomes the frequency text of the next contact.
    void reportFrequency(float frequencyMHz);
    void reportMode(const QString& mode);
    const QString& frequencyText() const { return frequencyText_; }
    QString& frequencyText() { return frequencyText_; }
    void clearFrequency() { frequencyText_.clear(); }

    // The operator's choices that are no field of any window.
    bool postContestMode = false;
    bool partialDupDisplay = true;
    bool listAll = false;
    bool listPrevious() const { return prefs_.listPrevious == 1; }
    void setListPrevious(bool on);

signals:
    // Record recNo was stored. newDx: it joined the DX list; workedIndex: the multiplier it
    // marked worked (0 none).
    void contactAdded(int recNo, bool newDx, int workedIndex);
    void logReloaded();
    void logUnreadable();
    void bandChanged(const QString& band);
    void modeChanged(const QString& mode);
    void frequencyReported(const QString& frequencyText);
    void preferencesNotSaved(const QString& path, const QString& error);
    void preferencesReadOnly(const QString& path);

private:
    Clock& clock_;
    QString workDir_;
    AppendToLog appendToLog_;
    LogStore store_;
    Preferences prefs_;
    QString frequencyText_;
    bool logLoaded_ = false;
    bool prefsReadOnlyTold_ = false;
    QString logReadProblem_;
    QString notLoadedWhy_;
    QString notLoadedFix_;
};

}  // namespace cubwave

#include "core/ContestSession.h"

#include "core/BandSelection.h"
#include "core/ContactTime.h"
#include "core/LogFile.h"
#include "core/Statistics.h"
#include "platform/Clock.h"

#include <QDir>
#include <QFile>

namespace cubwave {

namespace {

// A preference file is a few hundred bytes; a larger one is no preference file.
constexpr qint64 kPrefReadLimit = 64 * 1024 + 1;

}  // namespace

ContestSession::ContestSession(Clock& clock, QString workDir, AppendToLog appendToLog, QObject* parent)
    : QObject(parent), clock_(clock), workDir_(std::move(workDir)), appendToLog_(std::move(appendToLog))
{
}

QString ContestSession::logPath() const { return QDir(workDir_).filePath(kLogFileName); }

QString ContestSession::prefPath() const { return QDir(workDir_).filePath(kPrefFileName); }

bool ContestSession::readPreferences()
{
    QFile file(prefPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<Preferences> read = PrefFile::parse(file.read(kPrefReadLimit));
    if (!read)
        return false;
    prefs_ = *read;
    return true;
}

bool ContestSession::savePreferences()
{
    const WriteResult written = replaceFileAtomically(prefPath(), PrefFile::serialize(prefs_));
    if (written.readOnly) {
        if (!prefsReadOnlyTold_) {
            prefsReadOnlyTold_ = true;
            emit preferencesReadOnly(prefPath());
        }
        return true;
    }
    if (!written.ok)
        emit preferencesNotSaved(prefPath(), written.error);
    return written.ok;
}

void ContestSession::markNotLoaded(const QString& why, const QString& fix)
{
    logLoaded_ = false;
    notLoadedWhy_ = why;
    notLoadedFix_ = fix;
}

bool ContestSession::reloadLog()
{
    const LogReadResult read = LogFile(logPath()).read();
    const bool stored = read.ok && store_.load(read.records);
    if (stored)
        logReadProblem_.clear();
    else if (read.ok)  // the reader refuses more contacts than the store holds; kept in step
        logReadProblem_ = kLogFileName + QStringLiteral(": more than %1 contacts").arg(LogStore::kCapacity);
    else
        logReadProblem_ = read.problem(kLogFileName);
    if (!stored) {
        // The store no longer tells what the file holds: writing it back would lose contacts.
        markNotLoaded(QStringLiteral("log.txt could not be read back."),
                      QStringLiteral("Close this program, correct log.txt as the \"File Error\" message describes, "
                                     "and start it again."));
        emit logUnreadable();
        return false;
    }
    logLoaded_ = true;
    emit logReloaded();
    store_.noteLoaded();
    return true;
}

WriteResult ContestSession::rewriteLog() { return LogFile(logPath()).rewrite(store_.records()); }

bool ContestSession::isNewDx(const QString& spcText) const { return Statistics::showsNew(spcText, store_.dxList()); }

ContestSession::StoreOutcome ContestSession::storeContact(const ContactEntry& entry)
{
    if (!logLoaded_)
        return {StoreOutcome::Kind::LogNotLoaded, {}};
    if (store_.isFull())
        return {StoreOutcome::Kind::LogFull, {}};
    QsoRecord r;
    r[QsoRecord::Call] = entry.call;
    r[QsoRecord::Age] = entry.age;
    r[QsoRecord::Other] = entry.other;
    r[QsoRecord::Spc] = entry.spc;
    r[QsoRecord::Name] = entry.name;
    if (postContestMode) {
        r[QsoRecord::Date] = entry.postDate;
        r[QsoRecord::Time] = entry.postTime;
    } else {
        const QDateTime utc = contactUtc(clock_.localNow(), prefs_.utcOffsetHours);
        r[QsoRecord::Date] = contactDateText(utc);
        r[QsoRecord::Time] = contactTimeText(utc);
    }
    r[QsoRecord::Mode] = prefs_.mode;
    r[QsoRecord::Band] = prefs_.band;
    r[QsoRecord::Frequency] = frequencyText_;
    const bool newDx = r.spc().size() > 2 && isNewDx(r.spc());

    store_.append(r);
    const WriteResult written = appendToLog_ ? appendToLog_(logPath(), r) : LogFile(logPath()).append(r);
    if (!written.ok) {
        // The operator must never believe a contact is saved when it is not.
        store_.dropLast();
        return {StoreOutcome::Kind::WriteFailed, written.error};
    }
    const bool dxAdded = newDx && store_.addDx(r.spc());
    const int workedIndex = r.spc().size() == 2 ? store_.markWorked(r.spc()) : 0;
    emit contactAdded(store_.count(), dxAdded, workedIndex);
    return {};
}

void ContestSession::setBand(const QString& band)
{
    prefs_.band = band;
    emit bandChanged(band);
    savePreferences();
    if (BandSelection::bandCommandReloadsLog(band))
        reloadLog();
}

void ContestSession::setMode(const QString& mode)
{
    prefs_.mode = mode;
    savePreferences();
    reloadLog();
    emit modeChanged(mode);
}

void ContestSession::reportFrequency(float frequencyMHz)
{
    const BandSelection::FrequencyReport report = BandSelection::frequencyReport(frequencyMHz, prefs_.band);
    if (report.bandCommand)
        setBand(*report.bandCommand);
    if (report.frequencyText) {
        frequencyText_ = *report.frequencyText;
        emit frequencyReported(frequencyText_);
    }
}

void ContestSession::reportMode(const QString& mode)
{
    switch (BandSelection::modeSelection(mode, prefs_.mode)) {
    case BandSelection::ModeCommand::Cw: setMode(QStringLiteral("CW")); break;
    case BandSelection::ModeCommand::Ph: setMode(QStringLiteral("PH")); break;
    case BandSelection::ModeCommand::None: break;
    }
}

void ContestSession::setListPrevious(bool on)
{
    prefs_.listPrevious = on ? 1 : 0;
    savePreferences();
}

}  // namespace cubwave

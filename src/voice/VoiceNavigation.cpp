#include "voice/VoiceNavigation.h"

#include "platform/Clock.h"
#include "platform/WavePlayer.h"
#include "voice/CaseBlindFile.h"
#include "voice/VoiceKeyer.h"

namespace cubwave {

VoiceNavigation::VoiceNavigation(WavePlayer& player, Clock& clock, QString workDir, int level, QObject* parent)
    : QObject(parent), player_(player), clock_(clock), workDir_(std::move(workDir)), preparation_(player)
{
    pollTimer_.setInterval(kPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &VoiceNavigation::poll);
    setLevel(level);
}

VoiceNavigation::~VoiceNavigation() { close(); }

QString VoiceNavigation::cuePath(const QString& workDir, const QString& cue)
{
    return workDir + QLatin1Char('/') + cue + QStringLiteral(".wav");
}

void VoiceNavigation::setLevel(int level)
{
    level_ = level;
    // Level 0 can only ever play "Dupe"; the others any cue.
    QStringList cues{kDupe};
    if (level_ > kOff)
        cues << kCall << kName << kAge << kSpc << kOther << kNavEn << kNavDis;
    QStringList paths;
    for (const QString& cue : cues)
        paths << cuePath(workDir_, cue);
    preparation_.request(paths);
}

void VoiceNavigation::prepareWaitingNow()
{
    while (preparation_.pending())
        preparation_.prepareNext();
}

bool VoiceNavigation::start(const QString& cue, bool holdsFocusCues)
{
    player_.close();
    holding_ = false;
    currentPath_ = CaseBlindFile::find(cuePath(workDir_, cue));
    // A cue that cannot be played is silent.
    if (!player_.open(currentPath_) || !player_.play())
        return false;
    watch_.started(currentPath_, clock_.ticksMs());
    holding_ = holdsFocusCues;
    emit cueStarted(cue);
    return true;
}

void VoiceNavigation::setPending(const QString& cue, bool waitsForHold)
{
    pending_ = cue;
    pendingWaits_ = waitsForHold;
    if (!pollTimer_.isActive())
        pollTimer_.start();
}

void VoiceNavigation::dropPending()
{
    pending_.clear();
    pendingWaits_ = false;
    pollTimer_.stop();
}

void VoiceNavigation::announce(int level, bool holdsFocusCues)
{
    if (level <= kOff) {
        start(kNavDis, holdsFocusCues);
        return;
    }
    const bool started = start(kNavEn, holdsFocusCues);
    if (level == kCallOnly) {
        if (started)
            setPending(kCall, false);
        else
            start(kCall, holdsFocusCues);
    }
}

void VoiceNavigation::ensureAnnounced()
{
    if (announced_)
        return;
    announced_ = true;
    announce(level_, true);
}

void VoiceNavigation::announceLevel()
{
    if (transmitting_)
        return;
    ensureAnnounced();
}

void VoiceNavigation::blindKeyPhone(const QString& cue)
{
    if (transmitting_)
        return;
    ensureAnnounced();
    dropPending();
    start(cue, false);
}

bool VoiceNavigation::cueWithinItsTime() { return player_.playing() && watch_.withinLimit(player_, clock_.ticksMs()); }

void VoiceNavigation::fieldFocused(Field field)
{
    const QString cue = field == Field::Call    ? kCall
                         : field == Field::Name ? kName
                         : field == Field::Age  ? kAge
                         : field == Field::Spc  ? kSpc
                                                : kOther;
    const int needed = field == Field::Call ? kCallOnly : kAllFields;
    if (level_ < needed || transmitting_)
        return;
    ensureAnnounced();
    if (holding_ && cueWithinItsTime()) {
        setPending(cue, true);
        return;
    }
    dropPending();
    start(cue, false);
}

void VoiceNavigation::duplicateFound()
{
    if (transmitting_)
        return;
    // An announcement would be cut off before it was heard.
    announced_ = true;
    if (!pendingWaits_)
        dropPending();
    start(kDupe, true);
}

void VoiceNavigation::chooseOption(int level)
{
    if (transmitting_)
        return;
    announced_ = true;
    dropPending();
    announce(level, false);
}

bool VoiceNavigation::cuePlaying() const { return player_.playing(); }

void VoiceNavigation::stopCue()
{
    dropPending();
    holding_ = false;
    player_.close();
}

void VoiceNavigation::setTransmitting(bool transmitting)
{
    transmitting_ = transmitting;
    if (transmitting_)
        stopCue();
}

void VoiceNavigation::follow(const VoiceKeyer& keyer)
{
    connect(&keyer, &VoiceKeyer::aboutToTransmit, this, &VoiceNavigation::stopCue);
    connect(&keyer, &VoiceKeyer::transmittingChanged, this, &VoiceNavigation::setTransmitting);
    setTransmitting(keyer.messageOn() || keyer.pttUp());
}

void VoiceNavigation::close() { stopCue(); }

void VoiceNavigation::poll()
{
    if (pending_.isEmpty()) {
        pollTimer_.stop();
        return;
    }
    if (cueWithinItsTime())
        return;
    const QString next = pending_;
    dropPending();
    if (!transmitting_)
        start(next, false);
}

}  // namespace cubwave

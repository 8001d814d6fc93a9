#include "voice/VoiceKeyer.h"

#include "cw/CwNumber.h"
#include "platform/Clock.h"
#include "platform/OneShotTimer.h"
#include "platform/ParallelPorts.h"
#include "platform/SerialLineSharing.h"
#include "platform/WavePlayer.h"
#include "voice/CaseBlindFile.h"
#include "voice/WaveHeader.h"

#include <QFileInfo>

namespace cubwave {

namespace {

// Qt's default coarse timers may fire up to 5 % early; the repeat's gap is a minimum.
class PreciseOneShotTimer final : public OneShotTimer {
public:
    PreciseOneShotTimer()
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const std::function<void()> call = std::exchange(onTimeout_, nullptr);
            if (call)
                call();
        });
    }
    void start(int ms, std::function<void()> onTimeout) override
    {
        onTimeout_ = std::move(onTimeout);
        timer_.start(std::max(0, ms));
    }
    void stop() override
    {
        timer_.stop();
        onTimeout_ = nullptr;
    }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

}  // namespace

VoiceKeyer::VoiceKeyer(Services services, QObject* parent)
    : QObject(parent), services_(std::move(services)), preparation_(services_.player)
{
    pollTimer_.setInterval(kPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &VoiceKeyer::poll);
    repeatTimer_ = services_.repeatTimer;
    if (!repeatTimer_) {
        ownRepeatTimer_ = std::make_unique<PreciseOneShotTimer>();
        repeatTimer_ = ownRepeatTimer_.get();
    }
    // A loaded file starts, and a failing one drops PTT, as soon as the player says so.
    services_.player.setChangeListener([this] {
        if (active_)
            poll();
    });
    if (services_.sharing)
        services_.sharing->setCloser(SerialLineSharing::User::VoicePtt, [this] { givePortUp(); });
}

VoiceKeyer::~VoiceKeyer()
{
    services_.player.setChangeListener({});
    if (services_.sharing)
        services_.sharing->setCloser(SerialLineSharing::User::VoicePtt, {});
    blockSignals(true);
    releaseAll();
}

void VoiceKeyer::setSettings(const VoiceSettings& settings)
{
    QStringList changed;
    for (int i = 0; i < VoiceSettings::kMessageCount; ++i) {
        if (settings.paths[i].trimmed() != settings_.paths[i].trimmed())
            changed << settings.paths[i];
    }
    settings_ = settings;
    preparation_.request(changed);
    // A parallel port no longer chosen, or at another address, is let go unless PTT is up on it.
    if (parallel_ && parallel_ != raised_.parallel &&
        (settings_.pttLine != PttLine::Parallel || CwNumber::parseAddress(settings_.address) != parallelAddress_))
        parallel_.reset();
}

void VoiceKeyer::prepareWaitingNow()
{
    while (preparation_.pending())
        preparation_.prepareNext();
}

void VoiceKeyer::fKeyPhone(int keyCode)
{
    if (keyCode < kF1 || keyCode > kF9)
        return;
    cancelPortWait();
    WavePlayer& player = services_.player;
    // Ends any message still playing. Its PTT stays up for this one, or the poll drops it.
    player.close();
    loading_ = false;
    waitingForDue_ = false;
    const bool repeatStart = std::exchange(repeatStarting_, false);
    notBeforeMs_ = repeatStart ? lastEndMs_ + settings_.repeatIntervalMs() : 0;
    if (keyCode == kF1 && settings_.repeats())
        setRepeating(true);
    const QString name = settings_.paths[keyCode - kF1].trimmed();
    if (name.isEmpty())
        return;

    messageKey_ = keyCode;
    emit aboutToTransmit();
    // From here until the message plays or is given up, no poll acts on the one it replaces:
    // the invalid-port message box lets events run.
    pollTimer_.stop();
    setActive(true);
    file_ = name;
    resolvedFile_ = CaseBlindFile::find(name);
    // Without an output the player plays into nothing and still says it plays.
    if (!player.hasSoundOutput()) {
        refuseWithoutSoundOutput();
        return;
    }
    // Checked before PTT goes up: the player reports a damaged header only once playing.
    if (QFileInfo(resolvedFile_).isFile()) {
        const QString damaged = WaveHeader::problemOfFile(resolvedFile_);
        if (!damaged.isEmpty()) {
            abandon(name, damaged);
            return;
        }
    }
    // A CW line on the same port finishes its character before the file loads (a pipeline left
    // waiting after its load starts its sound late and cut); this key runs again once the port
    // is free. The line itself opens only when the file has loaded.
    if (waitForPort(keyCode))
        return;
    if (!player.open(resolvedFile_)) {
        abandon(name, playerProblem());
        return;
    }
    loadStartedMs_ = services_.clock.ticksMs();
    switch (player.readiness()) {
    case WavePlayer::Readiness::Ready:
        loadMs_ = 0;
        startWhenDue();
        return;
    case WavePlayer::Readiness::Loading:
        // Nothing goes out until the file has loaded: the PTT of a message before is dropped.
        dropPtt();
        loading_ = true;
        pollTimer_.start();
        return;
    case WavePlayer::Readiness::Failed:
    case WavePlayer::Readiness::None:
        abandon(name, playerProblem());
        return;
    }
}

void VoiceKeyer::startWhenDue()
{
    const qint64 waitMs = notBeforeMs_ - services_.clock.ticksMs();
    if (waitMs <= 0) {
        keyAndPlay();
        return;
    }
    // A repeat loaded ahead waits, PTT down, for the end of its gap.
    waitingForDue_ = true;
    repeatTimer_->start(static_cast<int>(waitMs), [this] {
        if (active_ && waitingForDue_) {
            waitingForDue_ = false;
            keyAndPlay();
        }
    });
}

void VoiceKeyer::keyAndPlay()
{
    WavePlayer& player = services_.player;
    const QString name = file_;
    Wanted wanted;
    if (settings_.portNumber() != 0) {
        const PortState port = ensurePttLineOpen(messageKey_);
        if (port == PortState::Waiting) {
            // Another line took the port while the file loaded: the key runs again once it is free.
            services_.player.close();
            pollTimer_.stop();
            return;
        }
        if (port == PortState::Open) {
            wanted.serial = true;
            wanted.serialLine = settings_.pttLine == PttLine::Dtr ? ModemLine::Dtr : ModemLine::Rts;
        }
    }
    if (!active_)
        return;  // Esc while the invalid-port message box was up
    if (settings_.pttLine == PttLine::Parallel) {
        QString why;
        wanted.parallel = parallelLine(why);
        if (!wanted.parallel) {
            abandon(name, why);
            return;
        }
    }
    dropUnwanted(wanted);
    // The message box above lets events run: the player may have failed meanwhile.
    if (player.readiness() != WavePlayer::Readiness::Ready) {
        abandon(name, playerProblem());
        return;
    }
    QString why;
    if (!raise(wanted, why)) {
        abandon(name, why);
        return;
    }
    if (!player.play()) {
        abandon(name, playerProblem());
        return;
    }
    watch_.started(resolvedFile_, services_.clock.ticksMs());
    pollTimer_.start();
}

void VoiceKeyer::refuseWithoutSoundOutput()
{
    halt();
    cancelRepeat();
    emit problem(kNoSoundOutputText);
    emit soundOutputMissing(kNoSoundOutputTitle, kNoSoundOutputText, !noOutputReported_);
    noOutputReported_ = true;
}

void VoiceKeyer::stop()
{
    cancelPortWait();
    if (!active_)
        return;
    if (loading_ || waitingForDue_) {
        // Nothing was keyed for it: the message simply does not start.
        services_.player.close();
        loading_ = false;
        waitingForDue_ = false;
        finishMessage(QString());
        return;
    }
    services_.player.stop();
    poll();
}

bool VoiceKeyer::playing() const { return active_ && (waitingKey_ != 0 || services_.player.playing()); }

void VoiceKeyer::cancelRepeat()
{
    repeatTimer_->stop();
    setRepeating(false);
    // A repeat still loading or waiting for its time is not on the air yet: it does not start.
    if (active_ && notBeforeMs_ > 0 && (loading_ || waitingForDue_))
        halt();
}

bool VoiceKeyer::repeatTimerActive() const { return repeatTimer_->isActive(); }

qint64 VoiceKeyer::repeatLeadMs() const
{
    // The file is loaded again for each play: the repeat starts loading as long before its time
    // as the last load took, and a little more, so PTT can rise on time.
    return loadMs_ > 0 ? std::min<qint64>(loadMs_ + kRepeatLeadMarginMs, settings_.repeatIntervalMs()) : 0;
}

void VoiceKeyer::armRepeat(int ms)
{
    repeatTimer_->start(ms, [this] { repeatDue(); });
}

void VoiceKeyer::repeatDue()
{
    if (!repeating_ || active_)
        return;
    const qint64 restMs = settings_.repeatIntervalMs() - (services_.clock.ticksMs() - lastEndMs_);
    if (restMs > repeatLeadMs()) {
        armRepeat(static_cast<int>(restMs - repeatLeadMs()));
        return;
    }
    repeatStarting_ = true;
    fKeyPhone(kF1);
}

void VoiceKeyer::poll()
{
    if (!active_) {
        pollTimer_.stop();
        return;
    }
    WavePlayer& player = services_.player;
    if (loading_) {
        switch (player.readiness()) {
        case WavePlayer::Readiness::Ready:
            loading_ = false;
            pollTimer_.stop();
            loadMs_ = services_.clock.ticksMs() - loadStartedMs_;
            startWhenDue();
            return;
        case WavePlayer::Readiness::Loading:
            if (services_.clock.ticksMs() - loadStartedMs_ < kLoadLimitMs)
                return;
            abandon(file_, QStringLiteral("The player did not load the file within %1 s").arg(kLoadLimitMs / 1000));
            return;
        case WavePlayer::Readiness::Failed:
        case WavePlayer::Readiness::None:
            abandon(file_, playerProblem());
            return;
        }
    }
    if (player.playing()) {
        const qint64 nowMs = services_.clock.ticksMs();
        if (watch_.withinLimit(player, nowMs))
            return;
        player.stop();
        finishMessage(QStringLiteral("Voice message stopped, PTT dropped: %1: still playing after %2 s, longer than the file")
                          .arg(file_)
                          .arg(watch_.elapsedMs(nowMs) / 1000));
        return;
    }
    const QString why = player.errorText();
    finishMessage(why.isEmpty() ? QString() : QStringLiteral("Voice message stopped, PTT dropped: %1: %2").arg(file_, why));
}

void VoiceKeyer::finishMessage(const QString& problemText)
{
    pollTimer_.stop();
    loading_ = false;
    waitingForDue_ = false;
    dropPtt();
    // Rounded up to the next whole millisecond: the clock reads whole milliseconds, and the
    // repeat's gap must never be short of its setting.
    lastEndMs_ = services_.clock.ticksMs() + 1;
    setActive(false);
    if (!problemText.isEmpty()) {
        // Repeating a message that fails would only key the transmitter for nothing.
        cancelRepeat();
        emit problem(problemText);
        return;
    }
    // An interval that rounds to 0 ms never fires, rather than repeating without a pause.
    if (repeating_ && settings_.repeatIntervalMs() > 0)
        armRepeat(static_cast<int>(std::max<qint64>(0, settings_.repeatIntervalMs() - repeatLeadMs())));
}

void VoiceKeyer::halt()
{
    services_.player.close();
    loading_ = false;
    waitingForDue_ = false;
    pollTimer_.stop();
    dropPtt();
    setActive(false);
}

QString VoiceKeyer::playerProblem() const
{
    const QString text = services_.player.errorText();
    return text.isEmpty() ? QStringLiteral("The file cannot be played") : text;
}

void VoiceKeyer::abandon(const QString& file, const QString& reason)
{
    const bool wasUp = pttUp();
    halt();
    cancelRepeat();
    emit problem((wasUp ? QStringLiteral("Voice message not sent, PTT dropped: %1: %2")
                        : QStringLiteral("Voice message not sent: %1: %2"))
                     .arg(file, reason));
}

bool VoiceKeyer::openPttLine()
{
    return openPttLine(false, [this] { openPttLine(); }) != PortState::Failed;
}

VoiceKeyer::PortState VoiceKeyer::openPttLine(bool messageStarting, std::function<void()> whenFree)
{
    const int port = settings_.portNumber();
    if (port == 0)
        return PortState::Open;
    closePttLine();
    const QString device = port > 0 ? services_.portMap().devicePath(port) : QString();
    QString reason;
    if (services_.sharing && !device.isEmpty()) {
        using Outcome = SerialLineSharing::Outcome;
        const SerialLineSharing::Taking taking =
            services_.sharing->take(SerialLineSharing::User::VoicePtt, device, std::move(whenFree));
        if (taking.outcome == Outcome::Waiting)
            return PortState::Waiting;
        if (taking.outcome == Outcome::Refused)
            reason = SerialLineSharing::usedByText(device, *taking.holder);
    }
    if (reason.isEmpty() && !device.isEmpty() && services_.pttLine.open(device))
        return PortState::Open;
    if (reason.isEmpty())
        reason = device.isEmpty() ? QStringLiteral("Port %1 names no serial port").arg(settings_.port.trimmed())
                                  : device + QStringLiteral(": ") + services_.pttLine.errorText();
    // The message box waits for the operator; nothing stays keyed meanwhile.
    if (messageStarting)
        dropPtt();
    emit pttPortInvalid(kInvalidPortTitle, kInvalidPortText);
    emit problem(reason);
    return PortState::Failed;
}

VoiceKeyer::PortState VoiceKeyer::ensurePttLineOpen(int keyCode)
{
    if (services_.pttLine.isOpen())
        return PortState::Open;
    const PortState state = openPttLine(true, [this, keyCode] {
        waitingKey_ = 0;
        fKeyPhone(keyCode);
    });
    if (state == PortState::Waiting)
        waitingKey_ = keyCode;
    return state;
}

bool VoiceKeyer::waitForPort(int keyCode)
{
    const int port = settings_.portNumber();
    if (port <= 0 || !services_.sharing || services_.pttLine.isOpen())
        return false;
    const QString device = services_.portMap().devicePath(port);
    if (device.isEmpty())
        return false;
    const SerialLineSharing::Taking taking =
        services_.sharing->take(SerialLineSharing::User::VoicePtt, device, [this, keyCode] {
            waitingKey_ = 0;
            fKeyPhone(keyCode);
        });
    if (taking.outcome != SerialLineSharing::Outcome::Waiting)
        return false;  // free now, or refused: the open after loading says why
    waitingKey_ = keyCode;
    return true;
}

void VoiceKeyer::cancelPortWait()
{
    waitingKey_ = 0;
    if (services_.sharing)
        services_.sharing->cancelWaiting(SerialLineSharing::User::VoicePtt);
}

void VoiceKeyer::givePortUp()
{
    cancelPortWait();
    cancelRepeat();
    if (active_)
        halt();
    closePttLine();
}

void VoiceKeyer::closePttLine()
{
    // Closing the port drops its lines.
    raised_.serial = false;
    services_.pttLine.close();
    notifyPtt();
}

std::shared_ptr<KeyingLine> VoiceKeyer::parallelLine(QString& why)
{
    const auto address = CwNumber::parseAddress(settings_.address);
    if (!address) {
        why = QStringLiteral("Parallel port address \"%1\" is not a port address").arg(settings_.address);
        return nullptr;
    }
    if (!parallel_ || parallelAddress_ != *address) {
        parallel_.reset();  // one raised on the old address is still held until dropped
        const ParallelPorts::Opened opened = services_.parallelPorts.open(*address);
        if (!opened.line) {
            why = (opened.device.isEmpty() ? QStringLiteral("Parallel port") : opened.device) + QStringLiteral(": ") +
                  opened.reason;
            return nullptr;
        }
        parallel_ = opened.line;
        parallelAddress_ = *address;
    }
    return parallel_;
}

bool VoiceKeyer::raise(const Wanted& wanted, QString& why)
{
    SerialLine& line = services_.pttLine;
    const bool serialUpAlready = raised_.serial && raised_.serialLine == wanted.serialLine &&
                                 raised_.serialDevice == line.devicePath();
    if (wanted.serial && !serialUpAlready) {
        if (!line.setModemLine(wanted.serialLine, true)) {
            why = line.devicePath() + QStringLiteral(": ") + line.errorText();
            return false;
        }
        raised_.serial = true;
        raised_.serialLine = wanted.serialLine;
        raised_.serialDevice = line.devicePath();
        notifyPtt();
    }
    if (wanted.parallel && raised_.parallel != wanted.parallel) {
        if (!wanted.parallel->setKeyed(true)) {
            why = QStringLiteral("Parallel port: ") + wanted.parallel->errorText();
            return false;
        }
        raised_.parallel = wanted.parallel;
        notifyPtt();
    }
    return true;
}

void VoiceKeyer::dropUnwanted(const Wanted& wanted)
{
    SerialLine& line = services_.pttLine;
    if (raised_.serial && !(wanted.serial && wanted.serialLine == raised_.serialLine &&
                            raised_.serialDevice == line.devicePath())) {
        if (line.isOpen() && line.devicePath() == raised_.serialDevice)
            line.setModemLine(raised_.serialLine, false);
        raised_.serial = false;
    }
    if (raised_.parallel && raised_.parallel != wanted.parallel) {
        raised_.parallel->setKeyed(false);
        raised_.parallel.reset();
    }
    notifyPtt();
}

void VoiceKeyer::dropPtt() { dropUnwanted({}); }

void VoiceKeyer::releaseAll()
{
    cancelPortWait();
    cancelRepeat();
    halt();
    parallel_.reset();
    closePttLine();
}

void VoiceKeyer::setRepeating(bool on)
{
    if (repeating_ == on)
        return;
    repeating_ = on;
    emit repeatingChanged(on);
}

void VoiceKeyer::setActive(bool on)
{
    if (active_ != on) {
        active_ = on;
        emit playingChanged(on);
    }
    notifyTransmitting();
}

void VoiceKeyer::notifyPtt()
{
    if (pttUp() != pttWasUp_) {
        pttWasUp_ = pttUp();
        emit pttChanged(pttWasUp_);
    }
    notifyTransmitting();
}

void VoiceKeyer::notifyTransmitting()
{
    const bool now = active_ || pttUp();
    if (now != transmitting_) {
        transmitting_ = now;
        emit transmittingChanged(now);
    }
}

}  // namespace cubwave

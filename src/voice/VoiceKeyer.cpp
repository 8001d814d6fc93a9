#include "voice/VoiceKeyer.h"

#include "cw/CwNumber.h"
#include "platform/Clock.h"
#include "platform/ParallelPorts.h"
#include "platform/SerialLineSharing.h"
#include "platform/WavePlayer.h"
#include "voice/CaseBlindFile.h"

namespace cubwave {

VoiceKeyer::VoiceKeyer(Services services, QObject* parent)
    : QObject(parent), services_(std::move(services)), preparation_(services_.player)
{
    pollTimer_.setInterval(kPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &VoiceKeyer::poll);
    repeatTimer_.setSingleShot(true);
    connect(&repeatTimer_, &QTimer::timeout, this, &VoiceKeyer::repeatDue);
    if (services_.sharing)
        services_.sharing->setCloser(SerialLineSharing::User::VoicePtt, [this] { givePortUp(); });
}

VoiceKeyer::~VoiceKeyer()
{
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
    if (keyCode == kF1 && settings_.repeats())
        setRepeating(true);
    const QString name = settings_.paths[keyCode - kF1].trimmed();
    if (name.isEmpty())
        return;

    emit aboutToTransmit();
    // From here until the message plays or is given up, no poll acts on the one it replaces:
    // the invalid-port message box lets events run.
    pollTimer_.stop();
    setActive(true);
    file_ = name;
    resolvedFile_ = CaseBlindFile::find(name);
    // Opened before PTT goes up, so a file that cannot be played never keys the transmitter.
    if (!player.open(resolvedFile_)) {
        abandon(name, player.errorText());
        return;
    }

    Wanted wanted;
    if (settings_.portNumber() != 0) {
        const PortState port = ensurePttLineOpen(keyCode);
        // The CW line finishes its character first; this key goes on once the port is free.
        if (port == PortState::Waiting)
            return;
        if (port == PortState::Open) {
            wanted.serial = true;
            wanted.serialLine = settings_.pttLine == PttLine::Dtr ? ModemLine::Dtr : ModemLine::Rts;
        }
    }
    if (settings_.pttLine == PttLine::Parallel) {
        QString why;
        wanted.parallel = parallelLine(why);
        if (!wanted.parallel) {
            abandon(name, why);
            return;
        }
    }
    dropUnwanted(wanted);
    QString why;
    if (!raise(wanted, why)) {
        abandon(name, why);
        return;
    }
    if (!player.play()) {
        abandon(name, player.errorText());
        return;
    }
    watch_.started(resolvedFile_, services_.clock.ticksMs());
    pollTimer_.start();
}

void VoiceKeyer::stop()
{
    cancelPortWait();
    if (!active_)
        return;
    services_.player.stop();
    poll();
}

bool VoiceKeyer::playing() const { return active_ && (waitingKey_ != 0 || services_.player.playing()); }

void VoiceKeyer::cancelRepeat()
{
    repeatTimer_.stop();
    setRepeating(false);
}

void VoiceKeyer::repeatDue()
{
    if (repeating_)
        fKeyPhone(kF1);
}

void VoiceKeyer::poll()
{
    if (!active_) {
        pollTimer_.stop();
        return;
    }
    WavePlayer& player = services_.player;
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
    dropPtt();
    setActive(false);
    if (!problemText.isEmpty()) {
        // Repeating a message that fails would only key the transmitter for nothing.
        cancelRepeat();
        emit problem(problemText);
        return;
    }
    // An interval that rounds to 0 ms never fires, rather than repeating without a pause.
    if (repeating_ && settings_.repeatIntervalMs() > 0)
        repeatTimer_.start(settings_.repeatIntervalMs());
}

void VoiceKeyer::abandon(const QString& file, const QString& reason)
{
    const bool wasUp = pttUp();
    services_.player.close();
    pollTimer_.stop();
    dropPtt();
    setActive(false);
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
    if (active_) {
        services_.player.close();
        pollTimer_.stop();
        dropPtt();
        setActive(false);
    }
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
    pollTimer_.stop();
    services_.player.close();
    dropPtt();
    setActive(false);
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

#include "cw/WinKeyKeyer.h"

#include "cw/CwSender.h"
#include "cw/WinKeyFieldRules.h"

#include <QScopedValueRollback>

#include <utility>

namespace cubwave {

std::optional<QString> WinKeyKeyer::resultText(int code)
{
    switch (code) {
    case WinKeyLink::kSuccess: return QStringLiteral("WK Success!");
    case WinKeyLink::kNoEcho: return QStringLiteral("No Echo Response");
    case WinKeyLink::kEchoMismatch: return QStringLiteral("Echo Mismatch");
    case WinKeyLink::kNoOpenResponse: return QStringLiteral("No Open Response");
    case WinKeyLink::kComOpenFailed: return QStringLiteral("Com Open Failed");
    case WinKeyLink::kGetComFailed: return QStringLiteral("Get Com ST Failed");
    case WinKeyLink::kSetComFailed: return QStringLiteral("Set Com ST Failed");
    case WinKeyLink::kAlreadyOpen: return QStringLiteral("WK Already Open");
    case WinKeyLink::kNotOpen: return QStringLiteral("WK Not Open");
    default: return std::nullopt;
    }
}

QString WinKeyKeyer::connectionText(int port)
{
    return QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check to make sure that "
                          "you have specified the correct port and that the Winkey device is properly connected.")
        .arg(port);
}

QString WinKeyKeyer::versionText(int version) { return QStringLiteral("Version # %1").arg(version); }

WinKeyKeyer::WinKeyKeyer(CwSender& sender, WinKeyLink& link, std::function<SerialPortMap()> portMap,
                         SerialLineSharing* sharing, QObject* parent)
    : QObject(parent), sender_(sender), link_(link), portMap_(std::move(portMap)), sharing_(sharing)
{
    waitTimer_.setSingleShot(true);
    connect(&waitTimer_, &QTimer::timeout, this, &WinKeyKeyer::pump);
    idleTimer_.setInterval(kIdlePollMs);
    connect(&idleTimer_, &QTimer::timeout, this, &WinKeyKeyer::watchIdle);
    sender_.setWinKeyTransmit([this] { transmit(); });
    link_.onLost([this](const QString& why) {
        markClosed();
        emit problem(why);
    });
    // The PTT line takes a shared port from the keyer: it is cleared and closed first.
    if (sharing_)
        sharing_->setCloser(SerialLineSharing::User::WinKey, [this] { close(); });
}

WinKeyKeyer::~WinKeyKeyer()
{
    if (sharing_)
        sharing_->setCloser(SerialLineSharing::User::WinKey, {});
    link_.onLost({});
    sender_.setWinKeyTransmit({});
}

void WinKeyKeyer::open()
{
    if (opening())
        return;
    if (link_.isOpen()) {
        finishOpen({WinKeyLink::kAlreadyOpen, version_, {}});
        return;
    }
    const QString device = portMap_ ? portMap_().devicePath(settings_.port) : QString();
    if (device.isEmpty()) {
        finishOpen({WinKeyLink::kComOpenFailed, 0,
                    QStringLiteral("WinKey port %1 names no serial port").arg(settings_.port)});
        return;
    }
    if (sharing_) {
        // A CW character on the air finishes before the CW line lets the port go; the open goes
        // on from the event loop once it has.
        const SerialLineSharing::Taking taking =
            sharing_->take(SerialLineSharing::User::WinKey, device, [this, device] {
                waitingForLine_ = false;
                startLinkOpen(device);
            });
        if (taking.outcome == SerialLineSharing::Outcome::Waiting) {
            waitingForLine_ = true;
            return;
        }
    }
    startLinkOpen(device);
}

void WinKeyKeyer::startLinkOpen(const QString& devicePath)
{
    if (!link_.open(devicePath, [this](const WinKeyLink::Opened& result) { finishOpen(result); }))
        return;  // one is under way already; its result counts
}

void WinKeyKeyer::finishOpen(const WinKeyLink::Opened& result)
{
    const bool alreadyOpen = result.code == WinKeyLink::kAlreadyOpen;
    if (!alreadyOpen && result.version == 0) {
        if (!result.reason.isEmpty())
            emit problem(result.reason);
        emit connectionFailed(settings_.port);
    }
    if (!alreadyOpen) {
        if (result.version != 0)
            version_ = result.version;
        sendSettings();
    }
    emit opened(result.code, result.version);
    if (std::exchange(transmitPending_, false)) {
        if (isOpen())
            pump();
        else
            discardWaiting();
    }
}

void WinKeyKeyer::sendSettings()
{
    if (!link_.isOpen())
        return;
    const WinKeySettings& s = settings_;
    if (const auto wpm = WinKeyFieldRules::speed(s.speed).send)
        link_.setSpeed(*wpm);
    if (const auto weight = WinKeyFieldRules::weight(s.weight).send)
        link_.setWeight(*weight);
    if (const auto leadTail = WinKeyFieldRules::leadTail(s.leadIn, s.tail, true).send)
        link_.setLeadTail(leadTail->first, leadTail->second);
    if (const auto ratio = WinKeyFieldRules::ratio(s.ratio).send)
        link_.setRatio(*ratio);
    link_.setPinConfig(s.pins);
    link_.setMode(s.mode);
}

void WinKeyKeyer::close()
{
    if (sharing_)
        sharing_->cancelWaiting(SerialLineSharing::User::WinKey);
    waitingForLine_ = false;
    // The driver clears the keyer's buffer before it ends the host mode.
    link_.close();
    markClosed();
}

void WinKeyKeyer::markClosed()
{
    version_ = 0;
    lastStatus_ = 0;
    waitTimer_.stop();
    setKeyerBusy(false);
    // Nothing stays queued for a keyer that has gone.
    discardWaiting();
    emit closed();
}

void WinKeyKeyer::transmit()
{
    if (pumping_)
        return;
    if (!isOpen()) {
        transmitPending_ = true;
        if (!opening())
            open();
        return;
    }
    pump();
}

void WinKeyKeyer::pump()
{
    if (pumping_)
        return;
    const QScopedValueRollback<bool> inPump(pumping_, true);
    waitTimer_.stop();
    for (int handed = 0;; ++handed) {
        const QChar c = sender_.firstWaiting();
        if (c.isNull()) {
            sender_.endWinKeyHandOver();
            return;
        }
        if (!isOpen()) {
            discardWaiting();
            return;
        }
        if (handed == kBurst) {
            // Window events run before the next characters.
            waitTimer_.start(0);
            return;
        }
        lastStatus_ = link_.status();
        if (lastStatus_ >= kWaitStatus) {
            waitTimer_.start(kWaitPollMs);
            return;
        }
        sender_.dropFirstWaiting();
        // "!" was the contact's commit, done before the hand-over; it is no sign to send.
        if (c == QLatin1Char('!') || !WinKeyFieldRules::sendable(c))
            continue;
        if (link_.sendCharacter(static_cast<char>(c.unicode())) == WinKeyLink::kSuccess)
            setKeyerBusy(true);
    }
}

void WinKeyKeyer::discardWaiting()
{
    transmitPending_ = false;
    waitTimer_.stop();
    sender_.endWinKeyHandOver();
}

void WinKeyKeyer::setKeyerBusy(bool busy)
{
    if (busy)
        idleTimer_.start();
    else
        idleTimer_.stop();
    if (keyerBusy_ == busy)
        return;
    keyerBusy_ = busy;
    emit busyChanged(busy);
}

void WinKeyKeyer::watchIdle()
{
    if (!isOpen()) {
        setKeyerBusy(false);
        return;
    }
    lastStatus_ = link_.status();
    if (lastStatus_ != 0 || !sender_.firstWaiting().isNull())
        return;
    setKeyerBusy(false);
    // The gap before the F1 repeat runs from the end of the sending, which is now.
    sender_.winKeySendingEnded();
}

void WinKeyKeyer::appendText(const QString& text) { sender_.appendForWinKey(text); }

void WinKeyKeyer::stop()
{
    if (isOpen())
        link_.clearBuffer();
    sender_.stopSending();
    discardWaiting();
    setKeyerBusy(false);
}

void WinKeyKeyer::clearKeyer()
{
    if (!isOpen())
        return;
    link_.clearBuffer();
    lastStatus_ = 0;
    setKeyerBusy(false);
}

bool WinKeyKeyer::backspaceKeyer()
{
    if (!isOpen())
        return false;
    lastStatus_ = link_.status();
    if (lastStatus_ <= 0)
        return false;
    link_.backspace();
    return true;
}

void WinKeyKeyer::setSpeed(int wpm)
{
    if (isOpen() && wpm >= 0 && wpm <= 99)
        link_.setSpeed(wpm);
}

void WinKeyKeyer::unload()
{
    if (!link_.isOpen() && !opening())
        return;
    if (sharing_)
        sharing_->cancelWaiting(SerialLineSharing::User::WinKey);
    waitingForLine_ = false;
    link_.closeNow();
    markClosed();
}

}  // namespace cubwave

#include "cw/CwKeyer.h"

#include <utility>

namespace cubwave {

CwKeyer::CwKeyer(KeyingTimer& timer, SerialLine& serial, ParallelPorts& parallel,
                 std::function<SerialPortMap()> portMap, SerialLineSharing* sharing, QObject* parent)
    : QObject(parent),
      keyer_(timer),
      lines_(serial, parallel, std::move(portMap), sharing),
      sender_(keyer_, lines_),
      sharing_(sharing)
{
    connect(&sender_, &CwSender::sendingChanged, this, [this](bool sending) {
        if (sending)
            stopReason_.clear();
        else
            setOnAir(false);
        notifyBusy();
    });
    // The lines open lazily at the first character, so that is when the sending is on the air.
    connect(&sender_, &CwSender::characterStarted, this, [this] {
        if (sender_.isSending() && lines_.keysALine(sender_.settings()))
            setOnAir(true);
    });
    // A device that has gone (an adapter unplugged) is let go at once, between characters.
    connect(&keyer_, &CharacterKeyer::characterEnded, this,
            [this](QChar, CharacterKeyer::Outcome outcome, const QString&) {
                if (outcome == CharacterKeyer::Outcome::LineFailed)
                    sender_.runBetweenCharacters([this] { lines_.closeSerialIfFailed(); });
            });
    // The end of a sending empties the status line when the unsent rest is shown there; the
    // reason a sending stopped must outlast that.
    connect(&sender_, &CwSender::sendingEnded, this, [this] {
        if (!stopReason_.isEmpty())
            showStatus(std::exchange(stopReason_, QString()));
    });
    connect(&sender_, &CwSender::commitRequested, this, [this] {
        if (commitContact_)
            commitContact_();
    });
    connect(&sender_, &CwSender::dialogTextChanged, this, &CwKeyer::showStatus);
    connect(&sender_, &CwSender::problem, this, [this](const QString& why) {
        stopReason_ = why;
        showStatus(why);
    });
    if (sharing_)
        sharing_->setCloser(SerialLineSharing::User::CwKeying, [this] { givePortUp(); });
}

CwKeyer::~CwKeyer()
{
    if (sharing_)
        sharing_->setCloser(SerialLineSharing::User::CwKeying, {});
    // The sender goes first; whatever it held on the air ends key-up.
    lines_.dropAll();
}

void CwKeyer::showStatus(const QString& text)
{
    if (showStatus_)
        showStatus_(text);
}

bool CwKeyer::configured() const { return sender_.settings().cwInterface != kCwNone; }
void CwKeyer::functionKey(int keyCode) { sender_.fKeyCW(keyCode); }
void CwKeyer::typeCharacter(QChar character) { sender_.typeCharacter(character); }
bool CwKeyer::backspace()
{
    // Text not yet handed over goes first; then the keyer's own last unsent character.
    if (sender_.removeLastWaiting())
        return true;
    return winKey_ && sender_.settings().cwInterface == kCwWinKey && winKey_->backspaceKeyer();
}

void CwKeyer::clear()
{
    sender_.stopSending();
    if (winKey_)
        winKey_->clearKeyer();
}
bool CwKeyer::busy() const { return sender_.isSending() || (winKey_ && winKey_->keyerBusy()); }

void CwKeyer::notifyBusy()
{
    const bool now = busy();
    if (now == busy_)
        return;
    busy_ = now;
    if (busyListener_)
        busyListener_(now);
}

void CwKeyer::setWinKey(WinKeyKeyer* winKey)
{
    winKey_ = winKey;
    if (winKey_)
        connect(winKey_, &WinKeyKeyer::busyChanged, this, [this] { notifyBusy(); });
}
void CwKeyer::onBusyChanged(std::function<void(bool)> listener) { busyListener_ = std::move(listener); }

void CwKeyer::onWindowRequests(std::function<void()> commitContact, std::function<void(const QString&)> showStatus)
{
    commitContact_ = std::move(commitContact);
    showStatus_ = std::move(showStatus);
}

void CwKeyer::onTransmitChanged(std::function<void(bool)> listener) { transmitListener_ = std::move(listener); }

void CwKeyer::setOnAir(bool on)
{
    if (onAir_ == on)
        return;
    onAir_ = on;
    if (transmitListener_)
        transmitListener_(on);
}

void CwKeyer::givePortUp()
{
    sender_.cancelRepeat();
    sender_.stopSending();
    sender_.runBetweenCharacters([this] { lines_.closeSerial(); });
}

void CwKeyer::cancelRepeat()
{
    // The keyer's buffer holds the repeated message too.
    if (sender_.repeating() && winKey_)
        winKey_->clearKeyer();
    sender_.cancelRepeat();
}
bool CwKeyer::keyboardMode() const { return sender_.keyboardMode(); }
bool CwKeyer::toggleKeyboardMode() { return sender_.toggleKeyboardMode(); }
void CwKeyer::speedUp() { sender_.speedUp(); }
void CwKeyer::speedDown() { sender_.speedDown(); }
QString CwKeyer::speedText() const { return sender_.settings().speedWpm; }
void CwKeyer::setCallField(const QString& call) { sender_.setCallField(call); }

void CwKeyer::releaseAll()
{
    // Nothing more starts; a space on the air ends now and a mark finishes key-up by itself,
    // but the lines go up at once in case the process ends before it does.
    sender_.stopSending();
    lines_.dropAll();
    // The keyer would go on sending its buffer after the program has gone.
    if (winKey_)
        winKey_->unload();
}

void CwKeyer::unload()
{
    sender_.stopSending();
    sender_.runBetweenCharacters([this] { lines_.closeAll(); });
}

void CwKeyer::unloadWinKey()
{
    if (winKey_)
        winKey_->unload();
}

}  // namespace cubwave

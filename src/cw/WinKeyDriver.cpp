#include "cw/WinKeyDriver.h"

#include "cw/WinKeyCodec.h"
#include "platform/Clock.h"
#include "platform/OneShotTimer.h"
#include "platform/SerialLine.h"

#include <algorithm>

namespace cubwave {

namespace {

// The line's own backlog below which the next character goes out: enough to keep the wire busy
// between two ticks, and always far below the kernel's room, so every command enters the kernel
// in one write and a farewell written from a signal handler can never land inside one.
constexpr qint64 kLineBacklog = 3;
// The echoed text kept for display.
constexpr qsizetype kMaxEchoed = 1024;
constexpr quint8 kCommitMark = '!';

}  // namespace

class WinKeyDriver::Events final : public WinKeyStreamDecoder::Sink {
public:
    explicit Events(WinKeyDriver& driver) : driver_(driver) {}
    void status(quint8 statusByte) override { driver_.onStatus(statusByte); }
    void speedPot(quint8 value) override
    {
        if (driver_.speedPot_)
            driver_.speedPot_(value);
    }
    void reply(quint8 value) override { driver_.onReply(value); }
    void echo(char character) override { driver_.onEcho(character); }

private:
    WinKeyDriver& driver_;
};

QString WinKeyDriver::resultText(int code)
{
    switch (code) {
    case kSuccess: return QStringLiteral("WK Success!");
    case kNoEcho: return QStringLiteral("No Echo Response");
    case kEchoMismatch: return QStringLiteral("Echo Mismatch");
    case kNoOpenResponse: return QStringLiteral("No Open Response");
    case kPortOpenFailed: return QStringLiteral("Com Open Failed");
    case kGetStateFailed: return QStringLiteral("Get Com ST Failed");
    case kSetStateFailed: return QStringLiteral("Set Com ST Failed");
    case kAlreadyOpen: return QStringLiteral("WK Already Open");
    case kNotOpen: return QStringLiteral("WK Not Open");
    default: return {};
    }
}

WinKeyDriver::WinKeyDriver(SerialLine& line, Clock& clock, OneShotTimer& tick, WinKeyTimings timings)
    : line_(line), clock_(clock), tick_(tick), timings_(timings)
{
}

WinKeyDriver::~WinKeyDriver() { closeNow(); }

void WinKeyDriver::open(const QString& devicePath, OpenDone done)
{
    if (state_ == State::Open) {
        done(kAlreadyOpen, version_);
        return;
    }
    if (opening()) {
        done(kOpenRunning, 0);
        return;
    }
    if (state_ == State::Closing)
        releaseLine();  // its farewell is in the kernel, which sends it before the port closes
    error_.clear();
    version_ = 0;
    line_.setHandshaking(0);
    line_.setSettings(kLineSettings);
    if (!line_.open(devicePath)) {
        error_ = line_.errorText();
        done(kPortOpenFailed, 0);
        return;
    }
    // Once more on the open device: one that opens but refuses 1200 8N2 is told apart.
    if (!line_.setSettings(kLineSettings)) {
        error_ = line_.errorText();
        line_.close();
        done(kSetStateFailed, 0);
        return;
    }
    // A keyer on a plain serial port takes its supply from DTR; a USB keyer ignores it, and a
    // pseudo-terminal refuses the request, which does no harm.
    line_.setModemLine(ModemLine::Dtr, true);
    decoder_.reset();
    decoder_.setEchoBack(false);
    openDone_ = std::move(done);
    state_ = State::Settling;
    stateSince_ = clock_.ticksMs();
    arm();
}

void WinKeyDriver::tick()
{
    const qint64 now = clock_.ticksMs();
    if (state_ == State::Closed)
        return;
    if (state_ == State::Closing) {
        if (line_.failed() || line_.outputCount() == 0 || now - stateSince_ >= timings_.closeDrainMs)
            releaseLine();
        else
            arm();
        return;
    }
    readLine();
    if (state_ == State::Closed)
        return;
    if (line_.failed()) {
        const QString reason = QStringLiteral("The WinKey port %1 failed: %2").arg(line_.devicePath(), line_.errorText());
        if (opening())
            failOpen(state_ == State::AwaitRevision ? kNoOpenResponse : kNoEcho, reason);
        else
            closeBySelf(reason);
        return;
    }
    switch (state_) {
    case State::Settling:
        if (now - stateSince_ >= timings_.settleMs) {
            reply_ = -1;
            decoder_.expectReply();
            if (!writeCommand(WinKeyCodec::nulls(timings_.nullCount) + WinKeyCodec::echoTest(kEchoProbe))) {
                failOpen(kNoEcho, line_.errorText());
                return;
            }
            state_ = State::AwaitEcho;
            stateSince_ = now;
        }
        break;
    case State::AwaitEcho:
        if (reply_ >= 0) {
            if (reply_ != kEchoProbe) {
                failOpen(kEchoMismatch, QStringLiteral("The device on %1 echoed %2 instead of %3")
                                            .arg(line_.devicePath())
                                            .arg(reply_)
                                            .arg(kEchoProbe));
                return;
            }
            reply_ = -1;
            decoder_.expectReply();
            writeCommand(WinKeyCodec::hostOpen());
            state_ = State::AwaitRevision;
            stateSince_ = now;
        } else if (now - stateSince_ >= timings_.replyTimeoutMs) {
            failOpen(kNoEcho, QStringLiteral("No keyer answered on %1").arg(line_.devicePath()));
            return;
        }
        break;
    case State::AwaitRevision:
        if (reply_ > 0) {
            version_ = quint8(reply_);
            finishOpen();
            return;
        }
        if (reply_ == 0 || now - stateSince_ >= timings_.replyTimeoutMs) {
            failOpen(kNoOpenResponse, QStringLiteral("The keyer on %1 did not answer host open").arg(line_.devicePath()));
            return;
        }
        break;
    case State::Open:
        pump();
        watchKeyer(now);
        if (state_ != State::Open)
            return;
        break;
    case State::Closed:
    case State::Closing: break;
    }
    arm();
}

void WinKeyDriver::arm()
{
    if (state_ == State::Closed)
        return;
    const bool active = state_ != State::Open || awaitingIdle_ || !queue_.empty() || xoffSince_ >= 0 || probeSentAt_ >= 0;
    tick_.start(active ? timings_.activeTickMs : timings_.idleTickMs, [this] { tick(); });
}

void WinKeyDriver::finishOpen()
{
    state_ = State::Open;
    queue_.clear();
    echoed_.clear();
    ahead_ = 0;
    awaitingIdle_ = false;
    heardSinceWrite_ = false;
    lastStatus_ = 0xC0;
    xoffSince_ = -1;
    probeSentAt_ = -1;
    decoder_.setEchoBack(true);
    // Echo-back on before any character goes out: the echoes are how the driver knows what the
    // keyer still holds.
    writeCommand(WinKeyCodec::mode(operatorMode_));
    line_.setFarewell(WinKeyCodec::farewell());
    lastHeard_ = clock_.ticksMs();
    arm();
    if (OpenDone done = std::exchange(openDone_, nullptr))
        done(kSuccess, version_);
}

void WinKeyDriver::failOpen(int result, const QString& reason)
{
    error_ = reason;
    releaseLine();
    if (OpenDone done = std::exchange(openDone_, nullptr))
        done(result, 0);
}

void WinKeyDriver::readLine()
{
    const QByteArray bytes = line_.readAll();
    if (bytes.isEmpty())
        return;
    if (state_ == State::Open)
        lastHeard_ = clock_.ticksMs();
    Events events(*this);
    decoder_.feed(bytes, events);
}

void WinKeyDriver::pump()
{
    while (state_ == State::Open && !queue_.empty() && ahead_ < kMaxAhead && !(lastStatus_ & WinKeyStreamDecoder::kXoff)) {
        if (line_.outputCount() > kLineBacklog)
            return;
        if (!writeCommand(WinKeyCodec::character(uchar(queue_.front()))))
            return;  // the line has failed; the next tick closes
        queue_.pop_front();
        ++ahead_;
        lastWriteAt_ = clock_.ticksMs();
        heardSinceWrite_ = false;
        probeCoversWrites_ = false;
    }
}

void WinKeyDriver::watchKeyer(qint64 now)
{
    if (probeSentAt_ >= 0) {
        if (now - probeSentAt_ >= timings_.probeAnswerMs)
            closeBySelf(QStringLiteral("The WinKey keyer on %1 stopped answering; it was closed").arg(line_.devicePath()));
        return;
    }
    const bool xoff = lastStatus_ & WinKeyStreamDecoder::kXoff;
    // Status comes only on change, so a keyer holding XOFF or sending a long buffer is silent:
    // only an unanswered request shows it has gone.
    const bool silentTooLong = (xoff || awaitingIdle_) && now - lastHeard_ >= timings_.xoffProbeMs;
    // A character the keyer does not know, or one taken back before it started, raises neither
    // BUSY nor an echo.
    const bool noBusy = awaitingIdle_ && queue_.empty() && !heardSinceWrite_ && now - lastWriteAt_ >= timings_.busyProbeMs;
    if (silentTooLong || noBusy) {
        writeCommand(WinKeyCodec::requestStatus());
        probeSentAt_ = now;
        probeCoversWrites_ = queue_.empty();
    }
}

void WinKeyDriver::onStatus(quint8 statusByte)
{
    lastStatus_ = statusByte;
    const bool busy = statusByte & WinKeyStreamDecoder::kBusy;
    if (busy)
        heardSinceWrite_ = true;
    if (statusByte & WinKeyStreamDecoder::kXoff) {
        if (xoffSince_ < 0)
            xoffSince_ = clock_.ticksMs();
    } else {
        xoffSince_ = -1;
    }
    const bool answersProbe = probeSentAt_ >= 0;
    probeSentAt_ = -1;
    if (!awaitingIdle_ || busy)
        return;
    // A "not busy" counts only once the keyer has had every character: it came after the echo
    // of the last one, or answers a request sent after the last one. One already on its way when
    // a character was handed over says nothing about that character.
    const bool afterEverything = queue_.empty() && (ahead_ == 0 || (answersProbe && probeCoversWrites_));
    if (!afterEverything)
        return;
    ahead_ = 0;
    awaitingIdle_ = false;
    if (sendingEnded_)
        sendingEnded_();
}

void WinKeyDriver::onReply(quint8 value) { reply_ = value; }

void WinKeyDriver::onEcho(char character)
{
    heardSinceWrite_ = true;
    ahead_ = std::max(0, ahead_ - 1);
    if (echoed_.size() >= kMaxEchoed)
        echoed_.remove(0, kMaxEchoed / 2);
    echoed_.append(character);
}

void WinKeyDriver::closeBySelf(const QString& reason)
{
    error_ = reason;
    if (!line_.failed())
        writeCommand(WinKeyCodec::farewell());
    line_.setFarewell({});
    queue_.clear();
    state_ = State::Closing;
    stateSince_ = clock_.ticksMs();
    version_ = 0;
    if (line_.failed())
        releaseLine();
    else
        arm();
    if (closedByItself_)
        closedByItself_(reason);
}

void WinKeyDriver::releaseLine()
{
    tick_.stop();
    line_.setFarewell({});
    line_.close();
    state_ = State::Closed;
    version_ = 0;
    queue_.clear();
    ahead_ = 0;
    awaitingIdle_ = false;
    xoffSince_ = -1;
    probeSentAt_ = -1;
    lastStatus_ = 0xC0;
    decoder_.reset();
}

int WinKeyDriver::close()
{
    if (opening()) {
        failOpen(kNotOpen, QStringLiteral("The open was given up"));
        return kSuccess;
    }
    if (state_ != State::Open)
        return kNotOpen;
    writeCommand(WinKeyCodec::farewell());
    line_.setFarewell({});
    queue_.clear();
    version_ = 0;
    state_ = State::Closing;
    stateSince_ = clock_.ticksMs();
    arm();
    return kSuccess;
}

void WinKeyDriver::closeNow()
{
    if (state_ == State::Closed)
        return;
    if (state_ == State::Open)
        writeCommand(WinKeyCodec::farewell());
    openDone_ = nullptr;  // nobody is left to hear about it
    releaseLine();
}

int WinKeyDriver::status() const
{
    if (state_ != State::Open)
        return kNotOpen;
    if ((lastStatus_ & WinKeyStreamDecoder::kXoff) || int(queue_.size()) >= kMaxQueued)
        return kStatusWait;
    if (awaitingIdle_)
        return std::clamp(unsent(), 1, kStatusWait - 1);
    return 0;
}

int WinKeyDriver::sendCharacter(uchar code)
{
    if (state_ != State::Open)
        return kNotOpen;
    // "!" marks where the contact is committed; the keyer would send it as a character.
    if (!WinKeyCodec::isSendable(code) || code == kCommitMark)
        return kNotSendable;
    if (int(queue_.size()) >= kMaxQueued)
        return kQueueFull;
    queue_.push_back(char(code));
    awaitingIdle_ = true;
    pump();
    arm();
    return kSuccess;
}

int WinKeyDriver::clearBuffer()
{
    if (state_ != State::Open)
        return kNotOpen;
    queue_.clear();
    ahead_ = 0;
    awaitingIdle_ = false;
    probeSentAt_ = -1;
    // An empty buffer is below XOFF; the keyer's own report follows.
    lastStatus_ &= quint8(~WinKeyStreamDecoder::kXoff);
    xoffSince_ = -1;
    return command(WinKeyCodec::clearBuffer());
}

int WinKeyDriver::backspace()
{
    if (state_ != State::Open)
        return kNotOpen;
    if (!queue_.empty()) {
        queue_.pop_back();
        if (queue_.empty() && ahead_ == 0)
            awaitingIdle_ = false;
        return kSuccess;
    }
    if (ahead_ > 0)
        --ahead_;
    return command(WinKeyCodec::backspace());
}

int WinKeyDriver::setSpeed(quint8 wpm) { return command(WinKeyCodec::speed(wpm)); }
int WinKeyDriver::setWeight(quint8 weight) { return command(WinKeyCodec::weight(weight)); }
int WinKeyDriver::setLeadTail(quint8 leadIn, quint8 tail) { return command(WinKeyCodec::leadTail(leadIn, tail)); }
int WinKeyDriver::setRatio(quint8 ratio) { return command(WinKeyCodec::ratio(ratio)); }
int WinKeyDriver::setPinConfig(quint8 pins) { return command(WinKeyCodec::pinConfig(pins)); }

int WinKeyDriver::setMode(quint8 operatorMode)
{
    operatorMode_ = operatorMode;  // also the mode the next open starts with
    return command(WinKeyCodec::mode(operatorMode));
}

bool WinKeyDriver::writeCommand(const QByteArray& bytes) { return line_.write(bytes); }

int WinKeyDriver::command(const QByteArray& bytes)
{
    if (state_ != State::Open)
        return kNotOpen;
    return writeCommand(bytes) ? kSuccess : kNotOpen;
}

}  // namespace cubwave

#include "support/WinKeySimulator.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <random>
#include <termios.h>
#include <unistd.h>

namespace cubwave::test {

namespace {

using Clock = std::chrono::steady_clock;

// One byte at 1200 baud with a start bit, 8 data bits and 2 stop bits.
constexpr auto kWireByte = std::chrono::microseconds(9167);
// Bytes the keyer would still owe the host before it gives up on a host that reads nothing.
constexpr qsizetype kMaxOutgoing = 64 * 1024;

// Arguments each host command takes, from the keyer's command table.
int hostArguments(quint8 command)
{
    switch (command) {
    case 0x01: case 0x02: case 0x03: case 0x06: case 0x09: case 0x0B: case 0x0C: case 0x0D: case 0x0E:
    case 0x10: case 0x11: case 0x12: case 0x14: case 0x16: case 0x17: case 0x18: case 0x19: case 0x1A:
    case 0x1C: case 0x1D:
        return 1;
    case 0x04: case 0x1B: return 2;
    case 0x05: return 3;
    case 0x0F: return 15;
    default: return 0;
    }
}

}  // namespace

WinKeySimulator::WinKeySimulator(Mode mode) : mode_(mode)
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
    thread_ = std::thread([this] { run(); });
}

WinKeySimulator::~WinKeySimulator() { unplug(); }

void WinKeySimulator::unplug()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

void WinKeySimulator::inject(const QByteArray& bytes)
{
    std::lock_guard lock(mutex_);
    outgoing_ += bytes;
}

QByteArray WinKeySimulator::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

QByteArray WinKeySimulator::keyed() const
{
    std::lock_guard lock(mutex_);
    return keyed_;
}

QByteArray WinKeySimulator::buffered() const
{
    std::lock_guard lock(mutex_);
    QByteArray out;
    for (char c : buffer_)
        out.append(c);
    return out;
}

WinKeySimulator::Settings WinKeySimulator::settings() const
{
    std::lock_guard lock(mutex_);
    return settings_;
}

bool WinKeySimulator::hostOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

int WinKeySimulator::clears() const
{
    std::lock_guard lock(mutex_);
    return clears_;
}

int WinKeySimulator::statusRequests() const
{
    std::lock_guard lock(mutex_);
    return statusRequests_;
}

int WinKeySimulator::characterMs() const
{
    if (characterMs_ > 0)
        return characterMs_;
    // PARIS: 50 dits make a word of five letters and its space.
    const int wpm = settings_.wpm > 0 ? settings_.wpm : 20;
    return 1200 * 50 / (wpm * 6);
}

quint8 WinKeySimulator::statusByte() const
{
    quint8 status = 0xC0;
    if (int(buffer_.size()) * 3 > bufferSize_ * 2)
        status |= 0x01;  // XOFF: more than two thirds full
    if (busy_ || !buffer_.empty())
        status |= 0x04;  // BUSY
    return status;
}

void WinKeySimulator::sendStatusIfChanged()
{
    if (!open_ || mode_ == Mode::Silent || mode_ == Mode::Garbage)
        return;
    const quint8 status = statusByte();
    if (status != reportedStatus_) {
        reportedStatus_ = status;
        outgoing_.append(char(status));
    }
}

void WinKeySimulator::reply(quint8 b)
{
    switch (mode_) {
    case Mode::Silent:
    case Mode::Garbage: return;
    case Mode::Slow: delayed_.emplace_back(Clock::now() + std::chrono::milliseconds(slowReplyMs_.load()), b); return;
    case Mode::WrongEcho:
    case Mode::Normal: outgoing_.append(char(b)); return;
    }
}

void WinKeySimulator::take(quint8 b, Clock::time_point now)
{
    received_.append(char(b));
    if (command_ < 0) {
        if (b == 0x00) {
            command_ = 0;
            argsLeft_ = 1;
            args_.clear();
            return;
        }
        if (!open_)
            return;  // a keyer in standalone mode takes admin commands only
        if (b >= 0x20) {
            if (!ignoreCharacters_ && int(buffer_.size()) < bufferSize_)
                buffer_.push_back(char(b));
            return;
        }
        argsLeft_ = hostArguments(b);
        command_ = b;
        args_.clear();
        if (argsLeft_ > 0)
            return;
    } else {
        args_.append(char(b));
        if (--argsLeft_ > 0)
            return;
        // Admin echo and calibrate take one byte more after their own number.
        if (command_ == 0 && args_.size() == 1 && (args_[0] == 0x04 || args_[0] == 0x00)) {
            argsLeft_ = 1;
            return;
        }
    }
    const int command = std::exchange(command_, -1);
    const auto arg = [this](int i) { return int(quint8(args_[i])); };
    if (command == 0) {
        switch (arg(0)) {
        case 0x01: open_ = false; break;  // reset
        case 0x02:
            open_ = true;
            reportedStatus_ = 0xC0;
            reply(kRevision);
            break;
        case 0x03:
            open_ = false;
            buffer_.clear();
            busy_ = false;
            break;
        case 0x04: reply(mode_ == Mode::WrongEcho ? quint8(arg(1) ^ 0xFF) : quint8(arg(1))); break;
        default: break;
        }
        return;
    }
    switch (command) {
    case 0x02: settings_.wpm = arg(0); break;
    case 0x03: settings_.weight = arg(0); break;
    case 0x04:
        settings_.leadIn = arg(0);
        settings_.tail = arg(1);
        break;
    case 0x08:
        if (!buffer_.empty())
            buffer_.pop_back();
        break;
    case 0x09: settings_.pins = arg(0); break;
    case 0x0A:
        buffer_.clear();
        busy_ = false;  // the character on the air is cut short
        ++clears_;
        break;
    case 0x0E: settings_.mode = arg(0); break;
    case 0x15:
        ++statusRequests_;
        if (!deaf_ && mode_ != Mode::Silent && mode_ != Mode::Garbage) {
            reportedStatus_ = statusByte();
            outgoing_.append(char(reportedStatus_));
        }
        break;
    case 0x17: settings_.ratio = arg(0); break;
    default: break;
    }
    (void)now;
}

void WinKeySimulator::run()
{
    std::mt19937 random(2024);
    Clock::time_point nextRead = Clock::now();
    char buf[4096];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 1);
        const auto now = Clock::now();
        std::unique_lock lock(mutex_);
        const bool wire = wireSpeed_;
        if (!wire || now >= nextRead) {
            lock.unlock();
            const ssize_t n = ::read(master_, buf, wire ? 1 : sizeof buf);
            lock.lock();
            for (ssize_t i = 0; i < n; ++i)
                take(quint8(buf[i]), now);
            if (n > 0 && wire)
                nextRead = std::max(nextRead + kWireByte, now - kWireByte);
        }
        if (open_) {
            if (busy_ && now >= sendingUntil_)
                busy_ = false;
            if (!busy_ && !buffer_.empty()) {
                const char c = buffer_.front();
                buffer_.pop_front();
                keyed_.append(c);
                if (settings_.mode >= 0 && (settings_.mode & 0x04) && mode_ != Mode::Silent && mode_ != Mode::Garbage)
                    outgoing_.append(c);  // echo-back as the character starts
                busy_ = true;
                sendingUntil_ = now + std::chrono::milliseconds(characterMs());
            }
            sendStatusIfChanged();
        }
        while (!delayed_.empty() && delayed_.front().first <= now) {
            outgoing_.append(char(delayed_.front().second));
            delayed_.pop_front();
        }
        const bool flood = mode_ == Mode::Garbage || flood_;
        if (flood && outgoing_.size() < 4096) {
            for (int i = 0; i < 4096; ++i)
                outgoing_.append(char(random() & 0xFF));
        }
        if (outgoing_.size() > kMaxOutgoing)
            outgoing_.remove(0, outgoing_.size() - kMaxOutgoing);
        if (!outgoing_.isEmpty()) {
            const ssize_t n = ::write(master_, outgoing_.constData(), size_t(outgoing_.size()));
            if (n > 0) {
                if (flood)
                    garbageSent_ += quint64(n);
                outgoing_.remove(0, n);
            }
        }
        changed_.notify_all();
    }
}

}  // namespace cubwave::test

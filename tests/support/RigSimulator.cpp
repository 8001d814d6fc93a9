#include "RigSimulator.h"

#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace cubwave::test {

RigSimulator::RigSimulator(std::unique_ptr<SimulatedRadio> radio, int pacingBaud)
    : radio_(std::move(radio)), pacingBaud_(pacingBaud)
{
    char name[256] = {};
    int slave = -1;
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        master_ = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    heldSlave_ = slave;
    path_ = QString::fromLocal8Bit(name);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    thread_ = std::thread([this] { run(); });
}

RigSimulator::~RigSimulator()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
    if (master_ >= 0)
        ::close(master_);
}

void RigSimulator::setFrequencyHz(qint64 hz)
{
    std::lock_guard lock(mutex_);
    radio_->tune(hz);
}

void RigSimulator::setBandMemories(bool on)
{
    std::lock_guard lock(mutex_);
    radio_->bandMemories = on;
}

QByteArray RigSimulator::received()
{
    std::lock_guard lock(mutex_);
    return radio_->received;
}

void RigSimulator::setMode(RadioMode mode)
{
    std::lock_guard lock(mutex_);
    radio_->mode = mode;
}

qint64 RigSimulator::frequencyHz()
{
    std::lock_guard lock(mutex_);
    return radio_->frequencyHz;
}

RadioMode RigSimulator::mode()
{
    std::lock_guard lock(mutex_);
    return radio_->mode;
}

QStringList RigSimulator::unknownCommands()
{
    std::lock_guard lock(mutex_);
    return radio_->unknownCommands;
}

void RigSimulator::run()
{
    QByteArray input;
    // One character: a start bit, eight data bits, two stop bits.
    const auto characterTime = std::chrono::microseconds(pacingBaud_ > 0 ? 11'000'000 / pacingBaud_ : 0);
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        QByteArray reply;
        {
            std::lock_guard lock(mutex_);
            input.append(buffer, n);
            radio_->received.append(buffer, n);
            reply = radio_->answer(input);
        }
        if (silent_)
            continue;
        for (qsizetype i = 0; i < reply.size() && !stop_;) {
            const qsizetype chunk = pacingBaud_ > 0 ? 1 : reply.size() - i;
            const ssize_t written = ::write(master_, reply.constData() + i, size_t(chunk));
            if (written > 0)
                i += written;
            else if (errno != EAGAIN)
                break;
            if (pacingBaud_ > 0)
                std::this_thread::sleep_for(characterTime);
        }
    }
}

}  // namespace cubwave::test

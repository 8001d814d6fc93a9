#pragma once

#include "SimulatedRadio.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace cubwave::test {

// A simulated radio on a pseudo-terminal: whoever opens devicePath() talks to it as to a serial
// port. A thread answers; with a pacing rate the answer goes out one byte per character time
// (start, 8 data and 2 stop bits), so a long reply arrives in pieces as on a real line.
class RigSimulator {
public:
    explicit RigSimulator(std::unique_ptr<SimulatedRadio> radio, int pacingBaud = 0);
    ~RigSimulator();
    RigSimulator(const RigSimulator&) = delete;
    RigSimulator& operator=(const RigSimulator&) = delete;

    bool isOpen() const { return master_ >= 0; }
    QString devicePath() const { return path_; }

    // As a band key would: with band memories on, another band recalls its own mode.
    void setFrequencyHz(qint64 hz);
    void setBandMemories(bool on);
    // Every byte the radio was sent so far.
    QByteArray received();
    void setMode(RadioMode mode);
    qint64 frequencyHz();
    RadioMode mode();
    QStringList unknownCommands();
    // Stops answering, as a radio switched off.
    void setSilent(bool silent) { silent_ = silent; }

private:
    void run();

    std::unique_ptr<SimulatedRadio> radio_;
    std::mutex mutex_;
    int pacingBaud_;
    int master_ = -1;
    int heldSlave_ = -1;  // keeps the line up between clients
    QString path_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> silent_{false};
    std::thread thread_;
};

}  // namespace cubwave::test

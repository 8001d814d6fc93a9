#pragma once

#include "platform/KeyingLine.h"
#include "platform/KeyingTimer.h"
#include "platform/ParallelPorts.h"
#include "platform/SerialLine.h"
#include "platform/SerialLineSharing.h"

#include <QMap>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace cubwave::test {

// A clock for the keying thread that jumps to each deadline at once, so every edge lands on its
// exact ideal time. A wait longer than holdLongerThanNs instead blocks in real time until it is
// cancelled (or holdLimit passes), so a test can act while a long space is on the air.
class VirtualKeyingTimer final : public KeyingTimer {
public:
    qint64 nowNs() override { return now_.load(); }
    bool waitUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) override
    {
        return advance(std::max<qint64>(0, deadlineNs - now_.load()), cancel);
    }
    bool sleepUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) override
    {
        const qint64 ns = std::max<qint64>(0, deadlineNs - now_.load());
        sleeps.push_back(ns / 1'000'000);
        return advance(ns, cancel);
    }
    bool spin(double passes, const std::atomic<bool>& cancel) override
    {
        spins.push_back(passes);
        return advance(static_cast<qint64>(passes * nsPerPass), cancel);
    }
    void setRealtime(bool on) override { realtime = on; }

    std::atomic<qint64> now_{1'000'000'000};
    double nsPerPass = 12;
    qint64 holdLongerThanNs = std::numeric_limits<qint64>::max();
    std::chrono::milliseconds holdLimit{5000};
    std::chrono::microseconds realDelayPerWait{0};
    std::atomic<bool> holding{false};
    std::vector<qint64> sleeps;   // whole ms slept; keying thread only; read once the sending has ended
    std::vector<double> spins;
    bool realtime = false;

private:
    bool advance(qint64 ns, const std::atomic<bool>& cancel)
    {
        if (cancel.load())
            return false;
        if (realDelayPerWait.count() > 0)
            std::this_thread::sleep_for(realDelayPerWait);
        if (ns > holdLongerThanNs) {
            holding = true;
            const auto until = std::chrono::steady_clock::now() + holdLimit;
            while (!cancel.load() && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            holding = false;
            return false;
        }
        now_ += ns;
        return !cancel.load();
    }
};

struct KeyEdge {
    qint64 ns;
    bool down;
    bool operator==(const KeyEdge&) const = default;
};

// Records each change of the line with the time it happened; can be told to fail.
class FakeKeyingLine final : public KeyingLine {
public:
    explicit FakeKeyingLine(std::function<qint64()> now = [] { return qint64(0); }) : now_(std::move(now)) {}
    bool setKeyed(bool down) override
    {
        std::lock_guard lock(mutex_);
        ++calls_;
        if (failFromCall_ > 0 && calls_ >= failFromCall_ && down) {
            return false;
        }
        edges_.push_back({now_(), down});
        keyed_ = down;
        return true;
    }
    QString errorText() const override { return QStringLiteral("Input/output error"); }

    std::vector<KeyEdge> edges() const
    {
        std::lock_guard lock(mutex_);
        return edges_;
    }
    bool keyed() const
    {
        std::lock_guard lock(mutex_);
        return keyed_;
    }
    // Key-down requests from this call on fail (a key-up still works, as a driver error on
    // raising a line would leave dropping it possible).
    void failKeyDownFromCall(int call)
    {
        std::lock_guard lock(mutex_);
        failFromCall_ = call;
    }
    void clear()
    {
        std::lock_guard lock(mutex_);
        edges_.clear();
    }

private:
    std::function<qint64()> now_;
    mutable std::mutex mutex_;
    std::vector<KeyEdge> edges_;
    bool keyed_ = false;
    int calls_ = 0;
    int failFromCall_ = 0;
};

// A serial line that records every modem-line change with its time, written bytes and opens;
// ptys refuse modem-control requests, so line tests use this instead.
class FakeSerialLine final : public SerialLine {
public:
    struct ModemChange {
        qint64 ns;
        ModemLine line;
        bool raised;
        QString device;  // the port the change was made on
    };

    explicit FakeSerialLine(std::function<qint64()> now = [] { return qint64(0); }) : now_(std::move(now)) {}

    bool open(const QString& path) override
    {
        close();
        opens.push_back(path);
        if (failOpen) {
            error = QStringLiteral("No such file or directory");
            return false;
        }
        // As the real line: a character device another line holds is refused before any request.
        if (sharing) {
            if (const auto device = SerialLineSharing::deviceIdOf(path)) {
                std::optional<SerialLineSharing::User> holder;
                if (!sharing->claim(*device, user, &holder)) {
                    error = SerialLineSharing::usedByText(path, *holder);
                    return false;
                }
                claimed_ = device;
            }
        }
        open_ = true;
        path_ = path;
        record(ModemLine::Dtr, false, path_);
        record(ModemLine::Rts, false, path_);
        return true;
    }
    void close() override
    {
        if (open_)
            ++closes;
        open_ = false;
        farewell.clear();
        if (sharing && claimed_)
            sharing->release(*std::exchange(claimed_, std::nullopt), user);
    }
    bool isOpen() const override { return open_; }
    QString devicePath() const override { return path_; }
    QString errorText() const override { return error; }
    bool setSettings(const QString& s) override
    {
        settings = s;
        return true;
    }
    bool setHandshaking(int mode) override
    {
        handshaking = mode;
        return mode >= 0 && mode <= 3;
    }
    bool setModemLine(ModemLine line, bool raised) override
    {
        if (!open_ || refuseModemLines)
            return false;
        record(line, raised, path_);
        return true;
    }
    bool write(const QByteArray& bytes) override
    {
        if (!open_)
            return false;
        written += bytes;
        return true;
    }
    QByteArray readAll() override { return std::exchange(incoming, {}); }
    qint64 outputCount() override { return queued; }
    void discardOutput() override
    {
        ++discards;
        queued = 0;
    }
    bool failed() const override { return open_ && lost; }
    void setFarewell(const QByteArray& bytes) override { farewell = bytes; }
    std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine line) override
    {
        if (!open_)
            return nullptr;
        return std::make_shared<Line>(*this, line, path_);
    }

    std::vector<ModemChange> changes() const
    {
        std::lock_guard lock(mutex_);
        return changes_;
    }
    // Time-ordered key edges of one modem line, on one device when it is named.
    std::vector<KeyEdge> edges(ModemLine which, const QString& device = {}) const
    {
        std::vector<KeyEdge> out;
        for (const ModemChange& c : changes()) {
            if (c.line == which && (device.isEmpty() || c.device == device))
                out.push_back({c.ns, c.raised});
        }
        return out;
    }

    // Claims its device here when set, as the program's lines do.
    SerialLineSharing* sharing = nullptr;
    SerialLineSharing::User user = SerialLineSharing::User::CwKeying;
    bool failOpen = false;
    // As a pty: no modem lines to change.
    bool refuseModemLines = false;
    // As an unplugged adapter: the open line has failed with error as the reason.
    bool lost = false;
    // As an adapter pulled out while keying: a key-down fails and the line is lost.
    std::atomic<bool> goneOnKeyDown{false};
    QString error;
    std::vector<QString> opens;
    int closes = 0;
    QString settings;
    int handshaking = 0;
    QByteArray written;
    QByteArray incoming;
    qint64 queued = 0;
    // What the exit paths would write to the device.
    QByteArray farewell;
    int discards = 0;

private:
    class Line final : public KeyingLine {
    public:
        Line(FakeSerialLine& port, ModemLine line, QString device)
            : port_(port), line_(line), device_(std::move(device))
        {
        }
        bool setKeyed(bool down) override
        {
            if (down && port_.goneOnKeyDown) {
                port_.lost = true;
                return false;
            }
            port_.record(line_, down, device_);
            return true;
        }
        QString errorText() const override { return QStringLiteral("Input/output error"); }

    private:
        FakeSerialLine& port_;
        ModemLine line_;
        QString device_;  // the port this line was taken from, whatever the fake has opened since
    };

    void record(ModemLine line, bool raised, const QString& device)
    {
        std::lock_guard lock(mutex_);
        changes_.push_back({now_(), line, raised, device});
    }

    std::function<qint64()> now_;
    mutable std::mutex mutex_;
    std::vector<ModemChange> changes_;
    std::optional<SerialLineSharing::DeviceId> claimed_;
    bool open_ = false;
    QString path_;
};

// Parallel ports that record; an address listed in refused cannot be used.
class FakeParallelPorts final : public ParallelPorts {
public:
    explicit FakeParallelPorts(std::function<qint64()> now = [] { return qint64(0); }) : now_(std::move(now)) {}

    Opened open(quint16 baseAddress) override
    {
        ++opens;
        if (refused.contains(baseAddress))
            return {nullptr, QStringLiteral("/dev/parport0"), refused.value(baseAddress)};
        auto line = std::make_shared<FakeKeyingLine>(now_);
        lines[baseAddress] = line;
        return {line, QStringLiteral("/dev/parport0"), {}};
    }

    int opens = 0;
    QMap<quint16, QString> refused;
    QMap<quint16, std::weak_ptr<FakeKeyingLine>> lines;

private:
    std::function<qint64()> now_;
};

}  // namespace cubwave::test

#pragma once

#include "cw/WinKeyLink.h"

#include <QStringList>

#include <optional>

namespace cubwave::test {

// A keyer door that records every operation as text ("wpm 18", "char A", "clear") and answers
// as the test scripts it: the open's result comes when the test calls finishOpen, or at once
// when immediateOpen is set; status() gives `status`, and with `busyOnCharacter` a handed
// character raises it to 1 until the test sets it back.
class FakeWinKeyLink final : public WinKeyLink {
public:
    QStringList calls;
    int status_ = 0;
    bool busyOnCharacter = true;
    std::optional<Opened> immediateOpen;
    QString openedPath;
    int opens = 0;

    bool open(const QString& devicePath, std::function<void(const Opened&)> done) override
    {
        if (pending_)
            return false;
        ++opens;
        openedPath = devicePath;
        calls << QStringLiteral("open %1").arg(devicePath);
        if (immediateOpen) {
            apply(*immediateOpen);
            done(*immediateOpen);
            return true;
        }
        pending_ = std::move(done);
        return true;
    }
    // The keyer's answers have come (or not): the result the driver would give.
    void finishOpen(Opened result)
    {
        auto done = std::exchange(pending_, {});
        apply(result);
        if (done)
            done(result);
    }
    bool opening() const override { return static_cast<bool>(pending_); }
    bool isOpen() const override { return open_; }
    void close() override
    {
        calls << QStringLiteral("close");
        pending_ = {};
        open_ = false;
        status_ = 0;
    }
    void closeNow() override
    {
        calls << QStringLiteral("closeNow");
        pending_ = {};
        open_ = false;
        status_ = 0;
    }
    int status() override { return open_ ? status_ : kNotOpen; }
    int sendCharacter(char c) override
    {
        if (!open_)
            return kNotOpen;
        calls << QStringLiteral("char %1").arg(QLatin1Char(c));
        sent += QLatin1Char(c);
        if (busyOnCharacter && status_ == 0)
            status_ = 1;
        return kSuccess;
    }
    int clearBuffer() override { return record(QStringLiteral("clear")); }
    int backspace() override { return record(QStringLiteral("backspace")); }
    int setSpeed(int wpm) override { return record(QStringLiteral("wpm %1").arg(wpm)); }
    int setWeight(int weight) override { return record(QStringLiteral("weight %1").arg(weight)); }
    int setLeadTail(int leadIn, int tail) override { return record(QStringLiteral("leadtail %1 %2").arg(leadIn).arg(tail)); }
    int setRatio(int ratio) override { return record(QStringLiteral("ratio %1").arg(ratio)); }
    int setPinConfig(int pin5) override { return record(QStringLiteral("pins %1").arg(pin5)); }
    int setMode(int mode) override { return record(QStringLiteral("mode %1").arg(mode)); }
    void onLost(std::function<void(const QString&)> listener) override { lost_ = std::move(listener); }

    // The driver closed the keyer by itself (unplugged, silent).
    void lose(const QString& why)
    {
        open_ = false;
        status_ = 0;
        if (lost_)
            lost_(why);
    }
    // The calls since the last look, and forget them.
    QStringList takeCalls() { return std::exchange(calls, {}); }

    QString sent;  // every character handed over

private:
    int record(const QString& call)
    {
        if (!open_)
            return kNotOpen;
        calls << call;
        return kSuccess;
    }
    void apply(const Opened& result)
    {
        if (result.code == kSuccess && result.version != 0)
            open_ = true;
    }

    bool open_ = false;
    std::function<void(const Opened&)> pending_;
    std::function<void(const QString&)> lost_;
};

}  // namespace cubwave::test

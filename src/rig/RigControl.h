#pragma once

#include "rig/RigControlPort.h"
#include "rig/RigPollDriver.h"

#include <QString>

#include <functional>

namespace cubwave {

class Clock;
class RigPollTimer;
class RigctldConversation;
class SerialLine;

// The rig as the program runs it: one poll driver, and with it the rig's line, for the whole
// run. The rig window drives the poll and hands on what it decodes; from here it goes to whoever
// subscribed (the main window and its contest session). Unloading stops the poll, sends the
// model's closing bytes and closes the line.
class RigControl final : public RigControlPort {
public:
    // rigctld, when given, is the way to "Hamlib rigctld" and must outlive this.
    RigControl(SerialLine& line, RigPollTimer& timer, Clock& clock, RigctldConversation* rigctld = nullptr);

    RigPollDriver& driver() { return driver_; }
    const RigPollDriver& driver() const { return driver_; }

    // The rig window's output on its way to the subscribers. A frequency of 0 or less (or not a
    // number) and an empty mode are no reports and go nowhere.
    void reportFrequency(float frequencyMHz);
    void reportMode(const QString& mode);
    void reportStatus(const QString& text);
    void reportSavePreferences(const QString& rigName);

    // What a start-up test runs: the rig window's "Test", loading the window first.
    void setStartupTest(std::function<void()> test) { startupTest_ = std::move(test); }
    // What tunes the radio while it is polled; without one nothing tunes.
    void setTuner(std::function<bool(double frequencyMHz)> tuner) { tuner_ = std::move(tuner); }

    void onReports(std::function<void(float frequencyMHz)> frequency,
                   std::function<void(const QString& mode)> mode) override;
    void onStatus(std::function<void(const QString& text)> status) override;
    void onSavePreferences(std::function<void(const QString& rigName)> save) override;
    void openAtStartup(const QString& storedRigName) override;
    bool tuneTo(double frequencyMHz) override;
    void unload() override;

    // True for the stored rig names that mean no rig control: "None" in any case.
    static bool isNoRig(const QString& rigName);

private:
    RigPollDriver driver_;
    std::function<void(float)> frequency_;
    std::function<void(const QString&)> mode_;
    std::function<void(const QString&)> status_;
    std::function<void(const QString&)> savePreferences_;
    std::function<void()> startupTest_;
    std::function<bool(double)> tuner_;
};

}  // namespace cubwave

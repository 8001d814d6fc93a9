#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// The rig as the rest of the program sees it: the poll reports frequency and mode, and the band
// map or the tune window ask for a frequency.
class RigControlPort {
public:
    virtual ~RigControlPort() = default;

    // Where the poll's reports go (the contest session): the frequency in MHz, only above 0,
    // and the radio's mode text, never empty.
    virtual void onReports(std::function<void(float frequencyMHz)> frequency,
                           std::function<void(const QString& mode)> mode) = 0;
    // Tunes the radio; false when no rig is polled.
    virtual bool tuneTo(double frequencyMHz) = 0;
    // Stops polling, sends the model's closing bytes and closes the line.
    virtual void unload() = 0;
};

// No rig control in this build: nothing is reported and nothing tunes.
class AbsentRigControl final : public RigControlPort {
public:
    void onReports(std::function<void(float)>, std::function<void(const QString&)>) override {}
    bool tuneTo(double) override { return false; }
    void unload() override {}
};

}  // namespace cubwave

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
    // Where a line for the main window's status bar goes: the radio fell silent, its port was lost.
    virtual void onStatus(std::function<void(const QString& text)> status) = 0;
    // Where the rig window's "&Done" goes: the main window keeps the rig name in its preferences
    // and saves them.
    virtual void onSavePreferences(std::function<void(const QString& rigName)> save) = 0;
    // The end of the main window's load: a stored rig name other than "None" (in any case) starts
    // polling as the rig window's "Test" does.
    virtual void openAtStartup(const QString& storedRigName) = 0;
    // Tunes the radio; false when no rig is polled.
    virtual bool tuneTo(double frequencyMHz) = 0;
    // Stops polling, sends the model's closing bytes and closes the line.
    virtual void unload() = 0;
};

// No rig control in this build: nothing is reported and nothing tunes.
class AbsentRigControl final : public RigControlPort {
public:
    void onReports(std::function<void(float)>, std::function<void(const QString&)>) override {}
    void onStatus(std::function<void(const QString&)>) override {}
    void onSavePreferences(std::function<void(const QString&)>) override {}
    void openAtStartup(const QString&) override {}
    bool tuneTo(double) override { return false; }
    void unload() override {}
};

}  // namespace cubwave

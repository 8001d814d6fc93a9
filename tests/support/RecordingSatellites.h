#pragma once

#include "ui/Satellites.h"

#include <QStringList>

#include <vector>

namespace cubwave::test {

// Records what the main window asks of the other windows.
class RecordingSatellites final : public Satellites {
public:
    struct Shown {
        Window window;
        bool modal;
    };
    std::vector<Shown> shown;
    std::vector<int> cwKeys;
    std::vector<int> phoneKeys;
    QStringList cues;
    QStringList bands;
    int speedUps = 0;
    int speedDowns = 0;
    int cwPumpStarts = 0;
    int cwRepeatStops = 0;
    int phoneRepeatStops = 0;
    int winKeyClears = 0;
    int winKeyBackspaces = 0;
    int unloads = 0;
    bool playing = false;
    int phoneStops = 0;
    int winKeyStatusValue = 0;
    bool cueNeverEnds = false;

    void show(Window window, bool modal) override { shown.push_back({window, modal}); }
    void fKeyCW(int& keyCode) override { cwKeys.push_back(keyCode); }
    void cwSpeedUp() override { ++speedUps; }
    void cwSpeedDown() override { ++speedDowns; }
    QString cwSpeedText() const override { return QStringLiteral("13"); }
    void stopCwRepeatTimer() override { ++cwRepeatStops; }
    void loopThroughCwBuffer() override { ++cwPumpStarts; }
    void fKeyPhone(int& keyCode) override { phoneKeys.push_back(keyCode); }
    bool phonePlaying() const override { return playing; }
    void phoneStop() override
    {
        ++phoneStops;
        playing = false;
    }
    void stopPhoneRepeatTimer() override { ++phoneRepeatStops; }
    int winKeyStatus() override { return winKeyStatusValue; }
    void winKeyClearBuffer() override { ++winKeyClears; }
    void winKeyBackspace() override { ++winKeyBackspaces; }
    void blindKeyPhone(const QString& cue) override { cues << cue; }
    bool cuePlaying() const override { return cueNeverEnds; }
    void bandChanged(const QString& band) override { bands << band; }
    void unloadAll() override { ++unloads; }
};

}  // namespace cubwave::test

#pragma once

#include <QString>

namespace cubwave {

// The other windows the main window opens or calls into: the keyers, rig, spots, maps and
// the rest. Each subsystem overrides what it supplies; until then a call does nothing.
class Satellites {
public:
    enum class Window {
        SpectrumMap,     // Ctrl+B, "&View Spectrum Map"
        CwSetup,         // Ctrl+C, Ctrl+S; "&CW Setup" opens it modally
        DxSpotting,      // Ctrl+D, "&Configure"
        BandPlan,        // Ctrl+F, "&Privileges"
        RigTune,         // Ctrl+G
        VoiceSetup,      // Ctrl+P; "&Voice Setup" opens it modally
        RigInterface,    // Ctrl+R, "&Rig Interface"
        CwStrings,       // Ctrl+W
        Summary,         // "&Write Summary File"
        Graph,           // "&Graph"
        Help,            // "&Help"
        Colors,          // "&Colors"
    };

    virtual ~Satellites() = default;

    virtual void show(Window window, bool modal) {}

    // CW keyer window.
    virtual void fKeyCW(int& keyCode) {}
    virtual void cwSpeedUp() {}
    virtual void cwSpeedDown() {}
    virtual QString cwSpeedText() const { return {}; }
    virtual void stopCwRepeatTimer() {}
    virtual void loopThroughCwBuffer() {}

    // Voice keyer window.
    virtual void fKeyPhone(int& keyCode) {}
    virtual bool phonePlaying() const { return false; }
    virtual void phoneStop() {}
    virtual void stopPhoneRepeatTimer() {}

    // WinKey keyer driver.
    virtual int winKeyStatus() { return 0; }
    virtual void winKeyClearBuffer() {}
    virtual void winKeyBackspace() {}

    // Voice navigation: plays a recorded cue; cuePlaying is true until it has finished.
    virtual void blindKeyPhone(const QString& cue) {}
    virtual bool cuePlaying() const { return false; }

    // The band map follows the current band.
    virtual void bandChanged(const QString& band) {}

    // Export commands.
    virtual void exportAdif() {}

    // Unloads every satellite window, in shutdown order.
    virtual void unloadAll() {}
};

}  // namespace cubwave

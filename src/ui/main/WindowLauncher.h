#pragma once

namespace cubwave {

// Opens the windows the main window reaches by menu or Ctrl key and that belong to no port of
// their own.
class WindowLauncher {
public:
    enum class Window {
        SpectrumMap,   // Ctrl+B, "&View Spectrum Map"
        CwSetup,       // Ctrl+C, Ctrl+S; "&CW Setup" opens it modally
        DxSpotting,    // Ctrl+D, "&Configure"
        BandPlan,      // Ctrl+F, "&Privileges"
        RigTune,       // Ctrl+G
        VoiceSetup,    // Ctrl+P; "&Voice Setup" opens it modally
        RigInterface,  // Ctrl+R, "&Rig Interface"
        CwStrings,     // Ctrl+W
        Help,          // "&Help"
        Colors,        // "&Colors"
    };

    virtual ~WindowLauncher() = default;

    virtual void show(Window window, bool modal) = 0;
    // Closes a window that stays loaded until shutdown (the spectrum map, the CW strings).
    virtual void unload(Window window) = 0;
};

// None of these windows in this build: the menu entries and keys do nothing.
class AbsentWindows final : public WindowLauncher {
public:
    void show(Window, bool) override {}
    void unload(Window) override {}
};

}  // namespace cubwave

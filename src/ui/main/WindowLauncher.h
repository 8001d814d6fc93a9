#pragma once

#include <QString>

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

    // False for a window this build does not have yet: its entry and key say so.
    virtual bool available(Window) const { return true; }
    virtual void show(Window window, bool modal) = 0;
    // Closes a window that stays loaded until shutdown (the spectrum map, the CW strings).
    virtual void unload(Window window) = 0;
};

// The name the operator knows a window by, as its menu entry has it.
inline QString windowEntryName(WindowLauncher::Window window)
{
    using W = WindowLauncher::Window;
    switch (window) {
    case W::SpectrumMap: return QStringLiteral("View Spectrum Map");
    case W::CwSetup: return QStringLiteral("CW Setup");
    case W::DxSpotting: return QStringLiteral("DX Spotting");
    case W::BandPlan: return QStringLiteral("Privileges");
    case W::RigTune: return QStringLiteral("Rig Tune");
    case W::VoiceSetup: return QStringLiteral("Voice Setup");
    case W::RigInterface: return QStringLiteral("Rig Interface");
    case W::CwStrings: return QStringLiteral("CW Strings");
    case W::Help: return QStringLiteral("Help");
    case W::Colors: return QStringLiteral("Colors");
    }
    return QString();
}

// What an entry or key of a window this build does not have yet says instead of nothing.
inline QString notAvailableText(const QString& entry) { return entry + QStringLiteral(" is not available yet."); }

// None of these windows in this build.
class AbsentWindows final : public WindowLauncher {
public:
    bool available(Window) const override { return false; }
    void show(Window, bool) override {}
    void unload(Window) override {}
};

}  // namespace cubwave

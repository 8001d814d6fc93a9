#pragma once

#include "cw/CwKeyerPort.h"
#include "export/ExportsPort.h"
#include "rig/RigControlPort.h"
#include "spots/SpotFeedPort.h"
#include "ui/main/WindowLauncher.h"
#include "voice/VoiceKeyerPort.h"

namespace cubwave {

// The subsystems the main window talks to, one door each. None is ever null: a subsystem that is
// not in the build is given as its explicit absent implementation.
struct MainWindowPorts {
    CwKeyerPort& cw;
    VoiceKeyerPort& voice;
    RigControlPort& rig;
    SpotFeedPort& spots;
    ExportsPort& exports;
    WindowLauncher& windows;
};

}  // namespace cubwave

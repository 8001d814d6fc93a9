#pragma once

#include "ui/main/MainWindowPorts.h"

namespace cubwave {

// Every port absent: a main window that keys nothing, polls nothing and exports nothing.
struct AbsentPorts {
    AbsentCwKeyer cw;
    AbsentVoiceKeyer voice;
    AbsentRigControl rig;
    AbsentSpotFeed spots;
    AbsentExports exports;
    AbsentWindows windows;

    MainWindowPorts ports() { return {cw, voice, rig, spots, exports, windows}; }
};

}  // namespace cubwave

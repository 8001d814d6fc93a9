#include "app/ProgramPorts.h"

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices)
    : exports_(exportServices),
      voice_({exportServices.clock, exportServices.dialogs, exportServices.beeper, exportServices.workDir, serialSharing_})
{
}

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_.port(), rig_, spots_, exports_, windows_}; }

void ProgramPorts::setMainWindow(QWidget* window) { voice_.setMainWindow(window, windows_); }

}  // namespace cubwave

#include "app/ProgramPorts.h"

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices)
    : exports_(exportServices),
      rigCommands_({exportServices.dialogs, exportServices.clock, exportServices.workDir, exportServices.runModal})
{
    windows_.add(WindowLauncher::Window::RigTune, [this](bool) { rigCommands_.showTune(); });
    windows_.add(WindowLauncher::Window::BandPlan, [this](bool) { rigCommands_.showPrivileges(); });
}

void ProgramPorts::setMainWindow(QWidget* window) { rigCommands_.setParentWindow(window); }

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_, rig_, spots_, exports_, windows_}; }

}  // namespace cubwave

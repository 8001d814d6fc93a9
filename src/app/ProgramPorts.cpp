#include "app/ProgramPorts.h"

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices)
    : rig_(rigLine_, rigTimer_,
           {exportServices.clock, exportServices.dialogs, exportServices.beeper, exportServices.settings,
            rigEnvironment_, exportServices.workDir}),
      exports_(std::move(exportServices))
{
    windows_.add(WindowLauncher::Window::RigInterface, [this](bool modal) { rig_.show(modal); });
}

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_, rig_.control(), spots_, exports_, windows_}; }

void ProgramPorts::setMainWindow(QWidget* window)
{
    rig_.setParentWindow(window);
}

}  // namespace cubwave

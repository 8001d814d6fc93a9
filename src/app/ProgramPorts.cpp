#include "app/ProgramPorts.h"

#include <cmath>

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices)
    : rig_(rigLine_, rigTimer_,
           {exportServices.clock, exportServices.dialogs, exportServices.beeper, exportServices.settings,
            rigEnvironment_, exportServices.workDir}),
      exports_(exportServices),
      rigCommands_({exportServices.dialogs, exportServices.clock, exportServices.workDir, exportServices.runModal})
{
    windows_.add(WindowLauncher::Window::RigInterface, [this](bool modal) { rig_.show(modal); });
    windows_.add(WindowLauncher::Window::RigTune, [this](bool) { rigCommands_.showTune(); });
    windows_.add(WindowLauncher::Window::BandPlan, [this](bool) { rigCommands_.showPrivileges(); });

    // Frequency and mode commands go to the polled radio over the rig control's own line; while
    // it is not polling they send nothing.
    RigPollDriver& driver = rig_.control().driver();
    rigCommands_.connectRig(driver.poller(), &driver.link());
    rig_.setFrequencyTest([this] { rigCommands_.showFrequencyTest(); });
    rig_.control().setTuner([this](double frequencyMHz) {
        RigCommandRunner& commands = rigCommands_.commands();
        if (!commands.polling())
            return false;
        commands.changeFrequency(std::llround(frequencyMHz * 1e6));
        return true;
    });
}

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_, rig_.control(), spots_, exports_, windows_}; }

void ProgramPorts::setMainWindow(QWidget* window)
{
    rig_.setParentWindow(window);
    rigCommands_.setParentWindow(window);
}

}  // namespace cubwave

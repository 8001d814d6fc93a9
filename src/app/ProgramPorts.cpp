#include "app/ProgramPorts.h"

#include "app/AppearanceWindows.h"
#include "app/SpectrumMapWiring.h"
#include "platform/SerialPortMap.h"
#include "ui/common/KeyTranslation.h"
#include "ui/cw/CwSetupWindow.h"
#include "ui/cw/CwStringsWindow.h"
#include "ui/cw/WinKeyWindow.h"
#include "ui/main/MainWindow.h"

#include <QKeyEvent>

#include <cmath>

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices)
    : services_(exportServices),
      cw_(cwTimer_, cwSerial_, parallelPorts_,
          [dir = exportServices.workDir] { return SerialPortMap::load(dir); }, &lineSharing_),
      winKeyDriver_(winKeySerial_, exportServices.clock, winKeyTick_),
      winKey_(cw_.sender(), winKeyLink_, [dir = exportServices.workDir] { return SerialPortMap::load(dir); },
              &lineSharing_),
      voice_({exportServices.clock, exportServices.dialogs, exportServices.beeper, exportServices.workDir, lineSharing_}),
      rigctld_(rigctldSocket_, rigctldTimer_),
      rig_(rigLine_, rigTimer_,
           {exportServices.clock, exportServices.dialogs, exportServices.beeper, exportServices.settings,
            rigEnvironment_, exportServices.workDir, &rigctld_}),
      spots_(tncLine_, telnetSocket_, engineSocket_, engineTimer_,
             {exportServices.dialogs, exportServices.beeper, exportServices.settings, exportServices.workDir}),
      exports_(exportServices),
      rigCommands_({exportServices.dialogs, exportServices.clock, exportServices.workDir, exportServices.runModal,
                    [this](const QString& text) { rig_.control().reportStatus(text); }})
{
    // Every line claims its port, so no two of them key or poll one device.
    cwSerial_.share(lineSharing_, SerialLineSharing::User::CwKeying);
    winKeySerial_.share(lineSharing_, SerialLineSharing::User::WinKey);
    cw_.setWinKey(&winKey_);
    QObject::connect(&winKey_, &WinKeyKeyer::problem, &cw_, &CwKeyer::showStatus);
    rigLine_.share(lineSharing_, SerialLineSharing::User::Rig);
    tncLine_.share(lineSharing_, SerialLineSharing::User::Tnc);
    windows_.add(WindowLauncher::Window::DxSpotting, [this](bool modal) { spots_.show(modal); });
    windows_.add(WindowLauncher::Window::RigInterface, [this](bool modal) { rig_.show(modal); });
    windows_.add(WindowLauncher::Window::RigTune, [this](bool) { rigCommands_.showTune(); });
    windows_.add(WindowLauncher::Window::BandPlan, [this](bool) { rigCommands_.showPrivileges(); });

    // Frequency and mode commands go to the polled radio over the rig control's own line; while
    // it is not polling they send nothing.
    RigPollDriver& driver = rig_.control().driver();
    rigCommands_.connectRig(driver.poller(), &driver.link(), &rigctld_);
    driver.setStopHandler([this] { rigCommands_.cancelCommands(); });
    rig_.setFrequencyTest([this] { rigCommands_.showFrequencyTest(); });
    rig_.control().setTuner([this](double frequencyMHz) {
        RigCommandRunner& commands = rigCommands_.commands();
        if (!commands.polling())
            return false;
        commands.changeFrequency(std::llround(frequencyMHz * 1e6));
        return true;
    });
}

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_.port(), rig_.control(), spots_, exports_, windows_}; }

ProgramPorts::~ProgramPorts()
{
    // The rig window stops the poll as it goes, after the commands are gone.
    rig_.control().driver().setStopHandler({});
}

void ProgramPorts::setMainWindow(MainWindow& form)
{
    addCwWindows(form);
    voice_.setMainWindow(&form, windows_);
    rig_.setParentWindow(&form);
    spots_.setMainWindow(&form);
    rigCommands_.setParentWindow(&form);
    addAppearanceWindows(windows_, form, services_);
    addSpectrumMapWindow(windows_, form, rig_.control(), services_.clock, services_.runModal);
}

CwSetupWindow* ProgramPorts::cwSetupWindow() const { return cwSetup_; }
CwStringsWindow* ProgramPorts::cwStringsWindow() const { return cwStrings_; }
WinKeyWindow* ProgramPorts::winKeyWindow() const { return winKeyWindow_; }

namespace {

// A window that stays loaded: shown again where it was, in front.
void bringUp(QWidget* window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace

void ProgramPorts::addWinKeyWindow(MainWindow& form)
{
    winKeyWindow_ = new WinKeyWindow(winKey_,
                                     WinKeyWindowServices{services_.dialogs, services_.dataFolder,
                                                          [&form] { return form.session().prefs().ownCall; },
                                                          [this] { return cw_.sender().settings().speedWpm; }},
                                     &form);
    // Loaded once, when "WinKey" is first chosen; the CW window's speed field follows to the keyer.
    QObject::connect(cwSetup_, &CwSetupWindow::winKeyChosen, winKeyWindow_, [this] {
        if (winKeyWindow_ && !winKeyWindow_->loaded())
            winKeyWindow_->load();
    });
    QObject::connect(cwSetup_, &CwSetupWindow::winKeySpeedChanged, &winKey_, &WinKeyKeyer::setSpeed);
    QObject::connect(cwSetup_, &CwSetupWindow::configureWinKeyRequested, winKeyWindow_, [this] {
        if (!winKeyWindow_)
            return;
        if (!winKeyWindow_->isVisible())
            winKeyWindow_->setWindowModality(Qt::ApplicationModal);
        bringUp(winKeyWindow_);
    });
}

void ProgramPorts::addCwWindows(MainWindow& form)
{
    cwSetup_ = new CwSetupWindow(cw_.sender(), &cw_.lines(),
                                 CwWindowServices{services_.dialogs, services_.settings, services_.beeper,
                                                  services_.workDir},
                                 &form);
    cwStrings_ = new CwStringsWindow(cw_.sender(), &form);
    cwSetup_->setStringsWindow(cwStrings_);
    QObject::connect(cwSetup_, &CwSetupWindow::problem, &cw_, &CwKeyer::showStatus);
    QObject::connect(cwSetup_, &CwSetupWindow::doneClicked, &form, [&form] { bringUp(&form); });
    // Keys pressed in the CW strings window go to the main window's key handlers, as the key
    // pipeline gives them there: key-down first, then the character it types.
    cwStrings_->setKeyHandler([&form](QKeyEvent* event) {
        const TranslatedKey k = translateKey(*event);
        int keyCode = k.virtualKey;
        form.Form_KeyDown(keyCode, k.shiftMask);
        int keyAscii = k.keyAscii;
        if (keyAscii == 0)
            return keyCode == 0;
        form.Form_KeyPress(keyAscii);
        return true;
    });
    addWinKeyWindow(form);
    cwSetup_->load();

    windows_.add(WindowLauncher::Window::CwSetup, [this](bool modal) {
        if (!cwSetup_)
            return;
        // Modality can change only while the window is hidden; "Done" makes it modeless again.
        if (!cwSetup_->isVisible())
            cwSetup_->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        bringUp(cwSetup_);
    });
    windows_.add(
        WindowLauncher::Window::CwStrings,
        [this](bool) {
            if (cwStrings_)
                bringUp(cwStrings_);
        },
        [this] {
            if (cwStrings_)
                cwStrings_->hide();
        });
}

}  // namespace cubwave

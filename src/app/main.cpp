#include "app/ProgramPorts.h"
#include "app/SpotDisplayReport.h"
#include "core/SharedPrefsDocument.h"
#include "platform/KeyingRelease.h"
#include "platform/QtOneShotTimer.h"
#include "platform/QtSettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/SystemEnvironment.h"
#include "platform/TerminationSignal.h"
#include "platform/gui/QtBeeper.h"
#include "platform/gui/QtDesktop.h"
#include "platform/gui/QtDialogs.h"
#include "ui/appearance/LogoWindow.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/ScreenLayout.h"
#include "ui/common/WorkAreaGuard.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cubwave Log"));
    // A crash or any exit leaves no transmitter keyed.
    cubwave::KeyingRelease::installExitHandlers();

    cubwave::SystemClock clock;
    cubwave::SystemEnvironment env;
    cubwave::QtDialogs dialogs;
    cubwave::QtBeeper beeper;
    cubwave::QtDesktop desktop;
    cubwave::DesignLayout::useDesktop(&desktop, &dialogs);
    {
        // Until the main window is there to lend its font, boxes take the window font the screen
        // gives at full size.
        const cubwave::DesktopArea area = desktop.areaFor(nullptr);
        if (!cubwave::ScreenLayout::areaProblem(area)) {
            QFont font = QApplication::font();
            font.setPointSizeF(cubwave::DesignLayout::designPoints(
                cubwave::ScreenLayout::kDesignWindowPoints *
                    cubwave::ScreenLayout::windowFontFactor(area.screen.size(), 100),
                nullptr));
            dialogs.setWindowFont(font);
        }
    }
    cubwave::WorkAreaGuard workAreaGuard(desktop);
    app.installEventFilter(&workAreaGuard);
    cubwave::SharedPrefsDocument shared;

    // A termination request (SIGINT, SIGTERM, SIGHUP) is taken from the first dialog on: one
    // that comes while a start-up dialog waits closes that dialog and ends the start-up after it.
    cubwave::TerminationSignal termination;
    bool endedEarly = false;
    QMetaObject::Connection beforeWindow =
        QObject::connect(&termination, &cubwave::TerminationSignal::requested, &app, [&endedEarly] {
            endedEarly = true;
            cubwave::MainWindow::closeActiveDialog();
        });

    const cubwave::StartupFolders folders = cubwave::prepareFolders(QDir::currentPath(), env, dialogs, shared);
    if (endedEarly)
        return 0;
    // The logo comes once the folders are known: the operator's own picture lives in the shared
    // folder.
    {
        cubwave::QtOneShotTimer closeTimer;
        cubwave::QtOneShotTimer badgeTimer;
        cubwave::LogoWindow logo(folders.sharedFolder, closeTimer, badgeTimer);
        logo.exec();
    }
    if (endedEarly)
        return 0;

    cubwave::QtSettingsStore settings;
    cubwave::ProgramPorts ports({dialogs, beeper, settings, clock, shared, folders.workDir, folders.dataFolder,
                                 folders.sharedFolder});
    cubwave::MainWindow form({clock, dialogs, beeper, folders.workDir, folders.dataFolder, folders.sharedFolder,
                         [&ports](int code) {
                             // Nothing is left unwritten at this point: every file write is complete
                             // when it returns.
                             std::fflush(nullptr);
                             ports.ports().cw.releaseAll();
                             ports.ports().voice.releaseAll();
                             // A polled Yaesu gets its closing bytes (its dial lock off) even
                             // though no window unloads.
                             ports.ports().rig.unload();
                             cubwave::KeyingRelease::releaseAll();  // _exit skips the exit handlers
                             ::_exit(code);
                         },
                         {},
                         {},
                         &desktop},
                        ports.ports());
    dialogs.setParent(&form);
    ports.setMainWindow(form);
    // Once the window is open, a termination request closes it as the operator would, so the
    // log is backed up.
    QObject::disconnect(beforeWindow);
    QObject::connect(&termination, &cubwave::TerminationSignal::requested, &form, &cubwave::MainWindow::requestEnd);
    form.loadWindow();
    if (form.endRequested()) {
        form.close();
        return 0;
    }
    form.show();
    // End-to-end runs click spots where the program says they are.
    if (!env.variable(QStringLiteral("CUBWAVE_E2E_SPOT_REPORT")).isEmpty())
        cubwave::reportSpotDisplays(form, stdout);
    return app.exec();
}

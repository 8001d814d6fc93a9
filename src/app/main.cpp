#include "core/SharedPrefsDocument.h"
#include "platform/KeyingRelease.h"
#include "platform/SystemClock.h"
#include "platform/SystemEnvironment.h"
#include "platform/TerminationSignal.h"
#include "platform/gui/QtBeeper.h"
#include "platform/gui/QtDialogs.h"
#include "ui/Form1.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

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
    cubwave::SharedPrefsDocument shared;

    const cubwave::StartupFolders folders = cubwave::prepareFolders(QDir::currentPath(), env, dialogs, shared);

    cubwave::Form1 form({clock, dialogs, beeper, folders.workDir, folders.dataFolder, folders.sharedFolder,
                         [](int code) {
                             // Nothing is left unwritten at this point: every file write is complete
                             // when it returns.
                             std::fflush(nullptr);
                             cubwave::KeyingRelease::releaseAll();  // _exit skips the exit handlers
                             ::_exit(code);
                         }});
    dialogs.setParent(&form);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form.setGeometry(screen->availableGeometry());
    // A termination request closes the window as the operator would, so the log is backed up.
    cubwave::TerminationSignal termination;
    QObject::connect(&termination, &cubwave::TerminationSignal::requested, &form, &QWidget::close);
    form.loadWindow();
    form.show();
    return app.exec();
}

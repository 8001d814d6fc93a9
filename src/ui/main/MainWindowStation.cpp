// The main window's side of the operator's own station: the station window, the prefix table
// that places calls, the UTC offset check at start-up and the clocks.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "station/ClockTexts.h"
#include "station/UtcOffsetCheck.h"
#include "ui/main/StationDialog.h"

#include <QDir>

namespace cubwave {

bool MainWindow::loadPrefixTable(QString& problem)
{
    const QString path = PrefixTable::findFile(services_.sharedFolder, services_.dataFolder, services_.workDir);
    if (path.isEmpty()) {
        prefixTable_ = PrefixTable();  // no table: every call is "Not Found"
        // Said, or the operator takes a lookup that finds nothing for one that works.
        setStatus(QStringLiteral("arrlpre2.txt was not found in %1, %2 or %3: every call shows \"Not Found\".")
                      .arg(QDir::toNativeSeparators(services_.sharedFolder),
                           QDir::toNativeSeparators(services_.dataFolder), QDir::toNativeSeparators(services_.workDir)));
        return true;
    }
    PrefixTableLoad load = PrefixTable::read(path);
    if (!load.ok) {
        problem = QStringLiteral("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), load.reason);
        return false;
    }
    prefixTable_ = std::move(load.table);
    return true;
}

void MainWindow::utcOffsetCheck()
{
    const UtcOffsetCheck check(services_.clock.utcNow(), services_.clock.localNow(), session_.prefs().utcOffsetHours);
    if (!check.shouldAsk())
        return;
    const std::optional<QString> answer =
        services_.dialogs.input(UtcOffsetCheck::title(), check.prompt(), check.defaultAnswer());
    if (const std::optional<float> offset = check.answeredOffset(answer)) {
        session_.prefs().utcOffsetHours = *offset;
        SavePref();
    }
}

void MainWindow::mnuSetup_Click()
{
    {
        StationDialog window(session_.prefs(), services_.beeper, &prefixTable_, this);
        runModal(window);
        // After the close box these are the stored values, unchanged.
        StationDialog::copyStationFields(window.values(), session_.prefs());
    }
    showOwnExchange();
    SavePref();
}

void MainWindow::showOwnExchange()
{
    const Preferences& p = session_.prefs();
    screen_->showOwnExchange({p.ownCall, p.ownName, p.ownAge, p.ownSpc, p.ownColour});
}

void MainWindow::showClocks()
{
    const QTime local = services_.clock.localNow().time();
    screen_->showClocks(utcClockText(local, session_.prefs().utcOffsetHours), localClockText(local), amPmText(local));
}

}  // namespace cubwave

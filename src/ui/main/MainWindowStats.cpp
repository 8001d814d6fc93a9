// The main window's partial-duplicate switch, rates, list length and operating-time clock.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"
#include "ui/main/EntryLine.h"

#include "core/TimeStats.h"
#include "platform/Clock.h"
#include "ui/common/VbColor.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace cubwave {

void MainWindow::cmdDup_Click()
{
    session_.partialDupDisplay = !session_.partialDupDisplay;
    setBackColour(screen_->dupeLabel, kButtonFace);
    screen_->partialDupButton->setText(session_.partialDupDisplay ? QStringLiteral("On") : QStringLiteral("Off"));
    entryLine_->focusCall();
}

void MainWindow::showRates()
{
    const cubwave::TimeStats::Rates rates =
        cubwave::TimeStats::compute(session_.store(), services_.clock.localNow(), session_.prefs().utcOffsetHours);
    screen_->showRates(rates.perHour60Text(), rates.perHour20Text());
}

void MainWindow::cmdLogOn_Click()
{
    const QDateTime now = services_.clock.localNow();
    if (!opClock_.running()) {
        opClock_.start(now);
        screen_->operatingClockButton->setText(QStringLiteral("&Log \"Time Off\""));
        setStatus(QStringLiteral(" "));
    } else {
        opClock_.stop(now);
        session_.prefs().operatingSeconds = opClock_.accumulatedSeconds();
        screen_->operatingClockButton->setText(QStringLiteral("&Log \"Time On\""));
        // The offset is applied in whole hours here, as the sign-off time has always been shown.
        const QDateTime off = now.addSecs(static_cast<qint64>(session_.prefs().utcOffsetHours) * 3600);
        setStatus(QStringLiteral("Logged Off at ") + QLocale().toString(off.date(), QLocale::ShortFormat) +
                  QLatin1Char(' ') + off.toString(QStringLiteral("HH:mm:ss")));
        SavePref();
    }
    entryLine_->focusCall();
}

void MainWindow::timer2Tick()
{
    showClocks();
    if (opClock_.running())
        screen_->operatingTimeLabel->setText(OperatingClock::display(opClock_.elapsedSeconds(services_.clock.localNow())));
}

void MainWindow::cmdList_Click()
{
    session_.listAll = !session_.listAll;
    screen_->listLengthButton->setText(session_.listAll ? QStringLiteral("All") : QStringLiteral("Last 20"));
    RecentListRefresh();
    entryLine_->focusCall();
}

}  // namespace cubwave

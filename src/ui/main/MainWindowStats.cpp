// The main window's duplicate displays, statistics, rates and operating-time clock.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "core/DupCheck.h"
#include "core/PartialDupSearch.h"
#include "core/Statistics.h"
#include "core/TimeStats.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/common/VbColor.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>

namespace cubwave {

void MainWindow::partialDupSearch(int key)
{
    PartialDupSearch::Input in;
    in.fieldText = edit(Field::Call)->text();
    in.keyCode = key;
    in.band = session_.prefs().band;
    in.mode = session_.prefs().mode;
    in.displayOn = session_.partialDupDisplay;
    in.clockRunning = opClock_.running();
    const PartialDupSearch::Result r = PartialDupSearch::run(session_.store(), in);

    setBackColour(screen_->statusLabel, kTeal);
    setBackColour(screen_->dupeLabel, r.matches.isEmpty() ? kButtonFace : kTeal);
    screen_->dupeLabel->setText(r.matches);
    if (r.status)
        setStatus(*r.status);
    if (r.beep)
        beep();
}

void MainWindow::checkDuplicates()
{
    DupCheck::Input in;
    in.call = edit(Field::Call)->text();
    in.band = session_.prefs().band;
    in.mode = session_.prefs().mode;
    in.fields = {edit(Field::Other)->text(), edit(Field::Spc)->text(), edit(Field::Name)->text(),
                 edit(Field::Age)->text()};
    in.listPrevious = session_.listPrevious();
    const DupCheck::Result r = DupCheck::run(session_.store(), in);

    if (r.replaceList) {
        std::vector<int> recNos;
        recNos.reserve(r.rows.size());
        for (const RecentRow& row : r.rows)
            recNos.push_back(row.recNo);
        screen_->recentModel->showRecords(std::move(recNos));
    }
    const auto fill = [this](Field field, const std::optional<QString>& value) {
        if (!value)
            return;
        edit(field)->setText(*value);
        edit(field)->setSelection(0, static_cast<int>(value->size()));
    };
    fill(Field::Other, r.fillOther);
    fill(Field::Spc, r.fillSpc);
    fill(Field::Name, r.fillName);
    fill(Field::Age, r.fillAge);

    if (r.duplicate) {
        setStatus(r.duplicate->report);
        setBackColour(screen_->statusLabel, kRed);
        setBackColour(screen_->dupeLabel, kButtonFace);
        screen_->dupeLabel->setText(QString());
        // The commit goes on while it sounds; the next focus cue waits for its end instead of
        // the operator's keys.
        ports_.voice.playCue(QStringLiteral("Dupe"));
    }
}

void MainWindow::cmdDup_Click()
{
    session_.partialDupDisplay = !session_.partialDupDisplay;
    setBackColour(screen_->dupeLabel, kButtonFace);
    screen_->partialDupButton->setText(session_.partialDupDisplay ? QStringLiteral("On") : QStringLiteral("Off"));
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showRates()
{
    const cubwave::TimeStats::Rates rates =
        cubwave::TimeStats::compute(session_.store(), services_.clock.localNow(), session_.prefs().utcOffsetHours);
    screen_->rate60Label->setText(rates.perHour60Text());
    screen_->rate20Label->setText(rates.perHour20Text());
}

void MainWindow::updateNewIndicator()
{
    screen_->newLabel->setVisible(Statistics::showsNew(edit(Field::Spc)->text(), session_.store().dxList()));
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
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
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
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
}

}  // namespace cubwave

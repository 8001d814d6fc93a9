// The main window's duplicate displays, statistics, rates and operating-time clock.
#include "ui/main/MainWindow.h"

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

    setBackColour(statusLabel_, kTeal);
    setBackColour(dupeLabel_, r.matches.isEmpty() ? kButtonFace : kTeal);
    dupeLabel_->setText(r.matches);
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
        recentModel_->showRecords(std::move(recNos));
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
        setBackColour(statusLabel_, kRed);
        setBackColour(dupeLabel_, kButtonFace);
        dupeLabel_->setText(QString());
        // The commit goes on while it sounds; the next focus cue waits for its end instead of
        // the operator's keys.
        ports_.voice.playCue(QStringLiteral("Dupe"));
    }
}

void MainWindow::cmdDup_Click()
{
    session_.partialDupDisplay = !session_.partialDupDisplay;
    setBackColour(dupeLabel_, kButtonFace);
    partialDupButton_->setText(session_.partialDupDisplay ? QStringLiteral("On") : QStringLiteral("Off"));
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showRates()
{
    const cubwave::TimeStats::Rates rates =
        cubwave::TimeStats::compute(session_.store(), services_.clock.localNow(), session_.prefs().utcOffsetHours);
    rate60Label_->setText(rates.perHour60Text());
    rate20Label_->setText(rates.perHour20Text());
}

void MainWindow::updateNewIndicator()
{
    newLabel_->setVisible(Statistics::showsNew(edit(Field::Spc)->text(), session_.store().dxList()));
}

void MainWindow::cmdLogOn_Click()
{
    const QDateTime now = services_.clock.localNow();
    if (!opClock_.running()) {
        opClock_.start(now);
        operatingClockButton_->setText(QStringLiteral("&Log \"Time Off\""));
        setStatus(QStringLiteral(" "));
    } else {
        opClock_.stop(now);
        session_.prefs().operatingSeconds = opClock_.accumulatedSeconds();
        operatingClockButton_->setText(QStringLiteral("&Log \"Time On\""));
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
        operatingTimeLabel_->setText(OperatingClock::display(opClock_.elapsedSeconds(services_.clock.localNow())));
}

void MainWindow::cmdList_Click()
{
    session_.listAll = !session_.listAll;
    listLengthButton_->setText(session_.listAll ? QStringLiteral("All") : QStringLiteral("Last 20"));
    RecentListRefresh();
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
}

}  // namespace cubwave

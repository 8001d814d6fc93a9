#include "ui/main/MainWindow.h"

#include "core/FieldText.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"
#include "station/NumericText.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/common/VbColor.h"
#include "ui/main/EntryLine.h"
#include "ui/main/MainScreen.h"
#include "ui/spots/BandMapView.h"
#include "ui/spots/SpotListModel.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

namespace cubwave {

namespace {

constexpr qint32 kWhite = 0xFFFFFF;

// What the call field refuses of a text, in the operator's words.
QString refusedCharacter(QStringView call, const FieldRule& rule)
{
    for (const QChar c : call) {
        if (c == QLatin1Char(' '))
            return QStringLiteral("a blank");
        if (c == QLatin1Char('"'))
            return QStringLiteral("a double quote");
        if (FieldText::breaksLine(c))
            return QStringLiteral("a control character");
        if (FieldText::accept(rule, QStringView(&c, 1), 0).isEmpty())
            return QStringLiteral("a character the call field does not take");
    }
    return QStringLiteral("a character the call field does not take");
}

}  // namespace

void MainWindow::connectSpotDisplays()
{
    BandMapView* map = screen_->bandMap;
    map->setLayoutSource([this](ScaleLine line) {
        const Preferences& p = session_.prefs();
        return SpotMapRules::bandMap(spotStore_, p.band, services_.clock.ticksMs(), p.utcOffsetHours, line);
    });
    connect(map, &BandMapView::spotPressed, this, &MainWindow::spotLabelPressed);
    connect(map, &BandMapView::spotHovered, screen_->dupeLabel, &QLabel::setText);
    connect(map, &BandMapView::panelClicked, this, [this] { openWindow(WindowLauncher::Window::DxSpotting, false); });
    connect(map, &BandMapView::panelDoubleClicked, this,
            [this] { openWindow(WindowLauncher::Window::SpectrumMap, true); });
    // A double click on the list delivers its click first: the spot is tuned, then the map opens.
    connect(screen_->spotList, &QTableView::clicked, this, [this](const QModelIndex& index) { spotListClicked(index.row()); });
    connect(screen_->spotList, &QTableView::doubleClicked, this,
            [this] { openWindow(WindowLauncher::Window::SpectrumMap, true); });
    connect(&session_, &ContestSession::bandChanged, this, &MainWindow::bandMenuRefresh);
}

void MainWindow::bandMapSpots(const QString& call, const QString& frequency, const QString& record)
{
    const SpotArrival arrival = spotStore_.add(call, frequency, record, session_.prefs().ownCall,
                                               services_.clock.localNow(), services_.clock.ticksMs());
    if (arrival.ownCallSpotted)
        showSpotted(record);
    if (!arrival.stored)
        return;
    displayBandMapLabels();
    screen_->spotListModel->addNewest(SpotListRow::from(call, arrival.frequencyMHz, arrival.record, prefixTable_));
}

void MainWindow::showSpotted(const QString& record)
{
    beep();
    setBackColour(screen_->statusLabel, kWhite);
    setStatus(QStringLiteral("You've been spotted! "));
    setBackColour(screen_->dupeLabel, kWhite);
    // One line: what follows a CR is no part of the spot.
    screen_->dupeLabel->setText(QStringLiteral("You've been spotted!  ") + record.section(QLatin1Char('\r'), 0, 0));
}

void MainWindow::displayBandMapLabels()
{
    // Laid out at the next paint, and only when the map shows: a chunk of spots costs one.
    screen_->bandMap->requestDisplay();
}

void MainWindow::bandMenuRefresh()
{
    // The scale follows the band: it is made with the layout.
    displayBandMapLabels();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && screen_ && isActiveWindow())
        displayBandMapLabels();
}

void MainWindow::spotLabelPressed(int slot, Qt::MouseButton button)
{
    if (button != Qt::RightButton) {
        spotStore_.removeFromMaps(slot);
        displayBandMapLabels();
        return;
    }
    // Copied first: a spot that arrives while the rig is tuned moves every slot.
    const QString call = spotStore_.slot(slot).call;
    const double freqMHz = spotStore_.slot(slot).frequencyMHz;
    ports_.rig.tuneTo(freqMHz);
    takeSpottedCall(call, true);
}

void MainWindow::spotListClicked(int row)
{
    entryLine_->focusCall();
    if (row < 0 || row >= screen_->spotListModel->rowCount())
        return;
    // Copied first: a spot that arrives while the rig is tuned moves every row.
    const SpotListRow spot = screen_->spotListModel->row(row);
    const std::optional<double> freqMHz = NumericText::parse(spot.cells[SpotListRow::Frequency]);
    if (freqMHz && session_.prefs().rigModel.compare(QLatin1String("None"), Qt::CaseInsensitive) != 0)
        ports_.rig.tuneTo(*freqMHz);
    takeSpottedCall(spot.cells[SpotListRow::Call], false);
}

bool MainWindow::takeSpottedCall(const QString& call, bool thenTab)
{
    QLineEdit* callField = screen_->fields[0];
    entryLine_->focusCall();
    const FieldTextGuard* guard = callField->findChild<FieldTextGuard*>();
    FieldRule rule = guard ? guard->rule() : FieldRule{};
    rule.upperCaseBelow = FieldRule::kWholeField;
    rule.maxLength = std::min(rule.maxLength, callField->maxLength());
    // Whole or not at all: a cut call would be logged as a call nobody sent.
    const QString kept = FieldText::accept(rule, call, 0);
    if (kept.size() != call.size()) {
        setStatus(QStringLiteral("The spotted call was not put in the call field: it holds %1.")
                      .arg(refusedCharacter(call, rule)));
        return false;
    }
    if (kept.size() > rule.maxLength) {
        setStatus(QStringLiteral("The spotted call was not put in the call field: it is longer than the field's %1 characters.")
                      .arg(rule.maxLength));
        return false;
    }
    callField->setText(kept);
    if (thenTab)
        EntryLine::sendTab();
    return true;
}

void MainWindow::openWindow(WindowLauncher::Window window, bool modal)
{
    if (!ports_.windows.available(window)) {
        setStatus(notAvailableText(windowEntryName(window)));
        return;
    }
    ports_.windows.show(window, modal);
}

}  // namespace cubwave

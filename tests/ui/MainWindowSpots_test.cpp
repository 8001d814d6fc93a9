#include "spots/SpotMapLayout.h"
#include "support/MainWindowFixture.h"
#include "ui/spots/BandMapView.h"
#include "ui/common/PaintedItem.h"
#include "ui/spots/SpotListModel.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QTableView>
#include <QTest>
#include <QToolTip>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// A cluster record as the hand-over gives it: the line from "de" on.
QString record(const QString& spotter, const QString& freq, const QString& call, const QString& comment = "CQ")
{
    return (QStringLiteral("de ") + spotter + QLatin1Char(':')).leftJustified(12) + freq.rightJustified(9) +
           QStringLiteral("  ") + call.leftJustified(13) + comment.leftJustified(31) + QStringLiteral("1200Z");
}

class MainWindowSpots : public MainWindowFixture {
protected:
    // The window loaded on 20 m with the spot room open on the chosen display.
    void startWith(const QString& display)
    {
        // A window an earlier round closed no longer listens.
        ports.spots.spotListeners.clear();
        start();
        form->prefs().ownCall = QStringLiteral("N0CUB");
        form->bandCommand(QStringLiteral("20"));
        form->packetResize(QStringLiteral("Telnet"), display);
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    void spot(const QString& call, const QString& freqKHz, const QString& comment = "CQ")
    {
        ports.spots.spot(call, freqKHz, record(QStringLiteral("W3LPL"), freqKHz, call, comment));
    }

    BandMapView* map() const { return form->findChild<BandMapView*>(QStringLiteral("lblDX")); }
    QTableView* list() const { return form->findChild<QTableView*>(QStringLiteral("txtDX")); }
    const SpotListModel& rows() const { return *form->findChild<SpotListModel*>(); }

    // What the panel painted at its last paint.
    const PaintedItem* painted(const QString& name) const
    {
        settle();
        return map()->findChild<PaintedItem*>(name);
    }
    const PaintedItem* spotLabel(int slot) const { return painted(QStringLiteral("lblDXSpot_%1").arg(slot)); }
    QStringList scale() const
    {
        QStringList out;
        for (int k = 0; k < 5; ++k)
            out << painted(QStringLiteral("lblFreqSpot_%1").arg(k))->text();
        return out;
    }
    // The captions shown, newest first.
    QStringList shownCaptions() const
    {
        QStringList out;
        for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
            if (spotLabel(i)->isVisible())
                out << spotLabel(i)->text();
        }
        return out;
    }
    QPoint centreOf(int slot) const { return spotLabel(slot)->geometry().center(); }
    static constexpr int kNewest = SpotStore::kSlots - 1;
};

TEST_F(MainWindowSpots, ASpotShowsOnTheBandMapAndTopsTheList)
{
    startWith(QStringLiteral("Band Map"));
    ASSERT_TRUE(map()->isVisible());
    EXPECT_FALSE(list()->isVisible());

    spot(QStringLiteral("K1ABC"), QStringLiteral("14025.0"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030.0"));
    // Two frequencies on the band: the scale zooms onto them, 1 kHz either side.
    EXPECT_EQ(scale().front(), QStringLiteral("14.024"));
    EXPECT_EQ(scale().back(), QStringLiteral("14.031"));
    EXPECT_EQ(shownCaptions(), (QStringList{"JA1", "K1"}));

    // Centred on its frequency above the line; the line spans the scale.
    const QRect line = painted(QStringLiteral("LineDX"))->geometry();
    const PaintedItem* k1 = spotLabel(kNewest - 1);
    const double expectedCentre = line.left() + (14.025 - 14.024) / (14.031 - 14.024) * line.width();
    EXPECT_NEAR(k1->geometry().left() + k1->geometry().width() / 2.0, expectedCentre, 1.0);
    EXPECT_EQ(k1->geometry().bottom() + 1, line.top() - qRound(0.004 * form->height()));
    EXPECT_EQ(line.top(), map()->height() / 2);
    EXPECT_EQ(painted(QStringLiteral("lblFreqSpot_0"))->geometry().top(), line.top() + qRound(0.004 * form->height()));
    // Spot times by the UTC clock's rule: local 14:05:33 with 4 hours added.
    EXPECT_EQ(k1->toolTip(), QStringLiteral("K1ABC  14.025  18:05:33"));
    EXPECT_EQ(k1->colour(), QColor(255, 255, 128));
    // A screen reader finds the shown spots, newest first, then the five scale labels.
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(map());
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->childCount(), 2 + 5);
    EXPECT_EQ(reader->child(2)->text(QAccessible::Name), painted(QStringLiteral("lblFreqSpot_0"))->text());
    EXPECT_EQ(reader->child(0)->text(QAccessible::Name), QStringLiteral("JA1"));
    EXPECT_EQ(reader->child(1)->text(QAccessible::Description), QStringLiteral("K1ABC  14.025  18:05:33"));
    EXPECT_EQ(reader->child(1)->rect().center(), map()->mapToGlobal(k1->geometry().center()));

    ASSERT_EQ(rows().rowCount(), 2);
    EXPECT_EQ(rows().row(0).cells[SpotListRow::Call], QStringLiteral("JA1ZZ"));
    EXPECT_EQ(rows().row(0).cells[SpotListRow::Frequency], QStringLiteral("14.03"));
    EXPECT_EQ(rows().row(1).cells[SpotListRow::Call], QStringLiteral("K1ABC"));
    EXPECT_EQ(list()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("QTH"));
    EXPECT_FALSE(rows().row(0).cells[SpotListRow::Qth].isEmpty());
    // Widths follow the window: width x N / 9600, "Status" never seen.
    const int width = form->centralWidget()->width();
    EXPECT_EQ(list()->horizontalHeader()->sectionSize(0), qRound(width * 1040 / 9600.0));
    EXPECT_EQ(list()->horizontalHeader()->sectionSize(3), 0);
}

TEST_F(MainWindowSpots, ScaleAndShownSpotsForTheBandsEdgeCases)
{
    struct Case {
        const char* band;
        std::vector<std::pair<const char*, const char*>> spots;  // call, kHz
        const char* lower;
        const char* upper;
        QStringList shown;
    };
    const Case cases[] = {
        {"160", {}, "1.800", "2.000", {}},
        // Nothing in band: the band's edges, nothing shown.
        {"20", {{"K1ABC", "7025"}, {"K2ABC", "21025"}, {"K3ABC", "14350"}, {"K4ABC", "14000"}}, "14.000", "14.350", {}},
        // One spot in band: the edges stay.
        {"20", {{"K1ABC", "7025"}, {"K2ABC", "14025"}}, "14.000", "14.350", {"K2"}},
        // Two spots on one frequency: still the edges.
        {"40", {{"K1ABC", "7010"}, {"VE3XYZ", "7010"}}, "7.000", "7.300", {"VE3", "K1"}},
        {"2", {{"K1ABC", "144200"}, {"K2ABC", "146520"}}, "144.199", "146.521", {"K2", "K1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.band);
        startWith(QStringLiteral("Band Map"));
        form->bandCommand(QString::fromLatin1(c.band));
        for (const auto& [call, kHz] : c.spots)
            spot(QString::fromLatin1(call), QString::fromLatin1(kHz));
        EXPECT_EQ(scale().front(), QLatin1String(c.lower));
        EXPECT_EQ(scale().back(), QLatin1String(c.upper));
        EXPECT_EQ(shownCaptions(), c.shown);
        if (c.spots.empty()) {
            EXPECT_EQ(scale(), (QStringList{"1.800", "1.850", "1.900", "1.950", "2.000"}));
        }
        form.reset();
    }
}

TEST_F(MainWindowSpots, ABandChangeRescalesTheMap)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("7025"));
    spot(QStringLiteral("K2ABC"), QStringLiteral("7030"));
    EXPECT_TRUE(shownCaptions().isEmpty());
    form->bandCommand(QStringLiteral("40"));
    EXPECT_EQ(scale().front(), QStringLiteral("7.024"));
    EXPECT_EQ(shownCaptions(), (QStringList{"K2", "K1"}));
}

TEST_F(MainWindowSpots, TheFiftyFirstSpotAndTheSameCallTwice)
{
    startWith(QStringLiteral("Band Map"));
    for (int i = 0; i < SpotStore::kSlots + 1; ++i)
        spot(QStringLiteral("K%1ABC").arg(i), QString::number(14001 + i));
    EXPECT_EQ(form->spotStore().slot(0).call, QStringLiteral("K1ABC"));  // K0ABC is gone
    EXPECT_EQ(shownCaptions().size(), SpotStore::kSlots);

    // The same call again: only the newer label shows; the older slot keeps its call.
    spot(QStringLiteral("k20abc"), QStringLiteral("14200"));
    EXPECT_EQ(form->spotStore().slot(kNewest).call, QStringLiteral("k20abc"));
    EXPECT_EQ(form->spotStore().slot(18).call, QStringLiteral("K20ABC"));
    EXPECT_EQ(form->spotStore().slot(18).frequencyMHz, 0.0f);
    EXPECT_FALSE(spotLabel(18)->isVisible());
    EXPECT_TRUE(spotLabel(kNewest)->isVisible());
    // The copy the shift moves into the oldest slot is found too.
    ASSERT_EQ(form->spotStore().slot(1).call, QStringLiteral("K3ABC"));
    spot(QStringLiteral("K3ABC"), QStringLiteral("14300"));
    EXPECT_EQ(form->spotStore().slot(0).call, QStringLiteral("K3ABC"));
    EXPECT_EQ(form->spotStore().slot(0).frequencyMHz, 0.0f);
    EXPECT_EQ(shownCaptions().count(QStringLiteral("K3")), 1);
}

TEST_F(MainWindowSpots, ColoursFollowTheAgeAndAnHourOldSpotStopsTheRepaint)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    clock.advanceMs(300'000);
    spot(QStringLiteral("K2ABC"), QStringLiteral("14030"));  // 300 s younger
    const std::pair<qint64, std::optional<QColor>> steps[] = {
        {599, QColor(255, 255, 128)}, {600, QColor(255, 255, 255)}, {1799, QColor(255, 255, 255)},
        {1800, QColor(192, 192, 192)}, {3599, QColor(192, 192, 192)}, {3600, std::nullopt},
    };
    qint64 k1Age = 300;
    for (const auto& [age, colour] : steps) {
        SCOPED_TRACE(age);
        clock.advanceMs((age - k1Age) * 1000);
        k1Age = age;
        // The quiet band's repaint moves the colours on.
        ports.spots.repaintDue();
        const PaintedItem* k1 = spotLabel(kNewest - 1);
        EXPECT_EQ(k1->isVisible(), colour.has_value());
        if (colour) {
            EXPECT_EQ(k1->colour(), *colour);
        }
    }
    // K2ABC is 3300 s old and still shown.
    EXPECT_TRUE(spotLabel(kNewest)->isVisible());
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(192, 192, 192));
}

TEST_F(MainWindowSpots, AClockStepNeitherBlanksNorFreshensTheMap)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("K2ABC"), QStringLiteral("14030"));
    clock.advanceMs(700'000);
    // The wall clock jumps an hour ahead (a daylight-saving change), then two hours back.
    clock.setLocal(clock.localNow().addSecs(3600));
    form->displayBandMapLabels();
    EXPECT_EQ(shownCaptions(), (QStringList{"K2", "K1"}));
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(255, 255, 255));
    clock.setLocal(clock.localNow().addSecs(-7200));
    form->displayBandMapLabels();
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(255, 255, 255));
}

TEST_F(MainWindowSpots, ManySpotsInOneGoLayOutAndPaintOnce)
{
    startWith(QStringLiteral("Band Map"));
    settle();
    const int layouts = map()->layouts();
    for (int i = 0; i < 100; ++i)
        spot(QStringLiteral("K%1ABC").arg(i), QString::number(14001 + i));
    EXPECT_EQ(map()->layouts(), layouts);  // nothing until the paint
    settle();
    EXPECT_EQ(map()->layouts(), layouts + 1);
}

// Back in the window, the operator sees the ages of now, even on a quiet band.
TEST_F(MainWindowSpots, ActivatingTheWindowRepaintsTheMap)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(255, 255, 128));
    clock.advanceMs(700'000);
    settle();
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(255, 255, 128));  // nothing asked for a repaint
    ASSERT_TRUE(form->isActiveWindow());
    QEvent activated(QEvent::ActivationChange);
    QApplication::sendEvent(form.get(), &activated);
    EXPECT_EQ(spotLabel(kNewest)->colour(), QColor(255, 255, 255));
}

TEST_F(MainWindowSpots, TheListKeepsTheNewest200)
{
    startWith(QStringLiteral("List"));
    EXPECT_TRUE(list()->isVisible());
    EXPECT_FALSE(map()->isVisible());
    for (int i = 0; i < SpotListModel::kMaxRows + 1; ++i)
        spot(QStringLiteral("K%1ABC").arg(i), QStringLiteral("14025"));
    ASSERT_EQ(rows().rowCount(), SpotListModel::kMaxRows);
    EXPECT_EQ(rows().row(0).cells[SpotListRow::Call], QStringLiteral("K200ABC"));
    EXPECT_EQ(rows().row(SpotListModel::kMaxRows - 1).cells[SpotListRow::Call], QStringLiteral("K1ABC"));
}

TEST_F(MainWindowSpots, YouveBeenSpottedInAnyCaseEvenWithoutAFrequency)
{
    startWith(QStringLiteral("Band Map"));
    const int beeps = beeper.beeps;
    const QString talk = QStringLiteral("de W3LPL: n0cub is loud\rsecond line");
    ports.spots.spot(QStringLiteral("n0cub"), QStringLiteral("DX"), talk);
    EXPECT_EQ(beeper.beeps, beeps + 1);
    EXPECT_EQ(status(), QStringLiteral("You've been spotted! "));
    EXPECT_EQ(label("lblDupe")->text(), QStringLiteral("You've been spotted!  de W3LPL: n0cub is loud"));
    EXPECT_EQ(label("lblDialog")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(label("lblDupe")->palette().color(QPalette::Window), QColor(Qt::white));
    // No number, nothing stored.
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_TRUE(form->spotStore().slot(kNewest).call.isEmpty());
}

TEST_F(MainWindowSpots, AnEmptyCallIsNoAlarmAndOddFrequenciesStoreNothing)
{
    startWith(QStringLiteral("Band Map"));
    form->prefs().ownCall.clear();
    const int beeps = beeper.beeps;
    ports.spots.spot(QString(), QStringLiteral("7025"), QStringLiteral("de W3LPL:"));
    EXPECT_EQ(beeper.beeps, beeps);
    EXPECT_NE(status(), QStringLiteral("You've been spotted! "));
    EXPECT_EQ(rows().rowCount(), 1);

    for (const char* freq : {"14,025", "1e308", "nan", "inf", "", "0x10", "--5"})
        spot(QStringLiteral("K1ABC"), QString::fromLatin1(freq));
    EXPECT_EQ(rows().rowCount(), 1);
    // Numbers that are numbers but lie on no band are listed and never shown.
    for (const char* freq : {"-14025", "0", "999999999"})
        spot(QStringLiteral("K2ABC"), QString::fromLatin1(freq));
    EXPECT_EQ(rows().rowCount(), 4);
    EXPECT_TRUE(shownCaptions().isEmpty());
}

TEST_F(MainWindowSpots, ARightClickTunesTakesTheCallAndTabsOn)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("k1abc"), QStringLiteral("14025.5"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    QTest::mouseClick(map(), Qt::RightButton, Qt::NoModifier, centreOf(kNewest - 1));
    ASSERT_EQ(ports.rig.tunes.size(), 1u);
    EXPECT_NEAR(ports.rig.tunes[0], 14.0255, 1e-6);
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("K1ABC"));
    // The Tab moved on: the call was processed as if typed.
    EXPECT_EQ(focus(), field("txtName"));
    // The second press of a double click does nothing more.
    QTest::mouseDClick(map(), Qt::RightButton, Qt::NoModifier, centreOf(kNewest - 1));
    EXPECT_EQ(ports.rig.tunes.size(), 1u);
    EXPECT_EQ(focus(), field("txtName"));
    EXPECT_TRUE(ports.windows.shown.empty());

    type("tom 12 ct");
    key(Qt::Key_Return);
    ASSERT_EQ(form->store().count(), 1);
    EXPECT_TRUE(logBytes().contains("K1ABC"));
    EXPECT_TRUE(form->mnuOpen2());
    EXPECT_EQ(form->store().count(), 1);
}

// A real tune lets events run while its command drains: a spot arriving then moves every slot
// and row, and the call taken is still the one clicked.
TEST_F(MainWindowSpots, ASpotArrivingWhileTheRigTunesDoesNotChangeTheCallTaken)
{
    startWith(QStringLiteral("Band Map"));
    form->prefs().rigModel = QStringLiteral("Kenwood");
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    ports.rig.whileTuning = [this] { spot(QStringLiteral("DL1XX"), QStringLiteral("14035")); };
    QTest::mouseClick(map(), Qt::RightButton, Qt::NoModifier, centreOf(kNewest - 1));
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("K1ABC"));

    form->packetResize(QStringLiteral("Telnet"), QStringLiteral("List"));
    settle();
    ports.rig.whileTuning = [this] { spot(QStringLiteral("VE3XYZ"), QStringLiteral("14040")); };
    const QRect r = list()->visualRect(list()->model()->index(1, 0));  // JA1ZZ
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("JA1ZZ"));
}

TEST_F(MainWindowSpots, OtherButtonsTakeTheSpotOffTheMapButNotOffTheList)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    spot(QStringLiteral("DL1XX"), QStringLiteral("14035"));
    const QPoint at = centreOf(kNewest - 1);
    QTest::mouseClick(map(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_FALSE(spotLabel(kNewest - 1)->isVisible());
    EXPECT_EQ(form->spotStore().slot(kNewest - 1).frequencyMHz, 0.0f);
    EXPECT_EQ(rows().rowCount(), 3);
    // Its second press opens nothing, though only the panel lies there now.
    QTest::mouseDClick(map(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(ports.windows.shown.empty());
    EXPECT_TRUE(ports.rig.tunes.empty());
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
}

TEST_F(MainWindowSpots, HoverShowsTheTooltipTextOnTheDupeLine)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("<b>X</b>"), QStringLiteral("14025"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    QTest::mouseMove(map(), centreOf(kNewest - 1));
    EXPECT_EQ(label("lblDupe")->text(), QStringLiteral("<b>X</b>  14.025  18:05:33"));
    EXPECT_EQ(label("lblDupe")->textFormat(), Qt::PlainText);
    EXPECT_EQ(label("lblDialog")->textFormat(), Qt::PlainText);
    // The tooltip shows the call as sent, not as bold markup.
    QHelpEvent help(QEvent::ToolTip, centreOf(kNewest - 1), map()->mapToGlobal(centreOf(kNewest - 1)));
    QApplication::sendEvent(map(), &help);
    EXPECT_TRUE(QToolTip::text().contains(QLatin1String("&lt;b&gt;X&lt;/b&gt;  14.025"))) << QToolTip::text().toStdString();
    QToolTip::hideText();
    EXPECT_EQ(rows().row(1).cells[SpotListRow::Call], QStringLiteral("<b>X</b>"));
}

TEST_F(MainWindowSpots, PanelClicksOpenTheSpotWindowAndDoubleClicksTheSpectrumMap)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    const QPoint empty(2, map()->height() - 2);
    QTest::mouseClick(map(), Qt::LeftButton, Qt::NoModifier, empty);
    ASSERT_EQ(ports.windows.shown.size(), 1u);
    EXPECT_EQ(ports.windows.shown[0].window, WindowLauncher::Window::DxSpotting);
    EXPECT_FALSE(ports.windows.shown[0].modal);
    QTest::mouseDClick(map(), Qt::LeftButton, Qt::NoModifier, empty);
    ASSERT_EQ(ports.windows.shown.size(), 2u);
    EXPECT_EQ(ports.windows.shown[1].window, WindowLauncher::Window::SpectrumMap);
    EXPECT_TRUE(ports.windows.shown[1].modal);
    EXPECT_EQ(form->spotStore().slot(kNewest).frequencyMHz, 14.03f);  // no spot touched
}

TEST_F(MainWindowSpots, AListClickTunesUnlessTheRigIsNoneAndTakesTheCallWithoutTab)
{
    startWith(QStringLiteral("List"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("ja1zz"), QStringLiteral("21074.5"));
    const auto clickRow = [&](int row) {
        const QRect r = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    };

    form->prefs().rigModel = QStringLiteral("None");
    clickRow(1);
    EXPECT_TRUE(ports.rig.tunes.empty());
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("K1ABC"));
    EXPECT_EQ(focus(), field("txtCall"));  // no Tab

    form->prefs().rigModel = QStringLiteral("Kenwood");
    clickRow(0);
    ASSERT_EQ(ports.rig.tunes.size(), 1u);
    EXPECT_NEAR(ports.rig.tunes[0], 21.0745, 1e-6);
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("JA1ZZ"));

    // A double click: its click tunes first, then the spectrum map opens.
    const QRect r = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_TRUE(ports.windows.shown.empty());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(ports.rig.tunes.size(), 2u);
    ASSERT_EQ(ports.windows.shown.size(), 1u);
    EXPECT_EQ(ports.windows.shown[0].window, WindowLauncher::Window::SpectrumMap);
    EXPECT_TRUE(ports.windows.shown[0].modal);
}

TEST_F(MainWindowSpots, ASpottedCallTheCallFieldCouldNotTakeIsRefusedWhole)
{
    startWith(QStringLiteral("Band Map"));
    struct Case {
        QString call;
        const char* why;
    };
    const Case cases[] = {
        {QStringLiteral("K1 ABC"), "a blank"},
        {QStringLiteral("K1\"ABC"), "a double quote"},
        {QStringLiteral("K1\x01" "ABC"), "a control character"},
        {QStringLiteral("K1ABC\tX"), "a control character"},
        {QStringLiteral("K1ABCDEFGHIJKLMNOPQR"), "longer than the field's 12 characters"},
    };
    field("txtCall")->setText(QStringLiteral("W1AW"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        spot(c.call, QStringLiteral("14025"));
        spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
        QTest::mouseClick(map(), Qt::RightButton, Qt::NoModifier, centreOf(kNewest - 1));
        EXPECT_EQ(field("txtCall")->text(), QStringLiteral("W1AW"));
        EXPECT_TRUE(status().contains(QLatin1String(c.why))) << status().toStdString();
        EXPECT_EQ(focus(), field("txtCall"));
        EXPECT_FALSE(form->takeSpottedCall(c.call, true));
    }
    // Upper-cased, never cut: twelve characters fit exactly.
    EXPECT_TRUE(form->takeSpottedCall(QStringLiteral("k1abcdefghij"), false));
    EXPECT_EQ(field("txtCall")->text(), QStringLiteral("K1ABCDEFGHIJ"));

    field("txtCall")->setText(QStringLiteral("W1AW"));
    key(Qt::Key_Tab);
    type("tom 12 ct");
    key(Qt::Key_Return);
    ASSERT_EQ(form->store().count(), 1);
    EXPECT_TRUE(form->mnuOpen2());
    EXPECT_EQ(form->store().count(), 1);
    EXPECT_FALSE(logBytes().contains("ABC"));
}

TEST_F(MainWindowSpots, ThePanelIsNavyAndAFreshCaptionLightYellow)
{
    startWith(QStringLiteral("Band Map"));
    spot(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    spot(QStringLiteral("JA1ZZ"), QStringLiteral("14030"));
    settle();
    const QImage image = map()->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(0, 0, 128));
    const QRect caption = spotLabel(kNewest)->geometry();
    int lightYellow = 0;
    int white = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y) {
        for (int x = caption.left(); x <= caption.right(); ++x) {
            const QColor c(image.pixel(x, y));
            lightYellow += c == QColor(255, 255, 128);
            white += c == QColor(Qt::white);
        }
    }
    EXPECT_GT(lightYellow, 0);
    EXPECT_EQ(white, 0);
    const QRect line = painted(QStringLiteral("LineDX"))->geometry();
    EXPECT_EQ(QColor(image.pixel(line.center().x(), line.top())), QColor(Qt::white));
}

// The stored spot connection comes back once, after the rig, at the end of a load that ran
// through; a load that stopped opens nothing.
TEST_F(MainWindowSpots, TheSpotFeedOpensAtTheEndOfACompleteLoadOnly)
{
    start();
    EXPECT_EQ(ports.spots.startupOpens, 1);
    EXPECT_EQ(ports.rig.startupRigNames.size(), 1);

    form.reset();
    ports.spots.startupOpens = 0;
    QFile::remove(dir.filePath("cubwavepref.txt"));
    start();
    EXPECT_EQ(ports.spots.startupOpens, 0);
}

TEST_F(MainWindowSpots, TheFeedsDisplayChoiceRepaintAndStatusReachTheWindow)
{
    start();
    ASSERT_TRUE(ports.spots.displayChosen);
    ports.spots.displayChosen(QStringLiteral("Telnet"), QStringLiteral("List"));
    EXPECT_EQ(form->spotConnectionType(), QStringLiteral("Telnet"));
    EXPECT_EQ(form->spotDisplay(), QStringLiteral("List"));
    EXPECT_TRUE(list()->isVisible());
    // "&Done" again with "Band Map": the room stays, the display switches.
    const QRect room = list()->geometry();
    ports.spots.displayChosen(QStringLiteral("Telnet"), QStringLiteral("Band Map"));
    EXPECT_TRUE(map()->isVisible());
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(map()->geometry(), room);

    ASSERT_TRUE(ports.spots.repaintDue);
    settle();
    const int layouts = map()->layouts();
    ports.spots.repaintDue();
    settle();
    EXPECT_EQ(map()->layouts(), layouts + 1);

    ASSERT_TRUE(ports.spots.statusLine);
    ports.spots.statusLine(QStringLiteral("TNC: /dev/ttyS0 is used by the rig line"));
    EXPECT_EQ(status(), QStringLiteral("TNC: /dev/ttyS0 is used by the rig line"));
}

}  // namespace

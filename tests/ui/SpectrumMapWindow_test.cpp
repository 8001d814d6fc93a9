// The HF spectrum map on its own: the rows and their scales, where and how each spot shows, the
// ages that colour and end the display, the mouse on a spot, and the window's fit to the screen.
#include "rig/RigControlPort.h"
#include "spots/SpotStore.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "ui/common/PaintedItem.h"
#include "ui/common/WaitCursor.h"
#include "ui/spots/SpectrumMapView.h"
#include "ui/spots/SpectrumMapWindow.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <cmath>
#include <stdexcept>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class TuneRecorder final : public RigControlPort {
public:
    void onReports(std::function<void(float)>, std::function<void(const QString&)>) override {}
    void onStatus(std::function<void(const QString&)>) override {}
    void onSavePreferences(std::function<void(const QString&)>) override {}
    void openAtStartup(const QString&) override {}
    bool tuneTo(double frequencyMHz) override
    {
        tuned.push_back(frequencyMHz);
        return false;  // as with no rig polled: the call must go in all the same
    }
    void unload() override {}

    std::vector<double> tuned;
};

class SpectrumMap : public ::testing::Test {
protected:
    static constexpr float kUtcOffset = 5;

    void TearDown() override
    {
        map.reset();
        // No test may leave the hourglass up for the next one.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    SpectrumMapWindow& open()
    {
        map = std::make_unique<SpectrumMapWindow>(SpectrumMapWindow::Services{
            store, rig, clock, &desktop, kUtcOffset, [this](const QString& call) {
                takenCalls << call;
                return true;
            }});
        return *map;
    }
    SpectrumMapWindow& openShown()
    {
        open().show();
        QCoreApplication::processEvents();
        return *map;
    }

    void spot(const char* call, const char* kHz)
    {
        store.add(QString::fromLatin1(call), QString::fromLatin1(kHz), QStringLiteral("de W3LPL"), QStringLiteral("N0OWN"),
                  clock.localNow(), clock.ticksMs());
    }
    void advanceSeconds(qint64 s) { clock.advanceMs(s * 1000); }

    SpectrumMapView& view() const { return *map->view(); }
    PaintedItem& spotLabel(int slot) const { return *view().spotLabel(slot); }
    PaintedItem& scaleLabel(int n) const { return *view().scaleLabel(n); }
    PaintedItem& line(int row) const { return *view().line(row); }
    QPoint centreOf(int slot) const { return spotLabel(slot).geometry().center(); }

    FakeClock clock;
    FakeDesktop desktop{{1280, 1024}};
    SpotStore store;
    TuneRecorder rig;
    QStringList takenCalls;
    std::unique_ptr<SpectrumMapWindow> map;
};

TEST_F(SpectrumMap, EveryRowShowsItsBandEdgesWhenNoSpotIsInIt)
{
    open();
    EXPECT_EQ(map->objectName(), QStringLiteral("SpectrumMap"));
    EXPECT_EQ(map->windowTitle(), QStringLiteral(" HF Spectrum Map"));
    EXPECT_EQ(view().objectName(), QStringLiteral("lblHFSpots"));

    // The band windows, written out here rather than taken from the rules the window uses.
    const double edges[11][2] = {{1.8, 2.0},       {3.5, 4.0},     {7.0, 7.3},   {10.1, 10.15},
                                 {14.0, 14.35},    {18.068, 18.168}, {21.0, 21.45}, {24.89, 24.99},
                                 {28.0, 29.7},     {50.0, 54.0},   {144.0, 148.0}};
    const QRegularExpression threeDecimals(QStringLiteral("^\\d+\\.\\d{3}$"));
    for (int k = 0; k < 11; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(line(k).isVisible());
        EXPECT_EQ(line(k).objectName(), QStringLiteral("lineHF_%1").arg(k));
        for (int j = 0; j < 5; ++j) {
            const PaintedItem& label = scaleLabel(5 * k + j);
            EXPECT_EQ(label.objectName(), QStringLiteral("lblFreqSpot_%1").arg(5 * k + j));
            // A quarter that ends in a half of the last place may round either way.
            EXPECT_TRUE(threeDecimals.match(label.text()).hasMatch()) << label.text().toStdString();
            EXPECT_NEAR(label.text().toDouble(), edges[k][0] + j * (edges[k][1] - edges[k][0]) / 4, 0.00051);
            EXPECT_TRUE(label.isVisible());
            EXPECT_EQ(label.colour(), QColor(Qt::white));
            // Below its line, centred on its quarter of it.
            EXPECT_GT(label.geometry().top(), line(k).geometry().top());
            const QRect l = line(k).geometry();
            EXPECT_NEAR(label.geometry().center().x(), l.left() + j * (l.width() - 1) / 4.0, 1.5);
        }
    }
    const QStringList firstRow{"1.800", "1.850", "1.900", "1.950", "2.000"};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(scaleLabel(j).text(), firstRow[j]);
    for (int slot = 0; slot < SpotStore::kSlots; ++slot)
        EXPECT_FALSE(spotLabel(slot).isVisible()) << slot;
}

TEST_F(SpectrumMap, SpotsOnEveryBandShowInTheirRowsAndOutsideEveryBandNowhere)
{
    struct Case {
        const char* call;
        const char* kHz;
        int row;            // -1: in no band window
        double fraction;    // along the row's line (the scale is the band's edges: one spot a band)
        const char* caption;
        const char* tooltip;
    };
    const Case cases[] = {
        {"VE3XYZ", "1830", 0, 0.15, "VE3", "VE3XYZ  1.830  19:05:33"},
        {"K1ABC", "10120", 3, 0.4, "K1", "K1ABC  10.120  19:05:33"},  // 30 m: on this map only
        {"KH6/K1ABC", "18100", 5, 0.32, "KH6", "KH6/K1ABC  18.100  19:05:33"},  // 17 m
        {"3DA0XY", "24940", 7, 0.5, "3DA0", "3DA0XY  24.940  19:05:33"},          // 12 m
        {"W1AW/4", "145500", 10, 0.375, "W4", "W1AW/4  145.500  19:05:33"},
        {"G4ABC", "5300", -1, 0, "", ""},  // 60 m has no row
    };
    for (const Case& c : cases)
        spot(c.call, c.kHz);
    openShown();

    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.call);
        const int slot = SpotStore::kSlots - int(std::size(cases)) + i;
        const PaintedItem& label = spotLabel(slot);
        EXPECT_EQ(label.objectName(), QStringLiteral("lblDXSpot_%1").arg(slot));
        if (c.row < 0) {
            EXPECT_FALSE(label.isVisible());
            continue;
        }
        ASSERT_TRUE(label.isVisible());
        EXPECT_EQ(label.text(), QLatin1String(c.caption));
        EXPECT_EQ(label.toolTip(), QLatin1String(c.tooltip));
        EXPECT_EQ(label.colour(), QColor(255, 255, 128));
        // Standing on its row's line, centred on its frequency.
        const QRect l = line(c.row).geometry();
        EXPECT_EQ(label.geometry().bottom() + 1, l.top());
        EXPECT_NEAR(label.geometry().center().x() + 0.5, l.left() + c.fraction * (l.width() - 1), 1.5);
    }
}

TEST_F(SpectrumMap, TwoFrequenciesOnABandZoomItsRowOnly)
{
    spot("K1ABC", "14025");
    spot("W2XYZ", "14030");
    spot("VE3XYZ", "7010");
    open();
    EXPECT_EQ(scaleLabel(20).text(), QStringLiteral("14.024"));
    EXPECT_EQ(scaleLabel(24).text(), QStringLiteral("14.031"));
    EXPECT_EQ(scaleLabel(10).text(), QStringLiteral("7.000"));  // one spot: the band's edges
    EXPECT_EQ(scaleLabel(14).text(), QStringLiteral("7.300"));
    const QRect l = line(4).geometry();
    EXPECT_NEAR(spotLabel(47).geometry().center().x() + 0.5, l.left() + (1.0 / 7.0) * (l.width() - 1), 1.5);
    EXPECT_NEAR(spotLabel(48).geometry().center().x() + 0.5, l.left() + (6.0 / 7.0) * (l.width() - 1), 1.5);
}

TEST_F(SpectrumMap, AgeColoursChangeAtTenMinutesHalfAnHourAndAnHourEndsTheDisplay)
{
    struct Step {
        qint64 ageSeconds;
        std::optional<QColor> colour;  // nothing: hidden
    };
    const QColor yellow(255, 255, 128), white(255, 255, 255), silver(192, 192, 192);
    const Step steps[] = {{0, yellow},    {599, yellow}, {600, white},         {1799, white},
                          {1800, silver}, {3599, silver}, {3600, std::nullopt}, {7200, std::nullopt}};
    spot("K1ABC", "21025");
    openShown();
    qint64 age = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.ageSeconds);
        advanceSeconds(s.ageSeconds - age);
        age = s.ageSeconds;
        map->BandMapLabelDisplay();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        ASSERT_EQ(spotLabel(49).isVisible(), s.colour.has_value());
        if (s.colour) {
            EXPECT_EQ(spotLabel(49).colour(), *s.colour);
        }
    }
}

TEST_F(SpectrumMap, ASpotAnHourOldHidesItselfAndEveryOlderSpotOnEveryRow)
{
    spot("DL1AAA", "28500");    // slot 46, 10 m
    advanceSeconds(100);
    spot("G4ABC", "5300");      // slot 47, in no row: its age is tested all the same
    advanceSeconds(100);
    spot("VE3XYZ", "50100");    // slot 48, 6 m
    advanceSeconds(3500);
    spot("JA1ABC", "28600");    // slot 49, 10 m, fresh
    openShown();

    EXPECT_TRUE(spotLabel(49).isVisible());
    EXPECT_EQ(spotLabel(49).colour(), QColor(255, 255, 128));
    EXPECT_TRUE(spotLabel(48).isVisible());  // 3500 s
    EXPECT_EQ(spotLabel(48).colour(), QColor(192, 192, 192));
    EXPECT_FALSE(spotLabel(47).isVisible());  // 3600 s: the display ends here
    EXPECT_FALSE(spotLabel(46).isVisible());  // on another row, and older: ended with it
    EXPECT_EQ(view().shownLayout().stoppedAtSlot, 47);
}

// An empty slot has no arrival and so no age: it counts as an hour old, wherever it lies.
TEST_F(SpectrumMap, AnEmptySlotEndsTheDisplayAsAnHourOldSpotWould)
{
    open();
    EXPECT_EQ(view().shownLayout().stoppedAtSlot, 49);
    spot("JA1ABC", "28600");
    map->BandMapLabelDisplay();
    EXPECT_TRUE(spotLabel(49).isVisible());
    EXPECT_EQ(view().shownLayout().stoppedAtSlot, 48);
}

TEST_F(SpectrumMap, RightButtonTunesTakesTheCallAndClosesTheMap)
{
    spot("K1ABC", "14025");
    spot("W2XYZ", "7010");
    openShown();
    QTest::mouseClick(&view(), Qt::RightButton, {}, centreOf(48));
    ASSERT_EQ(rig.tuned.size(), 1u);
    EXPECT_NEAR(rig.tuned[0], 14.025, 1e-6);
    EXPECT_EQ(takenCalls, QStringList{QStringLiteral("K1ABC")});
    EXPECT_FALSE(map->isVisible());
    EXPECT_EQ(map->result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(store.slot(48).frequencyMHz, 14.025f);  // the spot stays on the maps
}

TEST_F(SpectrumMap, OtherButtonsTakeTheSpotOffBothMapsAndKeepTheMapOpen)
{
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        SCOPED_TRACE(int(button));
        spot("K1ABC", "14025");
        spot("W2XYZ", "14030");
        openShown();
        int changes = 0;
        const QMetaObject::Connection counting = QObject::connect(&store, &SpotStore::changed, [&changes] { ++changes; });
        QTest::mouseClick(&view(), button, {}, centreOf(49));
        EXPECT_FLOAT_EQ(store.slot(49).frequencyMHz, 0.0f);
        EXPECT_EQ(store.slot(49).call, QStringLiteral("W2XYZ"));
        EXPECT_EQ(changes, 1);  // the main window's band map hears of it
        EXPECT_FALSE(spotLabel(49).isVisible());
        EXPECT_TRUE(spotLabel(48).isVisible());
        EXPECT_EQ(scaleLabel(20).text(), QStringLiteral("14.000"));  // one spot left: the band's edges
        EXPECT_TRUE(map->isVisible());
        EXPECT_TRUE(rig.tuned.empty());
        EXPECT_TRUE(takenCalls.isEmpty());

        // A click beside every spot does nothing.
        QTest::mouseClick(&view(), button, {}, QPoint(2, 2));
        EXPECT_FLOAT_EQ(store.slot(48).frequencyMHz, 14.025f);
        QObject::disconnect(counting);
        map.reset();
    }
}

TEST_F(SpectrumMap, TheNewestSpotLiesOnTopAndTakesTheClick)
{
    spot("K1ABC", "14025");
    spot("W2XYZ", "14025.2");  // within a label's width of the first
    spot("VE3XYZ", "14300");
    openShown();
    const QRect older = spotLabel(47).geometry();
    const QRect newer = spotLabel(48).geometry();
    ASSERT_TRUE(older.intersects(newer));
    const QPoint both = older.intersected(newer).center();
    EXPECT_EQ(view().spotAt(both), 48);
    // The second press of a double click is no second click: one spot leaves, not two.
    QTest::mousePress(&view(), Qt::LeftButton, {}, both);
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, both);
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, both);
    EXPECT_FLOAT_EQ(store.slot(48).frequencyMHz, 0.0f);
    EXPECT_FLOAT_EQ(store.slot(47).frequencyMHz, 14.025f);
}

TEST_F(SpectrumMap, SpotsArrivingWhileOpenAreShownWithOneRepaint)
{
    openShown();
    int paints = 0;
    struct PaintCounter : QObject {
        int& n;
        explicit PaintCounter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } counter(paints);
    view().installEventFilter(&counter);
    QCoreApplication::processEvents();
    paints = 0;
    for (int i = 0; i < 40; ++i)
        spot(QStringLiteral("K%1ABC").arg(i).toLatin1().constData(), "14025");
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(spotLabel(49).isVisible());
    EXPECT_EQ(spotLabel(49).text(), QStringLiteral("K39"));
    EXPECT_TRUE(spotLabel(10).isVisible());
    EXPECT_LE(paints, 1);
    view().removeEventFilter(&counter);
}

TEST_F(SpectrumMap, TheTooltipShowsTheSpotAsPlainText)
{
    spot("<b>K1ABC</b>", "14025");
    openShown();
    const PaintedItem& label = spotLabel(49);
    ASSERT_TRUE(label.isVisible());
    EXPECT_EQ(label.toolTip(), QStringLiteral("<b>K1ABC</b>  14.025  19:05:33"));
    QHelpEvent help(QEvent::ToolTip, centreOf(49), view().mapToGlobal(centreOf(49)));
    QCoreApplication::sendEvent(&view(), &help);
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    EXPECT_EQ(shown.toPlainText(), label.toolTip());  // tags as sent, both double blanks kept
    QToolTip::hideText();
}

TEST_F(SpectrumMap, TheWindowFillsTheWorkAreaOfEveryScreen)
{
    for (const QSize screen : kScreenSizes) {
        SCOPED_TRACE(screen.width());
        desktop.setScreen(screen);
        open();
        EXPECT_EQ(map->frameGeometry(), desktop.area.workArea);
        map->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(desktop.area.workArea.contains(map->frameGeometry()));
        const QRect panel = view().geometry();
        EXPECT_TRUE(map->rect().contains(panel));
        // The scale labels of a row stay on the panel and clear of each other.
        for (int k = 0; k < 11; ++k) {
            for (int j = 0; j < 5; ++j) {
                const QRect r = scaleLabel(5 * k + j).geometry();
                EXPECT_TRUE(QRect(QPoint(0, 0), panel.size()).contains(r)) << k << " " << j;
                if (j > 0) {
                    EXPECT_LT(scaleLabel(5 * k + j - 1).geometry().right(), r.left()) << k << " " << j;
                }
            }
        }
        map.reset();
    }
}

TEST_F(SpectrumMap, APictureOfTheMapHasTheNavyPanelAndTheSpotsColours)
{
    spot("K1ABC", "14100");
    spot("DL1AAA", "21100");
    advanceSeconds(700);
    spot("VE3XYZ", "7100");
    spot("W2XYZ", "21100");  // on top of the older DL1AAA
    openShown();
    const QImage image = view().grab().toImage();
    ASSERT_FALSE(image.isNull());
    const auto count = [&image](const QRect& r, auto isInk) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += isInk(image.pixelColor(x, y));
        return n;
    };
    const auto countColour = [&count](const QRect& r, QColor c) { return count(r, [c](QColor p) { return p == c; }); };
    // Text is smoothed onto the navy: light-yellow ink keeps the panel's blue, white ink adds to it.
    const auto yellowInk = [](QColor p) { return p.red() >= 200 && p.green() >= 200 && std::abs(p.blue() - 128) <= 8; };
    const auto whiteInk = [](QColor p) { return p.red() >= 200 && p.green() >= 200 && p.blue() >= 200; };
    // Between the title and the line of the first row: panel only.
    EXPECT_EQ(image.pixelColor(line(0).geometry().left() - 2, 2), QColor(0, 0, 128));
    EXPECT_GT(countColour(QRect(line(5).geometry().left(), line(5).geometry().top() - 3, 40, 3), QColor(0, 0, 128)), 0);
    EXPECT_EQ(image.pixelColor(line(5).geometry().center()), QColor(Qt::white));

    const QRect fresh = spotLabel(48).geometry();  // 7.100, under ten minutes
    const QRect recent = spotLabel(46).geometry();  // 14.100, 700 s
    EXPECT_GT(count(fresh, yellowInk), 3);
    EXPECT_EQ(count(fresh, whiteInk), 0);
    EXPECT_GT(count(recent, whiteInk), 3);
    EXPECT_EQ(count(recent, yellowInk), 0);

    // The newest label is drawn last and opaque: none of the older white caption shows through it.
    const QRect newer = spotLabel(49).geometry();
    ASSERT_TRUE(newer.intersects(spotLabel(47).geometry()));
    EXPECT_GT(count(newer, yellowInk), 3);
    EXPECT_EQ(count(newer, whiteInk), 0);
}

TEST_F(SpectrumMap, AScreenReaderFindsEachShownSpotAndScaleLabel)
{
    spot("K1ABC", "14025");
    spot("W2XYZ", "5300");   // in no row: not shown, not read
    spot("VE3XYZ", "7010");
    openShown();
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(&view());
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->childCount(), 2 + 55);
    QAccessibleInterface* newest = panel->child(0);
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->object()->objectName(), QStringLiteral("lblDXSpot_49"));
    EXPECT_EQ(newest->text(QAccessible::Name), QStringLiteral("VE3"));
    EXPECT_EQ(newest->text(QAccessible::Description), QStringLiteral("VE3XYZ  7.010  19:05:33"));
    EXPECT_EQ(newest->rect(), QRect(view().mapToGlobal(spotLabel(49).geometry().topLeft()), spotLabel(49).geometry().size()));
    EXPECT_EQ(panel->indexOfChild(newest), 0);
    EXPECT_EQ(panel->child(1)->object()->objectName(), QStringLiteral("lblDXSpot_47"));
    EXPECT_EQ(panel->child(2)->text(QAccessible::Name), QStringLiteral("1.800"));
    EXPECT_EQ(panel->childAt(newest->rect().center().x(), newest->rect().center().y()), newest);
    EXPECT_EQ(newest->parent(), panel);
}

TEST(WaitCursor, TheHourglassIsUpWhileTheGuardLivesAndGoneHoweverItsScopeEnds)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        const WaitCursor hourglass;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        const WaitCursor hourglass;
        throw std::runtime_error("layout failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace

// The HF spectrum map as the program wires it: Ctrl+B and "&View Spectrum Map" open it modally
// over the main window on the spots the feed handed over, a right click tunes the polled radio
// (a simulated Kenwood on a pseudo-terminal) and puts the call into the entry line, and the map
// is gone once it closes.
#include "app/ProgramPorts.h"
#include "core/SharedPrefsDocument.h"
#include "platform/SystemClock.h"
#include "rig/RigModel.h"
#include "rig/RigSettings.h"
#include "rig/RigSettingsFile.h"
#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/RigSimulator.h"
#include "support/TestFiles.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PaintedItem.h"
#include "ui/main/MainWindow.h"
#include "ui/spots/SpectrumMapView.h"
#include "ui/spots/SpectrumMapWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

class SpectrumMapWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"cubwavepref.txt", "log.txt", "arrlpre2.txt", "wave2.txt", "BandPlan.txt"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/") + QLatin1String(name),
                                    dir.filePath(name)));
            QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
        }
        previousDesktop = DesignLayout::desktop();
        DesignLayout::useDesktop(&desktop);
        program = std::make_unique<ProgramPorts>(ExportServices{dialogs, beeper, settings, clock, shared, dir.path(),
                                                                dir.filePath("d"), dir.filePath("s"),
                                                                [this](QDialog& d) { return runModal(d); }});
        form = std::make_unique<MainWindow>(
            MainWindowServices{clock, dialogs, beeper, dir.path(), dir.filePath("d"), dir.filePath("s"), [](int) {},
                               [](QDialog&) { return 0; }},
            program->ports());
        program->setMainWindow(*form);
        dialogs.messageAnswers.push_back(MsgAnswer::Yes);  // "Open existing log?"
        ASSERT_TRUE(form->loadWindow());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        dialogs.messages.clear();
    }

    void TearDown() override
    {
        form.reset();
        program.reset();
        DesignLayout::useDesktop(previousDesktop);
    }

    QLineEdit* callField() const { return form->findChild<QLineEdit*>(QStringLiteral("txtCall")); }

    // Opens the map as the program does, with a real modal loop; what the operator does in it
    // runs once the loop is up.
    void whenOpen(std::function<void(SpectrumMapWindow&)> operatorDoes)
    {
        runModal = [this, operatorDoes](QDialog& d) {
            ++opened;
            auto* map = qobject_cast<SpectrumMapWindow*>(&d);
            EXPECT_NE(map, nullptr);
            EXPECT_EQ(d.parentWidget(), form.get());
            QTimer::singleShot(0, &d, [&d, map, operatorDoes] {
                EXPECT_EQ(QApplication::activeModalWidget(), &d);
                if (map)
                    operatorDoes(*map);
                if (d.isVisible())
                    d.reject();  // the close box
            });
            return d.exec();
        };
    }

    static void click(SpectrumMapWindow& map, int slot, Qt::MouseButton button)
    {
        const PaintedItem* label = map.view()->spotLabel(slot);
        ASSERT_TRUE(label->isVisible()) << slot;
        QTest::mouseClick(map.view(), button, {}, label->geometry().center());
    }

    QTemporaryDir dir;
    SystemClock clock;
    FakeDesktop desktop{{1366, 768}};
    const Desktop* previousDesktop = nullptr;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    std::function<int(QDialog&)> runModal = [](QDialog&) { return 0; };
    int opened = 0;
    std::unique_ptr<ProgramPorts> program;
    std::unique_ptr<MainWindow> form;
};

TEST_F(SpectrumMapWiring, CtrlBOpensTheMapModallyAndARightClickTunesTheRadioAndFillsTheCallField)
{
    RigSimulator sim(makeKenwoodRadio());
    ASSERT_TRUE(sim.isOpen());
    writeFile(dir.filePath(QStringLiteral("serialports.txt")), QStringLiteral("3=%1\n").arg(sim.devicePath()).toLocal8Bit());
    RigSettings rigSettings;
    rigSettings.selectRig(*RigModels::find(QStringLiteral("Kenwood")));
    rigSettings.port = 3;
    ASSERT_TRUE(
        RigSettingsFile::write(dir.filePath(QString::fromLatin1(RigSettingsFile::kFileName)), rigSettings).ok);
    program->ports().rig.openAtStartup(QStringLiteral("Kenwood"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return program->rigCommands().commands().polling(); }, 5000));

    form->bandMapSpots(QStringLiteral("K1ABC"), QStringLiteral("7025.0"), QStringLiteral("de W3LPL:     7025.0  K1ABC"));
    form->bandMapSpots(QStringLiteral("VE3XYZ"), QStringLiteral("18100.0"), QStringLiteral("de W3LPL:    18100.0  VE3XYZ"));

    bool sawMap = false;
    whenOpen([&](SpectrumMapWindow& map) {
        sawMap = true;
        EXPECT_EQ(map.windowTitle(), QStringLiteral(" HF Spectrum Map"));
        EXPECT_TRUE(desktop.area.workArea.contains(map.frameGeometry()))
            << map.frameGeometry().x() << "," << map.frameGeometry().y() << " " << map.frameGeometry().width() << "x"
            << map.frameGeometry().height();
        EXPECT_EQ(map.view()->spotLabel(49)->text(), QStringLiteral("VE3"));  // 17 m: on this map only
        click(map, 48, Qt::RightButton);
        EXPECT_FALSE(map.isVisible());
    });
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_B,
                    Qt::ControlModifier);
    ASSERT_EQ(opened, 1);
    EXPECT_TRUE(sawMap);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.frequencyHz() == 7025000; }, 5000)) << sim.frequencyHz();
    EXPECT_EQ(callField()->text(), QStringLiteral("K1ABC"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == callField(); }, 2000))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none") << " "
        << (QApplication::activeWindow() ? QApplication::activeWindow()->objectName().toStdString() : "none");
    // Unloaded once it closed.
    EXPECT_EQ(form->findChild<SpectrumMapWindow*>(), nullptr);
    program->ports().rig.unload();
}

TEST_F(SpectrumMapWiring, TheMenuEntryOpensItAndALeftClickTakesTheSpotOffBothMaps)
{
    form->bandMapSpots(QStringLiteral("K1ABC"), QStringLiteral("14025.0"), QStringLiteral("de W3LPL"));
    form->bandMapSpots(QStringLiteral("W2XYZ"), QStringLiteral("21030.0"), QStringLiteral("de W3LPL"));
    whenOpen([&](SpectrumMapWindow& map) {
        click(map, 48, Qt::LeftButton);
        EXPECT_TRUE(map.isVisible());
        EXPECT_FALSE(map.view()->spotLabel(48)->isVisible());
        EXPECT_TRUE(map.view()->spotLabel(49)->isVisible());
    });
    form->findChild<QAction*>(QStringLiteral("mnuViewSpwctrumMap"))->trigger();
    ASSERT_EQ(opened, 1);
    EXPECT_FLOAT_EQ(form->spotStore().slot(48).frequencyMHz, 0.0f);
    EXPECT_EQ(form->spotStore().slot(48).call, QStringLiteral("K1ABC"));
    EXPECT_TRUE(callField()->text().isEmpty());
    EXPECT_EQ(form->findChild<SpectrumMapWindow*>(), nullptr);
}

// A spotted call is network text: one the call field would never have taken from the keys stays
// out of the entry line (and so out of log.txt), and the status line says why.
TEST_F(SpectrumMapWiring, ACallTheCallFieldRefusesStaysOutOfTheEntryLine)
{
    form->bandMapSpots(QStringLiteral("K1\"AB C"), QStringLiteral("14025.0"), QStringLiteral("de W3LPL"));
    whenOpen([&](SpectrumMapWindow& map) { click(map, 49, Qt::RightButton); });
    form->findChild<QAction*>(QStringLiteral("mnuViewSpwctrumMap"))->trigger();
    ASSERT_EQ(opened, 1);
    EXPECT_TRUE(callField()->text().isEmpty());
    EXPECT_FALSE(form->findChild<QLabel*>(QStringLiteral("lblDialog"))->text().trimmed().isEmpty());
}

}  // namespace
}  // namespace cubwave::test

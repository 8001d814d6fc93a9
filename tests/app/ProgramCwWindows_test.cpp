// The program's CW wiring: the settings read from "cw.txt" before the load sequence, the CW
// windows behind the launcher, and the CW strings window's keys reaching the main window.
#include "ProgramFixture.h"
#include "cw/CwFile.h"
#include "ui/cw/CwSetupWindow.h"
#include "ui/cw/CwStringsWindow.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class ProgramCwWindows : public ProgramFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CwSettings s;
        s.messages[0] = QStringLiteral("HELLO");
        s.cwInterface = kCwDtr;
        s.port = QStringLiteral("0");  // timed, no device: nothing is opened
        ASSERT_TRUE(CwFile::save(dir.path(), s).ok);
        program.setMainWindow(form);
    }
};

TEST_F(ProgramCwWindows, SettingsAreReadBeforeTheMainWindowLoads)
{
    EXPECT_EQ(program.cwKeyer().sender().settings().messages[0], "HELLO");
    EXPECT_TRUE(program.ports().cw.configured());
}

TEST_F(ProgramCwWindows, SetupOpensModallyFromTheMenuAndModelessFromItsKeys)
{
    CwSetupWindow* setup = program.cwSetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->objectName(), "CWFrm");
    EXPECT_EQ(setup->parentWidget(), &form);

    program.windows().show(WindowLauncher::Window::CwSetup, true);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(setup->windowModality(), Qt::ApplicationModal);
    setup->Command1_Click();  // Done
    EXPECT_FALSE(setup->isVisible());
    // "Done" shows the strings window minimized, since an interface is chosen.
    EXPECT_TRUE(program.cwStringsWindow()->isMinimized());

    program.windows().show(WindowLauncher::Window::CwSetup, false);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(setup->windowModality(), Qt::NonModal);
}

TEST_F(ProgramCwWindows, StringsWindowOpensPassesKeysToTheMainWindowAndUnloads)
{
    CwStringsWindow* strings = program.cwStringsWindow();
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->objectName(), "frmCWStrings");
    program.windows().show(WindowLauncher::Window::CwStrings, false);
    EXPECT_TRUE(strings->isVisible());

    // F12 pressed in the strings window toggles keyboard CW as it would in the main window.
    QTest::keyClick(strings, Qt::Key_F12);
    EXPECT_TRUE(program.ports().cw.keyboardMode());
    EXPECT_EQ(form.findChild<QLabel*>("lblDialog")->text(),
              "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
    QTest::keyClick(strings, Qt::Key_Up);
    EXPECT_EQ(form.findChild<QLabel*>("lblDialog")->text(), "14 WPM");

    program.windows().unload(WindowLauncher::Window::CwStrings);
    EXPECT_FALSE(strings->isVisible());
}

}  // namespace

#pragma once

#include "app/ProgramPorts.h"
#include "core/SharedPrefsDocument.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/main/MainWindow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave::test {

// The program's real ports with the main window over them, on fake services, working in a
// temporary folder. A test writes its settings files first, then calls program.setMainWindow(form).
class ProgramFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    ProgramPorts program{{dialogs, beeper, settings, clock, shared, dir.path(), dir.filePath("d"), dir.filePath("s")}};
    MainWindow form{{clock, dialogs, beeper, dir.path(), dir.filePath("d"), dir.filePath("s"), [](int) {}},
                    program.ports()};
};

}  // namespace cubwave::test

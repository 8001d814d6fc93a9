#pragma once

#include "core/Preferences.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/Keyboard.h"
#include "support/RecordingPorts.h"
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

namespace cubwave::test {

// A main window over a temporary working directory seeded with the shipped files, with every
// platform service faked. The window is shown and active so focus moves as for a user.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and loads the window; answers "Open existing log?" with Yes unless told otherwise.
    void start(bool answerYes = true);
    void writePrefs(const Preferences& prefs);
    void writeLog(const QByteArray& bytes);
    QByteArray logBytes() const;
    // The preferences as cubwavepref.txt now holds them (defaults when it does not read).
    Preferences savedPrefs() const;

    // Types into whichever widget has the focus, key by key, as a user would.
    void type(const QString& text);
    void key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);

    QLineEdit* field(const char* name) const;
    QLabel* label(const QString& name) const;
    QAction* action(const char* name) const;
    QWidget* focus() const;
    QString status() const;

    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    RecordingPorts ports;
    // When set, the ports the window is built with instead of the recording ones.
    std::function<MainWindowPorts()> customPorts;
    // Runs once the window is built and before its load sequence, as the program's wiring does.
    std::function<void(MainWindow&)> beforeLoad;
    // Set before start(): this voice keyer instead of the recording one.
    VoiceKeyerPort* voicePort = nullptr;
    std::vector<int> endedWith;
    std::function<int(QDialog&)> runModal = [](QDialog&) { return 0; };
    // Empty: the product's own append. A test wraps it to act while a commit syncs.
    std::function<WriteResult(const QString& logPath, const QsoRecord& record)> appendToLog;
    // Set before start(): the monitor the window fits itself to; none keeps its given size.
    const Desktop* desktop = nullptr;
    std::unique_ptr<MainWindow> form;
    Keyboard keyboard{[this] { return form.get(); }};
};

}  // namespace cubwave::test

// The real main window over the program's own ports: Ctrl+F and Ctrl+G open the privileges and
// tune windows through the launcher the program fills in.
#include "app/ProgramPorts.h"
#include "core/SharedPrefsDocument.h"
#include "support/FakeClock.h"
#include "platform/SystemClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeRigLink.h"
#include "support/Fakes.h"
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class ProgramRigWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"cubwavepref.txt", "log.txt", "arrlpre2.txt", "BandPlan.txt"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/") + QLatin1String(name),
                                    dir.filePath(name)));
            QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
        }
        program = std::make_unique<ProgramPorts>(ExportServices{
            dialogs, beeper, settings, clock, shared, dir.path(), dir.filePath("data"), dir.filePath("shared"),
            [this](QDialog& dialog) { return opened(dialog); }});
        dialogs.messageAnswers.push_back(MsgAnswer::Yes);  // "Open existing log?"
        form = std::make_unique<MainWindow>(
            MainWindowServices{clock, dialogs, beeper, dir.path(), dir.filePath("data"), dir.filePath("shared"),
                               [](int) {}, [](QDialog&) { return 0; }, {}},
            program->ports());
        program->setMainWindow(*form);
        form->loadWindow();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->findChild<QLineEdit*>(QStringLiteral("txtCall"))->setFocus();
        messagesAtStart = dialogs.messages.size();
    }

    void TearDown() override
    {
        form.reset();
        program.reset();
    }

    // What a window shows while it runs modally, as the operator would see it.
    struct Seen {
        QString name;
        QString caption;
        bool modal = false;
        bool parentIsMainWindow = false;
        int bandBars = 0;
    };

    int opened(QDialog& dialog)
    {
        Seen s{dialog.objectName(), dialog.windowTitle(), dialog.isModal(), dialog.parentWidget() == form.get()};
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            s.bandBars += label->objectName().startsWith(QLatin1String("blbl"));
        seen.push_back(s);
        return 0;
    }

    void ctrl(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }

    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    std::unique_ptr<ProgramPorts> program;
    std::unique_ptr<MainWindow> form;
    std::vector<Seen> seen;
    size_t messagesAtStart = 0;
};

TEST_F(ProgramRigWindows, CtrlFOpensThePrivilegesWindowDrawnFromTheShippedBandPlan)
{
    ctrl(Qt::Key_F);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].name, "frmBandPlan");
    EXPECT_EQ(seen[0].caption, "Frequency Privileges");
    EXPECT_TRUE(seen[0].modal);
    EXPECT_TRUE(seen[0].parentIsMainWindow);
    // The Extra class is drawn first: every band of the shipped plan has its bar.
    EXPECT_EQ(seen[0].bandBars, 18);
    EXPECT_EQ(dialogs.messages.size(), messagesAtStart);
}

TEST_F(ProgramRigWindows, CtrlGOpensTheTuneWindowModally)
{
    ctrl(Qt::Key_G);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].name, "frmRigTune");
    EXPECT_EQ(seen[0].caption, " Change Frequency and Mode (Ctrl G (Go))");
    EXPECT_TRUE(seen[0].modal);
    EXPECT_TRUE(seen[0].parentIsMainWindow);
}

TEST_F(ProgramRigWindows, ThePrivilegesMenuEntryOpensTheSameWindow)
{
    QAction* entry = form->findChild<QAction*>(QStringLiteral("mnuPrivileges"));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].name, "frmBandPlan");
}

// Until a rig is connected the commands have no radio: the tune window's mode buttons send
// nothing and no error box comes up.
TEST_F(ProgramRigWindows, WithoutARigTheTuneWindowSendsNothingAndRaisesNoError)
{
    ExportServices services{dialogs, beeper, settings, clock, shared, dir.path(), {}, {},
                            [&](QDialog& dialog) {
                                for (QPushButton* b : dialog.findChildren<QPushButton*>())
                                    if (b->text() == QLatin1String("CW") || b->text() == QLatin1String("&Go"))
                                        b->click();
                                return 0;
                            }};
    ProgramPorts own(services);
    own.windows().show(WindowLauncher::Window::RigTune, true);
    EXPECT_FALSE(own.rigCommands().commands().busy());
    EXPECT_EQ(dialogs.messages.size(), messagesAtStart);
}


// Once the rig control hands over its poller and line, the windows' commands reach that radio,
// on the window thread's timers, and a failed one comes up as its error box.
class ConnectedRigCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/BandPlan.txt"), dir.filePath("BandPlan.txt")));
        RigPollSettings settings;
        settings.model = RigModels::find(QStringLiteral("Kenwood"));
        settings.frequencyQuery = QString::fromLatin1(settings.model->defaults.frequencyQuery);
        settings.modeQuery = QString::fromLatin1(settings.model->defaults.modeQuery);
        poller.start(settings, clock.ticksMs());
        windows.connectRig(poller, &link);
    }

    bool finished() { return QTest::qWaitFor([&] { return !windows.commands().busy(); }, 5000); }

    QTemporaryDir dir;
    SystemClock clock;
    FakeDialogs dialogs;
    FakeRigLink link;
    RigPoller poller{&link};
    RigCommandWindows windows{{dialogs, clock, dir.path()}};
};

TEST_F(ConnectedRigCommands, TuningSendsTheBandPlansModeThenTheFrequency)
{
    EXPECT_EQ(windows.commands().rigName(), "Kenwood");
    link.sent.clear();
    windows.commands().changeFrequency(7'025'000);
    ASSERT_TRUE(finished());
    // The mode again last: a radio that changed band recalls its own for the new one.
    EXPECT_EQ(link.sent, (QList<QByteArray>{"MD3;", "FA00007025000;", "MD3;"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ConnectedRigCommands, ALostLineShowsTheErrorBoxes)
{
    link.failed = true;
    windows.commands().changeFrequency(14'200'000);
    ASSERT_TRUE(finished());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "Error Changing Mode");
    EXPECT_EQ(dialogs.messages[0].text, "Input/output error USB");
    EXPECT_EQ(dialogs.messages[1].title, "Error Changing Frequency");
}

TEST_F(ConnectedRigCommands, CancellingDropsTheCommandUnderWay)
{
    link.sent.clear();
    windows.commands().changeFrequency(7'025'000);
    windows.cancelCommands();
    QTest::qWait(400);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_FALSE(windows.commands().busy());
}

}  // namespace

// "&Colors" and "&Help" as the program wires them: the windows open modally over the main
// window, the colours are saved and repainted once the window has closed, and the help page
// shows the file of the working directory.
#include "app/ProgramPorts.h"
#include "core/Preferences.h"
#include "core/SharedPrefsDocument.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/appearance/HelpDialog.h"
#include "ui/appearance/MultiplierColoursDialog.h"
#include "ui/main/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

constexpr qint32 kGreen = 0x00C000;
constexpr qint32 kPurple = 0x800080;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AppearanceWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"cubwavepref.txt", "log.txt", "arrlpre2.txt", "wave2.txt"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/") + QLatin1String(name),
                                    dir.filePath(name)));
            QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
        }
        program = std::make_unique<ProgramPorts>(ExportServices{dialogs, beeper, settings, clock, shared, dir.path(),
                                                                dir.filePath("d"), dir.filePath("s"),
                                                                [this](QDialog& d) { return runModal(d); }});
        form = std::make_unique<MainWindow>(
            MainWindowServices{clock, dialogs, beeper, dir.path(), dir.filePath("d"), dir.filePath("s"), [](int) {},
                               [](QDialog&) { return 0; }},
            program->ports());
        program->setMainWindow(*form);
        dialogs.messageAnswers.push_back(MsgAnswer::Yes);  // "Open existing log?"
        ASSERT_TRUE(form->loadWindow()) << dialogs.messages.back().text.toStdString();
        dialogs.messages.clear();
    }

    Preferences savedPrefs() const { return PrefFile::parse(readAll(dir.filePath("cubwavepref.txt"))).value(); }
    QColor labelColour(const char* name) const
    {
        return form->findChild<QLabel*>(QString::fromLatin1(name))->palette().color(QPalette::WindowText);
    }

    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    std::function<int(QDialog&)> runModal = [](QDialog&) { return 0; };
    std::unique_ptr<ProgramPorts> program;
    std::unique_ptr<MainWindow> form;
};

TEST_F(AppearanceWindows, ColoursAreSavedAndRepaintedOnceTheWindowCloses)
{
    const Preferences before = savedPrefs();
    ASSERT_NE(before.notWorkedColour, kPurple);
    bool opened = false;
    runModal = [&](QDialog& d) {
        opened = true;
        EXPECT_EQ(d.objectName(), "Form6");
        EXPECT_EQ(d.parentWidget(), form.get());
        dialogs.colourAnswers = {kGreen, kPurple};
        d.findChild<QPushButton*>("Command3")->click();
        d.findChild<QPushButton*>("Command1")->click();
        // Nothing is stored while the window is open.
        EXPECT_EQ(savedPrefs().notWorkedColour, before.notWorkedColour);
        d.findChild<QPushButton*>("Command6")->click();
        return d.result();
    };
    form->findChild<QAction*>("mnuColors")->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(savedPrefs().workedColour, kGreen);
    EXPECT_EQ(savedPrefs().notWorkedColour, kPurple);
    EXPECT_EQ(form->prefs().notWorkedColour, kPurple);
    // The shipped log is empty: every state label is still to be worked.
    EXPECT_EQ(labelColour("Label10_1"), QColor(0x80, 0, 0x80));
    EXPECT_EQ(labelColour("Label10_62"), QColor(0x80, 0, 0x80));
}

TEST_F(AppearanceWindows, ClosingWithoutPickingKeepsTheColours)
{
    const Preferences before = savedPrefs();
    runModal = [&](QDialog& d) {
        dialogs.colourAnswers = {std::nullopt};
        d.findChild<QPushButton*>("Command1")->click();
        d.reject();  // the close box
        return d.result();
    };
    form->findChild<QAction*>("mnuColors")->trigger();
    EXPECT_EQ(savedPrefs().workedColour, before.workedColour);
    EXPECT_EQ(savedPrefs().notWorkedColour, before.notWorkedColour);
}

TEST_F(AppearanceWindows, HelpShowsTheWorkingDirectorysFile)
{
    QFile help(dir.filePath("readcubwave.txt"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("Press Enter to log a contact.\r\n");
    help.close();
    QString shown;
    runModal = [&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "Form5");
        EXPECT_EQ(d.parentWidget(), form.get());
        QSignalSpy loaded(&d, SIGNAL(loaded()));
        EXPECT_TRUE(loaded.wait(5000));
        shown = d.findChild<QPlainTextEdit*>("Text1")->toPlainText();
        return 0;
    };
    form->findChild<QAction*>("mnuHelp")->trigger();
    EXPECT_EQ(shown, "Press Enter to log a contact.\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

// The shipped help page names every menu entry the operator can see, so a new or renamed
// entry does not go unexplained.
TEST_F(AppearanceWindows, ShippedHelpNamesEveryVisibleMenuEntry)
{
    const QString help = QString::fromUtf8(readAll(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/readcubwave.txt")));
    ASSERT_FALSE(help.isEmpty());
    QStringList missing;
    int checked = 0;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible())
                continue;
            QString caption = a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
            const QStringList bands{"160", "80", "40", "20", "15", "10", "6", "2", "CW", "PH"};
            if (bands.contains(caption))
                continue;
            ++checked;
            if (!help.contains(caption, Qt::CaseInsensitive))
                missing << caption;
            if (a->menu())
                walk(a->menu()->actions());
        }
    };
    walk(form->menuBar()->actions());
    EXPECT_GT(checked, 25);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
}

}  // namespace

#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/voice/VoiceSetupWindow.h"
#include "voice/VoiceFixture.h"
#include "voice/VoiceMessageFile.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace cubwave {
namespace {

class VoiceSetupWindowTest : public test::VoiceKeyerFixture {
protected:
    template <typename T = QWidget>
    T* control(const char* name)
    {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QLineEdit* field(const char* name) { return control<QLineEdit>(name); }
    // On the round indicator: a radio button takes clicks on its indicator and text only.
    void choose(const char* name)
    {
        QWidget* o = control(name);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
    }
    void showWindow()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // Moves the focus from one field to the next as Tab would.
    void leave(QLineEdit* f)
    {
        f->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(f, Qt::Key_Tab);
    }

    test::FakeDialogs dialogs;
    test::FakeBeeper beeper;
    VoiceSetupWindow window{keyer, dialogs, beeper, dir.path()};
};

TEST_F(VoiceSetupWindowTest, HasEveryControlUnderItsName)
{
    EXPECT_EQ(window.objectName(), "PhoneFrm");
    EXPECT_EQ(window.windowTitle(), "Phone Wave Selections");
    for (int i = 1; i <= 9; ++i) {
        EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i))) << i;
        auto* browse = window.findChild<QPushButton*>(QStringLiteral("Command%1").arg(i + 1));
        ASSERT_TRUE(browse) << i;
        EXPECT_EQ(browse->text(), "Browse");
    }
    EXPECT_EQ(field("Text10")->text(), "0");
    EXPECT_EQ(control<QRadioButton>("Option1")->text(), "RTS");
    EXPECT_EQ(control<QRadioButton>("Option2")->text(), "DTR");
    EXPECT_EQ(control<QRadioButton>("Option3")->text(), "Parallel");
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(field("Text11")->text(), "&H378");
    EXPECT_EQ(field("txtPHLoop")->text(), "0");
    EXPECT_EQ(control<QPushButton>("Command11")->text(), "Test");
    EXPECT_EQ(control<QPushButton>("Command12")->text(), "Stop");
    EXPECT_EQ(control<QPushButton>("Command1")->text(), "Done");
    QStringList labels;
    for (auto* l : window.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains("Loop (Sec)"));
    EXPECT_TRUE(labels.contains("Plays F1 Command"));
    showWindow();
    EXPECT_FALSE(control("Command12")->isVisible());
}

TEST_F(VoiceSetupWindowTest, BrowsePutsTheChosenFileInItsFieldAndCancelBeeps)
{
    showWindow();
    const QString cq = wave("cq.wav", 500);
    dialogs.fileAnswers.push_back(cq);
    QTest::mouseClick(control("Command4"), Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filter, "(*.wav)|*.wav");
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "");
    EXPECT_EQ(field("Text3")->text(), cq);
    EXPECT_EQ(keyer.settings().paths[2], cq);
    EXPECT_EQ(QApplication::focusWidget(), control("Command1"));

    QTest::mouseClick(control("Command4"), Qt::LeftButton);  // cancelled
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_EQ(field("Text3")->text(), cq);
}

TEST_F(VoiceSetupWindowTest, BrowseRefusesAPathTheListCannotHold)
{
    for (const char* name : {"say \"hi\".wav", "two\nlines.wav"}) {
        dialogs.messages.clear();
        dialogs.fileAnswers.push_back(dir.filePath(QString::fromUtf8(name)));
        window.browse(0);
        ASSERT_EQ(dialogs.messages.size(), 1u) << name;
        EXPECT_EQ(dialogs.messages[0].title, VoiceSetupWindow::kUnstorablePathTitle);
        EXPECT_EQ(field("Text1")->text(), "");
        EXPECT_EQ(keyer.settings().paths[0], "");
    }
}

TEST_F(VoiceSetupWindowTest, FieldRules)
{
    showWindow();
    // The interval takes digits, "." and Backspace only.
    QLineEdit* loop = field("txtPHLoop");
    loop->clear();
    QTest::keyClicks(loop, "a1x2.5\"-");
    EXPECT_EQ(loop->text(), "12.5");
    QTest::keyClick(loop, Qt::Key_Backspace);
    EXPECT_EQ(loop->text(), "12.");
    // The address turns a..z to capitals and refuses the double quote.
    QLineEdit* address = field("Text11");
    address->clear();
    QTest::keyClicks(address, "&h2\"7f");
    EXPECT_EQ(address->text(), "&H27F");
    EXPECT_EQ(keyer.settings().address, "&H27F");
    // Paths refuse the double quote, typed or pasted.
    QLineEdit* path = field("Text5");
    QTest::keyClicks(path, "/a\"b.wav");
    EXPECT_EQ(path->text(), "/ab.wav");
    path->clear();
    QApplication::clipboard()->setText("/e\"f.wav");
    path->setFocus();
    QTest::keyClick(path, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(path->text(), "/ef.wav");
}

TEST_F(VoiceSetupWindowTest, LeavingTheIntervalKeepsOnlyNumbersBelowSixty)
{
    showWindow();
    struct Case {
        const char* typed;
        const char* kept;
        bool beep;
    };
    for (const Case& c : {Case{"60", "0", false}, Case{"59.5", "59.5", false}, Case{".", "0", true},
                          Case{"", "0", true}, Case{"0.25", "0.25", false}}) {
        beeper.beeps = 0;
        field("txtPHLoop")->setText(c.typed);
        leave(field("txtPHLoop"));
        EXPECT_EQ(field("txtPHLoop")->text(), c.kept) << c.typed;
        EXPECT_EQ(keyer.settings().loopSeconds, c.kept) << c.typed;
        EXPECT_EQ(beeper.beeps, c.beep ? 1 : 0) << c.typed;
    }
}

TEST_F(VoiceSetupWindowTest, ThePortFieldSelectsAllAndOpensThePortWhenLeft)
{
    showWindow();
    QLineEdit* port = field("Text10");
    port->setText("3");
    port->setFocus(Qt::TabFocusReason);
    QTest::qWait(0);
    EXPECT_EQ(port->selectedText(), "3");
    QTest::keyClick(port, Qt::Key_Tab);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_EQ(serial.devicePath(), "/dev/ttyPTT3");
    EXPECT_EQ(cwClosed, 0);  // no CW line holds that port: none is closed
    // Text that is not a number becomes "0", which opens nothing.
    port->setText("COM3");
    leave(port);
    EXPECT_EQ(port->text(), "0");
    EXPECT_EQ(keyer.settings().port, "0");
    EXPECT_EQ(serial.opens.size(), 1u);
}

TEST_F(VoiceSetupWindowTest, AnInvalidPortBeepsAndShowsTheMessage)
{
    showWindow();
    serial.failOpen = true;
    field("Text10")->setText("3");
    leave(field("Text10"));
    EXPECT_EQ(beeper.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Invalid port.");
    EXPECT_EQ(dialogs.messages[0].text,
              "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Information);
}

TEST_F(VoiceSetupWindowTest, AnInvalidPortFromAKeyShowsTheHiddenWindowModallyThenPlays)
{
    const QString cq = wave("cq.wav", 500);
    serial.failOpen = true;
    field("Text1")->setText(cq);
    field("Text10")->setText("3");
    ASSERT_FALSE(window.isVisible());
    bool shownModally = false;
    QTimer::singleShot(0, &window, [&] {
        shownModally = window.isVisible() && window.isModal();
        // The operator corrects the port and closes the window.
        window.Command1_Click();
    });
    keyer.fKeyPhone(VoiceKeyer::kF1);
    EXPECT_TRUE(shownModally);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(player.nowPlaying(), cq);
    EXPECT_FALSE(keyer.pttUp());
}

TEST_F(VoiceSetupWindowTest, TestPlaysF1AndStopEndsItsRepeat)
{
    showWindow();
    field("Text1")->setText(wave("cq.wav", 500));
    field("Text10")->setText("3");
    field("txtPHLoop")->setText("5");
    QTest::mouseClick(control("Command11"), Qt::LeftButton);
    EXPECT_TRUE(up(ModemLine::Rts));
    EXPECT_TRUE(keyer.repeating());
    EXPECT_TRUE(control("Command12")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control("Command1"));
    run(520);
    EXPECT_TRUE(keyer.repeatTimerActive());
    QTest::mouseClick(control("Command12"), Qt::LeftButton);
    EXPECT_FALSE(keyer.repeating());
    EXPECT_FALSE(keyer.repeatTimerActive());
    EXPECT_FALSE(control("Command12")->isVisible());

    // A key in the main window ends the repeat too, and "Stop" goes.
    QTest::mouseClick(control("Command11"), Qt::LeftButton);
    ASSERT_TRUE(control("Command12")->isVisible());
    keyer.cancelRepeat();
    EXPECT_FALSE(control("Command12")->isVisible());
}

TEST_F(VoiceSetupWindowTest, OptionsChangeTheLiveSettingsAndPttDropsWhatWasRaised)
{
    showWindow();
    field("Text1")->setText(wave("cq.wav", 1000));
    field("Text10")->setText("3");
    keyer.fKeyPhone(VoiceKeyer::kF1);
    ASSERT_TRUE(up(ModemLine::Rts));
    choose("Option2");
    EXPECT_EQ(keyer.settings().pttLine, PttLine::Dtr);
    run(1040);
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_EQ(raises(ModemLine::Dtr), 0);
}

TEST_F(VoiceSetupWindowTest, DoneHidesAndWritesTheList)
{
    showWindow();
    field("Text1")->setText("/home/op/cq.wav");
    field("Text9")->setText(" /home/op/73.wav ");
    field("Text10")->setText("2");
    choose("Option3");
    field("txtPHLoop")->setText("12");
    field("Text11")->setText("&H278");
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    const VoiceSettings written = VoiceMessageFile::parse(test::readAll(dir.filePath("wave2.txt")));
    EXPECT_EQ(written.paths[0], "/home/op/cq.wav");
    EXPECT_EQ(written.paths[8], "/home/op/73.wav");
    EXPECT_EQ(written.port, "2");
    EXPECT_EQ(written.pttLine, PttLine::Parallel);
    EXPECT_EQ(written.loopSeconds, "12");
    EXPECT_EQ(written.address, "&H278");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(VoiceSetupWindowTest, AFailedWriteIsReported)
{
    VoiceSetupWindow elsewhere(keyer, dialogs, beeper, dir.filePath("no such folder"));
    elsewhere.Command1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, VoiceSetupWindow::kSaveErrorTitle);
    EXPECT_TRUE(dialogs.messages[0].text.contains("wave2.txt")) << dialogs.messages[0].text.toStdString();
}

TEST_F(VoiceSetupWindowTest, TheListIsReadAtStartUpWithoutOpeningThePort)
{
    const QString cq = wave("cq.wav", 500);
    VoiceSettings s;
    s.paths[0] = cq;
    s.port = "3";
    s.pttLine = PttLine::Dtr;
    s.loopSeconds = "7";
    s.address = "&H3BC";
    test::writeFile(dir.filePath("Wave2.TXT"), VoiceMessageFile::serialize(s));
    const VoiceMessageFile::Loaded loaded = window.readMessageFile();
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(window.fieldSettings(), s);
    EXPECT_EQ(keyer.settings(), s);
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(field("txtPHLoop")->text(), "7");
    EXPECT_TRUE(serial.opens.empty());

    // Missing: reported, and nothing changes.
    QFile::remove(dir.filePath("Wave2.TXT"));
    EXPECT_FALSE(window.readMessageFile().ok);
    EXPECT_EQ(window.fieldSettings(), s);
}

TEST_F(VoiceSetupWindowTest, EscIsDoneAndAnAltChordTypesNothing)
{
    showWindow();
    field("Text1")->setText("/home/op/cq.wav");
    field("Text1")->setFocus();
    QTest::keyClick(field("Text1"), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(field("Text1")->text(), "/home/op/cq.wav");

    // Esc from a field, or from a button, does what "Done" does: hide and write the list.
    QTest::keyClick(field("Text1"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(VoiceMessageFile::parse(test::readAll(dir.filePath("wave2.txt"))).paths[0], "/home/op/cq.wav");
    QFile::remove(dir.filePath("wave2.txt"));
    showWindow();
    QTest::keyClick(control("Command11"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath("wave2.txt")));
}

TEST_F(VoiceSetupWindowTest, NoSoundOutputBeepsEachTimeAndShowsTheMessageBoxOnce)
{
    showWindow();
    field("Text1")->setText(wave("cq.wav", 500));
    field("Text10")->setText("3");
    player.soundOutput = false;
    QTest::mouseClick(control("Command11"), Qt::LeftButton);
    QTest::mouseClick(control("Command11"), Qt::LeftButton);
    EXPECT_EQ(beeper.beeps, 2);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "No sound output");
    EXPECT_EQ(dialogs.messages[0].text, "No sound output: PTT not keyed. Start PulseAudio or PipeWire for this user, "
                                        "then restart Cubwave Log.");
    EXPECT_TRUE(serial.changes().empty());
    EXPECT_EQ(problems.size(), 2);
}

}  // namespace
}  // namespace cubwave

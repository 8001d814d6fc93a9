#include "CwWindowsFixture.h"

#include "cw/CwFieldRules.h"
#include "ui/cw/CwStringsWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace cubwave::test {
namespace {

class CwSetupWindowTest : public CwWindowsTest {
protected:
    CwSetupWindow& window()
    {
        if (!window_)
            window_ = std::make_unique<CwSetupWindow>(sender, &lines, services());
        return *window_;
    }
    QLineEdit* field(const QString& name) { return child<QLineEdit>(&window(), name); }
    void click(const QString& name) { child<QAbstractButton>(&window(), name)->click(); }

    std::unique_ptr<CwSetupWindow> window_;
};

struct FieldCase {
    const char* field;
    const char* typed;
    bool leaveAfter;
    const char* shown;
};

TEST_F(CwSetupWindowTest, FieldRulesHoldKeyByKeyAndOnLeaving)
{
    const FieldCase cases[] = {
        {"txtSpace", "-12", false, "-8"},     // below -8 shows -8 at once
        {"txtSpace", "-3x", false, "-3"},     // letters never reach it
        {"txtSpace", "--", true, "0"},        // not a number on leaving
        {"Text11", "1a3", false, "13"},       // digits and ":" only
        {"Text11", ":", true, "0"},
        {"Text11", "", true, "0"},
        {"Text10", "-2", false, "2"},
        {"txtCWLoop", "75", true, "0"},       // 60 s or more is refused
        {"txtCWLoop", "2.5", true, "2.5"},
        {"txtCWLoop", "x-1", true, "1"},
        {"Text1", "cq \"de\" $", false, "CQ DE $"},  // capitals; the quote is refused
        {"Text13", "tu!", false, "TU!"},
    };
    for (const FieldCase& c : cases) {
        QLineEdit* f = field(QString::fromLatin1(c.field));
        retype(f, QString::fromLatin1(c.typed));
        if (c.leaveAfter)
            leave(f);
        EXPECT_EQ(f->text(), QString::fromLatin1(c.shown)) << c.field << " typed " << c.typed;
    }
}

TEST_F(CwSetupWindowTest, RepeatFieldSetsTheIntervalAndBeepsOnlyForNoNumber)
{
    QLineEdit* loop = field("txtCWLoop");
    retype(loop, "2.5");
    leave(loop);
    EXPECT_EQ(sender.settings().repeatIntervalMs(), 2500);
    EXPECT_EQ(beeper.beeps, 0);
    retype(loop, "..");
    leave(loop);
    EXPECT_EQ(loop->text(), "0");
    EXPECT_EQ(sender.settings().repeatIntervalMs(), 0);
    EXPECT_EQ(beeper.beeps, 1);
}

TEST_F(CwSetupWindowTest, PastedMessageLosesItsQuotesAndLineBreaks)
{
    QLineEdit* f = field("Text2");
    f->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("5NN \"TU\"\nQRZ"));
    QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f->text(), "5NN TUQRZ");
}

TEST_F(CwSetupWindowTest, LessAndMoreStepTheWordSpaceNotBelowMinusEight)
{
    QLineEdit* space = field("txtSpace");
    retype(space, "-7");
    click("Command5");
    EXPECT_EQ(space->text(), "-8");
    click("Command5");
    EXPECT_EQ(space->text(), "-8");
    retype(space, "..");
    click("Command6");
    EXPECT_EQ(space->text(), "1");
    EXPECT_EQ(sender.settings().wordSpace, "1");
}

TEST_F(CwSetupWindowTest, AnAltChordNeverTypesIntoAMessageAndEscIsDone)
{
    CwStringsWindow strings(sender);
    window().setStringsWindow(&strings);
    window().show();
    EXPECT_EQ(child<QPushButton>(&window(), "Command1")->text(), "Done");  // no mnemonic of its own
    retype(field("Text1"), "cq test");
    // Alt+D is no key of this window: it must not put a "D" into a message that goes on the air.
    for (QLineEdit* f : {field("Text1"), field("Text11"), field("txtCWLoop")}) {
        const QString before = f->text();
        QTest::keyClick(f, Qt::Key_D, Qt::AltModifier);
        QTest::keyClick(f, Qt::Key_5, Qt::AltModifier);
        EXPECT_EQ(f->text(), before) << f->objectName().toStdString();
    }
    click("Option2");  // an interface, so "Done" shows the CW Strings window
    QTest::keyClick(field("Text1"), Qt::Key_Escape);
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(fileBytes("CW.txt").startsWith("\"CQ TEST\"\r\n")) << fileBytes("CW.txt").toStdString();
    EXPECT_TRUE(strings.isVisible());  // as "Done" leaves it
}

TEST_F(CwSetupWindowTest, DoneWritesTheFileByteForByteAndTheStoreKeys)
{
    CwStringsWindow strings(sender);
    window().setStringsWindow(&strings);
    window().show();
    retype(field("Text1"), "cq cq de w1aw");
    retype(field("Text2"), "*");
    retype(field("Text9"), "VVV DE ");
    retype(field("Text12"), "tu");
    retype(field("Text13"), "agn?");
    retype(field("Text10"), "1");
    retype(field("Text11"), "20");
    retype(field("txtSpace"), "-2");
    retype(field("Text14"), "&H278");
    retype(field("txtCWLoop"), "2.5");
    click("Option2");
    child<QCheckBox>(&window(), "Check1")->setChecked(false);
    click("OptSleep");

    click("Command1");

    const QByteArray expected = "\"CQ CQ DE W1AW\"\r\n\"*\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                                "\"VVV DE \"\r\n\"1\"\r\n\"20\"\r\n\"TU\"\r\n\"AGN?\"\r\n\"-2\"\r\n2\r\n"
                                "\"&H278\"\r\n0\r\n\"2.5\"\r\n";
    EXPECT_EQ(fileBytes("CW.txt"), expected);
    EXPECT_EQ(store.values.value("UserCWSelection"), "Sleep");
    EXPECT_EQ(store.values.value("UserCWLoopOffset"), "0");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(strings.isVisible());
    EXPECT_TRUE(strings.isMinimized());

    // Read back at the next start, the window shows what was written.
    CwSetupWindow again(sender, &lines, services());
    again.load();
    EXPECT_EQ(again.settingsFromFields(), window().settingsFromFields());
}

TEST_F(CwSetupWindowTest, DoneWithInterfaceNoneLeavesTheStringsWindowHidden)
{
    CwStringsWindow strings(sender);
    window().setStringsWindow(&strings);
    click("Option4");
    click("Command1");
    EXPECT_FALSE(strings.isVisible());
    EXPECT_NE(fileBytes("CW.txt"), "<missing>");
}

TEST_F(CwSetupWindowTest, DoneReplacesAnExistingFileOfAnyCase)
{
    QFile old(dir.path() + "/cw.txt");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("\"OLD\"\r\n");
    old.close();
    window().load();
    EXPECT_EQ(field("Text1")->text(), "OLD");
    click("Command1");
    EXPECT_TRUE(fileBytes("cw.txt").startsWith("\"OLD\"\r\n"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/CW.txt"));

}

TEST_F(CwSetupWindowTest, LongMessagesFromTheFileAreKeptWholeAndOnlyCannotGrow)
{
    QByteArray longMessage;
    for (int i = 0; longMessage.size() < 6003; ++i)
        longMessage += "CQ TEST " + QByteArray::number(i % 10) + " ";
    longMessage.truncate(6003);
    QByteArray file = "\"" + longMessage + "\"\r\n\"SHORT\"\r\n";
    for (int line = 3; line <= 18; ++line)
        file += line == 15 || line == 17 ? "0\r\n" : "\"\"\r\n";
    QFile old(dir.path() + "/cw.txt");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(file);
    old.close();

    window().load();
    EXPECT_EQ(field("Text1")->text().size(), 6003);
    EXPECT_EQ(window().settingsFromFields().messages[0], QString::fromLatin1(longMessage));
    click("Command1");
    EXPECT_TRUE(fileBytes("cw.txt").startsWith(file.left(6003 + 4 + 9)));

    // Typing cannot make it longer; a short message still has the usual room.
    window().show();
    field("Text1")->setFocus();
    field("Text1")->end(false);
    QTest::keyClicks(field("Text1"), "X");
    EXPECT_EQ(field("Text1")->text().size(), 6003);
    EXPECT_EQ(field("Text2")->maxLength(), CwSetupWindow::kMaxMessageLength);
}

TEST_F(CwSetupWindowTest, DoneSaysWhyTheFileCouldNotBeWritten)
{
    CwWindowServices elsewhere = services();
    elsewhere.workDir = dir.path() + "/no-such-folder";
    CwSetupWindow setup(sender, &lines, elsewhere);
    setup.findChild<QPushButton*>("Command1")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, CwSetupWindow::kWriteFailedTitle);
    EXPECT_TRUE(dialogs.messages[0].text.contains("no-such-folder/CW.txt")) << qPrintable(dialogs.messages[0].text);
    // The timing still reaches the store.
    EXPECT_EQ(store.values.value("UserCWSelection"), "Timer");
}

TEST_F(CwSetupWindowTest, LoadTakesTheTimingFromTheStore)
{
    store.values["UserCWSelection"] = "Loop";
    store.values["UserCWLoopOffset"] = "123456";
    window().load();
    EXPECT_TRUE(child<QRadioButton>(&window(), "optLoop")->isChecked());
    EXPECT_EQ(field("txtLoop")->text(), "123456");
    EXPECT_TRUE(field("txtLoop")->isEnabled());
    EXPECT_EQ(sender.settings().method, TimingMethod::Loop);
    EXPECT_EQ(sender.settings().loopOffset, 123456);
    // No file: the design values, so F9 stays empty too.
    EXPECT_EQ(field("Text9")->text(), "");
    EXPECT_EQ(field("Text11")->text(), "13");
    EXPECT_EQ(field("Text14")->text(), "&H378");
    EXPECT_TRUE(child<QRadioButton>(&window(), "Option4")->isChecked());
}

TEST_F(CwSetupWindowTest, LoopOptionCalibratesOnceAndFAndSStepTheOffset)
{
    QLineEdit* loop = field("txtLoop");
    EXPECT_FALSE(loop->isEnabled());
    click("optLoop");
    EXPECT_TRUE(loop->isEnabled());
    // The virtual timer counts 12 ns a pass: 5,000,000 passes take 60 ms.
    ASSERT_TRUE(waitFor([&] { return loop->text() != "0"; }));
    EXPECT_EQ(loop->text(), "5000000");
    retype(loop, "1000");
    click("cmdLoopFaster");
    EXPECT_EQ(loop->text(), "900");
    click("cmdLoopSlower");
    EXPECT_EQ(loop->text(), "1000");
    EXPECT_EQ(sender.settings().loopOffset, 1000);
    click("optTimer");
    for (const char* name : {"txtLoop", "lblLoop", "cmdLoopFaster", "cmdLoopSlower"})
        EXPECT_FALSE(child(&window(), name)->isEnabled()) << name;
    click("Command1");
    EXPECT_EQ(store.values.value("UserCWSelection"), "Timer");
    EXPECT_EQ(store.values.value("UserCWLoopOffset"), "1000");
}

TEST_F(CwSetupWindowTest, FasterAndSlowerStepTheSpeedWithoutBounds)
{
    retype(field("Text11"), "1");
    click("Command3");
    click("Command3");
    EXPECT_EQ(field("Text11")->text(), "-1");
    EXPECT_EQ(sender.settings().speedWpm, "-1");
    click("Command2");
    EXPECT_EQ(field("Text11")->text(), "0");
}

TEST_F(CwSetupWindowTest, TestSendsF9AndShowsSendingUntilTheEnd)
{
    window().show();
    click("Option2");
    retype(field("Text10"), "1");
    retype(field("Text11"), "20");
    retype(field("Text9"), "test");
    QLabel* sending = child<QLabel>(&window(), "Label23");
    EXPECT_FALSE(sending->isVisible());

    click("Command4");
    EXPECT_TRUE(sending->isVisible());
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_FALSE(sending->isVisible());
    EXPECT_EQ(sentText(), "TEST");
    EXPECT_FALSE(serial.edges(ModemLine::Dtr).back().down);
}

TEST_F(CwSetupWindowTest, TestRefusesASerialLineWithoutAPort)
{
    click("Option1");
    retype(field("Text10"), "0");
    click("Command4");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "A com port is required.");
    EXPECT_EQ(dialogs.messages[0].text, "Please enter a com port for CW rig interface.");
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_FALSE(sender.isSending());
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_FALSE(child(&window(), "Label23")->isVisible());
}

TEST_F(CwSetupWindowTest, LeavingThePortOpensItAndAFailureIsShown)
{
    portMap = SerialPortMap::parse("3=/dev/serial/by-id/usb-keyer\n");
    QLineEdit* port = field("Text10");
    retype(port, "3");
    EXPECT_TRUE(port->toolTip().contains("/dev/serial/by-id/usb-keyer")) << qPrintable(port->toolTip());
    EXPECT_TRUE(port->toolTip().contains("/dev/ttyUSB0 (FT232R USB UART)"));
    leave(port);
    ASSERT_TRUE(waitFor([&] { return !serial.opens.empty(); }));
    EXPECT_EQ(serial.opens.back(), "/dev/serial/by-id/usb-keyer");
    EXPECT_TRUE(dialogs.messages.empty());

    serial.failOpen = true;
    retype(port, "2");
    leave(port);
    ASSERT_TRUE(waitFor([&] { return !dialogs.messages.empty(); }));
    EXPECT_EQ(dialogs.messages[0].title, "Invalid port.");
    EXPECT_EQ(dialogs.messages[0].text,
              "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_TRUE(window().isVisible());  // shown so that the port can be corrected
}

TEST_F(CwSetupWindowTest, WinKeyOptionShowsItsConfigureButton)
{
    window().show();
    QWidget* configure = child(&window(), "cmdConfWinkey");
    EXPECT_FALSE(configure->isVisible());
    click("Option5");
    EXPECT_TRUE(configure->isVisible());
    EXPECT_EQ(sender.settings().cwInterface, kCwWinKey);
    click("Option3");
    EXPECT_FALSE(configure->isVisible());
    EXPECT_EQ(sender.settings().cwInterface, kCwPrinter);
}

TEST_F(CwSetupWindowTest, CaptionsAndInstructions)
{
    EXPECT_EQ(window().objectName(), "CWFrm");
    EXPECT_EQ(window().windowTitle(), "CW String Selections");
    QStringList labels;
    for (QLabel* l : window().findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains("Wildcards are $ for Call, * for RST  and # for Number (where applicable)."));
    EXPECT_TRUE(labels.contains("A ! in the string enters the contact."));
    EXPECT_TRUE(labels.contains("Loop (Sec)"));
    EXPECT_TRUE(labels.contains("Loop Delay"));
    EXPECT_TRUE(labels.contains("Keyboard"));
    const std::pair<const char*, const char*> buttons[] = {
        {"Option1", "RTS"}, {"Option2", "DTR"}, {"Option3", "Printer"}, {"Option4", "None"}, {"Option5", "WinKey"},
        {"optTimer", "Timer"}, {"optLoop", "Loop"}, {"OptSleep", "Sleep"}, {"Command5", "Less"}, {"Command6", "More"},
        {"Command2", "Faster"}, {"Command3", "Slower"}, {"Command4", "&Test"}, {"Command7", "Send Code Practice"},
        {"Command1", "Done"}, {"cmdLoopFaster", "F"}, {"cmdLoopSlower", "S"}, {"cmdConfWinkey", "Configure Winkey"},
        {"Check1", "Display CW text on main form (NA for WinKey)."}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(child<QAbstractButton>(&window(), name)->text(), caption) << name;
}

}  // namespace
}  // namespace cubwave::test

#include "CwWindowsFixture.h"

#include "cw/WinKeyKeyer.h"
#include "support/FakeWinKeyLink.h"
#include "ui/cw/CodePracticeWindow.h"
#include "ui/cw/WinKeyWindow.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace cubwave::test {
namespace {

using Opened = WinKeyLink::Opened;

// The keyer's setup window on the CW sender with the WinKey interface, over a scripted keyer.
class WinKeyWindowTest : public CwWindowsTest {
protected:
    WinKeyWindowTest()
    {
        CwSettings s = sender.settings();
        s.cwInterface = kCwWinKey;
        s.speedWpm = "22";
        sender.setSettings(s);
    }

    WinKeyWindow& window()
    {
        if (!window_) {
            window_ = std::make_unique<WinKeyWindow>(
                winKey, WinKeyWindowServices{dialogs, dataFolder.isEmpty() ? dir.path() : dataFolder, [] { return QStringLiteral("K1ABC"); },
                                             [this] { return sender.settings().speedWpm; }});
        }
        return *window_;
    }
    QLineEdit* field(const QString& name) { return child<QLineEdit>(&window(), name); }
    QString labelText(const QString& name) { return child<QLabel>(&window(), name)->text(); }
    void click(const QString& name) { child<QAbstractButton>(&window(), name)->click(); }
    void writeSettingsFile(const QByteArray& bytes)
    {
        QFile f(dir.filePath("WK.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void openKeyer()
    {
        field("txtWKComPort")->setText("3");
        leave(field("txtWKComPort"));
        link.immediateOpen = Opened{WinKeyLink::kSuccess, 23, {}};
        click("cmdOpenWinkey");
        ASSERT_TRUE(winKey.isOpen());
        link.takeCalls();
    }

    FakeWinKeyLink link;
    WinKeyKeyer winKey{sender, link, [] { return SerialPortMap::parse("3=/dev/null\n"); }};
    QString dataFolder;  // empty: the scratch folder
    std::unique_ptr<WinKeyWindow> window_;
};

TEST_F(WinKeyWindowTest, CaptionsLabelsAndHints)
{
    EXPECT_EQ(window().objectName(), "frmWinKey");
    EXPECT_EQ(window().windowTitle(), " WinKey Setup");
    const std::pair<const char*, const char*> texts[] = {
        {"lblWKComPort", "Com Port:"}, {"lblWKWPM", "WPM:"}, {"lblWeight", "Weight:"}, {"lblLeadIn", "Lead In:"},
        {"lblTail", "Tail:"}, {"lblRatio", "Ratio:"}, {"lblOpenStatus", "Closed"}, {"lblVersion", "Version #"},
        {"lblNote", "Up / down arrows from main form change speeds."}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(labelText(name), text) << name;
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdOpenWinkey", "Open"}, {"cmdCloseWinkey", "Close"}, {"Command3", "Test"}, {"Command1", "Buffer Test"},
        {"cmdStop", "Stop"}, {"cmdDone", "&Done"}, {"optKey5Out3Off", "P5 Key Out, P3 Off"},
        {"optKey5Off3Out", "P5 Off, P3 Key Out"}, {"optTone", "Tone"}, {"optPTT", "PTT"}, {"optIambicB", "Iambic B"},
        {"optIambicA", "Iambic A"}, {"optUltimatic", "Ultimatic"}, {"optBug", "Bug Keyer"}};
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(child<QAbstractButton>(&window(), name)->text(), text) << name;
    QStringList frames;
    for (const QGroupBox* box : window().findChildren<QGroupBox*>())
        frames << box->title();
    frames.sort();
    EXPECT_EQ(frames, (QStringList{"Keyer Mode", "Pin 5 Configuration"}));
    const std::pair<const char*, const char*> hints[] = {
        {"txtWeight", "Proportional amount added or subtracted (50 is standard)."},
        {"txtLeadIn", "Lead in time for transmitter (10 ms increments)."},
        {"txtTail", "Tail time after keying has stopped (10 ms increments)."},
        {"txtRatio", "Ratio of dits to dahs (Range: 33 - 66)."}};
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(field(name)->toolTip(), hint) << name;
    for (const char* name : {"txtWKComPort", "txtWKWPM", "Text1"})
        EXPECT_NE(field(name), nullptr);
}

TEST_F(WinKeyWindowTest, LoadTakesTheFileAndTheCwSpeedAndASixLineFileKeepsTheDefaultOptions)
{
    writeSettingsFile("3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"5\"\r\n\"60\"\r\n");
    window().load();
    EXPECT_EQ(field("txtWKComPort")->text(), "3");
    EXPECT_EQ(field("txtWKWPM")->text(), "22");  // the CW window's speed, not the file's
    EXPECT_EQ(field("txtWeight")->text(), "45");
    EXPECT_EQ(field("txtLeadIn")->text(), "2");
    EXPECT_EQ(field("txtTail")->text(), "5");
    EXPECT_EQ(field("txtRatio")->text(), "60");
    EXPECT_TRUE(child<QRadioButton>(&window(), "optTone")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&window(), "optIambicB")->isChecked());
    EXPECT_EQ(winKey.settings().port, 3);
    EXPECT_EQ(winKey.settings().speed, "22");
}

TEST_F(WinKeyWindowTest, LoadSelectsTheStoredOptions)
{
    writeSettingsFile("3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"5\"\r\n\"60\"\r\n5\r\n32\r\n");
    window().load();
    EXPECT_TRUE(child<QRadioButton>(&window(), "optPTT")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&window(), "optUltimatic")->isChecked());
    EXPECT_EQ(winKey.settings().pins, 5);
    EXPECT_EQ(winKey.settings().mode, 32);
}

struct LeaveCase {
    const char* field;
    const char* text;
    const char* shown;
    const char* sent;  // nullptr: nothing
};

// Each leave rule, with the keyer open so that what would be sent is seen.
TEST_F(WinKeyWindowTest, LeavingAFieldKeepsOrReplacesItAndSendsItsValue)
{
    openKeyer();
    const LeaveCase cases[] = {
        {"txtWKWPM", "30", "30", "wpm 30"},
        {"txtWKWPM", "120", "120", nullptr},
        {"txtWKWPM", "", "18", nullptr},
        {"txtWeight", "", "50", nullptr},
        {"txtWeight", "40", "40", "weight 40"},
        {"txtRatio", "30", "30", nullptr},
        {"txtRatio", "32", "32", "ratio 32"},
        {"txtRatio", "67", "67", "ratio 67"},
        {"txtRatio", "", "50", nullptr},
        {"txtLeadIn", "300", "0", nullptr},
        {"txtLeadIn", "12", "12", "leadtail 12 0"},
        {"txtTail", "7", "7", "leadtail 12 7"},
    };
    for (const LeaveCase& c : cases) {
        QLineEdit* f = field(QString::fromLatin1(c.field));
        f->setText(QString::fromLatin1(c.text));
        leave(f);
        EXPECT_EQ(f->text(), QString::fromLatin1(c.shown)) << c.field << " " << c.text;
        EXPECT_EQ(link.takeCalls(), c.sent ? QStringList{QString::fromLatin1(c.sent)} : QStringList{})
            << c.field << " " << c.text;
    }
}

TEST_F(WinKeyWindowTest, NumberFieldsTakeOnlyDigitsAndThePortIsUsedAtTheNextOpen)
{
    QLineEdit* port = field("txtWKComPort");
    retype(port, "3a-");
    EXPECT_EQ(port->text(), "3");
    leave(port);
    EXPECT_EQ(winKey.settings().port, 3);
    retype(port, "");
    leave(port);
    EXPECT_EQ(port->text(), "0");
    EXPECT_EQ(winKey.settings().port, 0);
    retype(port, "300");
    leave(port);
    EXPECT_EQ(port->text(), "300");
    EXPECT_EQ(winKey.settings().port, 0);
    EXPECT_TRUE(link.calls.isEmpty());
}

TEST_F(WinKeyWindowTest, OpenShowsTheResultAndVersionAndSendsTheSettings)
{
    field("txtWKComPort")->setText("3");
    leave(field("txtWKComPort"));
    field("txtWKWPM")->setText("25");
    click("cmdOpenWinkey");
    EXPECT_EQ(link.openedPath, "/dev/null");
    EXPECT_EQ(labelText("lblOpenStatus"), "Closed");  // the keyer has not answered yet
    link.finishOpen({WinKeyLink::kSuccess, 23, {}});
    EXPECT_EQ(labelText("lblOpenStatus"), "WK Success!");
    EXPECT_EQ(labelText("lblVersion"), "Version # 23");
    EXPECT_EQ(link.calls, (QStringList{"open /dev/null", "wpm 25", "weight 50", "leadtail 0 0", "ratio 50", "pins 6",
                                        "mode 0"}));
    link.takeCalls();

    click("cmdOpenWinkey");
    EXPECT_EQ(labelText("lblOpenStatus"), "WK Already Open");
    EXPECT_TRUE(link.calls.isEmpty());

    click("cmdCloseWinkey");
    EXPECT_EQ(link.takeCalls(), QStringList{"close"});
    EXPECT_EQ(labelText("lblOpenStatus"), "Closed");
    EXPECT_EQ(labelText("lblVersion"), "Version #");
    EXPECT_EQ(winKey.version(), 0);
}

TEST_F(WinKeyWindowTest, AnUnansweredOpenShowsTheConnectionBox)
{
    field("txtWKComPort")->setText("3");
    leave(field("txtWKComPort"));
    link.immediateOpen = Opened{WinKeyLink::kNoEcho, 0, {}};
    click("cmdOpenWinkey");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Unable to establish connection with Winkey.");
    EXPECT_EQ(dialogs.messages[0].text,
              "Unable to establish connection with WinKey on com port 3.  Please check to make sure that you have "
              "specified the correct port and that the Winkey device is properly connected.");
    EXPECT_EQ(labelText("lblOpenStatus"), "No Echo Response");
    EXPECT_EQ(labelText("lblVersion"), "Version #");
}

TEST_F(WinKeyWindowTest, AnOptionClickStoresItsByteAndResendsEverySettingWhileOpen)
{
    click("optBug");
    EXPECT_EQ(winKey.settings().mode, 48);
    EXPECT_TRUE(link.calls.isEmpty());
    openKeyer();
    click("optKey5Out3Off");
    EXPECT_EQ(winKey.settings().pins, 8);
    EXPECT_EQ(link.calls, (QStringList{"wpm 18", "weight 50", "leadtail 0 0", "ratio 50", "pins 8", "mode 48"}));
}

TEST_F(WinKeyWindowTest, TestBufferTestAndTypeAheadHandTextToTheKeyer)
{
    openKeyer();
    click("Command3");
    EXPECT_TRUE(waitFor([this] { return !sender.isSending(); }));
    EXPECT_EQ(link.sent, "VVV TEST DE K1ABC");
    link.sent.clear();

    click("Command1");
    EXPECT_TRUE(waitFor([this] { return !sender.isSending(); }));
    EXPECT_EQ(link.sent, "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    link.sent.clear();

    // Letters go as capitals; Ctrl+X would be the keyer's PTT command and goes nowhere.
    QLineEdit* typeAhead = field("Text1");
    QTest::keyClicks(typeAhead, "cq 1");
    QTest::keyClick(typeAhead, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(typeAhead, Qt::Key_Return);
    EXPECT_TRUE(waitFor([this] { return !sender.isSending(); }));
    EXPECT_EQ(link.sent, "CQ 1");
    EXPECT_EQ(typeAhead->text().left(4), "CQ 1");
}

// Typing while the keyer makes the hand-over wait joins the running transfer.
TEST_F(WinKeyWindowTest, TypingWhileTheKeyerIsFullJoinsTheRunningHandOver)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    QTest::keyClicks(field("Text1"), "ab");
    EXPECT_EQ(sender.buffer(), "AB");
    link.status_ = 0;
    EXPECT_TRUE(waitFor([this] { return link.sent == "AB"; }, 1000));
    EXPECT_FALSE(sender.isSending());

    link.status_ = WinKeyKeyer::kWaitStatus;
    QTest::keyClicks(field("Text1"), "c");
    click("cmdStop");
    EXPECT_EQ(link.takeCalls().last(), "clear");
    EXPECT_TRUE(sender.buffer().isEmpty());
}

// Code practice hands one character at a time; one the keyer makes wait is never replaced by
// the next.
TEST_F(WinKeyWindowTest, CodePracticeGoesToTheKeyerCharacterByCharacter)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    CodePracticeWindow practice(sender, services());
    practice.show();
    QGuiApplication::clipboard()->setText("PARIS TEST");
    child<QAbstractButton>(&practice, "Command1")->click();
    child<QAbstractButton>(&practice, "Command3")->click();
    QTest::qWait(50);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(sender.buffer(), "P");
    link.status_ = 0;
    ASSERT_TRUE(waitFor([&] { return !practice.practising(); }));
    EXPECT_EQ(link.sent, "PARIS TEST");
}

TEST_F(WinKeyWindowTest, DoneWritesTheSettingsFileAndHides)
{
    window().show();
    field("txtWKComPort")->setText("3");
    leave(field("txtWKComPort"));
    field("txtRatio")->setText("60");
    click("optIambicA");
    click("cmdDone");
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(fileBytes("WK.txt"), "3\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"60\"\r\n6\r\n16\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WinKeyWindowTest, AFailedWriteSaysSoAndStillHides)
{
    // A plain file where the data folder should be: no file can be made in it, even by root.
    writeSettingsFile("7\r\n");
    dataFolder = dir.filePath("WK.txt");
    window().show();
    click("cmdDone");
    EXPECT_FALSE(window().isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, WinKeyWindow::kWriteFailedTitle);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Could not write ")) << qPrintable(dialogs.messages[0].text);
    EXPECT_EQ(fileBytes("WK.txt"), "7\r\n");
}

}  // namespace
}  // namespace cubwave::test

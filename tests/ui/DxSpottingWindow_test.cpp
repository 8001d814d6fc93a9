#include "ui/DxSpottingFixture.h"

#include "platform/TcpClient.h"
#include "support/FakeDesktop.h"
#include "support/LayoutChecks.h"
#include "ui/common/DesignLayout.h"

#include <QGroupBox>

#include <gmock/gmock.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// A cluster spot line laid out as clusters lay them out: the frequency right-aligned to
// column 24, the call from column 27.
QString spotLine(const QString& spotter, const QString& frequency, const QString& call,
                 const QString& comment = QStringLiteral("CQ"))
{
    return (QStringLiteral("DX de ") + spotter + u':').leftJustified(15) + frequency.rightJustified(9) +
           QStringLiteral("  ") + call.leftJustified(13) + comment.leftJustified(31) + QStringLiteral("1200Z");
}

class SpotWindow : public DxSpottingFixture {};

TEST_F(SpotWindow, EveryControlHasItsNameAndCaption)
{
    start();
    EXPECT_EQ(window->objectName(), QStringLiteral("PacketSpotfrm"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" DX Spotting Setup"));
    auto* list = child<QListWidget>("List1");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("None"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("TNC"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Telnet"));
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("AGW Packet Engine"));
    const std::vector<std::pair<const char*, const char*>> captions{
        {"optBaud12", "1.2k"},  {"optBaud24", "2.4k"},     {"optBaud48", "4.8k"},       {"optBaud96", "9.6k"},
        {"optBaud144", "14.4k"}, {"optBaud192", "19.2k"},  {"Option1", "None"},          {"Option2", "Xon Xoff"},
        {"Option3", "RTS"},      {"Option4", "RTS OnOff"}, {"optPowerNone", "None"},     {"optPowerRTS", "RTS"},
        {"optPowerDTR", "DTR"},  {"OptBand", "Band Map"},  {"OptList", "List"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(child<QRadioButton>(name)->text(), QString::fromLatin1(caption)) << name;
    EXPECT_EQ(child<QCheckBox>("chkDX")->text(), QStringLiteral("List DX Only (also controls main form)"));
    EXPECT_EQ(child<QCheckBox>("chkConvToHex")->text(), QStringLiteral("Convert to Hex"));
    EXPECT_EQ(child<QPushButton>("Command1")->text(), QStringLiteral("Open Port"));
    EXPECT_EQ(child<QPushButton>("Command2")->text(), QStringLiteral("Close Port"));
    EXPECT_EQ(child<QPushButton>("Command3")->text(), QStringLiteral("&Spot Last"));
    EXPECT_EQ(child<QPushButton>("cmdDone")->text(), QStringLiteral("&Done"));
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Listening"));
    for (const char* name : {"txtHex", "txtTelnetHost", "txtTelnetPort", "txtSent", "optComm_0", "optComm_9",
                             "txtUnProcessed", "Label6", "Timer1"})
        EXPECT_NE(window->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    QStringList frames;
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        frames << box->title();
    for (const char* frame : {"Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)", "Handshaking",
                              "Main Form Display"})
        EXPECT_TRUE(frames.contains(QString::fromLatin1(frame))) << frame;
    QStringList labels;
    for (const QLabel* label : window->findChildren<QLabel*>())
        labels << label->text();
    for (const char* label : {"Select Option:", "TNC cmd mode hex character:", "Telnet Host:", "Telnet Port:"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(label))) << label;
    EXPECT_FALSE(listening());
    EXPECT_EQ(child<QTimer>("Timer1")->interval(), 333);
}

TEST_F(SpotWindow, ChoosingATypeClearsListDxOnlyPresetsTheTncAndEnablesItsControls)
{
    start();
    child<QRadioButton>("optBaud12")->setChecked(true);
    child<QRadioButton>("optParityEven")->setChecked(true);
    child<QRadioButton>("Option1")->setChecked(true);
    child<QLineEdit>("txtHex")->setText(QStringLiteral("1B"));
    child<QCheckBox>("chkDX")->setChecked(true);

    chooseType(QStringLiteral("TNC"));
    EXPECT_FALSE(child<QCheckBox>("chkDX")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optBaud96")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optParityNone")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optData8")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optStop1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("Option3")->isChecked());
    EXPECT_EQ(child<QLineEdit>("txtHex")->text(), QStringLiteral("03"));
    EXPECT_TRUE(child<QLineEdit>("txtHex")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>("txtTelnetHost")->isEnabled());
    EXPECT_EQ(child<QLabel>("Label6")->text(), QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    EXPECT_TRUE(received().contains(QStringLiteral("Telnet")));  // the guide covers the three types
    EXPECT_FALSE(listening());  // choosing opens nothing

    chooseType(QStringLiteral("Telnet"));
    EXPECT_TRUE(child<QLineEdit>("txtTelnetHost")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("txtTelnetPort")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>("txtHex")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>("optBaud96")->isEnabled());
    EXPECT_EQ(child<QLabel>("Label6")->text(), QStringLiteral("Type text to send and press enter:"));

    chooseType(QStringLiteral("AGW Packet Engine"));
    EXPECT_FALSE(child<QLineEdit>("txtTelnetHost")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("txtSent")->isEnabled());
    EXPECT_EQ(child<QLabel>("Label6")->text(), QStringLiteral("Send text (use : to send cmds such as :C Brantel or :D)"));
}

TEST_F(SpotWindow, ChoosingATypeClosesAnOpenPort)
{
    writeFile(QStringLiteral("serialports.txt"), "1=/dev/null\n");
    start();
    chooseType(QStringLiteral("TNC"));
    window->Command1_Click();
    ASSERT_TRUE(tnc.isOpen());
    chooseType(QStringLiteral("Telnet"));
    EXPECT_FALSE(tnc.isOpen());
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
}

// ---- TNC ----

TEST_F(SpotWindow, TncOpensWithTheChosenLineSettingsAndPowerLine)
{
    struct Case {
        const char* handshaking;
        int mode;
        const char* power;
        bool rts;
        bool dtr;
    };
    const std::vector<Case> cases{{"Option1", 0, "optPowerNone", false, false},
                                  {"Option2", 1, "optPowerDTR", false, true},
                                  {"Option3", 2, "optPowerNone", true, false},
                                  {"Option4", 3, "optPowerRTS", true, false}};
    writeFile(QStringLiteral("serialports.txt"), "3=/dev/ttyTNC\n");
    start();
    chooseType(QStringLiteral("TNC"));
    for (const Case& c : cases) {
        tnc.opens.clear();
        child<QRadioButton>("optComm_2")->setChecked(true);
        child<QRadioButton>("optBaud48")->setChecked(true);
        child<QRadioButton>("optParityEven")->setChecked(true);
        child<QRadioButton>("optData7")->setChecked(true);
        child<QRadioButton>("optStop2")->setChecked(true);
        child<QRadioButton>(c.handshaking)->setChecked(true);
        child<QRadioButton>(c.power)->setChecked(true);
        window->Command1_Click();
        ASSERT_EQ(tnc.opens.size(), 1u) << c.handshaking;
        EXPECT_EQ(tnc.opens[0], QStringLiteral("/dev/ttyTNC"));
        EXPECT_EQ(tnc.settings, QStringLiteral("4800,E,7,2"));
        EXPECT_EQ(tnc.handshaking, c.mode);
        EXPECT_EQ(!tnc.edges(ModemLine::Rts).empty() && tnc.edges(ModemLine::Rts).back().down, c.rts) << c.handshaking;
        EXPECT_EQ(!tnc.edges(ModemLine::Dtr).empty() && tnc.edges(ModemLine::Dtr).back().down, c.dtr) << c.handshaking;
        EXPECT_TRUE(listening());
        EXPECT_TRUE(timerRunning());
        EXPECT_EQ(received(), QStringLiteral("** Attempting to Open Port **\n\n** TNC Serial Port Open **\n\n"));
        window->Command2_Click();
    }
}

TEST_F(SpotWindow, ATncWithoutModemLinesStillOpens)
{
    start();
    chooseType(QStringLiteral("TNC"));
    tnc.refuseModemLines = true;  // as a pty
    child<QRadioButton>("optPowerDTR")->setChecked(true);
    window->Command1_Click();
    EXPECT_TRUE(tnc.isOpen());
    EXPECT_TRUE(timerRunning());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SpotWindow, ATncThatWillNotOpenSaysSoAndLeavesTheWindowClosed)
{
    start(false);
    chooseType(QStringLiteral("TNC"));
    tnc.failOpen = true;
    window->Command1_Click();
    EXPECT_EQ(beeper.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid or the settings "
                             "that you have selected are invalid.  Please select another combination or choose None "
                             "for your DX Spot selection."));
    EXPECT_TRUE(received().contains(QStringLiteral("** Unable to open TNC Serial Port **\n\n")));
    EXPECT_TRUE(received().endsWith(QStringLiteral("** Port Closed **")));
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
    EXPECT_TRUE(window->isVisible());  // shown, so the operator sees what failed
    ASSERT_FALSE(statusLines.isEmpty());
    EXPECT_TRUE(statusLines.back().contains(QStringLiteral("No such file or directory")));
}

TEST_F(SpotWindow, TncLinesAreShownAndSpotsHandedOverOnceEach)
{
    start();
    chooseType(QStringLiteral("TNC"));
    window->Command1_Click();
    const QString spot = spotLine(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K1ABC"));
    // A line arrives in two pieces; the same spot relayed again is a duplicate.
    tnc.incoming = ("cmd:\r\n" + spot.left(20)).toLatin1();
    window->Timer1_Timer();
    EXPECT_TRUE(spots.empty());
    const QString lowerCase = QStringLiteral("dx") + spotLine(QStringLiteral("K9XX"), QStringLiteral("7001.5"), QStringLiteral("ZL2AB")).mid(2);
    tnc.incoming = (spot.mid(20) + "\r\n" + lowerCase + "\r\n" + spot + "\r\n").toLatin1();
    window->Timer1_Timer();
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(spots[0], (Spot{QStringLiteral("K1ABC"), QStringLiteral("14025.0"), spot.mid(3).trimmed()}));
    EXPECT_EQ(spots[1].call, QStringLiteral("ZL2AB"));
    EXPECT_EQ(spots[1].frequency, QStringLiteral("7001.5"));
    EXPECT_EQ(received().count(QStringLiteral("K1ABC")), 1);
    EXPECT_TRUE(received().contains(QStringLiteral("cmd:")));

    // With "List DX Only" ticked, chat is neither shown nor handed over.
    child<QCheckBox>("chkDX")->setChecked(true);
    tnc.incoming = "N0CUB de W3LPL: hello there\r\n";
    window->Timer1_Timer();
    EXPECT_FALSE(received().contains(QStringLiteral("hello there")));
    EXPECT_EQ(spots.size(), 2u);
}

TEST_F(SpotWindow, TncBytesAreOneCharacterEachBothWays)
{
    start();
    chooseType(QStringLiteral("TNC"));
    window->Command1_Click();
    tnc.incoming = QByteArray("caf\xe9 \xff\r\n");
    window->Timer1_Timer();
    EXPECT_TRUE(received().contains(QStringLiteral("caf\u00e9 \u00ff")));
    child<QLineEdit>("txtSent")->setText(QStringLiteral("x\u00e9"));
    tnc.written.clear();
    keyInSendBox(Qt::Key_Return);
    EXPECT_EQ(tnc.written, QByteArray("x\xe9\r"));
}

TEST_F(SpotWindow, EscapeAndCtrlCSendTheTncCommandCharacter)
{
    start();
    chooseType(QStringLiteral("TNC"));
    child<QLineEdit>("txtHex")->setText(QStringLiteral("1b"));
    window->Command1_Click();
    tnc.written.clear();
    child<QCheckBox>("chkDX")->setChecked(true);
    keyInSendBox(Qt::Key_Escape);
    EXPECT_EQ(tnc.written, QByteArray("\x1b"));
    EXPECT_FALSE(child<QCheckBox>("chkDX")->isChecked());
    typeInSendBox(QStringLiteral("conn"));
    keyInSendBox(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(tnc.written, QByteArray("\x1b\x1b"));
    EXPECT_EQ(child<QLineEdit>("txtSent")->text(), QStringLiteral("conn"));  // swallowed, not copied or typed

    // Not a character code: nothing goes out, and the operator hears it.
    child<QLineEdit>("txtHex")->setText(QStringLiteral("zz"));
    const int beeps = beeper.beeps;
    keyInSendBox(Qt::Key_Escape);
    EXPECT_EQ(tnc.written, QByteArray("\x1b\x1b"));
    EXPECT_EQ(beeper.beeps, beeps + 1);
}

TEST_F(SpotWindow, EnterInAnEmptyBoxWhileClosedOpensAndSendsALoneReturn)
{
    start();
    chooseType(QStringLiteral("TNC"));
    keyInSendBox(Qt::Key_Return);
    EXPECT_TRUE(listening());
    EXPECT_EQ(tnc.written, QByteArray("\r"));
    typeInSendBox(QStringLiteral("SH/DX"));
    keyInSendBox(Qt::Key_Enter);
    EXPECT_EQ(tnc.written, QByteArray("\rSH/DX\r"));
    EXPECT_TRUE(child<QLineEdit>("txtSent")->text().isEmpty());
}

TEST_F(SpotWindow, ClosingTheTncDiscardsWhatItHasNotTaken)
{
    start();
    chooseType(QStringLiteral("TNC"));
    window->Command1_Click();
    tnc.queued = 5000;
    window->Command2_Click();
    EXPECT_EQ(tnc.discards, 1);
    EXPECT_FALSE(tnc.isOpen());
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
    EXPECT_TRUE(received().endsWith(QStringLiteral("\n\n** Port Closed **")));
    // Closing again while closed changes nothing.
    const QString before = received();
    window->Command2_Click();
    EXPECT_EQ(received(), before);
}

// ---- Telnet ----

TEST_F(SpotWindow, TelnetConnectsSendsAndHandsOverEverySpotOfAChunk)
{
    start();
    chooseType(QStringLiteral("Telnet"));
    child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("dx.example.net"));
    child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("7300"));
    window->Command1_Click();
    EXPECT_EQ(telnet.host, QStringLiteral("dx.example.net"));
    EXPECT_EQ(telnet.port, 7300);
    EXPECT_EQ(received(), QStringLiteral("Attempting connection to: dx.example.net:7300\n\n"));
    EXPECT_TRUE(timerRunning());

    typeInSendBox(QStringLiteral("N0CUB"));
    keyInSendBox(Qt::Key_Return);
    EXPECT_TRUE(received().endsWith(
        QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.\n\n")));
    EXPECT_TRUE(telnet.sent.isEmpty());

    telnet.accept();
    telnet.answer("login: ");
    EXPECT_TRUE(received().endsWith(QStringLiteral("login: ")));  // shown without waiting for a line end
    typeInSendBox(QStringLiteral("N0CUB"));
    keyInSendBox(Qt::Key_Return);
    EXPECT_EQ(telnet.takeSent(), QByteArray("N0CUB\r\n"));

    const QString a = spotLine(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K1ABC"));
    const QString b = spotLine(QStringLiteral("DL1XX"), QStringLiteral("21074.0"), QStringLiteral("JA1ZZ"));
    const QString c = spotLine(QStringLiteral("VE3AA"), QStringLiteral("3525.0"), QStringLiteral("EA8XY"));
    // Two spots in one chunk, a third split over two chunks.
    telnet.answer((a + "\r\n" + b + "\r\n" + c.left(30)).toLatin1());
    telnet.answer((c.mid(30) + "\r\n").toLatin1());
    ASSERT_EQ(spots.size(), 3u);
    EXPECT_EQ(spots[0].call, QStringLiteral("K1ABC"));
    EXPECT_EQ(spots[1].call, QStringLiteral("JA1ZZ"));
    EXPECT_EQ(spots[1].frequency, QStringLiteral("21074.0"));
    EXPECT_EQ(spots[2].call, QStringLiteral("EA8XY"));
    EXPECT_EQ(spots[2].frequency, QStringLiteral("3525.0"));
    EXPECT_EQ(spots[1].record, b.mid(3).trimmed());
}

TEST_F(SpotWindow, TelnetOptionsAreRefusedAndTheOperatorsByte255Doubled)
{
    openAcceptedTelnet();
    telnet.answer(QByteArray("\xff\xfd\x01" "call: ", 9));  // DO ECHO
    EXPECT_EQ(telnet.takeSent(), QByteArray("\xff\xfc\x01", 3));  // WONT ECHO
    EXPECT_TRUE(received().endsWith(QStringLiteral("call: ")));
    EXPECT_FALSE(received().contains(QChar(0xfd)));
    child<QLineEdit>("txtSent")->setText(QStringLiteral("\u00ff"));
    keyInSendBox(Qt::Key_Return);
    EXPECT_EQ(telnet.takeSent(), QByteArray("\xff\xff\r\n"));
}

// A flooding cluster: the box is repainted at most once per refresh interval, and a line that
// never ends is shown in pieces the box can lay out quickly, the received text itself unchanged.
TEST_F(SpotWindow, FloodedTrafficIsShownInBoundedRepaintsAndPieces)
{
    openAcceptedTelnet();
    auto* box = child<QPlainTextEdit>("txtUnProcessed");
    telnet.answer("first ");
    EXPECT_TRUE(box->toPlainText().endsWith(QStringLiteral("first ")));
    telnet.answer("second ");
    EXPECT_FALSE(box->toPlainText().contains(QStringLiteral("second")));  // waits for the refresh
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->toPlainText().contains(QStringLiteral("second")); }, 1000));

    telnet.answer(QByteArray(5000, 'x'));
    window->showPendingText();
    EXPECT_TRUE(window->receivedText().text().contains(QString(5000, u'x')));
    int longest = 0;
    for (const QString& line : box->toPlainText().split(u'\n'))
        longest = std::max(longest, int(line.size()));
    EXPECT_LE(longest, 256);
    EXPECT_EQ(box->toPlainText().count(u'x'), 5000);
}

TEST_F(SpotWindow, TelnetErrorsShowTheirMessageCloseAndBeep)
{
    struct Case {
        TcpError error;
        const char* text;
    };
    const std::vector<Case> cases{
        {{TcpClient::kConnectionReset, -1, {}}, "ERROR: The connection is reset by remote side.!"},
        {{TcpClient::kTimedOut, -1, {}}, "ERROR: Socket has been shut down."},
        {{TcpClient::kInvalidValue, -1, {}}, "ERROR: The property value is invalid."},
        {{TcpClient::kRefused, -1, {}}, "ERROR: Connection is forcefully rejected."},
        // Qt's own error value 7 is no table number ("Out of memory").
        {{0, 7, {}}, "Error number 7"},
    };
    start();
    chooseType(QStringLiteral("Telnet"));
    child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("h"));
    child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("23"));
    for (const Case& c : cases) {
        window->Command1_Click();
        const int beeps = beeper.beeps;
        const int closes = telnet.closes;
        telnet.fail(c.error);
        EXPECT_TRUE(received().endsWith(QString::fromLatin1(c.text) + QStringLiteral("\n\n** Port Closed **")))
            << c.text << "\n" << received().toStdString();
        EXPECT_EQ(beeper.beeps, beeps + 1);
        EXPECT_GT(telnet.closes, closes);
        EXPECT_FALSE(listening());
        EXPECT_FALSE(timerRunning());
    }
}

TEST_F(SpotWindow, ABadTelnetPortTakesTheInvalidValuePath)
{
    start();
    chooseType(QStringLiteral("Telnet"));
    child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("h"));
    child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("abc"));
    window->Command1_Click();
    EXPECT_EQ(telnet.port, 0);  // the client refuses it with 380, as an event
    EXPECT_EQ(received(), QStringLiteral("Attempting connection to: h:abc\n\n"));
}

TEST_F(SpotWindow, EscapeWithTelnetOpensButSendsNothing)
{
    start();
    chooseType(QStringLiteral("Telnet"));
    child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("h"));
    child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("23"));
    child<QCheckBox>("chkDX")->setChecked(true);
    keyInSendBox(Qt::Key_Escape);
    EXPECT_FALSE(child<QCheckBox>("chkDX")->isChecked());
    EXPECT_EQ(telnet.connects, 1);
    EXPECT_TRUE(listening());
    telnet.accept();
    keyInSendBox(Qt::Key_Escape);
    EXPECT_TRUE(telnet.sent.isEmpty());
    EXPECT_EQ(telnet.connects, 1);
    // Escape anywhere in the window keeps it open.
    QTest::keyClick(child<QListWidget>("List1"), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(listening());
}

// ---- Buttons, timer, settings ----

TEST_F(SpotWindow, SpotLastPutsATemplateWithTheFrequencySelected)
{
    start();
    chooseType(QStringLiteral("Telnet"));
    window->Command3_Click();
    auto* box = child<QLineEdit>("txtSent");
    EXPECT_EQ(box->text(), QStringLiteral("DX Frequency in kHz W1AW"));
    EXPECT_EQ(box->selectionStart(), 3);
    EXPECT_EQ(box->selectedText(), QStringLiteral("Frequency in kHz"));
    QTest::keyClicks(box, QStringLiteral("14025"));
    EXPECT_EQ(box->text(), QStringLiteral("DX 14025 W1AW"));
}

TEST_F(SpotWindow, TheTimerRepaintsAfter360QuietTicksAndASpotStartsTheCountAgain)
{
    start();
    chooseType(QStringLiteral("TNC"));
    window->Command1_Click();
    for (int i = 0; i < 360; ++i)
        window->Timer1_Timer();
    EXPECT_EQ(repaints, 0);
    window->Timer1_Timer();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(window->tickCounter(), 0.0f);
    for (int i = 0; i < 300; ++i)
        window->Timer1_Timer();
    tnc.incoming = (spotLine(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K1ABC")) + "\n")
                       .toLatin1();
    window->Timer1_Timer();
    ASSERT_EQ(spots.size(), 1u);
    for (int i = 0; i < 300; ++i)
        window->Timer1_Timer();
    EXPECT_EQ(repaints, 1);
}

TEST_F(SpotWindow, DoneOpensSavesWritesTheFileReportsTheDisplayAndHides)
{
    start();
    chooseType(QStringLiteral("Telnet"));
    child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("dx.example.net"));
    child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("7300"));
    child<QRadioButton>("OptList")->setChecked(true);
    child<QCheckBox>("chkConvToHex")->setChecked(true);
    window->cmdDone_Click();
    EXPECT_EQ(telnet.connects, 1);  // it was closed: "&Done" opens it
    EXPECT_EQ(preferenceSaves, 1);
    EXPECT_EQ(displays, QStringList{QStringLiteral("Telnet|List")});
    EXPECT_FALSE(window->isVisible());
    const PackSpotFile::Loaded saved = PackSpotFile::load(path(QStringLiteral("PackSpot.txt")));
    ASSERT_FALSE(saved.problem);
    EXPECT_EQ(saved.settings.connectionType, QStringLiteral("Telnet"));
    EXPECT_EQ(saved.settings.telnetHost, QStringLiteral("dx.example.net"));
    EXPECT_EQ(saved.settings.telnetPort, QStringLiteral("7300"));
    EXPECT_TRUE(saved.settings.listDisplay);
    EXPECT_TRUE(saved.settings.convertToHex);

    // Open already: "&Done" leaves the connection as it is.
    window->show();
    window->cmdDone_Click();
    EXPECT_EQ(telnet.connects, 1);
}

TEST_F(SpotWindow, AStoredConnectionOpensWhenTheWindowLoads)
{
    PackSpotSettings stored;
    stored.connectionType = QStringLiteral("telnet");  // any case
    stored.telnetHost = QStringLiteral("cluster.example.org");
    stored.telnetPort = QStringLiteral("8000");
    stored.listDxOnly = true;
    stored.listDisplay = true;
    storeSettings(stored);
    start(false);
    EXPECT_EQ(window->connectionType(), QStringLiteral("Telnet"));
    EXPECT_EQ(telnet.connects, 1);
    EXPECT_EQ(telnet.host, QStringLiteral("cluster.example.org"));
    EXPECT_EQ(telnet.port, 8000);
    EXPECT_TRUE(listening());
    // Choosing the stored type clears "List DX Only"; the display choice stays.
    EXPECT_FALSE(child<QCheckBox>("chkDX")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("OptList")->isChecked());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SpotWindow, AMalformedSettingsFileLeavesTheDefaultsAndSaysWhichFile)
{
    writeFile(QStringLiteral("PackSpot.txt"), "\"9600\"\r\n\"N\"\r\n");
    start(false);
    window->reportFileProblems();
    EXPECT_EQ(window->connectionType(), QStringLiteral("None"));
    EXPECT_FALSE(listening());
    EXPECT_EQ(telnet.connects, 0);
    ASSERT_EQ(statusLines.size(), 1);
    EXPECT_TRUE(statusLines[0].contains(QStringLiteral("PackSpot.txt")));
}

// ---- Packet engine ----

TEST_F(SpotWindow, PacketEngineNeedsTheOwnCall)
{
    ownCall = QStringLiteral("  ");
    start();
    chooseType(QStringLiteral("AGW Packet Engine"));
    window->Command1_Click();
    EXPECT_EQ(beeper.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Call Sign Required!"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Please enter your call sign on the setup form to transmit!"));
    EXPECT_EQ(engineSocket.connects, 0);
}

TEST_F(SpotWindow, PacketEngineOpensMonitorsAndHandsOverSpots)
{
    start();
    chooseType(QStringLiteral("AGW Packet Engine"));
    window->Command1_Click();
    EXPECT_TRUE(listening());
    EXPECT_FALSE(timerRunning());  // not until the engine has answered
    engineAnswers();
    EXPECT_TRUE(timerRunning());
    EXPECT_TRUE(received().endsWith(QStringLiteral("\n** Successfully connected to AGW Packet Engine **\n\n")));

    const QString spot = spotLine(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K1ABC"));
    engineSends('U', "W3LPL", "DX", " 1:Fm W3LPL To DX <UI pid=F0 Len=80 >[12:00:00]\r" + spot.toLatin1() + "\r");
    engineSends('U', "W3LPL", "DX", " 1:Fm W3LPL To DX <UI pid=F0 Len=80 >[12:00:01]\r" + spot.toLatin1() + "\r");
    window->Timer1_Timer();
    ASSERT_EQ(spots.size(), 1u);  // the repeat is a duplicate
    EXPECT_EQ(spots[0].call, QStringLiteral("K1ABC"));
    EXPECT_EQ(spots[0].frequency, QStringLiteral("14025.0"));
    EXPECT_FALSE(received().contains(QStringLiteral("Fm W3LPL")));  // the header line is not shown
}

TEST_F(SpotWindow, PacketEngineConnectsToAStationAndTalksToIt)
{
    openAnsweredEngine();
    engineFrames();

    typeInSendBox(QStringLiteral(":X"));
    keyInSendBox(Qt::Key_Return);
    EXPECT_TRUE(engineFrames().empty());
    typeInSendBox(QStringLiteral(":c"));
    keyInSendBox(Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Call sign Required"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("You must enter a call sign to connect to such as :C Brantel"));
    typeInSendBox(QStringLiteral(":c  k1dxc "));
    keyInSendBox(Qt::Key_Return);
    std::vector<AgwFrame> frames = engineFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'C');
    EXPECT_EQ(frames[0].callTo, QByteArray("K1DXC"));

    engineSends('C', "K1DXC", "N0CUB", "*** CONNECTED With Station K1DXC\r");
    window->Timer1_Timer();
    EXPECT_EQ(window->connectedStation(), QStringLiteral("K1DXC"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DX Spotting Setup - Connected to K1DXC"));
    EXPECT_TRUE(received().contains(QStringLiteral("** Connected to K1DXC **")));

    typeInSendBox(QStringLiteral("sh/dx"));
    keyInSendBox(Qt::Key_Return);
    frames = engineFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'D');
    EXPECT_EQ(frames[0].data, QByteArray("sh/dx\r"));

    // Escape types the command mark.
    keyInSendBox(Qt::Key_Escape);
    EXPECT_EQ(child<QLineEdit>("txtSent")->text(), QStringLiteral(":"));
    child<QLineEdit>("txtSent")->clear();

    // A long line goes out on its own at the next space.
    const QString longText(71, u'a');
    typeInSendBox(longText + u' ');
    frames = engineFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data, (longText + u'\r').toLatin1());
    EXPECT_TRUE(child<QLineEdit>("txtSent")->text().isEmpty());

    // A data frame from another station changes nothing.
    engineSends('D', "W9ZZZ", "N0CUB", "hello\r");
    window->Timer1_Timer();
    EXPECT_EQ(window->connectedStation(), QStringLiteral("K1DXC"));

    const int beeps = beeper.beeps;
    engineSends('d', "K1DXC", "N0CUB", "*** DISCONNECTED From Station K1DXC\r");
    window->Timer1_Timer();
    EXPECT_EQ(beeper.beeps, beeps + 2);
    EXPECT_TRUE(window->connectedStation().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DX Spotting Setup"));
    EXPECT_TRUE(received().contains(QStringLiteral("\n** Disconnected from K1DXC **\n")));
}

TEST_F(SpotWindow, ClosingWhileConnectedDisconnectsTheStationFirst)
{
    openAnsweredEngine();
    stationConnects("K1DXC");
    window->Command2_Click();
    const std::vector<AgwFrame> frames = engineFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].kind, 'd');
    EXPECT_EQ(frames[0].callTo, QByteArray("K1DXC"));
    EXPECT_TRUE(window->connectedStation().isEmpty());
    EXPECT_FALSE(engine.isStarted());
    EXPECT_FALSE(timerRunning());
}

TEST_F(SpotWindow, AnUnreachableEngineGivesTheLongMessage)
{
    start(false);
    chooseType(QStringLiteral("AGW Packet Engine"));
    window->Command1_Click();
    engineSocket.fail(TcpClient::kRefused, QStringLiteral("Connection refused"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to connect to the AGW Packet Engine."));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive "
                       "packet with your soundcard or devices such a Baypac:\n\n- Download the freely available "
                       "software from ")));
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(
        QStringLiteral("\n\n- Make sure the AGW Packet Engine software is running and configure it as described on "
                       "the AGW Packet Engine website.")));
    EXPECT_TRUE(received().contains(QStringLiteral("- Click Open from this program.")));
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SpotWindow, ALostEngineSaysSoClosesAndBeeps)
{
    openAnsweredEngine();
    const int beeps = beeper.beeps;
    engineSocket.fail(TcpClient::kConnectionReset, QStringLiteral("Connection reset by peer"));
    EXPECT_TRUE(received().contains(QStringLiteral("** Lost connection to the AGW Packet Engine **")));
    EXPECT_TRUE(received().endsWith(QStringLiteral("** Port Closed **")));
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
    EXPECT_GE(beeper.beeps, beeps + 1);
}

TEST_F(SpotWindow, ACallTheEngineRefusesFailsTheOpenSayingWhy)
{
    start();
    chooseType(QStringLiteral("AGW Packet Engine"));
    window->Command1_Click();
    engineAnswers(false);
    EXPECT_FALSE(listening());
    EXPECT_FALSE(timerRunning());
    ASSERT_FALSE(statusLines.isEmpty());
    EXPECT_TRUE(statusLines.back().contains(QStringLiteral("N0CUB")));
    EXPECT_TRUE(received().contains(statusLines.back()));
}

TEST_F(SpotWindow, UnloadDisconnectsAConnectedStationAndLetsTheEngineGo)
{
    openAnsweredEngine();
    stationConnects("K1DXC");
    window->unload();
    const std::vector<AgwFrame> frames = engineFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].kind, 'd');
    EXPECT_FALSE(engine.isStarted());
    EXPECT_LE(engineSocket.lastCloseWaitMs, 1000);
}

// The window scales with the screen as every other window: its font by the smaller of the
// screen's ratios to the 640 x 480 design, inside the work area, every control given room for
// its text and the list showing every connection type, whichever type's controls show. Its
// traffic box keeps the width of a cluster line and the baud frame its long caption, which at
// 1024 x 768 and 1280 x 1024 leave too little room for the rule's font: there it takes the
// largest font that fits (LaidOutWindowFit's own tests show it is the largest).
TEST_F(SpotWindow, ScalesWithTheScreenAndFitsEveryTypesControls)
{
    for (const QSize screen : kScreenSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        FakeDesktop desktop(screen);
        DesignLayout::useDesktop(&desktop);
        start();
        DesignLayout::useDesktop(nullptr);
        const double rulePixels = 8 * std::min(screen.width() / 640.0, screen.height() / 480.0) * 96 / 72;
        const double pixels = window->font().pointSizeF() * window->logicalDpiY() / 72.0;
        const bool crowded = screen == QSize(1024, 768) || screen == QSize(1280, 1024);
        if (crowded) {
            EXPECT_LT(pixels, rulePixels);
            EXPECT_GT(pixels, 0.7 * rulePixels);
        } else {
            EXPECT_NEAR(pixels, rulePixels, 1e-9);
        }
        EXPECT_EQ(child<QPushButton>("cmdDone")->font().pointSizeF(), window->font().pointSizeF());
        auto* list = child<QListWidget>("List1");
        for (const char* type : {"TNC", "Telnet", "AGW Packet Engine", "None"}) {
            SCOPED_TRACE(type);
            chooseType(QString::fromLatin1(type));
            QCoreApplication::processEvents();
            EXPECT_TRUE(desktop.area.workArea.contains(window->frameGeometry()));
            EXPECT_THAT(layoutFaults(window.get()), ::testing::IsEmpty());
            EXPECT_GE(list->viewport()->height(), list->visualItemRect(list->item(list->count() - 1)).bottom());
        }
        window->unload();
        window.reset();
    }
}

}  // namespace

// The main window over the real CW keyer: the sender, its keying thread and its keying lines,
// with a recording serial port on a virtual clock in place of the device.
#include "cw/CwKeyer.h"
#include "cw/CwSenderFixture.h"
#include "support/FakeKeying.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QTest>

namespace cubwave::test {
namespace {

class MainWindowCw : public MainWindowFixture {
protected:
    void startWithKeyer(const std::function<void(CwSettings&)>& change = {})
    {
        CwSettings s;
        s.cwInterface = kCwDtr;
        s.port = QStringLiteral("1");
        s.speedWpm = QStringLiteral("20");
        s.messages[0] = QStringLiteral("CQ $");
        s.messages[1] = QStringLiteral("TEST TEST TEST TEST");
        s.messages[2] = QStringLiteral("TU !");
        if (change)
            change(s);
        keyer.sender().setSettings(s);

        dialogs.messageAnswers.push_back(MsgAnswer::Yes);
        form = std::make_unique<MainWindow>(
            MainWindowServices{clock, dialogs, beeper, dir.path(), dir.filePath("data"), dir.filePath("shared"),
                               [this](int code) { endedWith.push_back(code); },
                               [this](QDialog& dialog) { return runModal(dialog); }},
            MainWindowPorts{keyer, ports.voice, ports.rig, ports.spots, ports.exports, ports.windows});
        ASSERT_TRUE(form->loadWindow());
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        field("txtCall")->setFocus();
        QCoreApplication::processEvents();
    }

    bool sendingEnds() { return waitFor([this] { return !keyer.busy(); }); }
    // Keyed DTR edges after the drops made when the port opened.
    std::vector<KeyEdge> keyedDtr()
    {
        auto e = serial.edges(ModemLine::Dtr);
        while (!e.empty() && !e.front().down)
            e.erase(e.begin());
        return e;
    }
    QString sent(double unitMs = 60) { return decode(keyedDtr(), unitMs); }  // 20 WPM: 60 ms a unit
    // At 5 WPM the first dash of "TEST" (720 ms) holds the keying thread, line down, until
    // holdLimit passes: the test acts while a mark is on the air.
    void startHoldingTheFirstMark()
    {
        startWithKeyer([](CwSettings& s) { s.speedWpm = QStringLiteral("5"); });
        timer.holdLongerThanNs = 500'000'000;
        timer.holdLimit = std::chrono::milliseconds(300);
        key(Qt::Key_F2);
        ASSERT_TRUE(waitFor([this] { return timer.holding.load(); }));
    }
    // Marks keyed: the held one ends early on the virtual clock, so its length says nothing.
    size_t marks()
    {
        const auto e = keyedDtr();
        return std::count_if(e.begin(), e.end(), [](const KeyEdge& k) { return k.down; });
    }

    bool lineUp()
    {
        const auto e = serial.edges(ModemLine::Dtr);
        return e.empty() || !e.back().down;
    }

    VirtualKeyingTimer timer;
    std::function<qint64()> now = [this] { return timer.nowNs(); };
    FakeSerialLine serial{now};
    FakeParallelPorts parallel{now};
    CwKeyer keyer{timer, serial, parallel, [] { return SerialPortMap(); }};
};

TEST_F(MainWindowCw, FunctionKeySendsItsMessageWithTheCallExpanded)
{
    startWithKeyer();
    type("w1aw");
    key(Qt::Key_F1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(sent(), "CQ W1AW");
    EXPECT_TRUE(lineUp());
    EXPECT_EQ(serial.opens, std::vector<QString>{"/dev/ttyS0"});
    // The unsent rest was shown while sending; the end empties the status line.
    EXPECT_EQ(status(), "");
}

TEST_F(MainWindowCw, EscStopsTheSendingAfterTheCharacterOnTheAir)
{
    startHoldingTheFirstMark();
    key(Qt::Key_Escape);
    EXPECT_TRUE(keyer.busy());  // the mark on the air finishes
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(marks(), 1u);  // the T on the air, and nothing after it
    EXPECT_TRUE(lineUp());
    // With nothing on its way out, Esc clears the entry line as before.
    type("k1abc");
    key(Qt::Key_Escape);
    EXPECT_EQ(field("txtCall")->text(), "");
}

TEST_F(MainWindowCw, KeyboardCwSendsTypedTextAndKeepsItOutOfTheFields)
{
    startWithKeyer();
    key(Qt::Key_F12);
    EXPECT_EQ(status(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
    type("cq");
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(sent(), "CQ");
    EXPECT_EQ(field("txtCall")->text(), "");
    EXPECT_EQ(status(), CwSender::kKeyboardModeOnText);
    key(Qt::Key_F12);
    type("k1abc");
    EXPECT_EQ(field("txtCall")->text(), "K1ABC");
    EXPECT_EQ(sent(), "CQ");
}

TEST_F(MainWindowCw, ArrowKeysStepTheSpeedAndShowIt)
{
    startWithKeyer();
    const struct {
        Qt::Key key;
        const char* status;
    } steps[] = {{Qt::Key_Up, "21 WPM"}, {Qt::Key_Down, "20 WPM"}, {Qt::Key_Down, "19 WPM"}};
    for (const auto& step : steps) {
        key(step.key);
        EXPECT_EQ(status(), step.status);
    }
    EXPECT_EQ(keyer.sender().settings().speedWpm, "19");
    // The next sending goes out at the new speed.
    key(Qt::Key_F1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(decode(keyedDtr(), 1200.0 / 19), "CQ");
}

// The Down arrow can reach 0 WPM: nothing is keyed and the status line says why.
TEST_F(MainWindowCw, SpeedStepsToZeroKeyNothingAndSayWhy)
{
    startWithKeyer([](CwSettings& s) { s.speedWpm = QStringLiteral("1"); });
    key(Qt::Key_Down);
    EXPECT_EQ(status(), "0 WPM");
    key(Qt::Key_F1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_TRUE(keyedDtr().empty());
    EXPECT_EQ(status(), CwSender::kSpeedInvalidText);
}

TEST_F(MainWindowCw, ExclamationMarkCommitsTheContactWhereItStands)
{
    startWithKeyer();
    type("w1aw tom 12 ct blue");
    key(Qt::Key_F3);
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(sent(), "TU");
    EXPECT_EQ(form->store().count(), 1);
    EXPECT_EQ(field("txtCall")->text(), "");
}

TEST_F(MainWindowCw, CloseIsRefusedWhileSendingAndThenReleasesTheLine)
{
    startHoldingTheFirstMark();
    EXPECT_FALSE(form->close());  // the operator's close waits for the character on the air
    ASSERT_TRUE(sendingEnds());
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_TRUE(lineUp());
}

// A termination request while sending must not be dropped: the sending stops and the window
// closes after the current character, with the line up and the port closed.
TEST_F(MainWindowCw, TerminationRequestWhileSendingClosesAfterTheCharacter)
{
    startHoldingTheFirstMark();
    form->requestEnd();
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(waitFor([this] { return !form->isVisible(); }));
    EXPECT_EQ(marks(), 1u);  // the T on the air, and nothing after it
    EXPECT_FALSE(keyer.busy());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_TRUE(lineUp());
}

// The exit path cannot wait for a mark to end: the line goes up at once, for each kind of line.
TEST_F(MainWindowCw, ReleaseAllDropsTheLineInTheMiddleOfAMark)
{
    for (const int cwInterface : {int(kCwDtr), int(kCwRts), int(kCwPrinter)}) {
        SCOPED_TRACE(cwInterface);
        if (!form)
            startWithKeyer();
        CwSettings s = keyer.sender().settings();
        s.cwInterface = cwInterface;
        s.speedWpm = QStringLiteral("5");  // a dash of 720 ms, held below
        keyer.sender().setSettings(s);
        timer.holdLongerThanNs = 500'000'000;
        timer.holdLimit = std::chrono::milliseconds(300);
        const std::function<bool()> keyed = [&] {
            if (cwInterface == kCwPrinter) {
                const auto printer = parallel.lines.value(0x378).lock();
                return printer && printer->keyed();
            }
            const auto changes = serial.changes();
            const ModemLine which = cwInterface == kCwRts ? ModemLine::Rts : ModemLine::Dtr;
            for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
                if (it->line == which)
                    return it->raised;
            }
            return false;
        };
        keyer.sender().setBuffer(QStringLiteral("T"));
        keyer.sender().loopThroughCwBuffer();
        ASSERT_TRUE(waitFor([&] { return timer.holding.load(); }));
        EXPECT_TRUE(keyed());
        keyer.releaseAll();
        EXPECT_FALSE(keyed());
        ASSERT_TRUE(sendingEnds());
        EXPECT_FALSE(keyed());
    }
}

}  // namespace
// The transmit indicator beside the status line: lit while a sending keys a real line, not for
// port "0" (timed, nothing keyed) nor for interface "None" (nothing sent).
TEST_F(MainWindowCw, TheTransmitIndicatorIsLitWhileASendingKeysALine)
{
    startHoldingTheFirstMark();
    auto* tx = form->findChild<QLabel*>("lblTX");
    auto* status = form->findChild<QLabel*>("lblDialog");
    ASSERT_NE(tx, nullptr);
    EXPECT_EQ(tx->text(), "TX");
    // Right of the status line, on its row.
    EXPECT_GE(tx->geometry().left(), status->geometry().right());
    EXPECT_LT(std::abs(tx->geometry().center().y() - status->geometry().center().y()), 3);
    const auto lit = [tx] { return tx->palette().color(QPalette::Window) == QColor(255, 0, 0); };
    EXPECT_TRUE(waitFor(lit));
    key(Qt::Key_Escape);
    ASSERT_TRUE(sendingEnds());
    EXPECT_TRUE(waitFor([&] { return !lit(); }));

    for (const auto& change : std::vector<std::function<void(CwSettings&)>>{
             [](CwSettings& s) { s.port = "0"; }, [](CwSettings& s) { s.cwInterface = kCwNone; }}) {
        CwSettings s = keyer.sender().settings();
        s.speedWpm = "60";
        change(s);
        keyer.sender().setSettings(s);
        bool everLit = false;
        key(Qt::Key_F1);
        waitFor([&] {
            everLit = everLit || lit();
            return !keyer.busy();
        });
        EXPECT_FALSE(everLit);
    }
}

}  // namespace cubwave::test

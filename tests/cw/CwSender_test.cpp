#include "CwSenderFixture.h"

namespace cubwave {
namespace {

using test::CwSenderTest;
using test::FakeKeyingLine;
using test::KeyEdge;
using test::LineRun;
using test::VirtualKeyingTimer;
using test::decode;
using test::runsOf;
using test::waitFor;

// A line source that hands out one recording line, for faults the real lines cannot show.
class OneLine final : public CwLineSource {
public:
    explicit OneLine(std::shared_ptr<KeyingLine> line) : line_(std::move(line)) {}
    Line lineFor(const CwSettings&) override { return {line_, {}, {}, {}}; }

private:
    std::shared_ptr<KeyingLine> line_;
};

TEST_F(CwSenderTest, EBlankEAt20WpmKeepsTheLineForExactUnits)
{
    const qint64 start = timer.nowNs();
    send("E E");
    EXPECT_EQ(serial.opens, std::vector<QString>{"/dev/ttyS0"});
    const auto edges = keyedDtr();
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0].ns, start);
    EXPECT_EQ(runsOf(edges, timer.nowNs()),
              (std::vector<LineRun>{{true, 60}, {false, 180 + 480}, {true, 60}, {false, 180}}));
    EXPECT_FALSE(sender.isSending());
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(CwSenderTest, LowerCaseAKeysAsCapitalA)
{
    send("a");
    EXPECT_EQ(runsOf(keyedDtr(), timer.nowNs()),
              (std::vector<LineRun>{{true, 60}, {false, 60}, {true, 180}, {false, 180}}));
}

TEST_F(CwSenderTest, UnknownCharactersTakeNoTimeAndKeyNothing)
{
    const qint64 start = timer.nowNs();
    send("%(");
    EXPECT_TRUE(keyedDtr().empty());
    EXPECT_EQ(timer.nowNs(), start);
    EXPECT_EQ(ended, 1);
}

TEST_F(CwSenderTest, BangCommitsInItsPlaceOnlyWithACall)
{
    std::vector<size_t> edgesAtCommit;
    QObject::connect(&sender, &CwSender::commitRequested,
                     [&] { edgesAtCommit.push_back(serial.edges(ModemLine::Dtr).size()); });
    send("E!E");
    EXPECT_TRUE(edgesAtCommit.empty());  // empty call field
    sender.setCallField("W1AW");
    serial.close();
    const size_t before = serial.edges(ModemLine::Dtr).size() + 1;  // the drop when it reopens
    QObject::connect(&sender, &CwSender::commitRequested, [&] { edgesAtCommit.back() -= before; });
    send("E!E");
    EXPECT_EQ(edgesAtCommit, std::vector<size_t>{2});  // after the first E, before the second
}

TEST_F(CwSenderTest, InterfaceNoneSendsNothingAtOnce)
{
    configure([](CwSettings& s) { s.cwInterface = kCwNone; });
    sender.setCallField("W1AW");
    int commits = 0;
    QObject::connect(&sender, &CwSender::commitRequested, [&] { ++commits; });
    const qint64 start = timer.nowNs();
    sender.fKeyCW(112);
    EXPECT_FALSE(sender.isSending());
    send("CQ!");
    EXPECT_EQ(timer.nowNs(), start);
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_EQ(commits, 0);
}

TEST_F(CwSenderTest, PortZeroTimesEveryCharacterWithoutALine)
{
    configure([](CwSettings& s) {
        s.cwInterface = kCwRts;
        s.port = "0";
    });
    const qint64 start = timer.nowNs();
    send("TE");
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_TRUE(serial.changes().empty());
    EXPECT_EQ(timer.nowNs() - start, (6 + 4) * 60'000'000LL);
}

// The port changed while a sending runs (the settings window, a loaded file): the character on
// the air ends on the old port, and from the next one on the sending keys the port the settings
// name now, the character already handed for the old port included; port "0" keys nothing.
TEST_F(CwSenderTest, TheLineFollowsThePortOfTheSettingsFromTheNextCharacter)
{
    // At 5 WPM each dash (720 ms) holds the keying thread, key down, for 100 ms.
    timer.holdLongerThanNs = 500'000'000;
    timer.holdLimit = std::chrono::milliseconds(100);
    const auto marks = [this](const QString& device) {
        const auto e = serial.edges(ModemLine::Dtr, device);
        return std::count_if(e.begin(), e.end(), [](const KeyEdge& k) { return k.down; });
    };
    for (const auto& [port, device] : {std::pair{"2", "/dev/ttyS1"}, std::pair{"0", ""}}) {
        SCOPED_TRACE(port);
        configure([](CwSettings& s) {
            s.port = "1";
            s.speedWpm = "5";
        });
        const auto before = marks("/dev/ttyS0");
        sender.setBuffer("TTT");
        sender.loopThroughCwBuffer();
        // The first T on the air, the second handed behind it.
        ASSERT_TRUE(waitFor([&] { return timer.holding.load() && keyer.waitingCharacter(); }));
        configure([port](CwSettings& s) { s.port = port; });
        ASSERT_TRUE(waitFor([&] { return !keyer.isBusy() && !sender.isSending(); }));
        EXPECT_EQ(marks("/dev/ttyS0") - before, 1);
        EXPECT_FALSE(serial.edges(ModemLine::Dtr, "/dev/ttyS0").back().down);
        EXPECT_EQ(serial.isOpen(), !QString(device).isEmpty());
        if (serial.isOpen()) {
            EXPECT_EQ(serial.devicePath(), device);
            EXPECT_EQ(marks(device), 2);
        }
    }
    EXPECT_EQ(serial.opens, (std::vector<QString>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS0"}));
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(CwSenderTest, SleepWaitsWholeMillisecondsPerUnit)
{
    configure([](CwSettings& s) {
        s.method = TimingMethod::Sleep;
        s.speedWpm = "13";
    });
    send("E");
    EXPECT_EQ(timer.sleeps, (std::vector<qint64>{92, 3 * 92}));
    timer.sleeps.clear();
    configure([](CwSettings& s) { s.speedWpm = "32"; });
    send("T");
    EXPECT_EQ(timer.sleeps, (std::vector<qint64>{3 * 38, 3 * 38}));
}

TEST_F(CwSenderTest, LoopCountsCalibratedPassesPerUnit)
{
    configure([](CwSettings& s) {
        s.method = TimingMethod::Loop;
        s.loopOffset = 1000;
    });
    timer.nsPerPass = 60'000;  // the calibration holds
    send("A");
    EXPECT_EQ(timer.spins, (std::vector<double>{1000, 1000, 3000, 3000}));
    EXPECT_FALSE(timer.realtime);  // never real-time while spinning
}

TEST_F(CwSenderTest, WordSpaceAdjustment)
{
    struct {
        const char* space;
        qint64 units;
    } cases[] = {{"-8", 8}, {"2", 18}, {"-4", 12}, {"0", 16}, {"-12", 8}};
    for (const auto& c : cases) {
        configure([&](CwSettings& s) { s.wordSpace = c.space; });
        const qint64 start = timer.nowNs();
        send("E E");
        EXPECT_EQ(timer.nowNs() - start, c.units * 60'000'000LL) << c.space;
    }
}

TEST_F(CwSenderTest, SpeedThatIsNotPositiveKeysNothingAndSaysWhy)
{
    for (const char* speed : {"0", "-3", "fast"}) {
        configure([&](CwSettings& s) { s.speedWpm = speed; });
        problems.clear();
        send("CQ");
        EXPECT_TRUE(keyedDtr().empty()) << speed;
        EXPECT_EQ(problems, QStringList{CwSender::kSpeedInvalidText}) << speed;
        EXPECT_TRUE(sender.buffer().isEmpty());
    }
}

TEST_F(CwSenderTest, SpeedDownReachesZeroAndStopsTheSending)
{
    configure([](CwSettings& s) { s.speedWpm = "2"; });
    QStringList speeds;
    QObject::connect(&sender, &CwSender::speedChanged, [&](const QString& t) { speeds << t; });
    sender.speedDown();
    sender.speedDown();
    EXPECT_EQ(speeds, (QStringList{"1", "0"}));
    send("E");
    EXPECT_FALSE(problems.isEmpty());
    sender.speedUp();
    EXPECT_EQ(sender.settings().speedWpm, "1");
}

TEST_F(CwSenderTest, EscapeLetsTheCurrentCharacterFinishAndSendsNothingMore)
{
    // Esc comes from the window thread while the second character is on the air: each wait
    // holds long enough that a busy machine's late window thread still finds it there.
    timer.realDelayPerWait = std::chrono::microseconds(20000);
    int started = 0;
    QObject::connect(&sender, &CwSender::characterStarted, [&] {
        if (++started == 2)
            sender.stopSending();
    });
    send("EEEEEE");
    EXPECT_EQ(decode(keyedDtr(), 60), "EE");
    EXPECT_FALSE(serial.edges(ModemLine::Dtr).back().down);
}

TEST_F(CwSenderTest, EscapeCutsALongSpaceShort)
{
    configure([](CwSettings& s) { s.wordSpace = "100000"; });
    timer.holdLongerThanNs = 10'000'000'000LL;
    sender.setBuffer("E E");
    sender.loopThroughCwBuffer();
    ASSERT_TRUE(waitFor([&] { return timer.holding.load(); }));
    QElapsedTimer t;
    t.start();
    sender.stopSending();
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(decode(keyedDtr(), 60), "E");
}

TEST_F(CwSenderTest, FunctionKeyWhileSendingReplacesTheRest)
{
    configure([](CwSettings& s) {
        s.messages[0] = "AAAA";
        s.messages[1] = "TT";
    });
    timer.realDelayPerWait = std::chrono::microseconds(2000);
    int started = 0;
    QObject::connect(&sender, &CwSender::characterStarted, [&] {
        if (++started == 2)
            sender.fKeyCW(113);
    });
    sender.fKeyCW(112);
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_EQ(decode(keyedDtr(), 60), "AATT");
}

TEST_F(CwSenderTest, MacrosExpandIntoTheBuffer)
{
    configure([](CwSettings& s) { s.messages[2] = "TU $ *"; });
    sender.setCallField(" K1ABC ");
    sender.fKeyCW(114);
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_EQ(decode(keyedDtr(), 60), "TU K1ABC 5NN");
}

TEST_F(CwSenderTest, KeyboardBackspaceRemovesTheLastWaitingCharacter)
{
    timer.realDelayPerWait = std::chrono::microseconds(2000);
    sender.toggleKeyboardMode();
    sender.typeCharacter('a');
    sender.typeCharacter('b');
    sender.typeCharacter('c');
    EXPECT_TRUE(sender.removeLastWaiting());
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_EQ(decode(keyedDtr(), 60), "AB");
    EXPECT_FALSE(sender.removeLastWaiting());
    EXPECT_EQ(dialog.last(), CwSender::kKeyboardModeOnText);
}

TEST_F(CwSenderTest, KeyboardModeSendsTypedKeyCodes)
{
    sender.toggleKeyboardMode();
    sender.fKeyCW('k');
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_EQ(decode(keyedDtr(), 60), "K");
    sender.toggleKeyboardMode();
    sender.fKeyCW('k');  // outside the function keys without keyboard CW: nothing
    EXPECT_FALSE(sender.isSending());
}

TEST_F(CwSenderTest, DisplayShowsTheRestThenClears)
{
    send("TE");
    ASSERT_FALSE(dialog.isEmpty());
    EXPECT_EQ(dialog.first(), "E");
    EXPECT_EQ(dialog.last(), "");
    configure([](CwSettings& s) { s.displayText = false; });
    dialog.clear();
    send("TE");
    EXPECT_TRUE(dialog.isEmpty());
}

TEST_F(CwSenderTest, F1RepeatsAfterTheIntervalUntilAKeyEndsIt)
{
    configure([](CwSettings& s) {
        s.messages[0] = "E";
        s.repeatSeconds = "0.02";
    });
    // The gap passes on the keying clock, which moves only while something is keyed.
    QObject::connect(&sender, &CwSender::sendingEnded, [this] { timer.now_ += 20'000'000; });
    sender.fKeyCW(112);
    ASSERT_TRUE(waitFor([&] { return ended >= 3; }));
    EXPECT_TRUE(sender.repeating());
    sender.cancelRepeat();
    EXPECT_FALSE(sender.repeating());
    EXPECT_FALSE(sender.repeatTimerActive());
    const int after = ended;
    waitFor([] { return false; }, 100);
    EXPECT_LE(ended, after + 1);  // at most the sending already under way ends
    EXPECT_FALSE(sender.isSending());
}

TEST_F(CwSenderTest, F1RepeatWaitsTheWholeGapHoweverEarlyItsTimerFires)
{
    configure([](CwSettings& s) {
        s.messages[0] = "E";
        s.repeatSeconds = "0.05";
    });
    sender.fKeyCW(112);
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    const qint64 end = timer.nowNs();  // the end of the closing key-up of "E"
    // Standing still, the keying clock makes every firing of the 50 ms timer early.
    waitFor([] { return false; }, 200);
    EXPECT_EQ(keyedDtr().size(), 2u);
    EXPECT_TRUE(sender.repeatTimerActive());
    timer.now_ = end + 49'999'999;
    waitFor([] { return false; }, 100);
    EXPECT_EQ(keyedDtr().size(), 2u);
    timer.now_ = end + 50'000'000;
    ASSERT_TRUE(waitFor([&] { return ended == 2; }));
    const auto edges = keyedDtr();
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[2].ns, end + 50'000'000);
    sender.cancelRepeat();
}

TEST_F(CwSenderTest, F1WithoutIntervalDoesNotRepeat)
{
    configure([](CwSettings& s) { s.messages[0] = "E"; });
    sender.fKeyCW(112);
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_FALSE(sender.repeating());
    EXPECT_FALSE(sender.repeatTimerActive());
}

TEST_F(CwSenderTest, F1RepeatIntervalThatRoundsToZeroNeverFires)
{
    configure([](CwSettings& s) {
        s.messages[0] = "E";
        s.repeatSeconds = "0.0001";
    });
    sender.fKeyCW(112);
    ASSERT_TRUE(waitFor([&] { return ended == 1; }));
    EXPECT_TRUE(sender.repeating());
    EXPECT_FALSE(sender.repeatTimerActive());
}

TEST_F(CwSenderTest, PortThatCannotOpenSaysSoOnceAndEndsTheSending)
{
    serial.failOpen = true;
    QStringList boxes;
    QObject::connect(&sender, &CwSender::keyingPortInvalid,
                     [&](const QString& title, const QString& text) { boxes << title << text; });
    send("CQ CQ");
    EXPECT_EQ(boxes, (QStringList{CwKeyingLines::kInvalidPortTitle, CwKeyingLines::kInvalidPortText}));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("/dev/ttyS0")) << problems[0].toStdString();
    EXPECT_EQ(serial.opens.size(), 1u);
    EXPECT_TRUE(sender.buffer().isEmpty());
}

TEST_F(CwSenderTest, ParallelPortKeysThreeDownTwoUpAndSaysOnceWhyItCannot)
{
    configure([](CwSettings& s) {
        s.cwInterface = kCwPrinter;
        s.address = "&H378";
    });
    send("ET");
    auto line = ports.lines.value(0x378).lock();
    ASSERT_TRUE(line);
    EXPECT_EQ(decode(line->edges(), 60), "ET");
    EXPECT_EQ(ports.opens, 1);  // claimed once
    EXPECT_TRUE(serial.opens.empty());
    line.reset();

    configure([](CwSettings& s) { s.cwInterface = kCwDtr; });
    send("E");
    EXPECT_FALSE(ports.lines.value(0x378).lock());  // released when another line is chosen

    configure([](CwSettings& s) {
        s.cwInterface = kCwPrinter;
        s.address = "888";
    });
    ports.refused[888] = "Permission denied";
    send("EEE");
    EXPECT_EQ(problems, QStringList{"/dev/parport0: Permission denied"});
}

TEST_F(CwSenderTest, LineSwitchWaitsForTheCharacterOnTheAir)
{
    timer.realDelayPerWait = std::chrono::microseconds(2000);
    bool ranKeyedOrMidCharacter = false;
    bool ran = false;
    QObject::connect(&sender, &CwSender::characterStarted, [&] {
        if (ran)
            return;
        sender.runBetweenCharacters([&] {
            ran = true;
            ranKeyedOrMidCharacter = keyer.isBusy() || serial.edges(ModemLine::Dtr).back().down;
        });
    });
    send("TTT");
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ranKeyedOrMidCharacter);
    EXPECT_EQ(decode(keyedDtr(), 60), "TTT");
}

TEST_F(CwSenderTest, CalibrationRunsOnTheKeyingThread)
{
    double offset = -1;
    QObject::connect(&sender, &CwSender::loopOffsetChanged, [&](double o) { offset = o; });
    timer.nsPerPass = 12;  // 5,000,000 passes take 60 ms
    sender.calibrateLoop();
    ASSERT_TRUE(waitFor([&] { return offset >= 0; }));
    EXPECT_EQ(offset, 5'000'000);
    EXPECT_EQ(sender.settings().loopOffset, 5'000'000);
}

// Faults the real lines cannot show.
class CharacterKeyerTest : public ::testing::Test {
protected:
    VirtualKeyingTimer timer;
    std::shared_ptr<FakeKeyingLine> line = std::make_shared<FakeKeyingLine>([this] { return timer.nowNs(); });
};

TEST_F(CharacterKeyerTest, LineFailureBetweenDownAndUpLeavesTheLineUp)
{
    OneLine source(line);
    CharacterKeyer keyer(timer);
    CwSender sender(keyer, source);
    CwSettings s;
    s.cwInterface = kCwDtr;
    s.speedWpm = "20";
    sender.setSettings(s);
    QStringList problems;
    QObject::connect(&sender, &CwSender::problem, [&](const QString& p) { problems << p; });
    line->failKeyDownFromCall(3);  // the dash of "A" cannot be raised
    // Slow enough that the next "A" is already waiting when the first one fails.
    timer.realDelayPerWait = std::chrono::milliseconds(30);
    sender.setBuffer("AAA");
    sender.loopThroughCwBuffer();
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    EXPECT_FALSE(line->keyed());
    EXPECT_FALSE(line->edges().back().down);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("Input/output error"));
}

TEST_F(CharacterKeyerTest, SpeedMadeInvalidBeforeAnElementKeysNothingMore)
{
    CharacterKeyer keyer(timer);
    keyer.setSpeedWpm(std::nan(""));
    std::optional<CharacterKeyer::Outcome> outcome;
    QObject::connect(&keyer, &CharacterKeyer::characterEnded,
                     [&](QChar, CharacterKeyer::Outcome o, const QString&) { outcome = o; });
    keyer.hand({'T', MorseTable::runs('T'), line});
    ASSERT_TRUE(waitFor([&] { return outcome.has_value(); }));
    EXPECT_EQ(*outcome, CharacterKeyer::Outcome::SpeedInvalid);
    EXPECT_TRUE(line->edges().empty());
}

TEST_F(CharacterKeyerTest, ShuttingDownWhileKeyedLeavesTheLineUp)
{
    timer.holdLongerThanNs = 100'000'000;  // the dash of "T" at 5 WPM holds
    {
        CharacterKeyer keyer(timer);
        keyer.setSpeedWpm(5);
        keyer.hand({'T', MorseTable::runs('T'), line});
        ASSERT_TRUE(waitFor([&] { return timer.holding.load(); }));
        EXPECT_TRUE(line->keyed());
    }
    EXPECT_FALSE(line->keyed());
}

TEST_F(CharacterKeyerTest, WaitingCharacterCanBeTakenBackUntilItStarts)
{
    timer.holdLongerThanNs = 100'000'000;
    CharacterKeyer keyer(timer);
    keyer.setSpeedWpm(5);
    ASSERT_TRUE(keyer.hand({'T', MorseTable::runs('T'), line}));
    ASSERT_TRUE(waitFor([&] { return timer.holding.load(); }));
    EXPECT_TRUE(keyer.hand({'E', MorseTable::runs('E'), line}));
    EXPECT_FALSE(keyer.hand({'I', MorseTable::runs('I'), line}));  // only one waits
    EXPECT_EQ(keyer.waitingCharacter(), QChar('E'));
    const auto back = keyer.withdraw();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->character, QChar('E'));
    EXPECT_TRUE(keyer.isBusy());
}

}  // namespace
}  // namespace cubwave

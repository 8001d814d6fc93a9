// The keying thread's schedule on a virtual clock: where each edge lands against the ideal one,
// whatever a line change costs, and what happens when "Loop" misses.
#include "CwSenderFixture.h"

#include <thread>

namespace cubwave {
namespace {

using test::KeyEdge;
using test::VirtualKeyingTimer;
using test::waitFor;

// A line that notes when each change was asked for and then spends costNs on it, as an ioctl
// or a USB adapter does; realDelay holds one call of the keying thread before it is noted.
class CostlyLine final : public KeyingLine {
public:
    CostlyLine(VirtualKeyingTimer& timer, qint64 costNs) : timer_(timer), costNs_(costNs) {}
    bool setKeyed(bool down) override
    {
        const int call = ++calls_;
        if (call == delayedCall)
            std::this_thread::sleep_for(realDelay);
        {
            std::lock_guard lock(mutex_);
            edges_.push_back({timer_.nowNs(), down});
        }
        timer_.now_ += costNs_;
        return true;
    }
    std::vector<KeyEdge> edges() const
    {
        std::lock_guard lock(mutex_);
        return edges_;
    }

    int delayedCall = 0;
    std::chrono::milliseconds realDelay{0};

private:
    VirtualKeyingTimer& timer_;
    qint64 costNs_;
    std::atomic<int> calls_{0};
    mutable std::mutex mutex_;
    std::vector<KeyEdge> edges_;
};

class OneLine final : public CwLineSource {
public:
    explicit OneLine(std::shared_ptr<KeyingLine> line) : line_(std::move(line)) {}
    Line lineFor(const CwSettings&) override { return {line_, {}, {}, {}}; }

private:
    std::shared_ptr<KeyingLine> line_;
};

// The ideal edge times of text sent without a break, from its first key-down: each edge where
// the units before it end. Consecutive key-up runs (a character's close and a space) are one.
std::vector<double> idealEdgesNs(const QString& text, double unitNs)
{
    std::vector<double> out;
    bool down = false;
    double units = 0;
    for (QChar c : text) {
        for (const KeyingRun& run : MorseTable::runs(c, 0)) {
            if (run.keyDown != down)
                out.push_back(units * unitNs);
            down = run.keyDown;
            units += static_cast<double>(run.units);
        }
    }
    return out;
}

class KeyingScheduleTest : public ::testing::Test {
protected:
    KeyingScheduleTest()
    {
        CwSettings s;
        s.cwInterface = kCwDtr;
        s.speedWpm = "20";
        sender.setSettings(s);
        QObject::connect(&sender, &CwSender::sendingEnded, [this] { ++ended; });
        QObject::connect(&sender, &CwSender::problem, [this](const QString& p) { problems << p; });
    }
    void configure(const std::function<void(CwSettings&)>& change)
    {
        CwSettings s = sender.settings();
        change(s);
        sender.setSettings(s);
    }
    void send(const QString& text)
    {
        sender.setBuffer(text);
        const int before = ended;
        sender.loopThroughCwBuffer();
        ASSERT_TRUE(waitFor([&] { return ended > before; })) << "the sending never ended";
    }
    // Each edge's distance from its ideal time, the first edge being the anchor.
    static std::vector<qint64> lateness(const std::vector<KeyEdge>& edges, const std::vector<double>& ideal)
    {
        std::vector<qint64> out;
        for (size_t i = 0; i < edges.size() && i < ideal.size(); ++i)
            out.push_back(edges[i].ns - edges[0].ns - std::llround(ideal[i]));
        return out;
    }

    VirtualKeyingTimer timer;
    std::shared_ptr<CostlyLine> line = std::make_shared<CostlyLine>(timer, 100'000);
    OneLine source{line};
    CharacterKeyer keyer{timer};
    CwSender sender{keyer, source};
    int ended = 0;
    QStringList problems;
};

TEST_F(KeyingScheduleTest, EdgesKeepTheIdealScheduleWhateverTheLineChangeCosts)
{
    // Timed from after each 100 us change, every element would be 100 us long and the error
    // would grow edge by edge: 20 ms after these 200 edges.
    const QString text = "CQ TEST N0CUB 5NN 73 = PARIS? /QRZ";
    const struct {
        TimingMethod method;
        const char* wpm;
        double unitNs;
    } cases[] = {
        {TimingMethod::Timer, "20", 60e6},
        {TimingMethod::Timer, "35", 1200e6 / 35},  // not a whole number of nanoseconds
        {TimingMethod::Sleep, "13", 92e6},         // 92.3 ms sleeps as whole milliseconds
    };
    for (const auto& c : cases) {
        configure([&](CwSettings& s) {
            s.method = c.method;
            s.speedWpm = c.wpm;
        });
        const size_t before = line->edges().size();
        send(text);
        const auto all = line->edges();
        const std::vector<KeyEdge> edges(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        const auto ideal = idealEdgesNs(text, c.unitNs);
        ASSERT_EQ(edges.size(), ideal.size()) << c.wpm;
        // Within the rounding of each run to whole nanoseconds.
        for (qint64 late : lateness(edges, ideal))
            ASSERT_LE(std::abs(late), 1000) << c.wpm << " WPM: an edge " << late << " ns off its time";
    }
}

TEST_F(KeyingScheduleTest, ScheduleStartsAfreshAfterTheThreadRunsDry)
{
    send("E");
    ASSERT_TRUE(waitFor([&] { return !keyer.isBusy(); }));
    const qint64 idleEnd = timer.nowNs() + 20'000'000;  // nothing to send for 20 ms
    timer.now_ = idleEnd;
    send("E");
    const auto edges = line->edges();
    ASSERT_EQ(edges.size(), 4u);
    // The old schedule would key the second dot short, to catch up the time nobody sent.
    EXPECT_EQ(edges[2].ns, idleEnd);
    EXPECT_EQ(edges[3].ns - edges[2].ns, 60'000'000);
}

TEST_F(KeyingScheduleTest, WindowThreadIsWokenOnlyAfterTheNextCharacterKeys)
{
    // Reporting a character's end wakes the window thread, which may take the keying thread's
    // processor for milliseconds: that must not happen between the end and the next edge.
    timer.realDelayPerWait = std::chrono::milliseconds(30);  // "E" stays on the air 60 ms
    line->delayedCall = 3;                                    // the key-down of "T"
    line->realDelay = std::chrono::milliseconds(100);
    keyer.setSpeedWpm(20);
    std::vector<std::string> seen;
    QObject::connect(&keyer, &CharacterKeyer::characterStarted,
                     [&](QChar c) { seen.push_back(QString("start %1").arg(c).toStdString()); });
    QObject::connect(&keyer, &CharacterKeyer::characterEnded, [&](QChar c, CharacterKeyer::Outcome, const QString&) {
        seen.push_back(QString("end %1 after %2 edges").arg(c).arg(line->edges().size()).toStdString());
    });
    ASSERT_TRUE(keyer.hand({'E', MorseTable::runs('E'), line}));
    ASSERT_TRUE(waitFor([&] { return !keyer.waitingCharacter(); }));
    ASSERT_TRUE(keyer.hand({'T', MorseTable::runs('T'), line}));
    ASSERT_TRUE(waitFor([&] { return seen.size() == 4; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"start E", "end E after 3 edges", "start T", "end T after 4 edges"}));
}

TEST_F(KeyingScheduleTest, LoopElementOffByMoreThanAFifthHandsTheSendingToTimer)
{
    // 1000 passes per 60 ms element at 20 WPM; how long a pass really takes decides.
    // The line's 0.1 ms counts in each element, as it would on the air.
    const QString missed = "CW Loop timing is off (%1 ms for 60.0 ms): the rest of this sending uses Timer.";
    const struct {
        double nsPerPass;
        std::vector<double> firstRunsMs;  // "A": the first runs, exact Timer lengths after a miss
        QString report;
    } cases[] = {
        {41'900, {60, 60, 180}, missed.arg("42.0")},  // a short element is made up on the clock
        {77'900, {78, 60, 180}, missed.arg("78.0")},
        {46'900, {60, 60, 180}, missed.arg("47.0")},  // 21.7 % short
        {65'900, {66, 66, 197.8}, ""},                // 10 % long stays "Loop"
        {50'900, {51, 51, 152.8}, ""},                // 15 % short too
    };
    for (const auto& c : cases) {
        configure([](CwSettings& s) {
            s.method = TimingMethod::Loop;
            s.loopOffset = 1000;
        });
        timer.nsPerPass = c.nsPerPass;
        problems.clear();
        timer.spins.clear();
        const size_t before = line->edges().size();
        send("AA");
        const auto all = line->edges();
        const std::vector<KeyEdge> edges(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        ASSERT_EQ(edges.size(), 8u);
        std::vector<double> runsMs;
        for (size_t i = 0; i + 1 < edges.size(); ++i)
            runsMs.push_back(static_cast<double>(edges[i + 1].ns - edges[i].ns) / 1e6);
        for (size_t i = 0; i < c.firstRunsMs.size(); ++i)
            EXPECT_NEAR(runsMs[i], c.firstRunsMs[i], 0.001) << c.nsPerPass << " run " << i;
        if (c.report.isEmpty()) {
            EXPECT_TRUE(problems.isEmpty()) << c.nsPerPass;
            EXPECT_EQ(timer.spins.size(), 8u);
            continue;
        }
        EXPECT_EQ(problems, QStringList{c.report});
        EXPECT_EQ(timer.spins.size(), 1u) << c.nsPerPass;
        EXPECT_NEAR(runsMs.back(), 180, 0.001) << c.nsPerPass;  // the last dash, on the clock too
        EXPECT_TRUE(timer.realtime);
        EXPECT_EQ(sender.settings().loopOffset, 1000);  // the stored calibration is the operator's
        // The next sending tries the loop again.
        timer.nsPerPass = 60'000;
        timer.spins.clear();
        send("E");
        EXPECT_EQ(timer.spins.size(), 2u);
    }
}

TEST_F(KeyingScheduleTest, UncalibratedLoopKeysOnTheClockAndSaysSo)
{
    configure([](CwSettings& s) {
        s.method = TimingMethod::Loop;
        s.loopOffset = 0;
    });
    send("T");
    const auto edges = line->edges();
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(edges[1].ns - edges[0].ns, 180'000'000);
    EXPECT_EQ(problems, QStringList{"CW Loop timing is off (0.1 ms for 180.0 ms): the rest of this sending uses Timer."});
}

}  // namespace
}  // namespace cubwave

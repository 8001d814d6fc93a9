// The rig's frequency and mode commands. Targets: a command built within 1 us; against a peer on
// a pseudo-terminal, through the program's own serial line, every pause at least its nominal
// length and at most 10 ms over at the 95th percentile; the window thread never busy more than
// 5 ms in a row at the 99th percentile during commands or a scan within one band, measured as
// the gaps of a 1 ms probe timer (the maximum is reported too). A run that misses a target ends
// with an error.
#include "bandplan/SidebandTable.h"
#include "platform/PosixSerialLine.h"
#include "platform/QtOneShotTimer.h"
#include "platform/SystemClock.h"
#include "rig/RigCommandPlan.h"
#include "rig/RigCommandRunner.h"
#include "rig/SerialRigLink.h"
#include "rig/TuneTables.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

using namespace cubwave;

namespace {

const SidebandTable& sidebands()
{
    static const SidebandTable table = SidebandTable::load(QStringLiteral(CUBWAVE_SOURCE_DIR "/data"));
    return table;
}

RigCommandContext contextFor(const RigModel& model)
{
    return {&model, QString::fromLatin1(model.defaults.frequencyQuery), QString::fromLatin1(model.defaults.modeQuery),
            10, QStringLiteral("CW")};
}

void BM_BuildFrequencyCommand(benchmark::State& state)
{
    const RigModel& model = RigModels::all()[size_t(state.range(0))];
    const RigCommandContext context = contextFor(model);
    state.SetLabel(model.name);
    for (auto _ : state) {
        RigCommand command = RigCommandBuilder::frequency(context, 14'025'000);
        benchmark::DoNotOptimize(command);
    }
}
BENCHMARK(BM_BuildFrequencyCommand)->DenseRange(0, int(RigModels::all().size()) - 1)->Unit(benchmark::kNanosecond);

void BM_BuildModeCommand(benchmark::State& state)
{
    const RigModel& model = RigModels::all()[size_t(state.range(0))];
    const RigCommandContext context = contextFor(model);
    state.SetLabel(model.name);
    for (auto _ : state) {
        RigCommand command = RigCommandBuilder::mode(context, u"RTTY");
        benchmark::DoNotOptimize(command);
    }
}
BENCHMARK(BM_BuildModeCommand)->DenseRange(0, int(RigModels::all().size()) - 1)->Unit(benchmark::kNanosecond);

void BM_PlanChangeFrequency(benchmark::State& state)
{
    const RigCommandContext context = contextFor(*RigModels::find(u"Icom"));
    for (auto _ : state) {
        auto steps = RigCommandPlan::changeFrequency(context, 7'025'000, u"", sidebands());
        benchmark::DoNotOptimize(steps);
    }
}
BENCHMARK(BM_PlanChangeFrequency)->Unit(benchmark::kNanosecond);

// A radio that takes every byte and answers nothing, on the far side of a pseudo-terminal.
class PtyPeer {
public:
    PtyPeer()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        path_ = QString::fromLocal8Bit(name);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        reader_ = std::thread([this] {
            char buffer[256];
            while (!stop_) {
                pollfd p{master_, POLLIN, 0};
                if (::poll(&p, 1, 5) > 0)
                    (void)!::read(master_, buffer, sizeof buffer);
            }
        });
    }
    ~PtyPeer()
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    const QString& path() const { return path_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

// Notes when each command leaves for the line.
class StampedLink final : public RigLink {
public:
    StampedLink(RigLink& inner, const QElapsedTimer& clock) : inner_(inner), clock_(clock) {}
    std::optional<qint64> pendingOutputBytes() override { return inner_.pendingOutputBytes(); }
    bool send(const QByteArray& bytes) override
    {
        sentNs.push_back(clock_.nsecsElapsed());
        return inner_.send(bytes);
    }
    std::optional<QByteArray> takeInput() override { return inner_.takeInput(); }
    QString failureReason() const override { return inner_.failureReason(); }

    std::vector<qint64> sentNs;

private:
    RigLink& inner_;
    const QElapsedTimer& clock_;
};

// The gaps of a 1 ms timer beyond its interval: how long the window thread was kept busy.
class BusyProbe {
public:
    explicit BusyProbe(const QElapsedTimer& clock) : clock_(clock)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0)
                busyMs.push_back(std::max<double>(0, double(now - last_) / 1e6 - 1));
            last_ = now;
        });
        timer_.start();
    }

    std::vector<double> busyMs;

private:
    const QElapsedTimer& clock_;
    QTimer timer_;
    qint64 last_ = -1;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

struct Session {
    PtyPeer peer;
    PosixSerialLine line;
    std::unique_ptr<SerialRigLink> serial;
    std::unique_ptr<StampedLink> link;
    RigPoller poller;
    SystemClock clock;
    QtOneShotTimer timer;
    std::unique_ptr<RigCommandRunner> runner;
    QTimer pollTimer;

    bool open(const QElapsedTimer& stamps, const char16_t* rig)
    {
        line.setSettings(QStringLiteral("4800,N,8,2"));
        if (peer.path().isEmpty() || !line.open(peer.path()))
            return false;
        serial = std::make_unique<SerialRigLink>(line);
        link = std::make_unique<StampedLink>(*serial, stamps);
        poller.setLink(link.get());
        RigSettings settings;
        settings.selectRig(*RigModels::find(QStringView(rig)));
        settings.pollRate = u'F';
        poller.start(RigPollSettings::from(settings, false, {}), clock.ticksMs());
        runner = std::make_unique<RigCommandRunner>(poller, timer, clock);
        runner->setLink(link.get());
        runner->setSidebands(sidebands());
        // The rig window's poll runs throughout, as it would.
        QObject::connect(&pollTimer, &QTimer::timeout, [this] { poller.tick(clock.ticksMs()); });
        pollTimer.start(poller.settings().intervalMs);
        return true;
    }
};

// Pauses measured between the writes on the line: the mode command's after the start, the
// frequency command's after the mode command (each also waits for the line to drain, which on a
// pseudo-terminal read at once takes well under a millisecond).
void BM_PausesAndWindowThreadAgainstAPtyPeer(benchmark::State& state)
{
    const char16_t* rig = state.range(0) == 0 ? u"Kenwood" : u"Yaesu 1000";
    const int commands = 30;
    for (auto _ : state) {
        QElapsedTimer stamps;
        stamps.start();
        Session session;
        if (!session.open(stamps, rig)) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        const double modePauseMs = RigCommandPlan::kModePauseMs;
        const double frequencyPauseMs = session.poller.settings().model->commandDelayMs;
        BusyProbe probe(stamps);
        std::vector<double> overshootMs;
        QEventLoop loop;
        int done = 0;
        qint64 startNs = 0;
        size_t firstSend = 0;
        const auto next = [&] {
            startNs = stamps.nsecsElapsed();
            firstSend = session.link->sentNs.size();
            // Alternate 40 m CW and 20 m phone, so each command has a mode command.
            session.runner->changeFrequency(done % 2 ? 14'200'000 : 7'025'000);
        };
        const QMetaObject::Connection measuring = QObject::connect(session.runner.get(), &RigCommandRunner::idle, [&] {
            // The poll is suspended from the command's first step to its last, so every write
            // since the start is the command's own.
            std::vector<qint64> sends;
            for (size_t i = firstSend; i < session.link->sentNs.size(); ++i)
                sends.push_back(session.link->sentNs[i]);
            if (sends.size() >= 2) {
                overshootMs.push_back(double(sends[0] - startNs) / 1e6 - modePauseMs);
                overshootMs.push_back(double(sends[1] - sends[0]) / 1e6 - frequencyPauseMs);
            }
            if (++done == commands)
                loop.quit();
            else
                QTimer::singleShot(20, next);  // a poll cycle between commands
        });
        next();
        QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(measuring);

        // A scan within 20 m: a 10 Hz step every 299 ms for six seconds.
        qint64 scanHz = 14'200'000;
        QTimer scan;
        scan.setTimerType(Qt::PreciseTimer);
        QObject::connect(&scan, &QTimer::timeout, [&] {
            scanHz = TuneTables::nextScanHz(scanHz, 10, 14'150'000, 14'350'000);
            session.runner->changeFrequency(scanHz);
        });
        scan.start(TuneTables::kScanIntervalMs);
        QTimer::singleShot(6000, &loop, &QEventLoop::quit);
        loop.exec();
        scan.stop();
        session.runner->cancel();

        const double shortest = overshootMs.empty() ? -1 : *std::min_element(overshootMs.begin(), overshootMs.end());
        const double p95 = percentile(overshootMs, 0.95);
        const double busy99 = percentile(probe.busyMs, 0.99);
        const double busyMax = probe.busyMs.empty() ? 0 : *std::max_element(probe.busyMs.begin(), probe.busyMs.end());
        state.counters["pauses"] = double(overshootMs.size());
        state.counters["pause_over_min_ms"] = shortest;
        state.counters["pause_over_p95_ms"] = p95;
        state.counters["pause_over_max_ms"] = percentile(overshootMs, 1.0);
        state.counters["busy_p99_ms"] = busy99;
        state.counters["busy_max_ms"] = busyMax;
        state.SetLabel(QString::fromUtf16(rig).toStdString());
        if (overshootMs.size() != size_t(2 * commands))
            state.SkipWithError("not every command reached the line");
        else if (shortest < 0)
            state.SkipWithError("a pause ended before its nominal length");
        else if (p95 > 10)
            state.SkipWithError("pauses overran by more than 10 ms at the 95th percentile");
        else if (busy99 > 5)
            state.SkipWithError("the window thread was busy more than 5 ms at the 99th percentile");
    }
}
BENCHMARK(BM_PausesAndWindowThreadAgainstAPtyPeer)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

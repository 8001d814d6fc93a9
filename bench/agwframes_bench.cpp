// The packet engine's frames: decoding a stream of monitored spot frames as they arrive in
// socket reads, and the whole way from bytes to the window's outcome (decoder, adapter queue,
// frame rules with the duplicate test). Target: at most 1 us to decode a frame.
#include "platform/OneShotTimer.h"
#include "platform/SettingsStore.h"
#include "platform/TcpClient.h"
#include "spots/AgwFrame.h"
#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

using namespace cubwave;

namespace {

constexpr int kFramesPerStream = 1000;
constexpr double kTargetNsPerFrame = 1000.0;
constexpr double kMinTimeS = 1.0;
constexpr qsizetype kReadBytes = 4096;

AgwFrame monitoredSpot(int i)
{
    AgwFrame f;
    f.kind = 'U';
    f.pid = 0xF0;
    f.callFrom = "W3LPL";
    f.callTo = "DX";
    const QByteArray info = "DX de W3LPL:     14" + QByteArray::number(i % 1000).rightJustified(3, '0')
                            + ".0  K1ABC        cq                1200Z\r";
    f.data = " 1:Fm W3LPL To DX <UI pid=F0 Len=" + QByteArray::number(info.size()) + " >[12:00:00]\r" + info + '\0';
    return f;
}

QByteArray spotStream()
{
    QByteArray bytes;
    for (int i = 0; i < kFramesPerStream; ++i)
        bytes += monitoredSpot(i).encode();
    return bytes;
}

double threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// Per frame, the mean CPU time of the window thread; the wall time also counts other programs on
// a shared machine.
void setPerFrame(benchmark::State& state, std::int64_t frames, double cpuNs)
{
    state.SetItemsProcessed(frames);
    state.counters["cpu_ns_per_frame"] = frames > 0 ? cpuNs / double(frames) : 0.0;
}

void BM_DecodeFrames(benchmark::State& state)
{
    const QByteArray stream = spotStream();
    std::int64_t frames = 0;
    const double start = threadCpuNs();
    for (auto _ : state) {
        AgwFrameDecoder decoder;
        for (qsizetype at = 0; at < stream.size(); at += kReadBytes) {
            decoder.feed(QByteArrayView(stream).sliced(at, std::min(kReadBytes, stream.size() - at)));
            while (std::optional<AgwFrame> f = decoder.next()) {
                benchmark::DoNotOptimize(f->data.constData());
                ++frames;
            }
        }
    }
    const double cpuNs = threadCpuNs() - start;
    setPerFrame(state, frames, cpuNs);
    // Only the run the library reports is judged, not its short sizing runs.
    if (cpuNs >= kMinTimeS * 0.5e9 && cpuNs / double(frames) > kTargetNsPerFrame) {
        static std::string message;
        message = "decoding takes " + std::to_string(cpuNs / double(frames)) + " ns a frame, over 1 us";
        state.SkipWithError(message.c_str());
    }
}
BENCHMARK(BM_DecodeFrames)->Unit(benchmark::kMicrosecond)->MinTime(kMinTimeS);

class PipeClient final : public TcpClient {
public:
    void setHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    void connectTo(const QString&, int) override {}
    void close() override {}
    void closeAfterSending(int) override {}
    bool send(const QByteArray&) override { return true; }
    int state() const override { return kConnected; }
    QByteArray takeInput() override { return std::exchange(input_, {}); }
    void connect() { handlers_.connected(); }
    void arrive(QByteArrayView bytes)
    {
        input_.append(bytes.data(), bytes.size());
        handlers_.dataArrived();
    }

private:
    Handlers handlers_;
    QByteArray input_;
};

class IdleTimer final : public OneShotTimer {
public:
    void start(int, std::function<void()>) override {}
    void stop() override {}
    bool isActive() const override { return false; }
};

class NoSettings final : public SettingsStore {
public:
    QString value(const QString&, const QString& d) const override { return d; }
    void setValue(const QString&, const QString&) override {}
};

// Bytes in, outcomes out, with an 800-character duplicate window over the shown text.
void BM_FramesToOutcomes(benchmark::State& state)
{
    const QByteArray stream = spotStream();
    std::int64_t frames = 0;
    const double start = threadCpuNs();
    for (auto _ : state) {
        PipeClient socket;
        IdleTimer timer;
        NoSettings settings;
        AgwPacketEngine engine(socket, timer, settings);
        engine.startPoll(QStringLiteral("W1AW"));
        socket.connect();
        AgwFrame r;
        r.kind = 'R';
        AgwFrame x;
        x.kind = 'X';
        x.data = QByteArray(1, '\1');
        socket.arrive(r.encode() + x.encode());
        AgwFramePoll poll;
        QString shown;
        const auto isDuplicate = [&shown](const QString& t) {
            return QStringView(shown).right(800).contains(t, Qt::CaseInsensitive);
        };
        const auto sink = [&shown](const AgwFrameOutcome& o) {
            shown += o.show;
            if (shown.size() > 10000)
                shown = shown.right(9000);
        };
        for (qsizetype at = 0; at < stream.size(); at += kReadBytes) {
            socket.arrive(QByteArrayView(stream).sliced(at, std::min(kReadBytes, stream.size() - at)));
            frames += poll.tick(engine, false, isDuplicate, sink);
        }
    }
    setPerFrame(state, frames, threadCpuNs() - start);
}
BENCHMARK(BM_FramesToOutcomes)->Unit(benchmark::kMillisecond);

}  // namespace

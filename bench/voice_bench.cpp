// Voice keyer and voice navigation on the real GStreamer player (a silent sink without a sound
// card), measured on the window thread. Targets:
//  - F-key: at most 5 ms of window-thread time. PTT rises and play starts once the message's
//    fresh pipeline has loaded (key_to_ptt_mean_ms, wall time). The counters show where the
//    time goes.
//  - End of playing to PTT dropped: at most 50 ms. PTT hold minus the file's length: 0 to 250 ms.
//  - A focus change with its cue: at most 5 ms of window-thread time.
// "first_play" shows what a play costs when its pipeline has not been built ahead.
#include "platform/Clock.h"
#include "platform/KeyingLine.h"
#include "platform/ParallelPorts.h"
#include "platform/QtWavePlayer.h"
#include "platform/SerialLine.h"
#include "platform/SystemClock.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceNavigation.h"
#include "voice/WaveDuration.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <ctime>

using namespace cubwave;

namespace {

qint64 monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// The player, noting the time spent in each call.
class TimedPlayer final : public WavePlayer {
public:
    explicit TimedPlayer(WavePlayer& real) : real_(real) {}
    void prepare(const QString& path) override { real_.prepare(path); }
    bool open(const QString& path) override { return timed(openNs, [&] { return real_.open(path); }); }
    bool play() override { return timed(playNs, [&] { return real_.play(); }); }
    void stop() override { real_.stop(); }
    void close() override
    {
        timed(closeNs, [&] {
            real_.close();
            return true;
        });
    }
    bool playing() const override { return real_.playing(); }
    qint64 durationMs() const override { return real_.durationMs(); }
    QString errorText() const override { return real_.errorText(); }
    Readiness readiness() const override { return real_.readiness(); }
    // The window thread is timed on GStreamer's silent sink: no sound output is needed here.
    bool hasSoundOutput() const override { return true; }
    void setChangeListener(std::function<void()> listener) override { real_.setChangeListener(std::move(listener)); }

    qint64 openNs = 0, playNs = 0, closeNs = 0;

private:
    template <typename F>
    bool timed(qint64& sum, F f)
    {
        const qint64 t = monotonicNs();
        const bool ok = f();
        sum += monotonicNs() - t;
        return ok;
    }
    WavePlayer& real_;
};

// A serial port whose RTS and DTR only note when they move.
class NotingSerialLine final : public SerialLine {
public:
    bool open(const QString& path) override
    {
        path_ = path;
        open_ = true;
        return true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QString devicePath() const override { return path_; }
    QString errorText() const override { return {}; }
    bool setSettings(const QString&) override { return true; }
    bool setHandshaking(int) override { return true; }
    bool setModemLine(ModemLine, bool raised) override
    {
        (raised ? raisedNs : droppedNs) = monotonicNs();
        return true;
    }
    bool write(const QByteArray&) override { return true; }
    QByteArray readAll() override { return {}; }
    qint64 outputCount() override { return 0; }
    void discardOutput() override {}
    std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine) override { return nullptr; }

    qint64 raisedNs = 0, droppedNs = 0;

private:
    QString path_;
    bool open_ = false;
};

class NoParallelPorts final : public ParallelPorts {
public:
    Opened open(quint16) override { return {nullptr, {}, QStringLiteral("none here")}; }
};

const QString kCueDir = QStringLiteral(CUBWAVE_SOURCE_DIR "/data-extra/voice-cues");

void runEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Keyer {
    QtWavePlayer real;
    TimedPlayer player{real};
    NotingSerialLine serial;
    NoParallelPorts parallel;
    SystemClock clock;
    VoiceKeyer keyer{{player, serial, parallel, [] { return SerialPortMap::parse("1=/dev/ttyBENCH\n"); }, clock}};

    explicit Keyer(const QString& message)
    {
        VoiceSettings s;
        s.paths[0] = message;
        s.port = "1";
        keyer.setSettings(s);
        keyer.prepareWaitingNow();
        keyer.openPttLine();
        runEvents(300);  // the pipeline finishes loading in the background
    }
};

void BM_FKeyToPttAndPlay(benchmark::State& state)
{
    Keyer k(kCueDir + "/NavEn.wav");
    qint64 totalNs = 0, worstNs = 0, n = 0, keyToPttNs = 0;
    for (auto _ : state) {
        const qint64 t = monotonicNs();
        k.keyer.fKeyPhone(VoiceKeyer::kF1);
        const qint64 took = monotonicNs() - t;
        state.SetIterationTime(static_cast<double>(took) / 1e9);
        // Each play gets a freshly loaded pipeline: PTT rises once it has loaded.
        QElapsedTimer wait;
        wait.start();
        while (k.serial.raisedNs < t && k.keyer.messageOn() && wait.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (k.serial.raisedNs < t || !k.keyer.messageOn())
            state.SkipWithError("PTT was not raised");
        keyToPttNs += k.serial.raisedNs - t;
        totalNs += took;
        worstNs = std::max(worstNs, took);
        ++n;
        k.keyer.stop();
        runEvents(20);
    }
    state.counters["mean_ms"] = static_cast<double>(totalNs) / n / 1e6;
    state.counters["worst_ms"] = static_cast<double>(worstNs) / 1e6;
    state.counters["key_to_ptt_mean_ms"] = static_cast<double>(keyToPttNs) / n / 1e6;
    state.counters["close_ms"] = static_cast<double>(k.player.closeNs) / n / 1e6;
    state.counters["open_ms"] = static_cast<double>(k.player.openNs) / n / 1e6;
    state.counters["play_ms"] = static_cast<double>(k.player.playNs) / n / 1e6;
}
BENCHMARK(BM_FKeyToPttAndPlay)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FKeyFirstPlayUnprepared(benchmark::State& state)
{
    QTemporaryDir dir;
    Keyer k(kCueDir + "/Call.wav");
    int i = 0;
    for (auto _ : state) {
        // A file the player has not seen: its pipeline is built inside the key press.
        const QString copy = dir.filePath(QStringLiteral("m%1.wav").arg(i++));
        QFile::copy(kCueDir + "/Call.wav", copy);
        VoiceSettings s = k.keyer.settings();
        s.paths[1] = copy;
        k.keyer.setSettings(s);  // its preparation would run on a later turn of the loop
        const qint64 t = monotonicNs();
        k.keyer.fKeyPhone(VoiceKeyer::kF1 + 1);
        state.SetIterationTime(static_cast<double>(monotonicNs() - t) / 1e9);
        k.keyer.stop();
        runEvents(20);
    }
}
BENCHMARK(BM_FKeyFirstPlayUnprepared)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_EndOfPlayingToPttDropped(benchmark::State& state)
{
    const QString message = kCueDir + "/Name.wav";
    const qint64 lengthMs = WaveDuration::ofFile(message);
    Keyer k(message);
    qint64 worstEndToDropNs = 0, sumEndToDropNs = 0, worstOverNs = 0, sumOverNs = 0, leastOverNs = 1'000'000'000, n = 0;
    for (auto _ : state) {
        qint64 endNs = 0;
        // The moment the player stops playing, seen 1 ms at a time.
        QTimer watch;
        watch.setInterval(1);
        // Watched from PTT up: before it the fresh pipeline is still loading, not playing.
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!endNs && k.serial.raisedNs && !k.real.playing())
                endNs = monotonicNs();
        });
        k.serial.droppedNs = 0;
        k.serial.raisedNs = 0;
        k.keyer.fKeyPhone(VoiceKeyer::kF1);
        watch.start();
        QElapsedTimer t;
        t.start();
        while (k.keyer.messageOn() && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        watch.stop();
        // The keyer hears of the end from the player itself and may drop PTT before the watch
        // looks again: the end was then seen no earlier than the drop.
        if (!endNs)
            endNs = k.serial.droppedNs;
        if (!k.serial.droppedNs || !endNs) {
            state.SkipWithError("the message did not end");
            break;
        }
        const qint64 endToDrop = std::max<qint64>(0, k.serial.droppedNs - endNs);
        const qint64 over = k.serial.droppedNs - k.serial.raisedNs - lengthMs * 1'000'000;
        state.SetIterationTime(static_cast<double>(endToDrop) / 1e9);
        worstEndToDropNs = std::max(worstEndToDropNs, endToDrop);
        sumEndToDropNs += endToDrop;
        worstOverNs = std::max(worstOverNs, over);
        leastOverNs = std::min(leastOverNs, over);
        sumOverNs += over;
        ++n;
        runEvents(50);
    }
    if (n == 0)
        return;
    state.counters["end_to_drop_mean_ms"] = static_cast<double>(sumEndToDropNs) / n / 1e6;
    state.counters["end_to_drop_worst_ms"] = static_cast<double>(worstEndToDropNs) / 1e6;
    state.counters["hold_minus_length_mean_ms"] = static_cast<double>(sumOverNs) / n / 1e6;
    state.counters["hold_minus_length_least_ms"] = static_cast<double>(leastOverNs) / 1e6;
    state.counters["hold_minus_length_worst_ms"] = static_cast<double>(worstOverNs) / 1e6;
}
BENCHMARK(BM_EndOfPlayingToPttDropped)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FocusCue(benchmark::State& state)
{
    QTemporaryDir dir;
    for (const QString& name : QDir(kCueDir).entryList({QStringLiteral("*.wav")}))
        QFile::copy(kCueDir + "/" + name, dir.filePath(name));
    QtWavePlayer real;
    TimedPlayer player(real);
    SystemClock clock;
    VoiceNavigation nav(player, clock, dir.path(), VoiceNavigation::kAllFields);
    nav.prepareWaitingNow();
    nav.announceLevel();
    runEvents(2000);
    const VoiceNavigation::Field fields[] = {VoiceNavigation::Field::Call, VoiceNavigation::Field::Name,
                                             VoiceNavigation::Field::Age, VoiceNavigation::Field::Spc,
                                             VoiceNavigation::Field::Other};
    qint64 worstNs = 0;
    int i = 0;
    player.openNs = player.playNs = player.closeNs = 0;
    for (auto _ : state) {
        const qint64 t = monotonicNs();
        nav.fieldFocused(fields[i++ % 5]);
        const qint64 took = monotonicNs() - t;
        state.SetIterationTime(static_cast<double>(took) / 1e9);
        worstNs = std::max(worstNs, took);
        if (!nav.cuePlaying())
            state.SkipWithError("no cue played");
        runEvents(30);  // the operator tabs on before the cue has ended
    }
    state.counters["worst_ms"] = static_cast<double>(worstNs) / 1e6;
    state.counters["close_ms"] = static_cast<double>(player.closeNs) / i / 1e6;
    state.counters["open_ms"] = static_cast<double>(player.openNs) / i / 1e6;
    state.counters["play_ms"] = static_cast<double>(player.playNs) / i / 1e6;
}
BENCHMARK(BM_FocusCue)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

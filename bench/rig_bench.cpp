// Rig replies and settings. Targets: a whole reply decoded within 1 us for every family; 64 KB of
// garbage through the assembler and decoder within 2 ms; a read tick with its labels within
// 0.3 ms, so "100 ms" polling costs the window thread under 1 %; "RigCntrl.txt" read or written
// within 1 ms (the disk sync excluded).
#include "rig/ReplyAssembler.h"
#include "rig/RigPoller.h"
#include "rig/RigReplyDecoder.h"
#include "rig/RigSettingsFile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace cubwave;

namespace {

QByteArray hex(const char* spaced) { return QByteArray::fromHex(spaced); }

struct Sample {
    const char16_t* model;
    QByteArray reply;
    bool frequencyQueryLast;
};

QByteArray record(int length, int at, const QByteArray& bytes, int modeAt, char mode)
{
    QByteArray r(length, '\0');
    r.replace(at - 1, bytes.size(), bytes);
    r[modeAt - 1] = mode;
    return r;
}

const Sample kSamples[] = {
    {u"Kenwood", "FA00014025000;", true},
    {u"Kenwood 2", "IF00014025000     +000000000030000000;", true},
    {u"Icom", hex("FE FE E0 64 03 00 50 02 14 00 FD"), true},
    {u"Icom", hex("FE FE E0 64 04 03 01 FD"), false},
    {u"Yaesu", hex("01 40 25 00 02"), true},
    {u"Yaesu 757 GX II", record(75, 6, hex("00 25 40 01"), 10, 2), true},
    {u"Yaesu 890", record(19, 3, hex("15 66 84"), 8, 2), true},
    {u"Yaesu 920", record(28, 2, hex("00 D6 01 28"), 8, 0x41), true},
    {u"Yaesu 1000", record(16, 2, hex("01 56 68 40"), 8, 2), true},
    {u"Yaesu FTdx9000", "FA014025000;", true},
    {u"Ten Tec Fnt Pnl", QByteArray("A") + hex("00 D6 01 28") + "\r", true},
    {u"Ten Tec Orion", "@AF14025000\r", true},
};

void BM_DecodeWholeReply(benchmark::State& state)
{
    const Sample& sample = kSamples[state.range(0)];
    const RigModel& model = *RigModels::find(QStringView(sample.model));
    const QString frequencyQuery = QString::fromLatin1(model.defaults.frequencyQuery);
    const QString modeQuery = QString::fromLatin1(model.defaults.modeQuery);
    const RigDecodeContext context{frequencyQuery, modeQuery, sample.frequencyQueryLast};
    for (auto _ : state) {
        const RigReading reading = RigReplyDecoder::decode(model, sample.reply, context);
        benchmark::DoNotOptimize(reading);
    }
    state.SetLabel(QString::fromUtf16(sample.model).toStdString());
}
BENCHMARK(BM_DecodeWholeReply)->DenseRange(0, std::size(kSamples) - 1)->Unit(benchmark::kNanosecond);

// 64 KB of random bytes in 1 KB reads, as a wrong baud rate or a noisy line delivers them.
void BM_GarbageThroughAssemblerAndDecoder(benchmark::State& state)
{
    const char16_t* const models[] = {u"Kenwood", u"Icom", u"Yaesu 890", u"Ten Tec Orion", u"Other"};
    const RigModel& model = *RigModels::find(QStringView(models[state.range(0)]));
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(13);
    for (char& c : garbage)
        c = char(random.bounded(256));
    const RigDecodeContext context{u"FA;", u"MD;", true};
    for (auto _ : state) {
        ReplyAssembler assembler(model);
        int found = 0;
        for (qsizetype at = 0; at < garbage.size(); at += 1024) {
            if (!assembler.holdsPartialReply())
                assembler.queryOut(0, model.frequencyReplyBytes);
            assembler.feed(QByteArrayView(garbage).sliced(at, 1024), [&](QByteArrayView reply) {
                found += !RigReplyDecoder::decode(model, reply, context).empty();
            });
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(QString::fromUtf16(models[state.range(0)]).toStdString());
}
BENCHMARK(BM_GarbageThroughAssemblerAndDecoder)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

class ReplyingLink final : public RigLink {
public:
    std::optional<qint64> pendingOutputBytes() override { return 0; }
    bool send(const QByteArray&) override { return true; }
    std::optional<QByteArray> takeInput() override { return std::exchange(input, QByteArray()); }
    QString failureReason() const override { return {}; }
    QByteArray input;
};

// A send tick and the read tick that decodes the answer and builds the three labels.
void BM_PollCycleWithLabels(benchmark::State& state)
{
    ReplyingLink link;
    RigPoller poller(&link);
    RigSettings settings;
    settings.selectRig(*RigModels::find(u"Kenwood"));
    poller.start(RigPollSettings::from(settings, state.range(0) == 1, {}), 0);
    qint64 now = 0;
    for (auto _ : state) {
        poller.tick(now += 50);
        link.input = "FA00014025000;MD3;";
        const RigTickResult result = poller.tick(now += 50);
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(state.range(0) == 1 ? "hex label" : "text label");
}
BENCHMARK(BM_PollCycleWithLabels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

RigSettings sampleSettings()
{
    RigSettings s;
    s.selectRig(*RigModels::find(u"Icom"));
    s.port = 4;
    return s;
}

void BM_SettingsRead(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(RigSettingsFile::kFileName);
    RigSettingsFile::write(path, sampleSettings());
    for (auto _ : state) {
        const RigSettings s = RigSettingsFile::read(path);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMicrosecond);

// Serializing and writing the bytes to a new file; the atomic replace adds a sync that depends on
// the disk. (Truncating the old file instead would make ext4 flush it on close, a sync too.)
void BM_SettingsWriteWithoutSync(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(RigSettingsFile::kFileName);
    const RigSettings settings = sampleSettings();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(RigSettingsFile::serialize(settings));
    }
}
BENCHMARK(BM_SettingsWriteWithoutSync)->Unit(benchmark::kMicrosecond);

}  // namespace


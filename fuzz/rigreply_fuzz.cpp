// Radio replies from a hostile line: the first byte picks the rig, the second the read size, the
// rest arrives in reads of that size. The assembler must hand the same whole replies however
// framed text is cut, every decoded frequency must be a real number, and the poll must run on.
#include "rig/ReplyAssembler.h"
#include "rig/RigPoller.h"
#include "rig/RigReplyDecoder.h"

#include <QList>

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

class FuzzLink final : public RigLink {
public:
    std::optional<qint64> pendingOutputBytes() override { return 0; }
    bool send(const QByteArray&) override { return true; }
    std::optional<QByteArray> takeInput() override { return std::exchange(input, QByteArray()); }
    QString failureReason() const override { return {}; }
    QByteArray input;
};

QList<QByteArray> replies(const RigModel& model, QByteArrayView bytes, qsizetype readSize)
{
    ReplyAssembler assembler(model);
    assembler.queryOut(0, model.frequencyReplyBytes);
    QList<QByteArray> out;
    for (qsizetype at = 0; at < bytes.size(); at += readSize) {
        assembler.feed(bytes.sliced(at, std::min(readSize, bytes.size() - at)),
                       [&out](QByteArrayView reply) { out.append(reply.toByteArray()); });
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const auto models = RigModels::all();
    const RigModel& model = models[data[0] % models.size()];
    const qsizetype readSize = 1 + data[1] % 64;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));

    const QList<QByteArray> chunked = replies(model, bytes, readSize);
    if ((model.framing == ReplyFraming::Terminated || model.framing == ReplyFraming::CiVFrame)
        && bytes.size() < 1024 && chunked != replies(model, bytes, bytes.size() + 1))
        std::abort();  // text and frames do not depend on how the line cut them

    const QString frequencyQuery = QString::fromLatin1(model.defaults.frequencyQuery);
    const QString modeQuery = QString::fromLatin1(model.defaults.modeQuery);
    for (const QByteArray& reply : chunked) {
        for (bool frequencyLast : {true, false}) {
            const RigReading reading =
                RigReplyDecoder::decode(model, reply, {frequencyQuery, modeQuery, frequencyLast});
            if (reading.frequencyMHz && (!std::isfinite(*reading.frequencyMHz) || *reading.frequencyMHz < 0))
                std::abort();
        }
    }

    FuzzLink link;
    RigPoller poller(&link);
    RigSettings settings;
    settings.selectRig(model);
    settings.modeBy = ModeSource::Frequency;
    poller.start(RigPollSettings::from(settings, data[1] & 1, {}), 0);
    qint64 now = 0;
    for (qsizetype at = 0; at < bytes.size(); at += readSize) {
        poller.tick(now += 50);  // send
        link.input = bytes.sliced(at, std::min(readSize, bytes.size() - at)).toByteArray();
        const RigTickResult result = poller.tick(now += 50);
        if (result.bandReportMHz && !(*result.bandReportMHz > 0))
            std::abort();
        if (result.unprocessedLabel && result.unprocessedLabel->size() > 3 * RigPoller::kUnprocessedBytes)
            std::abort();
    }
    return 0;
}

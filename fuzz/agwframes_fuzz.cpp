// The packet engine's stream from a hostile peer, through the frame decoder, the engine adapter
// and the frame rules. The first byte picks the read size, the second the "List DX Only" box; the
// rest is the stream. The decoder must give the same frames however the stream is cut, hold no
// more than its bound, and stop for good at an announced length over 64 KiB; the adapter's
// queue and frames stay within their bounds; what the rules hand over is a spot line that was
// shown, and the connected station follows the connection reports.
#include "platform/OneShotTimer.h"
#include "platform/SettingsStore.h"
#include "platform/TcpClient.h"
#include "spots/AgwFrame.h"
#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace cubwave;

namespace {

void require(bool ok)
{
    if (!ok)
        std::abort();
}

// The engine's side of the socket: the driver hands it bytes as they "arrive".
class PipeClient final : public TcpClient {
public:
    void setHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    void connectTo(const QString&, int) override { state_ = kConnecting; }
    void close() override { state_ = kClosed; }
    void closeAfterSending(int) override { state_ = kClosed; }
    bool send(const QByteArray&) override { return state_ == kConnected; }
    int state() const override { return state_; }
    QByteArray takeInput() override { return std::exchange(input_, {}); }

    void accept()
    {
        state_ = kConnected;
        handlers_.connected();
    }
    void arrive(QByteArrayView bytes)
    {
        if (state_ != kConnected)
            return;
        input_.append(bytes.data(), bytes.size());
        handlers_.dataArrived();
    }

private:
    Handlers handlers_;
    QByteArray input_;
    int state_ = kClosed;
};

class IdleTimer final : public OneShotTimer {
public:
    void start(int, std::function<void()>) override { active_ = true; }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }

private:
    bool active_ = false;
};

class NoSettings final : public SettingsStore {
public:
    QString value(const QString&, const QString& defaultValue) const override { return defaultValue; }
    void setValue(const QString&, const QString&) override {}
};

std::vector<AgwFrame> decode(QByteArrayView bytes, qsizetype pieceSize, bool* failed)
{
    AgwFrameDecoder decoder;
    std::vector<AgwFrame> frames;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        decoder.feed(bytes.sliced(at, std::min(pieceSize, bytes.size() - at)));
        require(decoder.pendingBytes() <= AgwFrame::kHeaderBytes + AgwFrameDecoder::kMaxDataBytes + pieceSize);
        while (std::optional<AgwFrame> f = decoder.next()) {
            require(f->callFrom.size() <= AgwFrame::kCallBytes && f->callTo.size() <= AgwFrame::kCallBytes);
            require(f->data.size() <= AgwFrameDecoder::kMaxDataBytes);
            frames.push_back(*f);
        }
    }
    *failed = decoder.failed();
    return frames;
}

QByteArray answer(char kind, const QByteArray& call, const QByteArray& data)
{
    AgwFrame f;
    f.kind = kind;
    f.callFrom = call;
    f.data = data;
    return f.encode();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype pieceSize = 1 + data[0] % 64;
    const bool listDxOnly = data[1] & 1;
    const QByteArrayView stream(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));

    bool wholeFailed = false;
    bool piecesFailed = false;
    const std::vector<AgwFrame> whole = decode(stream, std::max<qsizetype>(1, stream.size()), &wholeFailed);
    const std::vector<AgwFrame> pieces = decode(stream, pieceSize, &piecesFailed);
    require(whole == pieces && wholeFailed == piecesFailed);

    PipeClient socket;
    IdleTimer timer;
    NoSettings settings;
    AgwPacketEngine engine(socket, timer, settings);
    bool lost = false;
    engine.setHandlers({{}, [&lost](const QString&) { lost = true; }});
    require(engine.startPoll(QStringLiteral("W1AW")));
    socket.accept();
    socket.arrive(answer('R', {}, QByteArray(8, '\0')));
    socket.arrive(answer('X', "W1AW", QByteArray(1, '\1')));
    require(engine.isStarted());

    AgwFramePoll poll;
    QString received;
    const auto isDuplicate = [&received](const QString& t) { return received.right(800).contains(t, Qt::CaseInsensitive); };
    const auto sink = [&](const AgwFrameOutcome& o) {
        if (!o.spotLine.isEmpty()) {
            require(o.spotLine.startsWith(QLatin1String("DX"), Qt::CaseInsensitive));
            require(o.show.endsWith(o.spotLine) && o.show.size() <= o.spotLine.size() + 1);
        }
        if (o.event == AgwFrameOutcome::Event::Connected)
            require(!o.station.isEmpty() && poll.connectedStation() == o.station);
        received += o.show;
        if (received.size() > 10000)
            received = received.right(9000);
    };
    for (qsizetype at = 0; at < stream.size(); at += pieceSize) {
        socket.arrive(stream.sliced(at, std::min(pieceSize, stream.size() - at)));
        require(engine.queuedFrames() <= AgwPacketEngine::kMaxQueuedFrames);
        const int taken = poll.tick(engine, listDxOnly, isDuplicate, sink);
        require(taken <= AgwFramePoll::kFramesPerTick);
    }
    while (poll.tick(engine, listDxOnly, isDuplicate, sink) > 0) {
    }
    // A length over the bound ends the connection; nothing else does.
    require(lost == wholeFailed);
    return 0;
}

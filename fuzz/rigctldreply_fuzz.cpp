// rigctld's answers from a hostile peer: the first byte picks the request (0, 1 or 2 value
// lines), the second the read size, the rest arrives in reads of that size. The reader must
// come to the same answer however the stream is cut, never hold more than its bound, and every
// value it passes on must read as a sane frequency, mode or passband or be refused.
#include "rig/RigctldReplies.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

struct Outcome {
    RigctldReplyReader::Status status;
    RigctldReply reply;
};

Outcome read(int valueLines, QByteArrayView bytes, qsizetype readSize)
{
    RigctldReplyReader reader;
    reader.expect(valueLines);
    RigctldReplyReader::Status status = RigctldReplyReader::Status::NeedMore;
    // Bytes after a whole answer make it malformed, so every piece is fed.
    for (qsizetype at = 0; at < bytes.size() && status != RigctldReplyReader::Status::Malformed; at += readSize)
        status = reader.feed(bytes.sliced(at, std::min(readSize, bytes.size() - at)));
    return {status, reader.reply()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int valueLines = data[0] % 3;
    const qsizetype readSize = 1 + data[1] % 32;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));

    const Outcome cut = read(valueLines, bytes, readSize);
    const Outcome whole = read(valueLines, bytes, bytes.size() + 1);
    // However the stream was cut: the same verdict, and the same answer.
    if (whole.status != cut.status)
        std::abort();
    if (cut.status == RigctldReplyReader::Status::Done
        && (whole.reply.lines != cut.reply.lines || whole.reply.rprt != cut.reply.rprt))
        std::abort();
    if (cut.status == RigctldReplyReader::Status::Done) {
        if (!cut.reply.rprt && cut.reply.lines.size() != valueLines)
            std::abort();
        for (const QByteArray& line : cut.reply.lines) {
            if (line.size() > RigctldReplyReader::kMaxLineBytes || line.contains('\n'))
                std::abort();
            if (const std::optional<qint64> hz = RigctldValues::frequencyHz(line); hz && (*hz <= 0 || *hz >= 1000000000000))
                std::abort();
            if (RigctldValues::isModeName(line)) {
                const char* mode = RigctldValues::loggingMode(line);
                if (QByteArrayView(mode) != "CW" && QByteArrayView(mode) != "PH")
                    std::abort();
            }
            RigctldValues::isPassband(line);
        }
        if (cut.reply.rprt)
            RigctldValues::errorText(*cut.reply.rprt);
    }
    return 0;
}

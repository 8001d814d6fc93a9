// Icom CI-V (the CI-V reference in the radios' manuals; the Ten-Tec Omni VI emulates it): frames
// FE FE to from command data FD on one shared line, so the controller hears its own frame back
// before the answer. Frequencies are BCD, least significant byte first.
#include "SimulatedRadio.h"

namespace cubwave::test {

namespace {

constexpr unsigned char kController = 0xE0;

unsigned char civMode(RadioMode mode)
{
    switch (mode) {
    case RadioMode::Lsb: return 0x00;
    case RadioMode::Usb: return 0x01;
    case RadioMode::Am: return 0x02;
    case RadioMode::Cw: return 0x03;
    case RadioMode::Fm: return 0x05;
    case RadioMode::CwReverse: return 0x07;
    }
    return 0x01;
}

class IcomRadio final : public SimulatedRadio {
public:
    IcomRadio(unsigned char address, int frequencyBytes) : address_(address), frequencyBytes_(frequencyBytes) {}

    QByteArray answer(QByteArray& input) override
    {
        QByteArray out;
        while (true) {
            const qsizetype start = input.indexOf("\xFE\xFE");
            if (start < 0) {
                input.clear();
                return out;
            }
            const qsizetype end = input.indexOf('\xFD', start);
            if (end < 0) {
                input.remove(0, start);
                return out;
            }
            const QByteArray frame = input.mid(start, end + 1 - start);
            input.remove(0, end + 1);
            out += frame;  // the bus echo
            if (frame.size() >= 6 && static_cast<unsigned char>(frame[2]) == address_)
                out += reply(frame.mid(4, frame.size() - 5));
        }
    }

private:
    QByteArray frameOf(const QByteArray& body) const
    {
        return QByteArray("\xFE\xFE") + char(kController) + char(address_) + body + '\xFD';
    }

    QByteArray bcdFrequency() const
    {
        QByteArray bytes;
        qint64 hz = frequencyHz;
        for (int i = 0; i < frequencyBytes_; ++i) {
            const int pair = int(hz % 100);
            bytes.append(char((pair / 10) << 4 | pair % 10));
            hz /= 100;
        }
        return bytes;
    }

    QByteArray reply(const QByteArray& body)
    {
        const auto command = static_cast<unsigned char>(body[0]);
        const QByteArray ok = frameOf("\xFB");
        switch (command) {
        case 0x03:
            return frameOf(QByteArray(1, 0x03) + bcdFrequency());
        case 0x04:
            return frameOf(QByteArray(1, 0x04) + char(civMode(mode)) + (frequencyBytes_ == 4 ? "" : "\x01"));
        case 0x05:
        case 0x00:
            if (body.size() == 1 + frequencyBytes_) {
                qint64 hz = 0;
                for (int i = frequencyBytes_; i >= 1; --i) {
                    const auto b = static_cast<unsigned char>(body[i]);
                    hz = hz * 100 + (b >> 4) * 10 + (b & 15);
                }
                tune(hz);
            }
            return ok;
        case 0x06:
        case 0x01:
            for (RadioMode m : {RadioMode::Lsb, RadioMode::Usb, RadioMode::Am, RadioMode::Cw, RadioMode::Fm,
                                RadioMode::CwReverse}) {
                if (body.size() >= 2 && static_cast<unsigned char>(body[1]) == civMode(m))
                    mode = m;
            }
            return ok;
        case 0x07:  // VFO select
        case 0x0F:  // split
            return ok;
        case 0x19:  // transceiver ID
            return frameOf(QByteArray("\x19\x00", 2) + char(address_));
        default:
            unknown(body);
            return frameOf("\xFA");
        }
    }

    unsigned char address_;
    int frequencyBytes_;
};

}  // namespace

std::unique_ptr<SimulatedRadio> makeIcomRadio(unsigned char address, int frequencyBytes)
{
    return std::make_unique<IcomRadio>(address, frequencyBytes);
}

}  // namespace cubwave::test

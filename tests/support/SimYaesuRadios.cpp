// Yaesu CAT (the radios' operating manuals): five-byte commands, the opcode last. The FT-817
// family answers "read frequency and mode" with four BCD bytes and a mode byte; the older HF
// radios answer "status update" with a fixed-length binary record; the FTdx9000 speaks text.
#include "SimulatedRadio.h"

#include <QByteArrayView>

#include <algorithm>

namespace cubwave::test {

namespace {

QByteArray bigEndian(qint64 value, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[i] = char(value & 0xFF);
    return out;
}

// BCD digits of value, two per byte; most significant byte first unless reversed.
QByteArray bcd(qint64 value, int bytes, bool leastFirst)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i, value /= 100) {
        const int pair = int(value % 100);
        out.append(char((pair / 10) << 4 | pair % 10));
    }
    if (!leastFirst)
        std::reverse(out.begin(), out.end());
    return out;
}

qint64 fromBcd(QByteArrayView bytes, bool leastFirst)
{
    qint64 value = 0;
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const auto b = static_cast<unsigned char>(bytes[leastFirst ? bytes.size() - 1 - k : k]);
        value = value * 100 + (b >> 4) * 10 + (b & 15);
    }
    return value;
}

class FiveByteCommands : public SimulatedRadio {
public:
    QByteArray answer(QByteArray& input) override
    {
        QByteArray out;
        while (input.size() >= 5) {
            const QByteArray command = input.left(5);
            input.remove(0, 5);
            out += answerOne(command);
        }
        return out;
    }

protected:
    virtual QByteArray answerOne(const QByteArray& command) = 0;
    static unsigned char opcode(const QByteArray& c) { return static_cast<unsigned char>(c[4]); }
};

// FT-817/857/897.
class YaesuFiveByteRadio final : public FiveByteCommands {
    static unsigned char modeByte(RadioMode mode)
    {
        switch (mode) {
        case RadioMode::Lsb: return 0x00;
        case RadioMode::Usb: return 0x01;
        case RadioMode::Cw: return 0x02;
        case RadioMode::CwReverse: return 0x03;
        case RadioMode::Am: return 0x04;
        case RadioMode::Fm: return 0x08;
        }
        return 0x01;
    }

    QByteArray answerOne(const QByteArray& c) override
    {
        switch (opcode(c)) {
        case 0x03:  // read frequency and mode
            return bcd(frequencyHz / 10, 4, false) + char(modeByte(mode));
        case 0x01:  // set frequency
            tune(fromBcd(QByteArrayView(c).first(4), false) * 10);
            return {};
        case 0x07:  // set mode
            for (RadioMode m : {RadioMode::Lsb, RadioMode::Usb, RadioMode::Cw, RadioMode::CwReverse, RadioMode::Am,
                                RadioMode::Fm}) {
                if (static_cast<unsigned char>(c[0]) == modeByte(m))
                    mode = m;
            }
            return {};
        case 0x00:  // lock on, lock off: the previous lock state
        case 0x80:
            return QByteArray(1, '\0');
        case 0xE7:  // receive and transmit status
        case 0xF7:
            return QByteArray(1, '\0');
        case 0xBB:  // read EEPROM
            return QByteArray(2, '\0');
        case 0x08:
        case 0x88:
            return QByteArray(1, '\0');
        default:
            unknown(c);
            return {};
        }
    }
};

class YaesuStatusRadio final : public FiveByteCommands {
public:
    explicit YaesuStatusRadio(YaesuStatusKind kind) : kind_(kind) {}

private:
    // One VFO's record as the radio lays it out.
    QByteArray vfoRecord() const
    {
        const bool cw = mode == RadioMode::Cw || mode == RadioMode::CwReverse;
        switch (kind_) {
        case YaesuStatusKind::Ft890: {  // band, 3 bytes of 10 Hz, clarifier, mode, tone, flags
            const char m = cw ? 2 : mode == RadioMode::Lsb ? 0 : mode == RadioMode::Am ? 3 : mode == RadioMode::Fm ? 4 : 1;
            return QByteArray(1, 0x07) + bigEndian(frequencyHz / 10, 3) + QByteArray(2, '\0') + m + QByteArray(2, '\0');
        }
        case YaesuStatusKind::Ft920: {  // band, 4 bytes of hertz, clarifier, mode, 6 more
            char m = cw ? 0x41 : mode == RadioMode::Lsb ? 0x00 : mode == RadioMode::Am ? 0x02
                                 : mode == RadioMode::Fm ? 0x03 : 0x40;
            if (mode == RadioMode::CwReverse)
                m = 0x01;
            return QByteArray(1, 0x07) + bigEndian(frequencyHz, 4) + QByteArray(2, '\0') + m + QByteArray(6, '\0');
        }
        case YaesuStatusKind::Ft990:
        case YaesuStatusKind::Ft1000D: {  // band, 3 bytes of 10 Hz, status, clarifier, mode, 8 more
            const char m = cw ? 2 : mode == RadioMode::Lsb ? 0 : mode == RadioMode::Am ? 3 : mode == RadioMode::Fm ? 4 : 1;
            return QByteArray(1, 0x07) + bigEndian(frequencyHz / 10, 3) + QByteArray(3, '\0') + m + QByteArray(8, '\0');
        }
        case YaesuStatusKind::Ft1000MP: {  // status, 4 bytes of 0.625 Hz, clarifier, mode, filter, 7 more
            const char m = cw ? 2 : mode == RadioMode::Lsb ? 0 : mode == RadioMode::Am ? 3 : mode == RadioMode::Fm ? 4 : 1;
            // Bit 7 of the filter byte tells CW on the upper side from CW reverse.
            const char filter = mode == RadioMode::Cw ? char(0x80) : 0;
            return QByteArray(1, '\0') + bigEndian(frequencyHz * 16 / 10, 4) + QByteArray(2, '\0') + m + filter
                   + QByteArray(7, '\0');
        }
        case YaesuStatusKind::Ft757GxII:
            break;
        }
        return {};
    }

    // The FT-757GX II's 75 bytes: flags, four bytes, then the operating frequency (BCD of 10 Hz,
    // least significant first) and mode, VFO A, VFO B, and eleven memories.
    QByteArray record757() const
    {
        const char m = mode == RadioMode::Lsb ? 0 : mode == RadioMode::Usb ? 1 : mode == RadioMode::Cw ? 2
                       : mode == RadioMode::CwReverse ? 3 : mode == RadioMode::Am ? 4 : 5;
        const QByteArray vfo = bcd(frequencyHz / 10, 4, true) + m;
        QByteArray r = QByteArray(5, '\0') + vfo + vfo + vfo;
        return r + QByteArray(75 - r.size(), '\0');
    }

    QByteArray update(unsigned char p1) const
    {
        if (kind_ == YaesuStatusKind::Ft757GxII)
            return record757();
        const QByteArray one = vfoRecord();
        switch (p1) {
        case 0x01:
            return QByteArray(1, '\0');  // memory channel
        case 0x02:
            // Current operating data: the FT-890 leads with the memory channel; the FT-890,
            // FT-920 and FT-990 add the sub display.
            if (kind_ == YaesuStatusKind::Ft890)
                return QByteArray(1, '\0') + one + one;
            if (kind_ == YaesuStatusKind::Ft920 || kind_ == YaesuStatusKind::Ft990)
                return one + one;
            return one;
        case 0x03:
            return one + one;  // VFO A and B
        default:
            return {};
        }
    }

    QByteArray answerOne(const QByteArray& c) override
    {
        switch (opcode(c)) {
        case 0x10:
            return update(static_cast<unsigned char>(c[3]));
        case 0x0A:  // set frequency: BCD of 10 Hz, least significant first
            tune(fromBcd(QByteArrayView(c).first(4), true) * 10);
            return {};
        case 0x0C: {  // set mode: LSB, USB, CW wide, CW narrow, AM wide, AM narrow, FM in the fourth byte
            static const RadioMode byValue[] = {RadioMode::Lsb, RadioMode::Usb, RadioMode::Cw, RadioMode::Cw,
                                                RadioMode::Am,  RadioMode::Am,  RadioMode::Fm};
            const auto m = static_cast<unsigned char>(c[3]);
            if (m < std::size(byValue))
                mode = byValue[m];
            return {};
        }
        case 0xFA:  // status flags; the FT-890 sets bit 7 of the first for VFO operation
            if (kind_ == YaesuStatusKind::Ft890)
                return QByteArray(1, char(0x80)) + QByteArray(4, '\0');
            return QByteArray(kind_ == YaesuStatusKind::Ft920 ? 8 : 5, '\0');
        case 0xF7:  // meter
            return QByteArray(5, '\0');
        case 0x00:  // FT-757: lock on and off; others: split and the like, no answer
        case 0x80:
        case 0x01:
        case 0x05:
        case 0x0E:
            return {};
        default:
            unknown(c);
            return {};
        }
    }

    YaesuStatusKind kind_;
};

// FTdx9000 (and, with nine digits, the FTdx101 and kin): "FA;" "MD0;" and ";"-ended answers.
class YaesuTextRadio final : public TerminatedCommandRadio {
public:
    explicit YaesuTextRadio(int digits) : TerminatedCommandRadio(';'), digits_(digits) {}

private:
    char modeChar() const
    {
        switch (mode) {
        case RadioMode::Lsb: return '1';
        case RadioMode::Usb: return '2';
        case RadioMode::Cw: return '3';
        case RadioMode::Fm: return '4';
        case RadioMode::Am: return '5';
        case RadioMode::CwReverse: return '7';
        }
        return '2';
    }

    QByteArray answerOne(const QByteArray& c) override
    {
        const QByteArray hz = QByteArray::number(frequencyHz).rightJustified(digits_, '0');
        if (c == "FA" || c == "FB")
            return c + hz + ';';
        if ((c.startsWith("FA") || c.startsWith("FB")) && c.size() == 2 + digits_) {
            tune(c.mid(2).toLongLong());
            return {};
        }
        if (c == "MD0" || c == "MD1")
            return c + modeChar() + ';';
        if (c.startsWith("MD0") && c.size() == 4) {
            const char m = c[3];
            mode = m == '1' ? RadioMode::Lsb : m == '3' ? RadioMode::Cw : m == '4' ? RadioMode::Fm
                   : m == '5' ? RadioMode::Am : m == '7' ? RadioMode::CwReverse : RadioMode::Usb;
            return {};
        }
        if (c == "ID")
            return "ID0101;";
        if (c == "SH0")  // receive filter width index
            return "SH016;";
        if (c == "AI")
            return "AI0;";
        if (c == "PS")
            return "PS1;";
        if (c == "VS" || c == "FT" || c == "FR" || c == "ST")
            return c + "0;";
        if (c == "IF")
            return "IF000" + hz.right(8) + "+0000" + "0" + "0" + modeChar() + "0" + "0" + "00" + "0" + ";";
        if (c.startsWith("AI") || c.startsWith("VS") || c.startsWith("FT") || c.startsWith("FR"))
            return {};
        unknown(c);
        return "?;";
    }

    int digits_;
};

}  // namespace

std::unique_ptr<SimulatedRadio> makeYaesuFiveByteRadio() { return std::make_unique<YaesuFiveByteRadio>(); }
std::unique_ptr<SimulatedRadio> makeYaesuStatusRadio(YaesuStatusKind kind)
{
    return std::make_unique<YaesuStatusRadio>(kind);
}
std::unique_ptr<SimulatedRadio> makeYaesuTextRadio(int frequencyDigits)
{
    return std::make_unique<YaesuTextRadio>(frequencyDigits);
}

}  // namespace cubwave::test

// Ten-Tec (the radios' programmer's references). The TT-538 Jupiter's front-panel protocol sends
// binary values between a letter and CR, so a frequency byte may itself be 0D; the TT-565 Orion
// speaks text ended by CR.
#include "SimulatedRadio.h"

namespace cubwave::test {

namespace {

class TenTecPanelRadio final : public SimulatedRadio {
    // Main and sub mode: 0 AM, 1 USB, 2 LSB, 3 CW, 4 FM (ASCII digits).
    char modeChar() const
    {
        switch (mode) {
        case RadioMode::Am: return '0';
        case RadioMode::Usb: return '1';
        case RadioMode::Lsb: return '2';
        case RadioMode::Cw:
        case RadioMode::CwReverse: return '3';
        case RadioMode::Fm: return '4';
        }
        return '1';
    }

    QByteArray hertz() const
    {
        QByteArray out(4, '\0');
        for (int i = 0; i < 4; ++i)
            out[3 - i] = char((frequencyHz >> (8 * i)) & 0xFF);
        return out;
    }

public:
    QByteArray answer(QByteArray& input) override
    {
        QByteArray out;
        while (!input.isEmpty()) {
            // Commands have known lengths: "*A" four bytes CR, "*M" two bytes CR, "?x" CR.
            qsizetype length = input.indexOf('\r') + 1;
            if (input.startsWith("*A") || input.startsWith("*B"))
                length = 7;
            else if (input.startsWith("*M"))
                length = 5;
            if (length <= 0 || input.size() < length)
                return out;
            const QByteArray c = input.left(length);
            input.remove(0, length);
            if (c == "?A\r" || c == "?B\r") {
                out += c[1] + hertz() + '\r';
            } else if (c == "?M\r") {
                out += QByteArray("M") + modeChar() + modeChar() + '\r';
            } else if (c.startsWith("*A")) {
                qint64 hz = 0;
                for (int i = 2; i < 6; ++i)
                    hz = hz * 256 + static_cast<unsigned char>(c[i]);
                frequencyHz = hz;
            } else if (c.startsWith("*M")) {
                const char m = c[2];
                mode = m == '0' ? RadioMode::Am : m == '2' ? RadioMode::Lsb : m == '3' ? RadioMode::Cw
                       : m == '4' ? RadioMode::Fm : RadioMode::Usb;
            } else if (c == "?V\r") {
                out += "VER 1.050\r";
            } else if (c.startsWith("*") ) {
                // settings the simulation does not model
            } else {
                unknown(c);
                out += "Z\r";
            }
        }
        return out;
    }
};

class OrionRadio final : public TerminatedCommandRadio {
    // Main receiver mode: 0 USB, 1 LSB, 2 CW upper, 3 CW lower, 4 AM, 5 FM, 6 FSK.
    char modeChar() const
    {
        switch (mode) {
        case RadioMode::Usb: return '0';
        case RadioMode::Lsb: return '1';
        case RadioMode::Cw: return '2';
        case RadioMode::CwReverse: return '3';
        case RadioMode::Am: return '4';
        case RadioMode::Fm: return '5';
        }
        return '0';
    }

public:
    OrionRadio() : TerminatedCommandRadio('\r') {}

private:
    QByteArray answerOne(const QByteArray& c) override
    {
        if (c == "?AF" || c == "?BF")
            return "@" + c.mid(1) + QByteArray::number(frequencyHz).rightJustified(8, '0') + '\r';
        if (c == "?RMM" || c == "?RSM")
            return "@" + c.mid(1) + modeChar() + '\r';
        if (c.startsWith("*AF")) {
            frequencyHz = c.mid(3).toLongLong();
        } else if (c.startsWith("*RMM") && c.size() == 5) {
            const char m = c[4];
            mode = m == '1' ? RadioMode::Lsb : m == '2' ? RadioMode::Cw : m == '3' ? RadioMode::CwReverse
                   : m == '4' ? RadioMode::Am : m == '5' ? RadioMode::Fm : RadioMode::Usb;
        } else if (c == "?V") {
            return "Version 1.372\r";
        } else if (c == "X" || c == "XX") {
            return "ORION START\r";
        } else if (!c.startsWith("*")) {  // other settings are not modelled
            unknown(c);
            return "Z!\r";
        }
        return {};
    }
};

}  // namespace

std::unique_ptr<SimulatedRadio> makeTenTecPanelRadio() { return std::make_unique<TenTecPanelRadio>(); }
std::unique_ptr<SimulatedRadio> makeOrionRadio() { return std::make_unique<OrionRadio>(); }

}  // namespace cubwave::test

// The Kenwood text protocol (TS-2000 PC control reference; the Elecraft K2/K3 programmer's
// references follow it): commands and answers are letters, parameters and ";".
#include "SimulatedRadio.h"

namespace cubwave::test {

namespace {

char modeDigit(RadioMode mode)
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

class KenwoodRadio final : public TerminatedCommandRadio {
public:
    KenwoodRadio() : TerminatedCommandRadio(';') {}

private:
    QByteArray hertz() const { return QByteArray::number(frequencyHz).rightJustified(11, '0'); }

    QByteArray answerOne(const QByteArray& c) override
    {
        if (c == "FA" || c == "FB")
            return c + hertz() + ';';
        if ((c.startsWith("FA") || c.startsWith("FB")) && c.size() == 13) {
            tune(c.mid(2).toLongLong());
            return {};
        }
        if (c == "MD")
            return QByteArray("MD") + modeDigit(mode) + ';';
        if (c.startsWith("MD") && c.size() == 3) {
            static const RadioMode byDigit[] = {RadioMode::Usb, RadioMode::Lsb, RadioMode::Usb, RadioMode::Cw,
                                                RadioMode::Fm,  RadioMode::Am,  RadioMode::Usb, RadioMode::CwReverse};
            const int d = c[2] - '0';
            if (d >= 0 && d < 8)
                mode = byDigit[d];
            return {};
        }
        if (c == "IF") {
            // Frequency, step, RIT offset, RIT, XIT, memory bank and channel, TX/RX, mode,
            // VFO, scan, split, tone, tone number, shift: 38 characters with the ";".
            return "IF" + hertz() + "     " + "+0000" + "0" + "0" + "0" + "00" + "0" + modeDigit(mode) + "0" + "0"
                   + "0" + "0" + "00" + "0" + ";";
        }
        if (c == "ID")
            return "ID019;";
        if (c == "AI")
            return "AI0;";
        if (c == "PS")
            return "PS1;";
        if (c == "FR" || c == "FT")
            return c + "0;";
        if (c == "K2")
            return "K20;";
        if (c == "FW")  // Elecraft K2: filter width, crystal and audio filter slots
            return "FW270010;";
        if (c == "K3")
            return "K30;";
        if (c.startsWith("AI") || c.startsWith("FR") || c.startsWith("FT") || c.startsWith("K2")
            || c.startsWith("K3") || c.startsWith("PS") || c.startsWith("FW"))
            return {};
        unknown(c);
        return "?;";
    }
};

}  // namespace

std::unique_ptr<SimulatedRadio> makeKenwoodRadio() { return std::make_unique<KenwoodRadio>(); }

}  // namespace cubwave::test

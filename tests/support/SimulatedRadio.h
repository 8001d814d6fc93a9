#pragma once

#include <QByteArray>
#include <QStringList>

#include <memory>

namespace cubwave::test {

enum class RadioMode { Lsb, Usb, Cw, CwReverse, Am, Fm };

// A radio's CAT port as its manufacturer's public reference describes it, written without the
// logger's codecs so that each checks the other. State is plain; RigSimulator guards it.
class SimulatedRadio {
public:
    virtual ~SimulatedRadio() = default;
    // Removes the whole commands at the front of input and returns the radio's answer to them;
    // a partial command stays for the next call.
    virtual QByteArray answer(QByteArray& input) = 0;

    qint64 frequencyHz = 14025000;
    RadioMode mode = RadioMode::Cw;
    // Commands the simulation does not know, for a failing test to show.
    QStringList unknownCommands;

protected:
    void unknown(const QByteArray& command) { unknownCommands.append(QString::fromLatin1(command.toHex(' '))); }
};

// A text protocol whose commands end with one terminator character.
class TerminatedCommandRadio : public SimulatedRadio {
public:
    explicit TerminatedCommandRadio(char terminator) : terminator_(terminator) {}
    QByteArray answer(QByteArray& input) override
    {
        QByteArray out;
        qsizetype end;
        while ((end = input.indexOf(terminator_)) >= 0) {
            const QByteArray command = input.left(end);
            input.remove(0, end + 1);
            out += answerOne(command);
        }
        return out;
    }

protected:
    // One command without its terminator.
    virtual QByteArray answerOne(const QByteArray& command) = 0;

private:
    char terminator_;
};

// One simulation per family, named after the radios it stands for.
std::unique_ptr<SimulatedRadio> makeKenwoodRadio();              // TS-2000 and kin, Elecraft K2/K3
std::unique_ptr<SimulatedRadio> makeIcomRadio(unsigned char address, int frequencyBytes);  // IC-706, IC-735, Omni VI
std::unique_ptr<SimulatedRadio> makeYaesuFiveByteRadio();        // FT-817, FT-857, FT-897
enum class YaesuStatusKind { Ft757GxII, Ft890, Ft920, Ft990, Ft1000D, Ft1000MP };
std::unique_ptr<SimulatedRadio> makeYaesuStatusRadio(YaesuStatusKind kind);
std::unique_ptr<SimulatedRadio> makeYaesuTextRadio(int frequencyDigits);  // FTdx9000: 8, newer: 9
std::unique_ptr<SimulatedRadio> makeTenTecPanelRadio();          // TT-538 Jupiter
std::unique_ptr<SimulatedRadio> makeOrionRadio();                // TT-565 Orion

}  // namespace cubwave::test

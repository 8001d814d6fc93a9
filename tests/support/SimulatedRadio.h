#pragma once

#include <QByteArray>
#include <QStringList>

#include <map>
#include <memory>
#include <utility>

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
    // Every byte the radio was sent, in order.
    QByteArray received;

    // Kenwood, Icom and Yaesu radios keep each band's last mode and recall it when a frequency
    // command or a band key takes them to another band. Off, the mode stays as it was.
    bool bandMemories = false;
    // What the radio's frequency command (and a band key) does.
    void tune(qint64 hz)
    {
        if (bandMemories) {
            const int from = band(frequencyHz);
            const int to = band(hz);
            if (from != to) {
                memories_[from] = mode;
                const auto kept = memories_.find(to);
                // A band never used starts in the sideband its voice operators use.
                mode = kept != memories_.end() ? kept->second : hz < 10'000'000 ? RadioMode::Lsb : RadioMode::Usb;
            }
        }
        frequencyHz = hz;
    }

protected:
    void unknown(const QByteArray& command) { unknownCommands.append(QString::fromLatin1(command.toHex(' '))); }

private:
    // The amateur band holding hz (its lower edge in kHz), or 0 for general coverage.
    static int band(qint64 hz)
    {
        static constexpr std::pair<int, int> kBandsKHz[] = {
            {1800, 2000},   {3500, 4000},   {5330, 5410},   {7000, 7300},   {10100, 10150}, {14000, 14350},
            {18068, 18168}, {21000, 21450}, {24890, 24990}, {28000, 29700}, {50000, 54000}, {144000, 148000}};
        for (const auto& [low, high] : kBandsKHz) {
            if (hz >= qint64(low) * 1000 && hz <= qint64(high) * 1000)
                return low;
        }
        return 0;
    }

    std::map<int, RadioMode> memories_;
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

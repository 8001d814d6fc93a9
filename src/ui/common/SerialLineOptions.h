#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <vector>

class QGroupBox;
class QRadioButton;
class QWidget;

namespace cubwave {

class SerialPortMap;

// What the serial option groups show: the port (1-based, 0 for none), the baud option's index
// (-1 for none) and the line's letters as stored ("O", "N", "E"; "7", "8"; "1", "2"; "N", "R", "D").
struct SerialLineChoice {
    int port = 0;
    int baudIndex = -1;
    QChar parity;
    QChar dataBits;
    QChar stopBits;
    QChar powerLine;
};

// The option groups a window that sets up a serial line shows: "Comm Port" with each port's
// device, the baud rates, "Parity", "Data Bits", "Stop Bits" and "Connection Power:". The window
// places the group boxes in its own layout and keeps its settings; these only show and read them.
class SerialLineOptions {
public:
    // `baudCaptions` gives the baud options in the order of the window's stored baud texts, laid
    // out in columns of `baudRows`.
    SerialLineOptions(QWidget* parent, const SerialPortMap& ports, int portCount, const QString& baudTitle,
                      const QList<QString>& baudCaptions, int baudRows);

    QGroupBox* commBox = nullptr;
    QGroupBox* baudBox = nullptr;
    QGroupBox* parityBox = nullptr;
    QGroupBox* dataBox = nullptr;
    QGroupBox* stopBox = nullptr;
    QGroupBox* powerBox = nullptr;

    // Checks the options the choice names; a letter no option has leaves its group unchecked.
    void show(const SerialLineChoice& choice);
    // What the operator left checked; a group with nothing checked leaves its value as it was.
    void readInto(SerialLineChoice& choice) const;
    // Every option, to follow their clicks.
    QList<QRadioButton*> options() const;

private:
    std::vector<QRadioButton*> ports_;
    std::vector<QRadioButton*> bauds_;
    // The options of each letter group and the letters they stand for.
    struct LetterOption {
        QRadioButton* button;
        QChar letter;
    };
    std::vector<LetterOption> parity_;
    std::vector<LetterOption> dataBits_;
    std::vector<LetterOption> stopBits_;
    std::vector<LetterOption> powerLine_;
};

}  // namespace cubwave

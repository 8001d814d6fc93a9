#include "ui/common/SerialLineOptions.h"

#include "platform/SerialPortMap.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace cubwave {

namespace {

// The baud options' names by rate; a window with fewer rates takes the first ones.
constexpr std::array<const char*, 9> kBaudNames{"optBaud12",  "optBaud24",  "optBaud48",  "optBaud96", "optBaud144",
                                                "optBaud192", "optBaud288", "optBaud384", "optBaud560"};

QRadioButton* radio(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

struct LetterCaption {
    const char* name;
    const char* caption;
    char16_t letter;
};

template <size_t N>
QGroupBox* letterGroup(QWidget* parent, const QString& title, const std::array<LetterCaption, N>& captions,
                       auto& options)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    for (const LetterCaption& c : captions) {
        QRadioButton* button = radio(box, QString::fromLatin1(c.name), QString::fromLatin1(c.caption));
        layout->addWidget(button);
        options.push_back({button, QChar(c.letter)});
    }
    return box;
}

void checkLetter(auto& options, QChar letter)
{
    for (const auto& option : options)
        option.button->setChecked(option.letter == letter);
}

void readLetter(const auto& options, QChar& letter)
{
    for (const auto& option : options) {
        if (option.button->isChecked())
            letter = option.letter;
    }
}

}  // namespace

SerialLineOptions::SerialLineOptions(QWidget* parent, const SerialPortMap& ports, int portCount,
                                     const QString& baudTitle, const QList<QString>& baudCaptions, int baudRows)
{
    commBox = new QGroupBox(QStringLiteral("Comm Port"), parent);
    auto* commGrid = new QGridLayout(commBox);
    for (int i = 0; i < portCount; ++i) {
        ports_.push_back(radio(commBox, QStringLiteral("optComm_%1").arg(i),
                               QStringLiteral("%1  %2").arg(i + 1).arg(ports.devicePath(i + 1))));
        commGrid->addWidget(ports_.back(), i % 5, i / 5);
    }

    baudBox = new QGroupBox(baudTitle, parent);
    auto* baudGrid = new QGridLayout(baudBox);
    for (qsizetype i = 0; i < baudCaptions.size() && i < qsizetype(kBaudNames.size()); ++i) {
        bauds_.push_back(radio(baudBox, QString::fromLatin1(kBaudNames[size_t(i)]), baudCaptions[i]));
        baudGrid->addWidget(bauds_.back(), int(i) % baudRows, int(i) / baudRows);
    }

    parityBox = letterGroup(parent, QStringLiteral("Parity"),
                            std::array<LetterCaption, 3>{{{"optParityOdd", "Odd", u'O'},
                                                          {"optParityNone", "None", u'N'},
                                                          {"optParityEven", "Even", u'E'}}},
                            parity_);
    dataBox = letterGroup(parent, QStringLiteral("Data Bits"),
                          std::array<LetterCaption, 2>{{{"optData7", "7", u'7'}, {"optData8", "8", u'8'}}}, dataBits_);
    stopBox = letterGroup(parent, QStringLiteral("Stop Bits"),
                          std::array<LetterCaption, 2>{{{"optStop1", "1", u'1'}, {"optStop2", "2", u'2'}}}, stopBits_);
    powerBox = letterGroup(parent, QStringLiteral("Connection Power:"),
                           std::array<LetterCaption, 3>{{{"optPowerNone", "None", u'N'},
                                                         {"optPowerRTS", "RTS", u'R'},
                                                         {"optPowerDTR", "DTR", u'D'}}},
                           powerLine_);
}

void SerialLineOptions::show(const SerialLineChoice& choice)
{
    for (size_t i = 0; i < ports_.size(); ++i)
        ports_[i]->setChecked(choice.port == int(i) + 1);
    for (size_t i = 0; i < bauds_.size(); ++i)
        bauds_[i]->setChecked(choice.baudIndex == int(i));
    checkLetter(parity_, choice.parity);
    checkLetter(dataBits_, choice.dataBits);
    checkLetter(stopBits_, choice.stopBits);
    checkLetter(powerLine_, choice.powerLine);
}

void SerialLineOptions::readInto(SerialLineChoice& choice) const
{
    for (size_t i = 0; i < ports_.size(); ++i) {
        if (ports_[i]->isChecked())
            choice.port = int(i) + 1;
    }
    for (size_t i = 0; i < bauds_.size(); ++i) {
        if (bauds_[i]->isChecked())
            choice.baudIndex = int(i);
    }
    readLetter(parity_, choice.parity);
    readLetter(dataBits_, choice.dataBits);
    readLetter(stopBits_, choice.stopBits);
    readLetter(powerLine_, choice.powerLine);
}

QList<QRadioButton*> SerialLineOptions::options() const
{
    QList<QRadioButton*> all(ports_.begin(), ports_.end());
    all.append(QList<QRadioButton*>(bauds_.begin(), bauds_.end()));
    for (const auto* group : {&parity_, &dataBits_, &stopBits_, &powerLine_}) {
        for (const LetterOption& option : *group)
            all.append(option.button);
    }
    return all;
}

}  // namespace cubwave

#pragma once

#include "cw/CwSenderFixture.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/cw/CwSetupWindow.h"
#include "ui/cw/CwWindowServices.h"

#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace cubwave::test {

// The CW windows on a sender that keys the DTR line of a recording serial port on a virtual
// clock, with fake dialogs, settings store and beeper and a scratch working folder.
class CwWindowsTest : public ::testing::Test {
protected:
    CwWindowsTest()
    {
        CwSettings s;
        s.cwInterface = kCwDtr;
        s.port = "1";
        s.speedWpm = "20";
        sender.setSettings(s);
        QObject::connect(&sender, &CwSender::sendingEnded, [this] { ++ended; });
    }

    CwWindowServices services()
    {
        return CwWindowServices{dialogs, store, beeper, dir.path(), [this] { return foundPorts; }, {}, {}};
    }

    template <typename T = QWidget>
    static T* child(QWidget* window, const QString& name)
    {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << qPrintable(name);
        return w;
    }

    // The operator leaves a field (Tab to the next one).
    static void leave(QWidget* field)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field, &out);
    }

    static void retype(QLineEdit* field, const QString& keys)
    {
        field->clear();
        QTest::keyClicks(field, keys);
    }

    QByteArray fileBytes(const QString& name) const
    {
        QFile f(dir.path() + QLatin1Char('/') + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Keyed DTR edges after the drops made when the port opened.
    std::vector<KeyEdge> keyedDtr()
    {
        auto e = serial.edges(ModemLine::Dtr);
        while (!e.empty() && !e.front().down)
            e.erase(e.begin());
        return e;
    }
    QString sentText(double unitMs = 60) { return decode(keyedDtr(), unitMs); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    FakeSettingsStore store;
    FakeBeeper beeper;
    SerialPortMap portMap;
    QStringList foundPorts{QStringLiteral("/dev/ttyUSB0 (FT232R USB UART)")};

    VirtualKeyingTimer timer;
    std::function<qint64()> now = [this] { return timer.nowNs(); };
    FakeSerialLine serial{now};
    FakeParallelPorts ports{now};
    CwKeyingLines lines{serial, ports, [this] { return portMap; }};
    CharacterKeyer keyer{timer};
    CwSender sender{keyer, lines};
    int ended = 0;
};

}  // namespace cubwave::test

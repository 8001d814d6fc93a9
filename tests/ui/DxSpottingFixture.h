#pragma once

#include "spots/AgwFrame.h"
#include "spots/AgwPacketEngine.h"
#include "spots/PackSpotFile.h"
#include "support/FakeDialogs.h"
#include "support/FakeKeying.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeTcpClient.h"
#include "support/Fakes.h"
#include "ui/spots/DxSpottingWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

namespace cubwave::test {

// The spot window over fakes of its three lines, in a temporary working directory.
class DxSpottingFixture : public ::testing::Test {
protected:
    struct Spot {
        QString call;
        QString frequency;
        QString record;
        bool operator==(const Spot&) const = default;
    };

    void TearDown() override
    {
        if (window)
            window->unload();
        window.reset();
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void storeSettings(const PackSpotSettings& s) const
    {
        writeFile(QString::fromLatin1(PackSpotFile::kFileName), PackSpotFile::serialize(s));
    }

    // Builds and loads the window; `visible` shows it, as an operator's Ctrl+D does.
    void start(bool visible = true)
    {
        DxSpottingWindow::Services services{tnc,
                                            telnet,
                                            engine,
                                            dialogs,
                                            beeper,
                                            dir.path(),
                                            [this] { return ownCall; },
                                            [this] { return lastCall; },
                                            [] { return QStringLiteral("Cubwave Log"); },
                                            [this] { ++preferenceSaves; }};
        window = std::make_unique<DxSpottingWindow>(services);
        QObject::connect(window.get(), &DxSpottingWindow::spotHandedOver, window.get(),
                         [this](const QString& c, const QString& f, const QString& r) { spots.push_back({c, f, r}); });
        QObject::connect(window.get(), &DxSpottingWindow::displayChosen, window.get(),
                         [this](const QString& t, const QString& d) { displays.push_back(t + u'|' + d); });
        QObject::connect(window.get(), &DxSpottingWindow::repaintDue, window.get(), [this] { ++repaints; });
        QObject::connect(window.get(), &DxSpottingWindow::statusMessage, window.get(),
                         [this](const QString& t) { statusLines << t; });
        window->load();
        if (visible) {
            window->show();
            window->activateWindow();
            QApplication::setActiveWindow(window.get());
            QCoreApplication::processEvents();
        }
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void chooseType(const QString& type) const
    {
        auto* list = child<QListWidget>("List1");
        list->setCurrentItem(list->findItems(type, Qt::MatchExactly).value(0));
    }
    QString received() const
    {
        window->showPendingText();
        return child<QPlainTextEdit>("txtUnProcessed")->toPlainText();
    }
    bool listening() const { return !child<QLabel>("Label4")->isHidden(); }
    bool timerRunning() const { return child<QTimer>("Timer1")->isActive(); }
    void typeInSendBox(const QString& text) const
    {
        auto* box = child<QLineEdit>("txtSent");
        box->setFocus();
        QTest::keyClicks(box, text);
    }
    void keyInSendBox(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QTest::keyClick(child<QLineEdit>("txtSent"), key, mods);
    }

    // The packet engine's side of its socket: reached, answering the version and the call.
    void engineAnswers(bool callAccepted = true)
    {
        engineSocket.accept();
        AgwFrame version;
        version.kind = 'R';
        version.data = QByteArray("\x07\x00\x00\x00\x00\x00\x00\x00", 8);
        AgwFrame registration;
        registration.kind = 'X';
        registration.callFrom = ownCall.toLatin1();
        registration.data = QByteArray(1, callAccepted ? '\x01' : '\x00');
        engineSocket.answer(version.encode() + registration.encode());
    }
    // The window shown, "Telnet" to host "h" port 23 chosen and opened, and the cluster reached.
    void openAcceptedTelnet()
    {
        start();
        chooseType(QStringLiteral("Telnet"));
        child<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("h"));
        child<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("23"));
        window->Command1_Click();
        telnet.accept();
    }
    // The window shown, the packet engine chosen and opened, and the engine answering.
    void openAnsweredEngine()
    {
        start();
        chooseType(QStringLiteral("AGW Packet Engine"));
        window->Command1_Click();
        engineAnswers();
    }
    // A station connects to the open engine's link; the frames sent so far are taken.
    void stationConnects(const QByteArray& station)
    {
        engineSends('C', station, ownCall.toLatin1(), "*** CONNECTED With Station " + station + "\r");
        window->Timer1_Timer();
        engineFrames();
    }
    void engineSends(char kind, const QByteArray& from, const QByteArray& to, const QByteArray& data)
    {
        AgwFrame frame;
        frame.kind = kind;
        frame.pid = 0xF0;
        frame.callFrom = from;
        frame.callTo = to;
        frame.data = data;
        engineSocket.answer(frame.encode());
    }
    // The frames the window had the engine send, decoded.
    std::vector<AgwFrame> engineFrames()
    {
        AgwFrameDecoder decoder;
        decoder.feed(engineSocket.takeSent());
        std::vector<AgwFrame> frames;
        while (auto f = decoder.next())
            frames.push_back(*f);
        return frames;
    }

    QTemporaryDir dir;
    FakeSerialLine tnc;
    FakeTcpClient telnet;
    FakeTcpClient engineSocket;
    FakeOneShotTimer engineTimer;
    FakeSettingsStore store;
    AgwPacketEngine engine{engineSocket, engineTimer, store};
    FakeDialogs dialogs;
    FakeBeeper beeper;
    QString ownCall = QStringLiteral("N0CUB");
    QString lastCall = QStringLiteral("W1AW");
    int preferenceSaves = 0;
    std::unique_ptr<DxSpottingWindow> window;
    std::vector<Spot> spots;
    QStringList displays;
    QStringList statusLines;
    int repaints = 0;
};

}  // namespace cubwave::test

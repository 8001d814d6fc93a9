#include "app/ProgramWindows.h"
#include "app/SpotWiring.h"
#include "platform/PosixSerialLine.h"
#include "platform/QtTcpClient.h"
#include "platform/SerialLineSharing.h"
#include "spots/PackSpotFile.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeTcpClient.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"
#include "ui/spots/DxSpottingWindow.h"
#include "ui/spots/SpotListModel.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace cubwave::test {
namespace {

QByteArray spotLine(const QString& spotter, const QString& frequency, const QString& call)
{
    return ((QStringLiteral("DX de ") + spotter + u':').leftJustified(15) + frequency.rightJustified(9) +
            QStringLiteral("  ") + call.leftJustified(13) + QStringLiteral("CQ").leftJustified(31) +
            QStringLiteral("1200Z"))
        .toLatin1();
}

template <typename Done>
bool waitFor(Done done, int limitMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The main window with the program's own spot wiring: the spot window, a real TCP client and a
// real serial line; the packet engine's socket is a fake.
class SpotWiringTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        customPorts = [this] {
            return MainWindowPorts{ports.cw, ports.voice, ports.rig, wiring, ports.exports, windows};
        };
        beforeLoad = [this](MainWindow& form) { wiring.setMainWindow(&form); };
        windows.add(WindowLauncher::Window::DxSpotting, [this](bool modal) { wiring.show(modal); });
        tncLine.share(sharing, SerialLineSharing::User::Tnc);
    }
    void TearDown() override
    {
        if (wiring.windowLoaded())
            wiring.unload();
        MainWindowFixture::TearDown();
    }
    void store(const PackSpotSettings& settings)
    {
        ASSERT_TRUE(PackSpotFile::write(dir.filePath(QString::fromLatin1(PackSpotFile::kFileName)), settings).ok);
    }
    DxSpottingWindow* spotWindow() const { return form->findChild<DxSpottingWindow*>(QStringLiteral("PacketSpotfrm")); }
    QString received() const
    {
        spotWindow()->showPendingText();
        return spotWindow()->findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"))->toPlainText();
    }

    SerialLineSharing sharing;
    PosixSerialLine tncLine;
    QtTcpClient telnet;
    FakeTcpClient engineSocket;
    FakeOneShotTimer engineTimer;
    FakeSettingsStore store_;
    ProgramWindows windows;
    SpotWiring wiring{tncLine, telnet, engineSocket, engineTimer, {dialogs, beeper, store_, dir.path()}};
};

// A cluster stored in "PackSpot.txt" is connected again at the end of the start-up, without
// showing the window; its spots reach the main window, and its close takes the reset path.
TEST_F(SpotWiringTest, AStoredClusterComesBackAtStartUpAndItsSpotsReachTheMainWindow)
{
    QTcpServer cluster;
    ASSERT_TRUE(cluster.listen(QHostAddress::LocalHost, 0));
    PackSpotSettings settings;
    settings.connectionType = QStringLiteral("Telnet");
    settings.telnetHost = QStringLiteral("127.0.0.1");
    settings.telnetPort = QString::number(cluster.serverPort());
    store(settings);

    start();
    ASSERT_TRUE(wiring.windowLoaded());
    EXPECT_FALSE(spotWindow()->isVisible());
    ASSERT_TRUE(waitFor([&] { return cluster.hasPendingConnections(); }));
    QTcpSocket* peer = cluster.nextPendingConnection();

    // A prompt without a line end, an option request, then spots split anywhere.
    peer->write(QByteArray("\xff\xfd\x01login: ", 10));
    ASSERT_TRUE(waitFor([&] { return peer->bytesAvailable() >= 3; }));
    EXPECT_EQ(peer->readAll(), QByteArray("\xff\xfc\x01", 3));  // WONT ECHO
    EXPECT_TRUE(received().endsWith(QStringLiteral("login: ")));
    const QByteArray a = spotLine(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K1ABC"));
    const QByteArray b = spotLine(QStringLiteral("DL1XX"), QStringLiteral("21074.0"), QStringLiteral("JA1ZZ"));
    // The prompt never got its line end: the spot that follows is still a spot.
    peer->write(a + "\r\n" + b.left(33));
    const SpotListModel* listed = form->findChild<SpotListModel*>();
    ASSERT_TRUE(listed);
    ASSERT_TRUE(waitFor([&] { return listed->rowCount() == 1; }));
    peer->write(b.mid(33) + "\r\n");
    ASSERT_TRUE(waitFor([&] { return listed->rowCount() == 2; }));
    EXPECT_EQ(listed->row(1).cells[SpotListRow::Call], QStringLiteral("K1ABC"));
    EXPECT_EQ(listed->row(0).cells[SpotListRow::Call], QStringLiteral("JA1ZZ"));
    EXPECT_EQ(listed->row(0).cells[SpotListRow::Frequency], QStringLiteral("21.074"));
    EXPECT_EQ(form->spotStore().slot(SpotStore::kSlots - 1).call, QStringLiteral("JA1ZZ"));
    EXPECT_TRUE(received().contains(QStringLiteral("login: ")));

    const int beeps = beeper.beeps;
    peer->close();
    ASSERT_TRUE(waitFor([&] { return !spotWindow()->listening(); }));
    EXPECT_TRUE(received().contains(QStringLiteral("ERROR: The connection is reset by remote side.!")));
    EXPECT_EQ(beeper.beeps, beeps + 1);
}

// Ctrl+D loads the window once and shows it modeless; "&Done" reaches the main window's layout
// hook with the display chosen.
TEST_F(SpotWiringTest, CtrlDShowsTheOneSpotWindowAndDoneReachesTheLayout)
{
    start();
    EXPECT_FALSE(wiring.windowLoaded());  // "None" stored: nothing loads at start-up
    key(Qt::Key_D, Qt::ControlModifier);
    DxSpottingWindow* w = spotWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    w->findChild<QRadioButton*>(QStringLiteral("OptList"))->setChecked(true);
    w->cmdDone_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(form->spotConnectionType(), QStringLiteral("None"));
    EXPECT_EQ(form->spotDisplay(), QStringLiteral("List"));
    key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(spotWindow(), w);
    EXPECT_EQ(form->findChildren<DxSpottingWindow*>().size(), 1);
}

TEST_F(SpotWiringTest, AnUnreadableSettingsFileIsNamedOnTheStatusLineAndOpensNothing)
{
    writeFile(dir.filePath(QStringLiteral("PackSpot.txt")), QByteArray("\"9600\"\r\n\"Q\"\r\n"));
    start();
    EXPECT_FALSE(wiring.windowLoaded());
    EXPECT_TRUE(status().contains(QStringLiteral("PackSpot.txt"))) << status().toStdString();
}

// A pseudo-terminal whose far end plays the TNC.
class PtyTnc {
public:
    PtyTnc()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = QString::fromLocal8Bit(name);
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
            // The line opens the slave by its path; this end need not hold it open.
            ::close(slave_);
            slave_ = -1;
        }
    }
    ~PtyTnc() { ::close(master_); }
    QString path() const { return path_; }
    void send(const QByteArray& bytes) const { (void)::write(master_, bytes.constData(), size_t(bytes.size())); }
    QByteArray read() const
    {
        QByteArray out;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(master_, buf, sizeof buf)) > 0)
            out.append(buf, n);
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// A TNC on a real terminal device without modem lines: it opens, its lines are cut and handed
// over, Esc puts it in command mode, and a close does not wait for output it never takes.
TEST_F(SpotWiringTest, ATncOnAPseudoTerminalHandsOverSpots)
{
    PtyTnc tnc;
    ASSERT_FALSE(tnc.path().isEmpty());
    writeFile(dir.filePath(QStringLiteral("serialports.txt")), QStringLiteral("4=%1\n").arg(tnc.path()).toLocal8Bit());
    PackSpotSettings settings;
    settings.connectionType = QStringLiteral("TNC");
    settings.port = 4;
    settings.powerLine = u'D';  // a pty refuses it; the open goes on
    store(settings);

    start();
    ASSERT_TRUE(wiring.windowLoaded());
    DxSpottingWindow* w = spotWindow();
    ASSERT_TRUE(tncLine.isOpen()) << tncLine.errorText().toStdString();
    EXPECT_TRUE(w->listening());
    EXPECT_TRUE(dialogs.messages.empty() || dialogs.messages.back().title != QStringLiteral("Invalid Comm Settings."));

    const QByteArray spot = spotLine(QStringLiteral("W3LPL"), QStringLiteral("7025.0"), QStringLiteral("K1ABC"));
    tnc.send("cmd:\r\n" + spot.left(10));
    ASSERT_TRUE(waitFor([&] {
        w->Timer1_Timer();
        return received().contains(QStringLiteral("cmd:"));
    }));
    tnc.send(spot.mid(10) + "\r\n");
    ASSERT_TRUE(waitFor([&] {
        w->Timer1_Timer();
        return form->spotStore().slot(SpotStore::kSlots - 1).frequencyMHz > 0;
    }));
    EXPECT_EQ(form->spotStore().slot(SpotStore::kSlots - 1).call, QStringLiteral("K1ABC"));
    EXPECT_FLOAT_EQ(form->spotStore().slot(SpotStore::kSlots - 1).frequencyMHz, 7.025f);

    w->show();
    QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("txtSent")), Qt::Key_Escape);
    QByteArray got;
    ASSERT_TRUE(waitFor([&] {
        got += tnc.read();
        return got.contains('\x03');
    }));

    // More output than the pty takes, never read: the close must not wait for it.
    for (int i = 0; i < 8; ++i)
        tncLine.write(QByteArray(64 * 1024, 'x'));
    QElapsedTimer t;
    t.start();
    w->Command2_Click();
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(tncLine.isOpen());
}

// A port another line of the program holds fails the TNC's open, and says which line.
TEST_F(SpotWiringTest, APortTheRigHoldsFailsTheTncOpenAndSaysWhy)
{
    PtyTnc tnc;
    PosixSerialLine rigLine;
    rigLine.share(sharing, SerialLineSharing::User::Rig);
    ASSERT_TRUE(rigLine.open(tnc.path()));
    writeFile(dir.filePath(QStringLiteral("serialports.txt")), QStringLiteral("4=%1\n").arg(tnc.path()).toLocal8Bit());
    PackSpotSettings settings;
    settings.connectionType = QStringLiteral("TNC");
    settings.port = 4;
    store(settings);

    start();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(status().contains(QStringLiteral("rig"))) << status().toStdString();
    EXPECT_FALSE(tncLine.isOpen());
    EXPECT_TRUE(rigLine.isOpen());
    EXPECT_FALSE(spotWindow()->listening());
}

}  // namespace
}  // namespace cubwave::test

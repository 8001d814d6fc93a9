#include "platform/QtOneShotTimer.h"
#include "platform/QtTcpClient.h"
#include "spots/AgwPacketEngine.h"
#include "support/DirewolfPeer.h"
#include "support/FakeDialogs.h"
#include "support/FakeKeying.h"
#include "support/FakeTcpClient.h"
#include "support/Fakes.h"
#include "ui/spots/DxSpottingWindow.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// The real window on Debian's direwolf: it opens the engine, and UI frames direwolf decodes
// from audio come out of the window as spots, each once, with the chat shown. With
// CUBWAVE_SPOT_SHOT set to a file name the window's picture is kept there for a reviewer.
TEST(SpotWindowDirewolf, DecodedSpotsLeaveTheWindowOnceEach)
{
    QString why;
    if (!DirewolfPeer::available(&why))
        GTEST_SKIP() << why.toStdString();
    DirewolfPeer direwolf;
    ASSERT_TRUE(direwolf.start()) << direwolf.log().toStdString();

    QTemporaryDir dir;
    FakeSerialLine tnc;
    FakeTcpClient telnet;
    QtTcpClient engineSocket;
    QtOneShotTimer engineTimer;
    FakeSettingsStore store;
    store.values[AgwPacketEngine::kPortKey] = QString::number(direwolf.port());
    AgwPacketEngine engine(engineSocket, engineTimer, store);
    FakeDialogs dialogs;
    FakeBeeper beeper;
    DxSpottingWindow window({tnc, telnet, engine, dialogs, beeper, dir.path(), [] { return QStringLiteral("N0CUB"); },
                             [] { return QString(); }, [] { return QStringLiteral("Cubwave Log"); }, [] {}});
    QStringList calls;
    QObject::connect(&window, &DxSpottingWindow::spotHandedOver, &window,
                     [&](const QString& call, const QString& frequency, const QString&) { calls << call + u'@' + frequency; });
    window.load();
    window.findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(3);
    window.show();
    window.Command1_Click();
    auto* box = window.findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.isStarted() || !window.listening(); }, 8000));
    ASSERT_TRUE(engine.isStarted()) << box->toPlainText().toStdString() << direwolf.log().toStdString();
    EXPECT_TRUE(box->toPlainText().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **")));

    const QString spot1 = QStringLiteral("DX de W3LPL:     14025.0  K1ABC        cq                1200Z");
    const QString spot2 = QStringLiteral("DX de DL1AA:      7012.5  JA1XYZ       579 up 2          1201Z");
    direwolf.play(direwolf.audioFor({"W3LPL>DX:" + spot1, "N0CALL>ID:hello from the channel", "DL1AA>DX:" + spot2,
                                     "W3LPL>DX:" + spot1}));
    // The window's own timer polls the engine.
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() >= 2; }, 15000)) << direwolf.log().toStdString();
    QTest::qWait(1500);  // time for the repeat, which must not come out again
    EXPECT_EQ(calls, (QStringList{QStringLiteral("K1ABC@14025.0"), QStringLiteral("JA1XYZ@7012.5")}));
    window.showPendingText();
    EXPECT_TRUE(box->toPlainText().contains(QStringLiteral("hello from the channel")));

    const QString shot = qEnvironmentVariable("CUBWAVE_SPOT_SHOT");
    if (!shot.isEmpty())
        EXPECT_TRUE(window.grab().save(shot));
    window.unload();
}

}  // namespace

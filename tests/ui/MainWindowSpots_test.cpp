#include "support/MainWindowFixture.h"

#include <QFile>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class MainWindowSpots : public MainWindowFixture {};

// The stored spot connection comes back once, after the rig, at the end of a load that ran
// through; a load that stopped opens nothing.
TEST_F(MainWindowSpots, TheSpotFeedOpensAtTheEndOfACompleteLoadOnly)
{
    start();
    EXPECT_EQ(ports.spots.startupOpens, 1);
    EXPECT_EQ(ports.rig.startupRigNames.size(), 1);

    form.reset();
    ports.spots.startupOpens = 0;
    QFile::remove(dir.filePath("cubwavepref.txt"));
    start();
    EXPECT_EQ(ports.spots.startupOpens, 0);
}

TEST_F(MainWindowSpots, TheFeedsSpotsDisplayRepaintAndStatusReachTheWindow)
{
    start();
    for (int i = 0; i < MainWindow::kSpotHookRecords + 5; ++i)
        ports.spots.spot(QStringLiteral("K%1ABC").arg(i), QStringLiteral("14025.0"), QStringLiteral("de W3LPL"));
    ASSERT_EQ(form->handedSpots().size(), size_t(MainWindow::kSpotHookRecords));  // the newest kept
    EXPECT_EQ(form->handedSpots().back().call, QStringLiteral("K54ABC"));
    EXPECT_EQ(form->handedSpots().front().call, QStringLiteral("K5ABC"));
    EXPECT_EQ(form->handedSpots().back().frequency, QStringLiteral("14025.0"));
    EXPECT_EQ(form->handedSpots().back().record, QStringLiteral("de W3LPL"));

    ASSERT_TRUE(ports.spots.displayChosen);
    ports.spots.displayChosen(QStringLiteral("Telnet"), QStringLiteral("List"));
    EXPECT_EQ(form->spotConnectionType(), QStringLiteral("Telnet"));
    EXPECT_EQ(form->spotDisplay(), QStringLiteral("List"));

    ASSERT_TRUE(ports.spots.repaintDue);
    ports.spots.repaintDue();
    EXPECT_EQ(form->bandMapRepaints(), 1);

    ASSERT_TRUE(ports.spots.statusLine);
    ports.spots.statusLine(QStringLiteral("TNC: /dev/ttyS0 is used by the rig line"));
    EXPECT_EQ(status(), QStringLiteral("TNC: /dev/ttyS0 is used by the rig line"));
}

}  // namespace

#include "rig/SerialRigLink.h"
#include "support/FakeKeying.h"

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

TEST(SerialRigLink, PassesBytesBothWaysAndCountsWhatWaitsToGoOut)
{
    FakeSerialLine line;
    ASSERT_TRUE(line.open(QStringLiteral("/dev/ttyUSB0")));
    SerialRigLink link(line);
    EXPECT_TRUE(link.send("FA;"));
    EXPECT_EQ(line.written, "FA;");
    line.queued = 3;
    EXPECT_EQ(link.pendingOutputBytes(), 3);
    line.incoming = "FA00014025000;";
    EXPECT_EQ(link.takeInput(), QByteArray("FA00014025000;"));
    EXPECT_EQ(link.takeInput(), QByteArray());
}

TEST(SerialRigLink, AClosedLineIsALostLineWithAReason)
{
    FakeSerialLine line;
    SerialRigLink link(line);
    EXPECT_FALSE(link.send("FA;"));
    EXPECT_EQ(link.pendingOutputBytes(), std::nullopt);
    EXPECT_EQ(link.takeInput(), std::nullopt);
    EXPECT_FALSE(link.failureReason().isEmpty());
    line.error = QStringLiteral("Input/output error");
    EXPECT_EQ(link.failureReason(), "Input/output error");
}

// The TCP client on loopback sockets: connecting, both directions, the error numbers of a
// refused, a closed and an invalid connection, the connect time limit, and the bounded read
// buffer against a flooding peer.
#include "platform/QtTcpClient.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace cubwave;

namespace {

struct Events {
    int connected = 0;
    int arrivals = 0;
    QList<TcpError> errors;
};

void watch(QtTcpClient& client, Events& events)
{
    client.setHandlers({[&events] { ++events.connected; }, [&events] { ++events.arrivals; },
                        [&events](const TcpError& e) { events.errors.append(e); }});
}

// A port nothing listens on: one the system just handed out and took back.
int closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

}  // namespace

TEST(QtTcpClient, ConnectsAndCarriesBytesBothWays)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QtTcpClient client;
    Events events;
    watch(client, events);
    EXPECT_FALSE(client.send("early"));
    client.connectTo(QStringLiteral("127.0.0.1"), server.serverPort());
    EXPECT_EQ(events.connected, 0);  // events come from the event loop, never from the call
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.connected == 1; }, 3000));
    EXPECT_EQ(client.state(), TcpClient::kConnected);
    ASSERT_TRUE(server.hasPendingConnections() || server.waitForNewConnection(1000));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_NE(peer, nullptr);

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_TRUE(client.send(all));
    QByteArray got;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got += peer->readAll()).size() == 256; }, 3000));
    EXPECT_EQ(got, all);

    peer->write("RPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.arrivals > 0; }, 3000));
    EXPECT_EQ(client.takeInput(), "RPRT 0\n");
    EXPECT_EQ(client.takeInput(), "");

    // The peer goes: "remote closed", and the client is no longer connected.
    peer->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.errors.isEmpty(); }, 3000));
    EXPECT_EQ(events.errors.size(), 1);
    EXPECT_EQ(events.errors[0].number, TcpClient::kConnectionReset);
    EXPECT_NE(client.state(), TcpClient::kConnected);
    EXPECT_FALSE(client.send("late"));
}

TEST(QtTcpClient, RefusedAndInvalidConnectionsGiveTheirNumbersAsEvents)
{
    struct Case {
        const char* name;
        QString host;
        int port;
        int number;
    };
    const Case cases[] = {
        {"nothing listens", QStringLiteral("127.0.0.1"), closedPort(), TcpClient::kRefused},
        {"empty host", QString(), 4532, TcpClient::kInvalidValue},
        {"blank host", QStringLiteral("  "), 4532, TcpClient::kInvalidValue},
        {"port 0", QStringLiteral("127.0.0.1"), 0, TcpClient::kInvalidValue},
        {"port 65536", QStringLiteral("127.0.0.1"), 65536, TcpClient::kInvalidValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtTcpClient client;
        Events events;
        watch(client, events);
        client.connectTo(c.host, c.port);
        EXPECT_TRUE(events.errors.isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !events.errors.isEmpty(); }, 3000));
        QTest::qWait(20);
        ASSERT_EQ(events.errors.size(), 1);
        EXPECT_EQ(events.errors[0].number, c.number);
        EXPECT_FALSE(events.errors[0].description.isEmpty());
        EXPECT_EQ(client.state(), TcpClient::kError);
        EXPECT_EQ(events.connected, 0);
    }
}

TEST(QtTcpClient, ErrorsWithoutANumberKeepQtsOwnValue)
{
    EXPECT_EQ(QtTcpClient::errorNumber(QAbstractSocket::ConnectionRefusedError), TcpClient::kRefused);
    EXPECT_EQ(QtTcpClient::errorNumber(QAbstractSocket::HostNotFoundError), TcpClient::kHostNotFound);
    EXPECT_EQ(QtTcpClient::errorNumber(QAbstractSocket::NetworkError), TcpClient::kNetworkUnreachable);
    // Qt's 7 (a datagram too large) must never read as the socket control's 7, out of memory.
    EXPECT_EQ(QtTcpClient::errorNumber(QAbstractSocket::DatagramTooLargeError), 0);
    EXPECT_EQ(QtTcpClient::errorNumber(QAbstractSocket::UnknownSocketError), 0);
}

// A listener whose accept queue is full drops further connection requests, so a connect to it
// never completes: the time limit ends it.
TEST(QtTcpClient, AConnectThatHangsEndsAtTheTimeLimit)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(::listen(fd, 0), 0);
    const int port = ntohs(address.sin_port);
    // Fill the queue; these are never accepted.
    std::vector<std::unique_ptr<QTcpSocket>> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(std::make_unique<QTcpSocket>());
        fillers.back()->connectToHost(QHostAddress::LocalHost, quint16(port));
    }
    QTest::qWait(200);

    QtTcpClient client(300);
    Events events;
    watch(client, events);
    client.connectTo(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.errors.isEmpty() || events.connected; }, 3000));
    ::close(fd);
    ASSERT_EQ(events.errors.size(), 1);
    EXPECT_EQ(events.errors[0].number, TcpClient::kTimedOut);
    EXPECT_EQ(events.connected, 0);
}

// A client connected to a loopback peer.
class QtTcpClientConnected : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        watch(client, events);
        client.connectTo(QStringLiteral("127.0.0.1"), server.serverPort());
        ASSERT_TRUE(QTest::qWaitFor([&] { return events.connected == 1; }, 3000));
        ASSERT_TRUE(server.hasPendingConnections() || server.waitForNewConnection(1000));
        peer = server.nextPendingConnection();
        ASSERT_NE(peer, nullptr);
    }

    QTcpServer server;
    QtTcpClient client;
    Events events;
    QPointer<QTcpSocket> peer;
};

TEST_F(QtTcpClientConnected, AFloodingPeerIsHeldBackAtTheReadBufferAndNothingIsLost)
{
    const qint64 total = 32 * 1024 * 1024;  // well beyond what the kernel buffers on loopback
    QByteArray block(64 * 1024, '\0');
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = char(i * 7);
    for (qint64 sent = 0; sent < total; sent += block.size())
        peer->write(block);
    QTest::qWait(500);  // nothing read: what the client holds stays bounded
    QByteArray first = client.takeInput();
    EXPECT_LE(first.size(), TcpClient::kReadBufferBytes);
    EXPECT_GT(peer->bytesToWrite(), 0) << "the peer was not held back";

    qint64 received = 0;
    bool intact = true;
    const auto take = [&](const QByteArray& chunk) {
        for (qsizetype i = 0; i < chunk.size(); ++i)
            intact = intact && chunk[i] == block[(received + i) % block.size()];
        received += chunk.size();
    };
    take(first);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QByteArray chunk = client.takeInput();
            EXPECT_LE(chunk.size(), TcpClient::kReadBufferBytes);
            take(chunk);
            return received == total;
        },
        20000));
    EXPECT_TRUE(intact);
}

// Sends beyond what the kernel takes queue in the socket: against a peer that does not read,
// every byte arrives once and in order, a small send after the queue drained included.
TEST_F(QtTcpClientConnected, SendsBeyondWhatTheKernelTakesArriveWholeAndInOrder)
{
    QByteArray expected;
    const auto sendBlock = [&](qsizetype size, int seed) {
        QByteArray block(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            block[i] = char(i * 13 + seed);
        expected += block;
        return client.send(block);
    };
    // Well beyond the loopback buffers, so most of it waits in the socket.
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(sendBlock(1024 * 1024, i));
    ASSERT_TRUE(sendBlock(3, 99));

    QByteArray got;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got += peer->readAll()).size() >= expected.size(); }, 20000));
    // Drained: the next small send still comes last.
    ASSERT_TRUE(sendBlock(5, 42));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got += peer->readAll()).size() >= expected.size(); }, 3000));
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_TRUE(events.errors.isEmpty());
}

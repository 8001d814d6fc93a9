// The TCP client's gentle close on loopback sockets: a last frame sent just before it reaches the
// peer, followed by an orderly end rather than a reset, even with the peer's data unread; and
// with a wait, what Qt still buffered goes out too.
#include "platform/QtTcpClient.h"

#include <gtest/gtest.h>

#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace cubwave;

namespace {

// A plain socket peer in its own thread, so it can read while the window thread waits.
class Peer {
public:
    Peer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener_, 1);
        socklen_t n = sizeof a;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n);
        port = ntohs(a.sin_port);
    }
    ~Peer()
    {
        if (thread_.joinable())
            thread_.join();
        if (conn_ >= 0)
            ::close(conn_);
        ::close(listener_);
    }
    // Accepts, sends unread, waits delayMs, then reads to the end.
    void serve(QByteArray unread, int delayMs)
    {
        thread_ = std::thread([this, unread, delayMs] {
            conn_ = ::accept(listener_, nullptr, nullptr);
            // As much as the buffers take: more than the client's own read buffer holds, so
            // some stays unread in its kernel.
            if (!unread.isEmpty())
                ::send(conn_, unread.constData(), size_t(unread.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            char buf[65536];
            for (;;) {
                const ssize_t n = ::recv(conn_, buf, sizeof buf, 0);
                if (n > 0) {
                    received.append(buf, n);
                    continue;
                }
                endedCleanly = n == 0;
                endErrno = n < 0 ? errno : 0;
                break;
            }
        });
    }
    void join() { thread_.join(); }

    int port = 0;
    QByteArray received;
    bool endedCleanly = false;
    int endErrno = 0;

private:
    int listener_ = -1;
    int conn_ = -1;
    std::thread thread_;
};

bool connect(QtTcpClient& client, int port)
{
    bool connected = false;
    client.setHandlers({[&connected] { connected = true; }, {}, {}});
    client.connectTo(QStringLiteral("127.0.0.1"), port);
    return QTest::qWaitFor([&connected] { return connected; }, 5000);
}

}  // namespace

TEST(QtTcpClientFarewell, ALastFrameArrivesAndTheConnectionEndsInOrderDespiteUnreadInput)
{
    Peer peer;
    peer.serve(QByteArray(8 * 1024 * 1024, 'm'), 200);
    QtTcpClient client;
    ASSERT_TRUE(connect(client, peer.port));
    QTest::qWait(100);  // the peer's data has arrived and lies unread
    ASSERT_TRUE(client.send("farewell"));
    client.closeAfterSending(0);
    EXPECT_EQ(client.state(), TcpClient::kClosed);
    peer.join();
    EXPECT_EQ(peer.received, "farewell");
    EXPECT_TRUE(peer.endedCleanly) << "ended by errno " << peer.endErrno << " instead of a FIN";
}

TEST(QtTcpClientFarewell, AWaitLetsWhatQtStillHoldsGoOut)
{
    Peer peer;
    peer.serve({}, 300);
    QtTcpClient client;
    ASSERT_TRUE(connect(client, peer.port));
    // More than the kernel takes while the peer does not read, so part waits in Qt's buffer.
    const QByteArray big(16 * 1024 * 1024, 'x');
    ASSERT_TRUE(client.send(big));
    client.closeAfterSending(10000);
    peer.join();
    EXPECT_EQ(peer.received.size(), big.size());
    EXPECT_TRUE(peer.endedCleanly);
}

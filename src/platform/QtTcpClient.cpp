#include "platform/QtTcpClient.h"

#include <QElapsedTimer>

#include <algorithm>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace cubwave {

namespace {

// Keepalive probes after a minute of silence, every 10 s, six unanswered ones end it: a peer
// gone without a word is found within about two minutes.
constexpr int kKeepIdleS = 60;
constexpr int kKeepIntervalS = 10;
constexpr int kKeepCount = 6;

}  // namespace

QtTcpClient::QtTcpClient(int connectLimitMs)
{
    socket_.setReadBufferSize(kReadBufferBytes);
    connectLimit_.setSingleShot(true);
    connectLimit_.setInterval(connectLimitMs);
    QObject::connect(&connectLimit_, &QTimer::timeout, &socket_, [this] {
        onError(QAbstractSocket::SocketTimeoutError, QStringLiteral("Connection timed out"));
        closing_ = true;
        socket_.abort();
        closing_ = false;
    });
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] { onConnected(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] {
        if (handlers_.dataArrived)
            handlers_.dataArrived();
    });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_,
                     [this](QAbstractSocket::SocketError error) { onError(error, socket_.errorString()); });
}

QtTcpClient::~QtTcpClient()
{
    handlers_ = {};
    socket_.abort();
}

int QtTcpClient::errorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return kRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return kConnectionReset;
    case QAbstractSocket::HostNotFoundError:
        return kHostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return kTimedOut;
    case QAbstractSocket::NetworkError:
        return kNetworkUnreachable;
    case QAbstractSocket::AddressInUseError:
        return kAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return kAddressNotAvailable;
    case QAbstractSocket::SocketResourceError:
        return kNoResources;
    default:
        return 0;
    }
}

void QtTcpClient::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(
        &socket_,
        [this, generation = generation_, event = std::move(event)] {
            if (generation == generation_)
                event();
        },
        Qt::QueuedConnection);
}

void QtTcpClient::connectTo(const QString& host, int port)
{
    close();
    if (host.trimmed().isEmpty() || port < 1 || port > 65535) {
        failed_ = true;
        post([this] {
            if (handlers_.error)
                handlers_.error({kInvalidValue, -1, QStringLiteral("The host is empty or the port is not 1 to 65535")});
        });
        return;
    }
    connectLimit_.start();
    socket_.connectToHost(host.trimmed(), quint16(port));
}

void QtTcpClient::close()
{
    ++generation_;
    connectLimit_.stop();
    closing_ = true;
    socket_.abort();
    closing_ = false;
    failed_ = false;
}

void QtTcpClient::closeAfterSending(int waitMs)
{
    const qintptr fd = socket_.socketDescriptor();
    if (fd < 0 || failed_ || socket_.state() != QAbstractSocket::ConnectedState) {
        close();
        return;
    }
    // What Qt still holds goes to the kernel (within waitMs at most), which sends it on after
    // the close; the FIN queues behind it.
    if (waitMs > 0) {
        QElapsedTimer waited;
        waited.start();
        while (socket_.bytesToWrite() > 0 && waited.elapsed() < waitMs)
            socket_.waitForBytesWritten(int(std::max<qint64>(1, waitMs - waited.elapsed())));
    } else {
        socket_.flush();
    }
    ::shutdown(int(fd), SHUT_WR);
    // A close with unread input makes the kernel reset the connection and drop what it has not
    // sent yet, so what arrived is read away first (a bounded amount: a peer that floods on
    // cannot hold the thread).
    socket_.readAll();
    char discard[16384];
    for (int i = 0; i < 256 && ::recv(int(fd), discard, sizeof discard, MSG_DONTWAIT) > 0; ++i) {
    }
    close();
}

void QtTcpClient::onConnected()
{
    connectLimit_.stop();
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const qintptr fd = socket_.socketDescriptor();
    if (fd >= 0) {
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    }
    post([this] {
        if (handlers_.connected)
            handlers_.connected();
    });
}

void QtTcpClient::onError(QAbstractSocket::SocketError error, const QString& description)
{
    if (failed_ || closing_)
        return;  // one event per failure, and none for a close asked for
    failed_ = true;
    connectLimit_.stop();
    // Data that arrived before the peer closed stays readable until the next connect.
    const TcpError report{errorNumber(error), int(error), description};
    post([this, report] {
        if (handlers_.error)
            handlers_.error(report);
    });
}

bool QtTcpClient::send(const QByteArray& bytes)
{
    if (failed_ || socket_.state() != QAbstractSocket::ConnectedState)
        return false;
    if (socket_.write(bytes) != bytes.size())
        return false;
    // Out now rather than on the next pass of the event loop: a request waits on its answer.
    socket_.flush();
    return true;
}

int QtTcpClient::state() const
{
    if (failed_)
        return kError;
    switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
        return kResolvingHost;
    case QAbstractSocket::ConnectingState:
        return kConnecting;
    case QAbstractSocket::ConnectedState:
        return kConnected;
    case QAbstractSocket::ClosingState:
        return kClosing;
    default:
        return kClosed;
    }
}

// The socket's read buffer holds at most kReadBufferBytes, so readAll() is bounded too; read()
// with that size would allocate 256 KiB for every reply of a few bytes.
QByteArray QtTcpClient::takeInput() { return socket_.readAll(); }

}  // namespace cubwave

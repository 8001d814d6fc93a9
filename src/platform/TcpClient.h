#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace cubwave {

// Why a TCP connection failed or ended. number is the socket control's error number for the
// failures the program tells apart (kRefused, kHostNotFound, ...), or 0 for one it does not:
// socketError then says which, and is never to be read as one of those numbers.
struct TcpError {
    int number = 0;
    int socketError = -1;
    QString description;
};

// A TCP client connection to a peer the operator names (a rig daemon, a DX cluster). Events
// arrive on the window thread, never from inside a call to this interface: connected once the
// peer accepts, dataArrived when takeInput() has something, error when the connection fails or
// ends (a peer that closes is error kConnectionReset). After an error the client stays closed
// until connectTo() is called again.
class TcpClient {
public:
    // The socket control's state values; the program tests only for kConnected.
    enum State {
        kClosed = 0,
        kResolvingHost = 4,
        kConnecting = 6,
        kConnected = 7,
        kClosing = 8,
        kError = 9,
    };

    static constexpr int kInvalidValue = 380;  // an empty host, a port outside 1 to 65535
    static constexpr int kAddressInUse = 10048;
    static constexpr int kAddressNotAvailable = 10049;
    static constexpr int kNetworkUnreachable = 10051;
    static constexpr int kConnectionReset = 10054;  // the peer closed or reset the connection
    static constexpr int kNoResources = 10055;
    static constexpr int kTimedOut = 10060;
    static constexpr int kRefused = 10061;
    static constexpr int kHostNotFound = 11001;

    // A peer that never answers the connect is given up after this long (kTimedOut).
    static constexpr int kConnectLimitMs = 20000;
    // At most this much received data waits to be taken; beyond it TCP holds the peer back.
    static constexpr qint64 kReadBufferBytes = 256 * 1024;

    struct Handlers {
        std::function<void()> connected;
        std::function<void()> dataArrived;
        std::function<void(const TcpError&)> error;
    };

    virtual ~TcpClient() = default;

    virtual void setHandlers(Handlers handlers) = 0;
    // Closes any connection first. An empty host or a port outside 1 to 65535 gives error
    // kInvalidValue, like every other failure, as an event.
    virtual void connectTo(const QString& host, int port) = 0;
    // Drops the connection at once; no event follows.
    virtual void close() = 0;
    // Ends the connection once what was sent has gone out (a farewell frame, say); no event
    // follows. Holds the caller up to waitMs for the bytes to leave (0: not at all, for the
    // window thread; a short wait only at program exit).
    virtual void closeAfterSending(int waitMs) = 0;
    // Queues bytes to go out; false unless connected.
    virtual bool send(const QByteArray& bytes) = 0;
    virtual int state() const = 0;
    // Everything received and not yet taken (at most kReadBufferBytes); empty when nothing is.
    virtual QByteArray takeInput() = 0;
};

}  // namespace cubwave

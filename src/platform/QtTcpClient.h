#pragma once

#include "platform/TcpClient.h"

#include <QAbstractSocket>
#include <QTcpSocket>
#include <QTimer>

namespace cubwave {

// TcpClient over QTcpSocket. Qt's connect has no time limit of its own, so one is added; Qt's
// errors become the socket control's numbers; keepalive finds a peer that vanished without a
// FIN in about two minutes; small requests go out at once (no Nagle delay).
class QtTcpClient final : public TcpClient {
public:
    explicit QtTcpClient(int connectLimitMs = kConnectLimitMs);
    ~QtTcpClient() override;
    QtTcpClient(const QtTcpClient&) = delete;
    QtTcpClient& operator=(const QtTcpClient&) = delete;

    void setHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    void connectTo(const QString& host, int port) override;
    void close() override;
    void closeAfterSending(int waitMs) override;
    bool send(const QByteArray& bytes) override;
    int state() const override;
    QByteArray takeInput() override;

    // The socket control's number for Qt's error; 0 for one it has no number for.
    static int errorNumber(QAbstractSocket::SocketError error);

private:
    void onConnected();
    void onError(QAbstractSocket::SocketError error, const QString& description);
    // Events go out from the event loop, so a handler may close or reconnect freely.
    void post(std::function<void()> event);

    QTcpSocket socket_;
    QTimer connectLimit_;
    Handlers handlers_;
    bool failed_ = false;
    bool closing_ = false;
    // Moves on with every connect and close, so an event queued for an older connection is dropped.
    quint64 generation_ = 0;
};

}  // namespace cubwave

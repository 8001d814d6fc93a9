#pragma once

#include "platform/TcpClient.h"

#include <QList>

namespace cubwave::test {

// A TCP client the test plays the peer of: it sees what was sent, and accepts, answers, fails or
// drops the connection by hand. Events are delivered when the test calls for them, as the real
// client delivers them from the event loop.
class FakeTcpClient final : public TcpClient {
public:
    void setHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    void connectTo(const QString& h, int p) override
    {
        host = h;
        port = p;
        ++connects;
        sent.clear();
        input.clear();
        state_ = kConnecting;
    }
    void close() override
    {
        ++closes;
        state_ = kClosed;
        input.clear();
    }
    void closeAfterSending(int waitMs) override
    {
        ++gentleCloses;
        lastCloseWaitMs = waitMs;
        state_ = kClosed;
        input.clear();
    }
    bool send(const QByteArray& bytes) override
    {
        if (state_ != kConnected)
            return false;
        sent.append(bytes);
        return true;
    }
    int state() const override { return state_; }
    QByteArray takeInput() override { return std::exchange(input, QByteArray()); }

    // The peer's side.
    void accept()
    {
        state_ = kConnected;
        if (handlers_.connected)
            handlers_.connected();
    }
    void answer(const QByteArray& bytes)
    {
        input.append(bytes);
        if (handlers_.dataArrived)
            handlers_.dataArrived();
    }
    void fail(int number, const QString& description = QStringLiteral("failed")) { fail({number, -1, description}); }
    // An error as the platform reports it, an unmapped one (number 0, the socket's own value) too.
    void fail(const TcpError& error)
    {
        state_ = kError;
        if (handlers_.error)
            handlers_.error(error);
    }
    // Everything sent since the last call, joined.
    QByteArray takeSent()
    {
        QByteArray all;
        for (const QByteArray& b : std::exchange(sent, {}))
            all += b;
        return all;
    }

    QString host;
    int port = 0;
    int connects = 0;
    int closes = 0;
    int gentleCloses = 0;
    int lastCloseWaitMs = -1;
    QList<QByteArray> sent;
    QByteArray input;

private:
    Handlers handlers_;
    int state_ = kClosed;
};

}  // namespace cubwave::test

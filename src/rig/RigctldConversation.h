#pragma once

#include "rig/RigctldReplies.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>

namespace cubwave {

class OneShotTimer;
class TcpClient;

// The connection to Hamlib's rigctld and the requests on it, one at a time: the next goes out
// only when the answer to the last is whole. A request unanswered for kReplyLimitMs, an answer
// that does not read, a refused or dropped connection: the connection goes, the requests fail,
// the operator is told once, and it is tried again every kRetryMs until close(). Nothing here
// waits on the window thread; answers arrive as the socket's events do.
class RigctldConversation {
public:
    static constexpr int kReplyLimitMs = 2000;
    static constexpr int kRetryMs = 5000;
    static inline const QString kStartHint =
        QStringLiteral("Start it with: rigctld -m MODEL -r DEVICE -s BAUD -T 127.0.0.1 (rigctl -l lists the models).");

    struct Answer {
        bool ok = false;     // a whole answer came (which may still be "RPRT -n")
        RigctldReply reply;
        QString failure;     // why not, when not ok
    };
    using Done = std::function<void(const Answer&)>;

    // The timer paces the reply limit and the retries; both must outlive this.
    RigctldConversation(TcpClient& socket, OneShotTimer& timer);
    ~RigctldConversation();
    RigctldConversation(const RigctldConversation&) = delete;
    RigctldConversation& operator=(const RigctldConversation&) = delete;

    // A line for the status bar: the daemon went missing (trouble, once an outage) or is back.
    void setStatusHandler(std::function<void(const QString& text, bool trouble)> onStatus)
    {
        onStatus_ = std::move(onStatus);
    }

    // Connects and keeps the connection up until close().
    void open(const QString& host, int port);
    // Drops the connection and every request, whose callbacks are not called.
    void close();
    bool isOpen() const { return open_; }
    bool connected() const;
    // A request is out or waiting.
    bool busy() const { return outstanding_ || !waiting_.empty(); }
    QString address() const;

    // Sends command (a whole rigctld command, without its line end) once the requests before it
    // are answered; done gets the answer, valueLines long unless it is an RPRT. While the daemon
    // is not reached, done is told so at once. done may make further requests.
    void request(const QByteArray& command, int valueLines, Done done);
    // The caller found an answer unusable: as an answer that does not read.
    void dropMalformed(const QString& reason);
    // A status line about trouble (an RPRT to a poll, say): told once an outage, as a lost
    // connection is.
    void tellTrouble(const QString& statusLine);
    // An answer that was good: the next trouble is news again.
    void answeredWell();

private:
    struct Request {
        QByteArray command;
        int valueLines;
        Done done;
    };

    void connectNow();
    void onConnected();
    void onData();
    void onError(const QString& description);
    void sendNext();
    void fail(const QString& reason);
    void failAll(const QString& reason);

    TcpClient& socket_;
    OneShotTimer& timer_;
    std::function<void(const QString&, bool)> onStatus_;
    RigctldReplyReader reader_;
    QString host_;
    int port_ = 0;
    bool open_ = false;
    bool outstanding_ = false;
    std::optional<Request> current_;
    std::deque<Request> waiting_;
    bool troubleTold_ = false;
};

}  // namespace cubwave

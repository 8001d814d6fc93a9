#include "rig/RigctldConversation.h"

#include "platform/OneShotTimer.h"
#include "platform/TcpClient.h"

namespace cubwave {

RigctldConversation::RigctldConversation(TcpClient& socket, OneShotTimer& timer) : socket_(socket), timer_(timer)
{
    socket_.setHandlers({[this] { onConnected(); }, [this] { onData(); },
                         [this](const TcpError& error) { onError(error.description); }});
}

RigctldConversation::~RigctldConversation()
{
    timer_.stop();
    socket_.setHandlers({});
    socket_.close();
}

QString RigctldConversation::address() const { return QStringLiteral("%1:%2").arg(host_).arg(port_); }

bool RigctldConversation::connected() const { return open_ && socket_.state() == TcpClient::kConnected; }

void RigctldConversation::open(const QString& host, int port)
{
    close();
    host_ = host;
    port_ = port;
    open_ = true;
    troubleTold_ = false;
    connectNow();
}

void RigctldConversation::connectNow()
{
    reader_.reset();
    socket_.connectTo(host_, port_);
}

void RigctldConversation::close()
{
    open_ = false;
    timer_.stop();
    socket_.close();
    reader_.reset();
    outstanding_ = false;
    current_.reset();
    waiting_.clear();
}

void RigctldConversation::onConnected()
{
    if (!open_)
        return;
    sendNext();
}

void RigctldConversation::request(const QByteArray& command, int valueLines, Done done)
{
    if (!open_ || (socket_.state() != TcpClient::kConnected && socket_.state() != TcpClient::kConnecting
                   && socket_.state() != TcpClient::kResolvingHost)) {
        Answer answer;
        answer.failure = open_ ? QStringLiteral("rigctld at %1 is not reached").arg(address())
                               : QStringLiteral("rigctld is not being polled");
        done(answer);
        return;
    }
    waiting_.push_back({command, valueLines, std::move(done)});
    if (!outstanding_ && socket_.state() == TcpClient::kConnected)
        sendNext();
}

void RigctldConversation::sendNext()
{
    if (outstanding_ || waiting_.empty())
        return;
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
    outstanding_ = true;
    reader_.expect(current_->valueLines);
    // Always a whole command and its line end: rigctld takes a missing argument from the next line.
    if (!socket_.send(current_->command + '\n')) {
        fail(QStringLiteral("the request could not be sent to rigctld at %1").arg(address()));
        return;
    }
    timer_.start(kReplyLimitMs, [this] {
        fail(QStringLiteral("rigctld at %1 did not answer within %2 s").arg(address()).arg(kReplyLimitMs / 1000));
    });
}

void RigctldConversation::onData()
{
    const QByteArray bytes = socket_.takeInput();
    if (!open_)
        return;
    switch (reader_.feed(bytes)) {
    case RigctldReplyReader::Status::NeedMore:
        return;
    case RigctldReplyReader::Status::Malformed:
        fail(reader_.reason() + QStringLiteral(" at %1").arg(address()));
        return;
    case RigctldReplyReader::Status::Done:
        break;
    }
    timer_.stop();
    Answer answer{true, reader_.reply(), {}};
    const Done done = std::move(current_->done);
    current_.reset();
    outstanding_ = false;
    // The next request goes out before this answer is handled, so a request made from done
    // queues behind it as it should.
    sendNext();
    if (done)
        done(answer);
}

void RigctldConversation::onError(const QString& description)
{
    if (!open_)
        return;
    fail(QStringLiteral("rigctld at %1: %2").arg(address(), description));
}

void RigctldConversation::dropMalformed(const QString& reason)
{
    if (open_)
        fail(reason + QStringLiteral(" at %1").arg(address()));
}

void RigctldConversation::fail(const QString& reason)
{
    timer_.stop();
    socket_.close();
    reader_.reset();
    tellTrouble(QStringLiteral("Rig: %1. Trying again every %2 s. %3").arg(reason).arg(kRetryMs / 1000).arg(kStartHint));
    failAll(reason);
    if (open_)
        timer_.start(kRetryMs, [this] { connectNow(); });
}

void RigctldConversation::failAll(const QString& reason)
{
    std::deque<Request> requests = std::exchange(waiting_, {});
    if (current_)
        requests.push_front(std::move(*current_));
    current_.reset();
    outstanding_ = false;
    Answer answer;
    answer.failure = reason;
    for (Request& r : requests) {
        if (r.done)
            r.done(answer);
    }
}

void RigctldConversation::tellTrouble(const QString& statusLine)
{
    if (troubleTold_)
        return;
    troubleTold_ = true;
    if (onStatus_)
        onStatus_(statusLine, true);
}

void RigctldConversation::answeredWell()
{
    if (!troubleTold_)
        return;
    troubleTold_ = false;
    if (onStatus_)
        onStatus_(QStringLiteral("Rig: rigctld at %1 answers again.").arg(address()), false);
}

}  // namespace cubwave

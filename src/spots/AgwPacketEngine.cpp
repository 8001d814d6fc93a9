#include "spots/AgwPacketEngine.h"

#include "platform/OneShotTimer.h"
#include "platform/SettingsStore.h"
#include "platform/TcpClient.h"

namespace cubwave {

namespace {

// Frames the engine sends of its own accord that the window takes; answers to this adapter's
// own requests ('R', 'X', 'G', ...) stay here.
bool forTheWindow(char kind)
{
    switch (kind) {
    case 'C':
    case 'd':
    case 'D':
    case 'U':
    case 'I':
    case 'S':
    case 'T':
        return true;
    default:
        return false;
    }
}

// Monitor copies of connected-mode traffic: information, supervisory and own-transmitted frames.
bool isConnectedModeCopy(char kind) { return kind == 'I' || kind == 'S' || kind == 'T'; }

QString upperCall(const QByteArray& call) { return QString::fromLatin1(call).trimmed().toUpper(); }

}  // namespace

AgwPacketEngine::AgwPacketEngine(TcpClient& socket, OneShotTimer& timer, const SettingsStore& settings)
    : socket_(socket), timer_(timer), settings_(settings)
{
    socket_.setHandlers({[this] { onConnected(); }, [this] { onData(); },
                         [this](const TcpError& error) { onError(error); }});
}

AgwPacketEngine::~AgwPacketEngine()
{
    socket_.setHandlers({});
    if (phase_ != Phase::Closed) {
        timer_.stop();
        socket_.close();
    }
}

bool AgwPacketEngine::startPoll(const QString& ownCall)
{
    close();
    problem_.clear();
    const QString call = ownCall.trimmed().toUpper();
    if (call.isEmpty()) {
        problem_ = QStringLiteral("No call sign to register with the AGW Packet Engine.");
        return false;
    }
    if (call.size() > kMaxCallChars) {
        problem_ = QStringLiteral("The call sign %1 has more than %2 characters; the AGW Packet Engine cannot "
                                  "register it.")
                       .arg(call)
                       .arg(kMaxCallChars);
        return false;
    }
    ownCall_ = call.toLatin1();
    // A port text that is no number reads as 0, which the socket refuses with its own error.
    const int port = settings_.value(kPortKey, QString::number(kDefaultPort)).trimmed().toInt();
    bool radioPortOk = false;
    const int radioPort = settings_.value(kRadioPortKey, QStringLiteral("0")).trimmed().toInt(&radioPortOk);
    radioPort_ = radioPortOk && radioPort >= 0 && radioPort < 256 ? radioPort : 0;
    QString host = settings_.value(kHostKey, kDefaultHost).trimmed();
    if (host.isEmpty())
        host = kDefaultHost;

    decoder_ = AgwFrameDecoder();
    queue_.clear();
    linked_.clear();
    farewellSent_.clear();
    dropped_ = 0;
    versionAnswered_ = false;
    registered_ = false;
    phase_ = Phase::Starting;
    timer_.start(kAnswerLimitMs, [this] { onAnswerLimit(); });
    socket_.connectTo(host, port);  // a bad port comes back as an error event
    return true;
}

void AgwPacketEngine::onConnected()
{
    if (phase_ != Phase::Starting)
        return;
    AgwFrame version;
    version.kind = 'R';
    send(version);
    AgwFrame registration;
    registration.kind = 'X';
    registration.callFrom = ownCall_;
    send(registration);
    // 'm' switches monitoring on and off alike, so it goes once per connection.
    AgwFrame monitor;
    monitor.kind = 'm';
    send(monitor);
}

void AgwPacketEngine::onData()
{
    if (phase_ == Phase::Closed) {
        socket_.takeInput();
        return;
    }
    decoder_.feed(socket_.takeInput());
    while (phase_ != Phase::Closed) {
        const std::optional<AgwFrame> frame = decoder_.next();
        if (!frame)
            break;
        take(*frame);
    }
    if (decoder_.failed() && phase_ != Phase::Closed) {
        const QString why = decoder_.problem();
        if (phase_ == Phase::Starting)
            finishStart(false, why);
        else
            lose(why);
    }
}

void AgwPacketEngine::take(const AgwFrame& frame)
{
    switch (frame.kind) {
    case 'R':
        versionAnswered_ = true;
        break;
    case 'X':
        if (frame.data.isEmpty() || frame.data.at(0) == 0) {
            if (phase_ == Phase::Starting)
                finishStart(false, QStringLiteral("The AGW Packet Engine refused to register the call sign %1: "
                                                  "another program is using it.")
                                       .arg(QString::fromLatin1(ownCall_)));
            return;
        }
        registered_ = true;
        break;
    case 'C':
        linked_.insert(upperCall(frame.callFrom));
        break;
    case 'd':
        linked_.remove(upperCall(frame.callFrom));
        farewellSent_.remove(upperCall(frame.callFrom));
        break;
    default:
        break;
    }
    if (phase_ == Phase::Starting && versionAnswered_ && registered_)
        finishStart(true, {});
    if (!forTheWindow(frame.kind) || isOwnLinkCopy(frame))
        return;

    Received received;
    received.call = QString::fromLatin1(frame.callFrom);
    QByteArray data = frame.data;
    if (data.endsWith('\0'))
        data.chop(1);
    received.data = QString::fromLatin1(data.left(kMaxDataChars));
    received.kind = frame.kind == 'C' ? 'c' : frame.kind;
    if (int(queue_.size()) >= kMaxQueuedFrames) {
        queue_.pop_front();
        ++dropped_;
    }
    queue_.push_back(std::move(received));
}

// With monitoring on, the engine also reports the program's own connection as monitored frames;
// shown, they would make the connected station's spots look like duplicates.
bool AgwPacketEngine::isOwnLinkCopy(const AgwFrame& frame) const
{
    if (!isConnectedModeCopy(frame.kind) || linked_.isEmpty())
        return false;
    const QString from = upperCall(frame.callFrom);
    const QString to = upperCall(frame.callTo);
    const QString own = QString::fromLatin1(ownCall_);
    return (from == own && linked_.contains(to)) || (to == own && linked_.contains(from));
}

void AgwPacketEngine::putData(const QString& station, const QString& data, char kind)
{
    if (phase_ != Phase::Started)
        return;
    AgwFrame frame;
    frame.port = radioPort_;
    frame.callFrom = ownCall_;
    frame.callTo = station.trimmed().toUpper().toLatin1();
    switch (kind) {
    case 'c':
        frame.kind = 'C';
        linked_.insert(QString::fromLatin1(frame.callTo));
        break;
    case 'd':
        frame.kind = 'd';
        farewellSent_.insert(QString::fromLatin1(frame.callTo));
        break;
    case 'D':
        frame.kind = 'D';
        frame.pid = 0xF0;
        frame.data = data.toLatin1();
        break;
    default:
        return;  // 'P' among them: the engine's 'P' is a login, not part of a connect
    }
    send(frame);
}

std::optional<AgwPacketEngine::Received> AgwPacketEngine::getData()
{
    if (queue_.empty())
        return std::nullopt;
    Received next = std::move(queue_.front());
    queue_.pop_front();
    return next;
}

void AgwPacketEngine::close(int waitMs)
{
    if (phase_ == Phase::Closed)
        return;
    shutDown(waitMs);
}

void AgwPacketEngine::shutDown(int waitMs)
{
    // A link (or a connect under way) nobody said goodbye to would hang on at the engine until
    // the other station gives up.
    if (phase_ == Phase::Started) {
        for (const QString& station : std::as_const(linked_))
            if (!farewellSent_.contains(station))
                putData(station, {}, 'd');
    }
    phase_ = Phase::Closed;
    timer_.stop();
    socket_.closeAfterSending(waitMs);
    queue_.clear();
    linked_.clear();
    farewellSent_.clear();
}

void AgwPacketEngine::onError(const TcpError& error)
{
    if (phase_ == Phase::Closed)
        return;
    const QString why = error.number == TcpClient::kConnectionReset
                            ? QStringLiteral("The AGW Packet Engine closed the connection.")
                            : error.description;
    if (phase_ == Phase::Starting)
        finishStart(false, why);
    else
        lose(why);
}

void AgwPacketEngine::onAnswerLimit()
{
    if (phase_ != Phase::Starting)
        return;
    finishStart(false, QStringLiteral("The AGW Packet Engine did not answer within %1 seconds.")
                           .arg(kAnswerLimitMs / 1000));
}

void AgwPacketEngine::finishStart(bool ok, const QString& problem)
{
    timer_.stop();
    problem_ = problem;
    if (ok) {
        phase_ = Phase::Started;
    } else {
        phase_ = Phase::Closed;
        socket_.close();
        queue_.clear();
        linked_.clear();
    }
    if (handlers_.started)
        handlers_.started(ok, problem);
}

void AgwPacketEngine::lose(const QString& problem)
{
    problem_ = problem;
    phase_ = Phase::Closed;
    socket_.close();
    linked_.clear();
    // Frames that arrived before the loss stay for the window to take.
    if (handlers_.lost)
        handlers_.lost(problem);
}

void AgwPacketEngine::send(const AgwFrame& frame) { socket_.send(frame.encode()); }

}  // namespace cubwave

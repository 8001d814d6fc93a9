#pragma once

#include "spots/AgwFrame.h"

#include <QSet>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

namespace cubwave {

class OneShotTimer;
class SettingsStore;
class TcpClient;
struct TcpError;

// The connection to the operator's packet engine over its TCP interface ("AGWPE TCP/IP API
// Tutorial"), offering the four calls the spot window makes: start, put a frame, get a frame,
// close. Nothing here waits on the window thread: the start reports through a handler, and frames
// wait in a bounded queue until the window's timer takes them.
class AgwPacketEngine {
public:
    // Where the engine listens, and the radio port connects go out on; kept in the settings store.
    static inline const QString kHostKey = QStringLiteral("Spots/AgwHost");
    static inline const QString kPortKey = QStringLiteral("Spots/AgwPort");
    static inline const QString kRadioPortKey = QStringLiteral("Spots/AgwRadioPort");
    static inline const QString kDefaultHost = QStringLiteral("127.0.0.1");
    static constexpr int kDefaultPort = 8000;

    // The engine must answer the version request and the call's registration this soon.
    static constexpr int kAnswerLimitMs = 5000;
    // Frames waiting for the window beyond this push the oldest out.
    static constexpr int kMaxQueuedFrames = 1000;
    // The window's data buffer: longer data is cut to this.
    static constexpr int kMaxDataChars = 4000;
    // The header holds a call of at most 9 characters and its NUL.
    static constexpr int kMaxCallChars = AgwFrame::kCallBytes - 1;

    // One frame for the window: the station it came from, its data as text (one byte one
    // character, without a closing NUL) and its kind, 'c' for a connection the engine reports.
    struct Received {
        QString call;
        QString data;
        char kind = 0;
    };

    struct Handlers {
        // The start ended: reached and registered, or not and why (a sentence for the operator).
        std::function<void(bool ok, const QString& problem)> started;
        // The engine went away (or broke the protocol) after a good start.
        std::function<void(const QString& problem)> lost;
    };

    // The socket and the timer must outlive this; the store is read at each start.
    AgwPacketEngine(TcpClient& socket, OneShotTimer& timer, const SettingsStore& settings);
    ~AgwPacketEngine();
    AgwPacketEngine(const AgwPacketEngine&) = delete;
    AgwPacketEngine& operator=(const AgwPacketEngine&) = delete;

    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

    // Connects, asks the version, registers ownCall and turns monitoring on. False when the call
    // is refused before any connection (empty, or too long to register): problem() says why and
    // no handler is called. Otherwise the outcome comes through Handlers::started.
    bool startPoll(const QString& ownCall);
    // Sends one frame for the window: 'c' connects to station, 'd' disconnects from it, 'D' sends
    // it data; any other kind sends nothing. Nothing goes out unless started.
    void putData(const QString& station, const QString& data, char kind);
    // The oldest waiting frame, if any.
    std::optional<Received> getData();
    // Ends the connection: a station still linked (or being called) is sent a disconnect unless
    // one went already, what was sent goes out first, and nothing waits for it unless waitMs > 0
    // (at program exit only). A start under way is cancelled without a report.
    void close(int waitMs = 0);

    bool isStarting() const { return phase_ == Phase::Starting; }
    bool isStarted() const { return phase_ == Phase::Started; }
    QString problem() const { return problem_; }
    // Frames pushed out of the full queue since the start.
    int droppedFrames() const { return dropped_; }
    int queuedFrames() const { return int(queue_.size()); }
    // The stations the engine reports a connection (or a connect under way) with.
    QSet<QString> linkedStations() const { return linked_; }

private:
    enum class Phase { Closed, Starting, Started };

    void onConnected();
    void onData();
    void onError(const TcpError& error);
    void onAnswerLimit();
    void take(const AgwFrame& frame);
    bool isOwnLinkCopy(const AgwFrame& frame) const;
    void send(const AgwFrame& frame);
    void finishStart(bool ok, const QString& problem);
    void lose(const QString& problem);
    void shutDown(int waitMs);

    TcpClient& socket_;
    OneShotTimer& timer_;
    const SettingsStore& settings_;
    Handlers handlers_;
    Phase phase_ = Phase::Closed;
    QByteArray ownCall_;
    int radioPort_ = 0;
    bool versionAnswered_ = false;
    bool registered_ = false;
    AgwFrameDecoder decoder_;
    std::deque<Received> queue_;
    int dropped_ = 0;
    QSet<QString> linked_;        // upper case
    QSet<QString> farewellSent_;  // linked stations sent a disconnect
    QString problem_;
};

}  // namespace cubwave

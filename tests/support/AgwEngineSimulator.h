#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

namespace cubwave::test {

// A packet engine on 127.0.0.1 and a port of the system's choosing, written from the public
// "AGWPE TCP/IP API Tutorial" and independent of the program's frame codec: it answers the
// version request ('R') and call registration ('X'), toggles monitoring ('m'), and plays a radio
// channel with stations that answer connects ('C'), take data ('D') and disconnects ('d'). With
// monitoring on it also reports the program's own link as monitored frames, as a real engine
// does. The test scripts the channel's side.
class AgwEngineSimulator {
public:
    // One frame as the simulator read it from the program.
    struct Frame {
        int port = 0;
        char kind = 0;
        int pid = 0;
        QString callFrom;
        QString callTo;
        QByteArray data;
    };

    AgwEngineSimulator();
    ~AgwEngineSimulator();

    int port() const { return server_.serverPort(); }

    // Script.
    bool answersVersion = true;         // false: the version request goes unanswered
    QSet<QString> callsInUse;           // registration of these is refused
    QSet<QString> stationsOnAir;        // these answer a connect; others time out (RETRYOUT)

    // The channel's side, sent to the program's connection (upper-case calls).
    void monitorUnproto(const QString& from, const QString& to, const QByteArray& info);
    // The connected station sends info: the monitor copy first (when monitoring), then the data.
    void stationSends(const QString& station, const QByteArray& info);
    void stationDisconnects(const QString& station);
    // Bytes as they are, for malformed streams.
    void sendRaw(const QByteArray& bytes);
    // The engine is closed: the listening socket and the program's connection go.
    void kill();

    // What the program sent, in order, and what the simulator holds of it.
    QList<Frame> received;
    int connections = 0;
    QString registeredCall;
    bool monitoring = false;
    QSet<QString> linkedStations;
    QList<QByteArray> dataAtStation;  // info the program's link delivered to a station

    bool clientConnected() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }
    // The frames received of one kind.
    QList<Frame> framesOfKind(char kind) const;

    // One frame laid out as the tutorial describes its header.
    static QByteArray frameBytes(int port, char kind, int pid, const QString& from, const QString& to,
                                 const QByteArray& data);

private:
    void serve();
    void handle(const Frame& frame);
    void send(char kind, const QString& from, const QString& to, const QByteArray& data, int pid = 0);
    // A monitor line as the engine writes it above a frame's info.
    void monitorCopy(char kind, const QString& from, const QString& to, const QByteArray& info, const char* what);

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray pending_;
};

}  // namespace cubwave::test

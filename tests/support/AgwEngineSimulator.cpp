#include "support/AgwEngineSimulator.h"

#include <QDataStream>
#include <QTime>

namespace cubwave::test {

namespace {

constexpr int kHeaderBytes = 36;
constexpr int kCallField = 10;

void writeCall(QDataStream& out, const QString& call)
{
    QByteArray field = call.toLatin1().left(kCallField - 1);
    field.append(QByteArray(kCallField - field.size(), '\0'));
    out.writeRawData(field.constData(), kCallField);
}

QString readCall(const QByteArray& field)
{
    const qsizetype nul = field.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? field : field.left(nul));
}

}  // namespace

AgwEngineSimulator::AgwEngineSimulator()
{
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* client = server_.nextPendingConnection()) {
            ++connections;
            if (client_)
                client_->abort();
            client_ = client;
            pending_.clear();
            monitoring = false;
            QObject::connect(client, &QTcpSocket::readyRead, client, [this] { serve(); });
        }
    });
}

AgwEngineSimulator::~AgwEngineSimulator() { kill(); }

QByteArray AgwEngineSimulator::frameBytes(int port, char kind, int pid, const QString& from, const QString& to,
                                          const QByteArray& data)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // Port and kind are four bytes each; the engine reads the low word, and the PID rides in
    // the kind's high word.
    out << quint32(port);
    out << quint8(kind) << quint8(0) << quint8(pid) << quint8(0);
    writeCall(out, from);
    writeCall(out, to);
    out << quint32(data.size()) << quint32(0);
    out.writeRawData(data.constData(), int(data.size()));
    return bytes;
}

void AgwEngineSimulator::serve()
{
    pending_ += client_->readAll();
    while (pending_.size() >= kHeaderBytes) {
        QDataStream in(pending_);
        in.setByteOrder(QDataStream::LittleEndian);
        quint32 port = 0;
        quint8 kind = 0, reserved = 0, pid = 0;
        in >> port >> kind >> reserved >> pid >> reserved;
        QByteArray from(kCallField, '\0'), to(kCallField, '\0');
        in.readRawData(from.data(), kCallField);
        in.readRawData(to.data(), kCallField);
        quint32 length = 0, user = 0;
        in >> length >> user;
        if (pending_.size() < kHeaderBytes + qsizetype(length))
            return;
        Frame frame{int(port & 0xFFFF), char(kind), pid, readCall(from), readCall(to),
                    pending_.mid(kHeaderBytes, length)};
        pending_.remove(0, kHeaderBytes + length);
        received.append(frame);
        handle(frame);
    }
}

void AgwEngineSimulator::handle(const Frame& frame)
{
    switch (frame.kind) {
    case 'R':
        if (answersVersion) {
            QByteArray version;
            QDataStream out(&version, QIODevice::WriteOnly);
            out.setByteOrder(QDataStream::LittleEndian);
            out << quint16(2005) << quint16(0) << quint16(127) << quint16(0);
            send('R', {}, {}, version);
        }
        break;
    case 'X': {
        const bool inUse = callsInUse.contains(frame.callFrom.toUpper());
        if (!inUse)
            registeredCall = frame.callFrom.toUpper();
        send('X', frame.callFrom, {}, QByteArray(1, inUse ? '\0' : '\1'));
        break;
    }
    case 'm':
        monitoring = !monitoring;
        break;
    case 'C': {
        const QString station = frame.callTo.toUpper();
        monitorCopy('T', frame.callFrom, station, {}, "SABM P");
        if (stationsOnAir.contains(station)) {
            monitorCopy('S', station, frame.callFrom, {}, "UA F");
            linkedStations.insert(station);
            send('C', station, frame.callFrom, "*** CONNECTED With Station " + station.toLatin1() + "\r");
        } else {
            send('d', station, frame.callFrom, "*** DISCONNECTED RETRYOUT With " + station.toLatin1() + "\r");
        }
        break;
    }
    case 'D': {
        const QString station = frame.callTo.toUpper();
        if (!linkedStations.contains(station))
            break;
        monitorCopy('T', frame.callFrom, station, frame.data, "I C S0 R0");
        monitorCopy('S', station, frame.callFrom, {}, "RR F R1");
        dataAtStation.append(frame.data);
        break;
    }
    case 'd': {
        const QString station = frame.callTo.toUpper();
        if (!linkedStations.remove(station))
            break;
        monitorCopy('T', frame.callFrom, station, {}, "DISC P");
        send('d', station, frame.callFrom, "*** DISCONNECTED From Station " + station.toLatin1() + "\r");
        break;
    }
    default:
        break;
    }
}

void AgwEngineSimulator::send(char kind, const QString& from, const QString& to, const QByteArray& data, int pid)
{
    if (client_)
        client_->write(frameBytes(0, kind, pid, from, to, data));
}

void AgwEngineSimulator::monitorCopy(char kind, const QString& from, const QString& to, const QByteArray& info,
                                     const char* what)
{
    if (!monitoring)
        return;
    QByteArray text = " 1:Fm " + from.toLatin1() + " To " + to.toLatin1() + " <" + what;
    if (!info.isEmpty())
        text += " pid=F0 Len=" + QByteArray::number(info.size());
    text += " >[" + QTime::currentTime().toString(QStringLiteral("hh:mm:ss")).toLatin1() + "]\r";
    if (!info.isEmpty())
        text += info + "\r";
    send(kind, from, to, text + '\0', info.isEmpty() ? 0 : 0xF0);
}

void AgwEngineSimulator::monitorUnproto(const QString& from, const QString& to, const QByteArray& info)
{
    if (!monitoring)
        return;
    const QByteArray text = " 1:Fm " + from.toLatin1() + " To " + to.toLatin1() + " <UI pid=F0 Len="
                            + QByteArray::number(info.size()) + " >["
                            + QTime::currentTime().toString(QStringLiteral("hh:mm:ss")).toLatin1() + "]\r" + info
                            + "\r";
    send('U', from, to, text + '\0', 0xF0);
}

void AgwEngineSimulator::stationSends(const QString& station, const QByteArray& info)
{
    if (!linkedStations.contains(station))
        return;
    monitorCopy('I', station, registeredCall, info, "I C S0 R0");
    send('D', station, registeredCall, info, 0xF0);
}

void AgwEngineSimulator::stationDisconnects(const QString& station)
{
    if (!linkedStations.remove(station))
        return;
    monitorCopy('S', station, registeredCall, {}, "DISC P");
    send('d', station, registeredCall, "*** DISCONNECTED From Station " + station.toLatin1() + "\r");
}

void AgwEngineSimulator::sendRaw(const QByteArray& bytes)
{
    if (client_)
        client_->write(bytes);
}

void AgwEngineSimulator::kill()
{
    server_.close();
    if (client_)
        client_->abort();
}

QList<AgwEngineSimulator::Frame> AgwEngineSimulator::framesOfKind(char kind) const
{
    QList<Frame> frames;
    for (const Frame& f : received)
        if (f.kind == kind)
            frames.append(f);
    return frames;
}

}  // namespace cubwave::test

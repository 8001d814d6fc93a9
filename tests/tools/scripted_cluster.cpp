// A DX cluster for end-to-end runs: listens on 127.0.0.1 at a free port, which it writes to
// FOLDER/cluster.port, and plays a short script with each client. It asks for the echo option
// and a login, greets the login with a few spot lines cut at odd places, and closes the
// connection when the client sends "bye". Everything received is appended to
// FOLDER/cluster.received, and each connection adds a line to FOLDER/cluster.connections.
//   scripted_cluster FOLDER
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>

namespace {

QByteArray spotLine(const char* spotter, const char* frequency, const char* call)
{
    QByteArray line = QByteArray("DX de ") + spotter + ':';
    line = line.leftJustified(15, ' ') + QByteArray(frequency).rightJustified(9, ' ') + "  " +
           QByteArray(call).leftJustified(13, ' ') + QByteArray("CQ").leftJustified(31, ' ') + "1200Z";
    return line;
}

void append(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(bytes);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: scripted_cluster FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "scripted_cluster: cannot listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket* peer = server.nextPendingConnection()) {
            append(folder + QStringLiteral("/cluster.connections"), "connected\n");
            peer->write(QByteArray("\xff\xfd\x01", 3) + "Welcome to the test cluster\r\nlogin: ");
            auto* pending = new QByteArray;
            auto* loggedIn = new bool(false);
            QObject::connect(peer, &QTcpSocket::destroyed, [pending, loggedIn] {
                delete pending;
                delete loggedIn;
            });
            QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer, pending, loggedIn, folder] {
                const QByteArray bytes = peer->readAll();
                append(folder + QStringLiteral("/cluster.received"), bytes);
                *pending += bytes;
                qsizetype end;
                while ((end = pending->indexOf('\n')) >= 0) {
                    const QByteArray line = pending->left(end).trimmed();
                    pending->remove(0, end + 1);
                    if (line.toLower() == "bye") {
                        peer->write("73\r\n");
                        peer->disconnectFromHost();
                        return;
                    }
                    if (!*loggedIn) {
                        *loggedIn = true;
                        const QByteArray spots = "Hello " + line + "\r\n" +
                                                 spotLine("W3LPL", "14025.0", "K1ABC") + "\r\n" +
                                                 spotLine("DL1XX", "21074.0", "JA1ZZ") + "\r\n" +
                                                 spotLine("VE3AA", "3525.0", "EA8XY") + "\r\n";
                        peer->write(spots.left(100));
                        peer->flush();
                        peer->write(spots.mid(100));
                    }
                }
            });
            QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
    // Written last: a reader that sees the port can connect.
    QFile portFile(folder + QStringLiteral("/cluster.port.tmp"));
    if (!portFile.open(QIODevice::WriteOnly))
        return 1;
    portFile.write(QByteArray::number(server.serverPort()) + "\n");
    portFile.close();
    QFile::rename(folder + QStringLiteral("/cluster.port.tmp"), folder + QStringLiteral("/cluster.port"));
    return app.exec();
}

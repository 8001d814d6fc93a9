#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace cubwave::test {

// A scripted stand-in for rigctld on 127.0.0.1 and a port of the system's choosing: it reads
// whole command lines and answers each as the script says, which may be a wrong answer, no
// answer at all, or dropping the connection. What it was sent is kept in order.
class FakeRigctld {
public:
    // What to do with one command line (without its line end).
    struct Answer {
        QByteArray bytes;  // sent back as they are
        bool drop = false;  // close the connection instead
        static Answer silence() { return {}; }
        static Answer hangUp() { return {{}, true}; }
    };
    using Script = std::function<Answer(const QByteArray& command)>;

    explicit FakeRigctld(Script script) : script_(std::move(script))
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* client = server_.nextPendingConnection()) {
                ++connections;
                client_ = client;
                QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] { serve(client); });
            }
        });
    }

    int port() const { return server_.serverPort(); }
    // Stops listening and drops the connection, as a killed daemon does.
    void kill()
    {
        server_.close();
        if (client_)
            client_->abort();
    }
    void listenAgain(int onPort) { server_.listen(QHostAddress::LocalHost, quint16(onPort)); }

    // The rigctld dummy radio's answers to the poll and the set commands, for a script to fall
    // back on.
    static Answer dummy(const QByteArray& command)
    {
        if (command == "f")
            return {"7025000\n"};
        if (command == "m")
            return {"CW\n500\n"};
        return {"RPRT 0\n"};
    }

    QList<QByteArray> commands;
    int connections = 0;

private:
    void serve(QTcpSocket* client)
    {
        pending_ += client->readAll();
        qsizetype end;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QByteArray command = pending_.left(end);
            pending_.remove(0, end + 1);
            commands.append(command);
            const Answer answer = script_(command);
            if (answer.drop) {
                pending_.clear();
                client->abort();
                return;
            }
            client->write(answer.bytes);
        }
    }

    Script script_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray pending_;
};

}  // namespace cubwave::test

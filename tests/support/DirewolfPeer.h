#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace cubwave::test {

// Debian's direwolf as a real packet engine for tests: headless (audio from its standard input,
// none out), its engine interface on a free port, no KISS port, bound to loopback only through
// the preloaded bind shim. Radio traffic is audio made by its own gen_packets from monitor-style
// lines ("W3LPL>DX:DX de ..."), so it decodes real UI frames. Ended by its own PID.
class DirewolfPeer {
public:
    // Whether direwolf and gen_packets are installed; why not, for a skip message.
    static bool available(QString* why = nullptr);

    DirewolfPeer();
    ~DirewolfPeer();
    DirewolfPeer(const DirewolfPeer&) = delete;
    DirewolfPeer& operator=(const DirewolfPeer&) = delete;

    // Starts direwolf; false (with its output in log()) unless it listens within timeoutMs.
    bool start(int timeoutMs = 10000);
    int port() const { return port_; }
    // Whether the engine port is bound to 127.0.0.1 only (read from the kernel's socket table).
    bool listensOnLoopbackOnly() const;
    // 1200 baud AFSK audio (16-bit mono samples, 44.1 kHz) carrying these packets.
    QByteArray audioFor(const QStringList& monitorLines) const;
    // Plays audio into direwolf's receiver, with a little silence on each side.
    void play(const QByteArray& samples);
    QByteArray log();

private:
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    QByteArray log_;
};

}  // namespace cubwave::test

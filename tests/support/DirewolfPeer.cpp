#include "support/DirewolfPeer.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace cubwave::test {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kWaveHeaderBytes = 44;

}  // namespace

bool DirewolfPeer::available(QString* why)
{
    for (const char* program : {"direwolf", "gen_packets"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            if (why)
                *why = QStringLiteral("%1 (Debian package direwolf) is not installed").arg(QString::fromLatin1(program));
            return false;
        }
    }
    return true;
}

DirewolfPeer::DirewolfPeer()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port_ = probe.serverPort();
    probe.close();
}

DirewolfPeer::~DirewolfPeer()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool DirewolfPeer::start(int timeoutMs)
{
    QFile config(dir_.filePath(QStringLiteral("direwolf.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(QStringLiteral("ADEVICE stdin null\nARATE %1\nACHANNELS 1\nCHANNEL 0\nMYCALL N0SIM\nMODEM 1200\n"
                                "AGWPORT %2\nKISSPORT 0\n")
                     .arg(kSampleRate)
                     .arg(port_)
                     .toLatin1());
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(CUBWAVE_LOOPBACK_BIND));
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(dir_.path());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Ends with whoever started it, even one killed without a chance to clean up.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // -t 0: no colour codes; "-": audio from standard input.
    process_.start(QStringLiteral("direwolf"),
                   {QStringLiteral("-c"), config.fileName(), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-")});
    if (!process_.waitForStarted(5000))
        return false;
    return QTest::qWaitFor(
        [this] {
            if (process_.state() == QProcess::NotRunning)
                return true;
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, quint16(port_));
            return s.waitForConnected(200);
        },
        timeoutMs)
           && process_.state() == QProcess::Running;
}

bool DirewolfPeer::listensOnLoopbackOnly() const
{
    // /proc/net/tcp: "sl local_address rem_address st ...", addresses as hex ADDR:PORT, listening
    // state 0A. Any IPv6 listener on the port is looked for too.
    const QString portHex = QStringLiteral("%1").arg(port_, 4, 16, QLatin1Char('0')).toUpper();
    bool loopback = false;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 4 || fields[3] != "0A" || !fields[1].endsWith(":" + portHex.toLatin1()))
                continue;
            const QByteArray address = fields[1].left(fields[1].indexOf(':'));
            if (address == "0100007F" || address == "00000000000000000000000001000000")
                loopback = true;
            else
                return false;
        }
    }
    return loopback;
}

QByteArray DirewolfPeer::audioFor(const QStringList& monitorLines) const
{
    const QString packets = dir_.filePath(QStringLiteral("packets.txt"));
    const QString wave = dir_.filePath(QStringLiteral("packets.wav"));
    QFile file(packets);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(monitorLines.join(QLatin1Char('\n')).toLatin1() + '\n');
    file.close();
    QProcess gen;
    gen.start(QStringLiteral("gen_packets"),
              {QStringLiteral("-r"), QString::number(kSampleRate), QStringLiteral("-o"), wave, packets});
    gen.waitForFinished(10000);
    QFile audio(wave);
    if (!audio.open(QIODevice::ReadOnly))
        return {};
    return audio.readAll().mid(kWaveHeaderBytes);
}

void DirewolfPeer::play(const QByteArray& samples)
{
    const QByteArray silence(kSampleRate / 4 * 2, '\0');
    process_.write(silence + samples + silence);
}

QByteArray DirewolfPeer::log()
{
    log_ += process_.readAll();
    return log_;
}

}  // namespace cubwave::test

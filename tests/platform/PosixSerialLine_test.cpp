#include "platform/PosixSerialLine.h"

#include "platform/KeyingRelease.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace cubwave {
namespace {

// A pseudo-terminal pair: the line opens the slave by path, the test plays the far end.
class Pty {
public:
    Pty()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = QString::fromLocal8Bit(name);
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty()
    {
        ::close(master_);
        ::close(slave_);
    }
    QString path() const { return path_; }
    int master() const { return master_; }
    // The slave's settings as the line left them (the slave descriptor here shares the tty).
    termios settings() const
    {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }
    int slave() const { return slave_; }
    QByteArray readMaster()
    {
        QByteArray out;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(master_, buf, sizeof buf)) > 0)
            out.append(buf, n);
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

QByteArray allBytes(int times = 1)
{
    QByteArray b;
    for (int t = 0; t < times; ++t)
        for (int i = 0; i < 256; ++i)
            b += static_cast<char>(i);
    return b;
}

TEST(PosixSerialLine, BytesZeroTo255GoOutInOrder)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path())) << line.errorText().toStdString();
    ASSERT_TRUE(line.write(allBytes()));
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < 256 && t.elapsed() < 5000)
        got += pty.readMaster();
    EXPECT_EQ(got, allBytes());
}

TEST(PosixSerialLine, BytesZeroTo255ComeInInOrderAndReadingNeverWaits)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(line.readAll().isEmpty());
    EXPECT_LT(t.elapsed(), 500);
    const QByteArray sent = allBytes(3);
    ASSERT_EQ(::write(pty.master(), sent.constData(), sent.size()), sent.size());
    QByteArray got;
    while (got.size() < sent.size() && t.elapsed() < 5000)
        got += line.readAll();
    EXPECT_EQ(got, sent);
}

TEST(PosixSerialLine, ReadsAreBoundedAndLoseNothing)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    QByteArray sent;
    for (int i = 0; i < 3000; ++i)
        sent += QByteArray::number(i) + ',';
    QByteArray got;
    qsizetype offset = 0;
    QElapsedTimer t;
    t.start();
    while (got.size() < sent.size() && t.elapsed() < 10000) {
        if (offset < sent.size()) {
            const ssize_t n = ::write(pty.master(), sent.constData() + offset, sent.size() - offset);
            if (n > 0)
                offset += n;
        }
        const QByteArray chunk = line.readAll();
        EXPECT_LE(chunk.size(), PosixSerialLine::kMaxReadBytes);
        got += chunk;
    }
    EXPECT_EQ(got, sent);
}

TEST(PosixSerialLine, OutputBeyondTheKernelQueueIsCountedAndDeliveredInOrder)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    const QByteArray big = allBytes(1200);  // ~300 KB, more than a pty takes at once
    ASSERT_TRUE(line.write(big));
    EXPECT_GT(line.outputCount(), 0);
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < big.size() && t.elapsed() < 10000) {
        got += pty.readMaster();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(got.size(), big.size());
    EXPECT_TRUE(got == big);
    EXPECT_EQ(line.outputCount(), 0);
}

TEST(PosixSerialLine, DiscardedOutputNeverGoesOutAndTheLineGoesOn)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    const QByteArray big = allBytes(1200);  // more than the pty takes: most waits in the line
    ASSERT_TRUE(line.write(big));
    ASSERT_GT(line.outputCount(), 0);
    line.discardOutput();
    EXPECT_EQ(line.outputCount(), 0);
    ASSERT_TRUE(line.write("END"));
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (!got.endsWith("END") && t.elapsed() < 5000) {
        got += pty.readMaster();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(got.endsWith("END"));
    EXPECT_LT(got.size(), big.size());
    line.discardOutput();  // nothing waiting, and safe on a closed line too
    line.close();
    line.discardOutput();
    EXPECT_FALSE(line.isOpen());
}

TEST(PosixSerialLine, OutputQueueIsBounded)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    bool refused = false;
    for (int i = 0; i < 40 && !refused; ++i)
        refused = !line.write(QByteArray(64 * 1024, 'x'));
    EXPECT_TRUE(refused);
    EXPECT_LE(line.outputCount(), PosixSerialLine::kMaxQueuedBytes + 1024 * 1024);
}

TEST(PosixSerialLine, OpenFailuresGiveTheSystemsReason)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("notaport"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct {
        QString path;
        const char* reasonContains;
    } cases[] = {
        {"/dev/does-not-exist-cubwave", "No such file"},
        {dir.filePath("notaport"), "not a serial port"},
        {dir.path(), ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        PosixSerialLine line;
        EXPECT_FALSE(line.open(c.path)) << c.path.toStdString();
        EXPECT_FALSE(line.isOpen());
        EXPECT_FALSE(line.errorText().isEmpty());
        EXPECT_TRUE(line.errorText().contains(QLatin1String(c.reasonContains))) << line.errorText().toStdString();
        EXPECT_FALSE(line.write("x"));
        EXPECT_EQ(line.modemKeyingLine(ModemLine::Dtr), nullptr);
    }
}

TEST(PosixSerialLine, OpensRawEightBitExclusiveWithHangUpOnClose)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.setSettings("4800,N,8,1"));
    ASSERT_TRUE(line.open(pty.path()));
    const termios t = pty.settings();
    EXPECT_TRUE(t.c_cflag & HUPCL);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_iflag & (ICRNL | ISTRIP | IXON));
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    int exclusive = 0;
    ASSERT_EQ(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
}

struct FramingCase {
    const char* settings;
    int handshaking;
    speed_t speed;
    tcflag_t size;
    bool parity, odd, twoStops, rtscts, xonxoff;
};
const FramingCase kFraming[] = {
    {"9600,N,8,1", 0, B9600, CS8, false, false, false, false, false},
    {"1200,E,7,2", 1, B1200, CS7, true, false, true, false, true},
    {"38400,o,8,1", 2, B38400, CS8, true, true, false, true, false},
    {"57600,N,8,1", 3, B57600, CS8, false, false, false, true, true},  // both at once
};

TEST(PosixSerialLine, FramingAndHandshakingSettings)
{
    for (const auto& c : kFraming) {
        termios t{};
        t.c_iflag = IXANY | ICRNL;
        t.c_cflag = CS5 | PARENB | CRTSCTS;
        PosixSerialLine::applyLineSettings(t, *SerialSettings::parse(c.settings), c.handshaking);
        EXPECT_EQ(cfgetospeed(&t), c.speed) << c.settings;
        EXPECT_EQ(t.c_cflag & CSIZE, c.size) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & PARENB), c.parity) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & PARODD), c.odd) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & CSTOPB), c.twoStops) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & CRTSCTS), c.rtscts) << c.settings;
        EXPECT_EQ(bool(t.c_iflag & IXON), c.xonxoff) << c.settings;
        EXPECT_EQ(bool(t.c_iflag & IXOFF), c.xonxoff) << c.settings;
        EXPECT_TRUE(t.c_cflag & HUPCL);
        EXPECT_FALSE(t.c_iflag & (IXANY | ICRNL));
    }
}

// A pty keeps 8 data bits without parity whatever it is told; the rest reaches the handle.
TEST(PosixSerialLine, SettingsAndHandshakingReachTheHandle)
{
    for (const auto& c : kFraming) {
        Pty pty;
        PosixSerialLine line;
        ASSERT_TRUE(line.open(pty.path()));
        ASSERT_TRUE(line.setSettings(c.settings)) << c.settings;
        ASSERT_TRUE(line.setHandshaking(c.handshaking));
        const termios t = pty.settings();
        EXPECT_EQ(cfgetospeed(&t), c.speed) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & CSTOPB), c.twoStops) << c.settings;
        EXPECT_EQ(bool(t.c_cflag & CRTSCTS), c.rtscts) << c.settings;
        EXPECT_EQ(bool(t.c_iflag & IXON), c.xonxoff) << c.settings;
        EXPECT_EQ(bool(t.c_iflag & IXOFF), c.xonxoff) << c.settings;
    }
}

TEST(PosixSerialLine, BadSettingsAndHandshakingAreRefused)
{
    PosixSerialLine line;
    EXPECT_FALSE(line.setSettings("9600,X,8,1"));
    EXPECT_FALSE(line.setHandshaking(4));
    EXPECT_FALSE(line.setHandshaking(-1));
}

TEST(PosixSerialLine, CloseIsSafeTwiceAndReopens)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    line.close();
    line.close();
    EXPECT_FALSE(line.isOpen());
    EXPECT_TRUE(line.readAll().isEmpty());
    EXPECT_EQ(line.outputCount(), 0);
    ASSERT_TRUE(line.open(pty.path()));
    EXPECT_EQ(line.devicePath(), pty.path());
}

// An unplugged USB adapter answers every request with EIO (a pty whose far end has closed does
// too). The line lets go of the device at once, so the adapter gets its old name back when it
// is put in again, and the next open starts afresh.
TEST(PosixSerialLine, AModemRequestOnAGoneDeviceClosesTheLine)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    PosixSerialLine line;
    ASSERT_TRUE(line.open(QString::fromLocal8Bit(name)));
    const auto keying = line.modemKeyingLine(ModemLine::Dtr);
    ::close(slave);
    ::close(master);

    // From the keying thread: refused and marked, the descriptor left to the window thread.
    EXPECT_FALSE(keying->setKeyed(true));
    EXPECT_EQ(keying->errorText(), QString::fromLocal8Bit(std::strerror(EIO)));
    EXPECT_TRUE(line.failed());
    EXPECT_TRUE(line.isOpen());
    // From the window thread (PTT): closed at once.
    EXPECT_FALSE(line.setModemLine(ModemLine::Rts, true));
    EXPECT_FALSE(line.isOpen());
    EXPECT_TRUE(line.failed());
    EXPECT_EQ(line.errorText(), QString::fromLocal8Bit(std::strerror(EIO)));

    Pty again;
    ASSERT_TRUE(line.open(again.path()));
    EXPECT_FALSE(line.failed());
}

// Once the program is ending, no line is keyed again, whatever asks.
TEST(PosixSerialLine, NoLineIsRaisedAfterTheKeyingIsHalted)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    KeyingRelease::halt();
    EXPECT_FALSE(line.setModemLine(ModemLine::Rts, true));
    EXPECT_EQ(line.errorText(), "keying stopped: the program is ending");
    EXPECT_FALSE(line.modemKeyingLine(ModemLine::Dtr)->setKeyed(true));
    EXPECT_TRUE(line.isOpen());
    KeyingRelease::resume();
}

}  // namespace
}  // namespace cubwave

namespace cubwave {
namespace {

// The farewell goes out once, on the release of the exit paths, and only while the line is open.
TEST(PosixSerialLine, FarewellIsWrittenOnceByTheReleaseAndForgottenAtClose)
{
    Pty pty;
    PosixSerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    line.setFarewell(QByteArray("\x0A\x00\x03", 3));
    KeyingRelease::releaseAll();
    KeyingRelease::releaseAll();
    EXPECT_EQ(pty.readMaster(), QByteArray("\x0A\x00\x03", 3));
    line.setFarewell("BYE");
    line.close();
    KeyingRelease::releaseAll();
    EXPECT_EQ(pty.readMaster(), "");
    // A new open starts with none.
    ASSERT_TRUE(line.open(pty.path()));
    KeyingRelease::releaseAll();
    EXPECT_EQ(pty.readMaster(), "");
    line.setFarewell({});
    KeyingRelease::releaseAll();
    EXPECT_EQ(pty.readMaster(), "");
}

}  // namespace
}  // namespace cubwave

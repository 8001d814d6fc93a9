#include "platform/KeyingRelease.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <pty.h>
#include <unistd.h>

namespace cubwave {
namespace {

struct Request {
    QString name;
    unsigned value;
};

std::vector<Request> requests(const QString& log)
{
    std::vector<Request> out;
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3)
            out.push_back({QString::fromLatin1(parts[1]), parts[2].toUInt()});
    }
    return out;
}

// Every way out of a program with a keyed line must leave the line down, and a parallel port's
// control register at 2, before the program is gone.
TEST(KeyingRelease, CrashesAndExitReleaseEveryKeyingLine)
{
    constexpr unsigned kDtr = 0x002;  // TIOCM_DTR
    constexpr unsigned kRts = 0x004;  // TIOCM_RTS
    struct {
        const char* how;
        int signal;
    } cases[] = {{"segv", SIGSEGV}, {"abrt", SIGABRT}, {"bus", SIGBUS}, {"fpe", SIGFPE}, {"exit", 0}};
    for (const auto& c : cases) {
        int master = -1, slave = -1;
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        QTemporaryDir dir;
        const QString log = dir.filePath("ioctl.log");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", CUBWAVE_IOCTL_RECORDER);
        env.insert("CUBWAVE_IOCTL_LOG", log);
        // The helper leaks its line on purpose: the exit path, not a destructor, must release it.
        env.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0:handle_segv=0:handle_abort=0:handle_sigbus=0:handle_sigfpe=0");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(CUBWAVE_KEYED_CRASH, {QString::fromLocal8Bit(name), c.how});
        ASSERT_TRUE(p.waitForFinished(20000)) << c.how;
        ::close(master);
        ::close(slave);
        if (c.signal) {
            EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << c.how << p.readAllStandardError().toStdString();
        } else {
            EXPECT_EQ(p.exitCode(), 0) << c.how << p.readAllStandardError().toStdString();
        }

        const auto r = requests(log);
        ASSERT_GE(r.size(), 3u) << c.how;
        // Dropped on opening, before anything else.
        EXPECT_EQ(r.front().name, "TIOCMBIC") << c.how;
        EXPECT_EQ(r.front().value, kDtr | kRts) << c.how;
        // Keyed, then released on the way out.
        auto keyed = std::find_if(r.begin(), r.end(), [](const Request& q) { return q.name == "TIOCMBIS"; });
        ASSERT_NE(keyed, r.end()) << c.how;
        EXPECT_EQ(keyed->value, kDtr) << c.how;
        const bool serialReleased = std::any_of(keyed, r.end(), [&](const Request& q) {
            return q.name == "TIOCMBIC" && (q.value & kDtr);
        });
        const bool parallelReleased = std::any_of(keyed, r.end(), [](const Request& q) {
            return q.name == "PPWCONTROL" && q.value == 2;
        });
        EXPECT_TRUE(serialReleased) << c.how;
        EXPECT_TRUE(parallelReleased) << c.how;
    }
}

TEST(KeyingRelease, SlotsAreReusedAndBounded)
{
    std::vector<int> taken;
    for (int i = 0; i < KeyingRelease::kSlots + 5; ++i)
        taken.push_back(KeyingRelease::addSerial(-1 - i, 0));
    EXPECT_EQ(std::count(taken.begin(), taken.end(), -1), 5);
    for (int s : taken)
        KeyingRelease::remove(s);
    const int again = KeyingRelease::addParallel(-7);
    EXPECT_GE(again, 0);
    KeyingRelease::remove(again);
    KeyingRelease::releaseAll();  // nothing registered: nothing happens
}

}  // namespace
}  // namespace cubwave

#include "platform/KeyingRelease.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace cubwave {
namespace {

struct Request {
    QString name;
    unsigned value;
    qint64 ns = 0;
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
            out.push_back({QString::fromLatin1(parts[1]), parts[2].toUInt(), parts[0].toLongLong()});
    }
    return out;
}

// The helper leaks its line on purpose: the exit path, not a destructor, must release it.
constexpr const char* kAsanOptions = "detect_leaks=0:verify_asan_link_order=0:handle_segv=0:handle_abort=0:"
                                     "handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_sigtrap=0";

// The helper on a fresh pty under the recorder; the pty lives as long as this.
struct KeyedChild {
    explicit KeyedChild(const char* how, const QByteArray& farewell = {})
    {
        char name[256] = {};
        ok = ::openpty(&master, &slave, name, nullptr, nullptr) == 0;
        log = dir.filePath("ioctl.log");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", CUBWAVE_IOCTL_RECORDER);
        env.insert("CUBWAVE_IOCTL_LOG", log);
        env.insert("ASAN_OPTIONS", kAsanOptions);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!farewell.isEmpty())
            env.insert("CUBWAVE_FAREWELL", QString::fromLatin1(farewell));
        process.setProcessEnvironment(env);
        process.start(CUBWAVE_KEYED_CRASH, {QString::fromLocal8Bit(name), how});
    }
    ~KeyedChild()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
        ::close(master);
        ::close(slave);
    }
    // Waits for a line of the helper's output.
    bool said(const QByteArray& word, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!out.contains(word) && t.elapsed() < ms) {
            process.waitForReadyRead(50);
            out += process.readAllStandardOutput();
        }
        return out.contains(word);
    }
    void signal(int sig) { ::kill(static_cast<pid_t>(process.processId()), sig); }
    // What the program wrote to its line.
    QByteArray written()
    {
        QByteArray out;
        char buf[256];
        pollfd p{master, POLLIN, 0};
        while (::poll(&p, 1, 100) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, n);
        }
        return out;
    }

    bool ok = false;
    int master = -1, slave = -1;
    QTemporaryDir dir;
    QString log;
    QProcess process;
    QByteArray out;
};

constexpr unsigned kDtrBit = 0x002;  // TIOCM_DTR

// The state DTR was left in by the requests up to (not including) index end.
bool dtrUpAfter(const std::vector<Request>& r, std::size_t end)
{
    bool up = false;
    for (std::size_t i = 0; i < end && i < r.size(); ++i) {
        if ((r[i].name == "TIOCMBIS" || r[i].name == "TIOCMBIC") && (r[i].value & kDtrBit))
            up = r[i].name == "TIOCMBIS";
    }
    return up;
}

// The release the signal handler makes: the parallel stand-in's control register set to 2.
std::size_t handlerRelease(const std::vector<Request>& r)
{
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (r[i].name == "PPWCONTROL" && r[i].value == 2)
            return i;
    }
    return r.size();
}

// After the release no DTR raise stays up: a raise racing with the halt is taken back by the
// very next request.
void expectNoKeyingAfter(const std::vector<Request>& r, std::size_t release, const char* what)
{
    for (std::size_t i = release; i < r.size(); ++i) {
        if (r[i].name == "TIOCMBIS" && (r[i].value & kDtrBit)) {
            ASSERT_LT(i + 1, r.size()) << what << ": DTR raised after the release and left up";
            EXPECT_EQ(r[i + 1].name, "TIOCMBIC") << what << ": DTR raised after the release";
            ++i;
        }
    }
    EXPECT_FALSE(dtrUpAfter(r, r.size())) << what;
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
    } cases[] = {{"segv", SIGSEGV}, {"abrt", SIGABRT}, {"bus", SIGBUS},   {"fpe", SIGFPE},
                 {"ill", SIGILL},   {"trap", SIGTRAP}, {"sys", SIGSYS},   {"xcpu", SIGXCPU},
                 {"xfsz", SIGXFSZ}, {"exit", 0}};
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
        env.insert("ASAN_OPTIONS", kAsanOptions);
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

// Ctrl+C, a termination request or a hang-up while a keying thread keys: the handler itself
// stops the keying and drops the line at once; the program then closes in order (it says
// "requested" from its event loop and ends by itself later).
TEST(KeyingRelease, TerminationSignalsStopTheKeyingAtOnceAndCloseInOrder)
{
    for (const auto& [sig, what] : {std::pair{SIGINT, "INT"}, {SIGTERM, "TERM"}, {SIGHUP, "HUP"}}) {
        KeyedChild child("keying");
        ASSERT_TRUE(child.ok);
        ASSERT_TRUE(child.said("ready", 10000)) << what << child.process.readAllStandardError().toStdString();
        QThread::msleep(100);
        child.signal(sig);
        ASSERT_TRUE(child.said("requested", 3000)) << what << ": the signal did not reach the event loop";
        // Still running its orderly close: the line must already be down and stay down.
        QThread::msleep(300);
        ASSERT_EQ(child.process.state(), QProcess::Running) << what;
        const auto r = requests(child.log);
        const std::size_t release = handlerRelease(r);
        ASSERT_LT(release, r.size()) << what << ": the lines were not released by the handler";
        expectNoKeyingAfter(r, release, what);
        ASSERT_TRUE(child.process.waitForFinished(10000)) << what;
        EXPECT_EQ(child.process.exitStatus(), QProcess::NormalExit) << what;
        EXPECT_EQ(child.process.exitCode(), 0) << what;
    }
}

// SIGQUIT, or a second Ctrl+C or termination request within 5 s, ends the program at once by
// the signal's default action, after the lines have been released.
TEST(KeyingRelease, QuitOrASecondRequestEndsAtOnceAfterTheRelease)
{
    const struct {
        int first;
        int second;  // 0: the first alone ends it
        const char* what;
    } cases[] = {{SIGQUIT, 0, "QUIT"}, {SIGINT, SIGINT, "INT INT"}, {SIGTERM, SIGTERM, "TERM TERM"},
                 {SIGINT, SIGTERM, "INT TERM"}};
    for (const auto& c : cases) {
        KeyedChild child("keying");
        ASSERT_TRUE(child.ok);
        ASSERT_TRUE(child.said("ready", 10000)) << c.what;
        QThread::msleep(100);
        child.signal(c.first);
        if (c.second) {
            ASSERT_TRUE(child.said("requested", 3000)) << c.what;
            child.signal(c.second);
        }
        // Well before the orderly close would end it.
        ASSERT_TRUE(child.process.waitForFinished(1500)) << c.what << ": did not end at once";
        EXPECT_EQ(child.process.exitStatus(), QProcess::CrashExit) << c.what;
        const auto r = requests(child.log);
        const std::size_t release = handlerRelease(r);
        ASSERT_LT(release, r.size()) << c.what << ": ended without releasing the lines";
        expectNoKeyingAfter(r, release, c.what);
    }
}

// A device that holds text of its own (a keyer) gets its farewell on every way out, once, even
// though a signal's handler and then the exit handlers both release the lines.
TEST(KeyingRelease, EveryWayOutWritesTheFarewellOnce)
{
    for (const char* how : {"segv", "abrt", "exit", "keying"}) {
        KeyedChild child(how, "BYE");
        ASSERT_TRUE(child.ok);
        if (std::string(how) == "keying") {
            ASSERT_TRUE(child.said("ready", 10000)) << how;
            child.signal(SIGTERM);
            ASSERT_TRUE(child.said("requested", 3000)) << how;
            EXPECT_EQ(child.written(), "BYE") << how << ": written by the handler, before the orderly close";
        }
        ASSERT_TRUE(child.process.waitForFinished(20000)) << how;
        const QByteArray rest = child.written();
        EXPECT_EQ(rest, std::string(how) == "keying" ? "" : "BYE") << how;
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

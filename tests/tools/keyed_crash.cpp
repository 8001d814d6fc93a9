// Keys a line and then dies in the way its argument says, so a test can check that every
// keying line was released on the way out. Run under the ioctl recorder.
//   keyed_crash PTY-SLAVE segv|abrt|bus|fpe|ill|trap|sys|xcpu|xfsz|exit
//   keyed_crash PTY-SLAVE keying
// "keying" keys DTR up and down every few milliseconds on a thread of its own, as the CW keying
// thread does, and waits for a termination signal: it prints "ready" once keying, "requested"
// when the signal reaches the event loop, and ends 3 s later (so a second signal can land).
// With CUBWAVE_FAREWELL set, the line carries those bytes as its farewell.
#include "platform/KeyingRelease.h"
#include "platform/PosixSerialLine.h"
#include "platform/TerminationSignal.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <thread>

namespace {

int keepKeying(cubwave::PosixSerialLine& line, QCoreApplication& app)
{
    cubwave::TerminationSignal termination;
    QObject::connect(&termination, &cubwave::TerminationSignal::requested, &app, [&app] {
        std::printf("requested\n");
        std::fflush(stdout);
        QTimer::singleShot(3000, &app, [&app] { app.exit(0); });
    });
    auto keying = line.modemKeyingLine(cubwave::ModemLine::Dtr);
    std::atomic<bool> stop{false};
    std::thread thread([&] {
        bool down = false;
        while (!stop.load()) {
            down = !down;
            keying->setKeyed(down);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        keying->setKeyed(false);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    const int rc = app.exec();
    stop = true;
    thread.join();
    return rc;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    QCoreApplication app(argc, argv);
    cubwave::KeyingRelease::installExitHandlers();
    auto* line = new cubwave::PosixSerialLine;  // never closed: the exit path must release it
    if (!line->open(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "open: %s\n", qPrintable(line->errorText()));
        return 3;
    }
    if (const QByteArray farewell = qgetenv("CUBWAVE_FAREWELL"); !farewell.isEmpty())
        line->setFarewell(farewell);
    // A stand-in parallel port, so the release of both kinds shows in the record.
    const int parport = ::open("/dev/null", O_RDWR);
    cubwave::KeyingRelease::addParallel(parport);

    const char* how = argv[2];
    if (std::strcmp(how, "keying") == 0)
        return keepKeying(*line, app);

    line->modemKeyingLine(cubwave::ModemLine::Dtr)->setKeyed(true);
    const struct {
        const char* name;
        int signal;
    } raised[] = {{"segv", SIGSEGV}, {"bus", SIGBUS}, {"fpe", SIGFPE},   {"ill", SIGILL},
                  {"trap", SIGTRAP}, {"sys", SIGSYS}, {"xcpu", SIGXCPU}, {"xfsz", SIGXFSZ}};
    for (const auto& r : raised) {
        if (std::strcmp(how, r.name) == 0)
            std::raise(r.signal);
    }
    if (std::strcmp(how, "abrt") == 0)
        std::abort();
    else if (std::strcmp(how, "exit") == 0)
        std::exit(0);
    return 4;
}

// Keys a line and then dies in the way its argument says, so a test can check that every
// keying line was released on the way out. Run under the ioctl recorder.
//   keyed_crash PTY-SLAVE segv|abrt|bus|fpe|exit
#include "platform/KeyingRelease.h"
#include "platform/PosixSerialLine.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>

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
    // A stand-in parallel port, so the release of both kinds shows in the record.
    const int parport = ::open("/dev/null", O_RDWR);
    cubwave::KeyingRelease::addParallel(parport);
    line->modemKeyingLine(cubwave::ModemLine::Dtr)->setKeyed(true);

    const char* how = argv[2];
    if (std::strcmp(how, "segv") == 0)
        std::raise(SIGSEGV);
    else if (std::strcmp(how, "abrt") == 0)
        std::abort();
    else if (std::strcmp(how, "bus") == 0)
        std::raise(SIGBUS);
    else if (std::strcmp(how, "fpe") == 0)
        std::raise(SIGFPE);
    else if (std::strcmp(how, "exit") == 0)
        std::exit(0);
    return 4;
}

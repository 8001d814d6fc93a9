// Runs the keyer simulator on a pseudo-terminal until SIGTERM or SIGINT, for end-to-end runs
// and trying the program by hand: prints the device path on the first line, then keeps a state
// file up to date (rewritten whole, renamed into place) with what the keyer has seen:
//   received=<hex bytes>  keyed=<text sent on the air>  buffered=<text waiting>
//   host_open=0|1  clears=<count>  wpm=<speed>  mode=<mode byte>
//   winkey_simulator STATE_FILE [CHARACTER_MS]
#include "support/WinKeySimulator.h"

#include <QFile>
#include <QSaveFile>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace cubwave::test;

namespace {

volatile std::sig_atomic_t stopping = 0;

void writeState(const WinKeySimulator& sim, const QString& path)
{
    QByteArray text;
    text += "received=" + sim.received().toHex() + '\n';
    text += "keyed=" + sim.keyed() + '\n';
    text += "buffered=" + sim.buffered() + '\n';
    text += "host_open=" + QByteArray::number(sim.hostOpen() ? 1 : 0) + '\n';
    text += "clears=" + QByteArray::number(sim.clears()) + '\n';
    text += "wpm=" + QByteArray::number(sim.settings().wpm) + '\n';
    text += "mode=" + QByteArray::number(sim.settings().mode) + '\n';
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(text) == text.size())
        f.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: winkey_simulator STATE_FILE [CHARACTER_MS]\n");
        return 2;
    }
    const QString statePath = QFile::decodeName(argv[1]);
    WinKeySimulator sim;
    if (!sim.ok()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    if (argc > 2)
        sim.setCharacterMs(std::atoi(argv[2]));
    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    writeState(sim, statePath);
    std::printf("%s\n", qPrintable(sim.slavePath()));
    std::fflush(stdout);
    while (!stopping) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        writeState(sim, statePath);
    }
    return 0;
}

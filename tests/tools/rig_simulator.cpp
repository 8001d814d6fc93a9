// Runs one simulated radio on a pseudo-terminal until killed, for trying the program or another
// client by hand and for end-to-end runs: prints the device path on the first line.
//   rig_simulator FAMILY [PACING_BAUD] [--band-memories]
// Lines on standard input turn the radio's knobs: "freq HZ" and "mode lsb|usb|cw|cwr|am|fm";
// each is acknowledged with "ok" on standard output once the radio has taken it. With
// --band-memories the radio recalls each band's last mode when it changes band, as real
// Kenwood, Icom and Yaesu radios do ("freq" is then a band key).
// FAMILY: kenwood, icom, icom735, omnivi, yaesu, ft757, ft890, ft920, ft990, ft1000d, ft1000mp,
// ftdx9000, yaesu9digits, jupiter, orion.
#include "support/RigSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace cubwave::test;

namespace {

std::unique_ptr<SimulatedRadio> make(const char* family)
{
    const auto is = [family](const char* name) { return std::strcmp(family, name) == 0; };
    if (is("kenwood")) return makeKenwoodRadio();
    if (is("icom")) return makeIcomRadio(0x64, 5);
    if (is("icom735")) return makeIcomRadio(0x64, 4);
    if (is("omnivi")) return makeIcomRadio(0x04, 5);
    if (is("yaesu")) return makeYaesuFiveByteRadio();
    if (is("ft757")) return makeYaesuStatusRadio(YaesuStatusKind::Ft757GxII);
    if (is("ft890")) return makeYaesuStatusRadio(YaesuStatusKind::Ft890);
    if (is("ft920")) return makeYaesuStatusRadio(YaesuStatusKind::Ft920);
    if (is("ft990")) return makeYaesuStatusRadio(YaesuStatusKind::Ft990);
    if (is("ft1000d")) return makeYaesuStatusRadio(YaesuStatusKind::Ft1000D);
    if (is("ft1000mp")) return makeYaesuStatusRadio(YaesuStatusKind::Ft1000MP);
    if (is("ftdx9000")) return makeYaesuTextRadio(8);
    if (is("yaesu9digits")) return makeYaesuTextRadio(9);
    if (is("jupiter")) return makeTenTecPanelRadio();
    if (is("orion")) return makeOrionRadio();
    return nullptr;
}

volatile std::sig_atomic_t stopping = 0;

std::optional<RadioMode> modeNamed(const std::string& name)
{
    if (name == "lsb") return RadioMode::Lsb;
    if (name == "usb") return RadioMode::Usb;
    if (name == "cw") return RadioMode::Cw;
    if (name == "cwr") return RadioMode::CwReverse;
    if (name == "am") return RadioMode::Am;
    if (name == "fm") return RadioMode::Fm;
    return std::nullopt;
}

// One knob command from standard input; false for a line it does not know.
bool turnKnob(RigSimulator& sim, const std::string& line)
{
    char word[16] = {};
    char value[32] = {};
    if (std::sscanf(line.c_str(), "%15s %31s", word, value) != 2)
        return false;
    if (std::strcmp(word, "freq") == 0) {
        char* end = nullptr;
        const long long hz = std::strtoll(value, &end, 10);
        if (*end != '\0' || hz <= 0)
            return false;
        sim.setFrequencyHz(hz);
        return true;
    }
    if (std::strcmp(word, "mode") == 0) {
        const std::optional<RadioMode> mode = modeNamed(value);
        if (mode)
            sim.setMode(*mode);
        return mode.has_value();
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    int pacingBaud = 0;
    bool bandMemories = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--band-memories") == 0)
            bandMemories = true;
        else
            pacingBaud = std::atoi(argv[i]);
    }
    if (argc < 2 || !make(argv[1])) {
        std::fprintf(stderr, "usage: rig_simulator FAMILY [PACING_BAUD] [--band-memories]\n");
        return 2;
    }
    RigSimulator sim(make(argv[1]), pacingBaud);
    if (!sim.isOpen())
        return 1;
    sim.setBandMemories(bandMemories);
    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    std::printf("%s\n", qPrintable(sim.devicePath()));
    std::fflush(stdout);
    std::string pending;
    bool inputOpen = true;
    while (!stopping) {
        if (!inputOpen) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (::poll(&in, 1, 100) <= 0)
            continue;
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            inputOpen = false;
            continue;
        }
        pending.append(chunk, size_t(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            std::printf("%s\n", turnKnob(sim, line) ? "ok" : "unknown command");
            std::fflush(stdout);
        }
        if (pending.size() > 1024)  // no line that long is a command
            pending.clear();
    }
    for (const QString& command : sim.unknownCommands())
        std::fprintf(stderr, "unknown: %s\n", qPrintable(command));
    return 0;
}

// Runs one simulated radio on a pseudo-terminal until killed, for trying the program or another
// client by hand and for end-to-end runs: prints the device path on the first line.
//   rig_simulator FAMILY [PACING_BAUD]
// FAMILY: kenwood, icom, icom735, omnivi, yaesu, ft757, ft890, ft920, ft990, ft1000d, ft1000mp,
// ftdx9000, yaesu9digits, jupiter, orion.
#include "support/RigSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !make(argv[1])) {
        std::fprintf(stderr, "usage: rig_simulator FAMILY [PACING_BAUD]\n");
        return 2;
    }
    RigSimulator sim(make(argv[1]), argc > 2 ? std::atoi(argv[2]) : 0);
    if (!sim.isOpen())
        return 1;
    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    std::printf("%s\n", qPrintable(sim.devicePath()));
    std::fflush(stdout);
    while (!stopping)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (const QString& command : sim.unknownCommands())
        std::fprintf(stderr, "unknown: %s\n", qPrintable(command));
    return 0;
}

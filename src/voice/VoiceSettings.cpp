#include "voice/VoiceSettings.h"

#include "cw/CwFieldRules.h"
#include "cw/CwNumber.h"
#include "platform/SerialPortMap.h"

#include <cmath>

namespace cubwave {

int VoiceSettings::portNumber() const
{
    const auto n = CwNumber::parse(port);
    if (!n || !(*n > 0))
        return 0;
    const double whole = std::floor(*n);
    if (whole < 1 || whole > SerialPortMap::kMaxPort)
        return -1;
    return static_cast<int>(whole);
}

bool VoiceSettings::repeats() const { return CwNumber::parse(loopSeconds).value_or(0) > 0; }

int VoiceSettings::repeatIntervalMs() const { return CwFieldRules::leftRepeat(loopSeconds).intervalMs; }

}  // namespace cubwave

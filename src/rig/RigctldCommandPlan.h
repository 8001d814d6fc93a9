#pragma once

#include "bandplan/SidebandTable.h"
#include "rig/RigCommandPlan.h"

#include <vector>

namespace cubwave {

// ChangeFrequency and ChangeMode for a radio behind rigctld. Each command is one request that
// waits for its "RPRT"; the mode is read back after "M", since rigctld answers "RPRT 0" to a
// mode the radio does not know. After "F" to another band the mode is set again: many radios
// recall the mode they last had on a band.
class RigctldCommandPlan {
public:
    static std::vector<RigCommandStep> changeFrequency(const RigCommandContext& context, qint64 hz, QStringView mode,
                                                       const SidebandTable& sidebands);
    static std::vector<RigCommandStep> changeMode(const RigCommandContext& context, qint64 hz, QStringView mode,
                                                  const SidebandTable& sidebands);
    // Both frequencies lie in one amateur band; false when either lies in none.
    static bool sameBand(double aMHz, double bMHz);
};

}  // namespace cubwave

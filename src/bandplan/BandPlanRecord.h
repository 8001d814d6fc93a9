#pragma once

#include <QString>

namespace cubwave {

// One record of "BandPlan.txt": a band's overall edges (class "O") or one licence class's
// segment of it. Band names, classes and the mode "CW" compare exactly, case included.
struct BandPlanRecord {
    QString band;          // "40", "70cm", …: also what ties a band's records together
    QString licenceClass;  // "N", "T", "P", "G", "A", "E", or "O" for the band's edges
    QString mode;          // "CW"; anything else is phone
    float lowMHz = 0;
    float highMHz = 0;

    bool operator==(const BandPlanRecord&) const = default;
};

}  // namespace cubwave

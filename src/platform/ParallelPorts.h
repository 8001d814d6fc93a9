#pragma once

#include "platform/KeyingLine.h"

#include <QString>

#include <memory>

namespace cubwave {

// Parallel ports by their base address (&H378 = 888), keyed through the control register at
// base + 2: 3 key down, 2 key up.
class ParallelPorts {
public:
    struct Opened {
        std::shared_ptr<KeyingLine> line;  // null when the port cannot be used
        QString device;                    // the device tried, when one was found
        QString reason;                    // why not, when line is null
    };

    virtual ~ParallelPorts() = default;
    // One shared handle per port: CW now, voice PTT later. Released (key up first) when the
    // last user drops it.
    virtual Opened open(quint16 baseAddress) = 0;
};

}  // namespace cubwave

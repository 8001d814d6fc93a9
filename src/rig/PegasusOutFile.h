#pragma once

#include "rig/RigReading.h"

#include <QByteArray>
#include <QString>

namespace cubwave {

// "PEGASUS.OUT", written by the Pegasus control program: the frequency in MHz and the mode text,
// as two values separated by a comma or a line break, the text optionally in double quotes.
class PegasusOutFile {
public:
    static constexpr const char* kFileName = "PEGASUS.OUT";
    // The two values sit at the start; a larger file is read no further than this.
    static constexpr qint64 kMaxBytes = 4096;

    // Both values, or an empty reading when either is missing or the number is not one.
    static RigReading parse(const QByteArray& bytes);
    // Reads kFileName in folder; an empty reading when it cannot be read.
    static RigReading read(const QString& folder);
};

}  // namespace cubwave

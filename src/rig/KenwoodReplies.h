#pragma once

#include "rig/RigReading.h"

#include <QByteArrayView>

namespace cubwave {

// Kenwood and Elecraft text replies (the Kenwood and Elecraft CAT references): "FA" and eleven
// digits of hertz, "MD" and a mode digit, or the 38-character "IF" status, each ended by ";".
// A reply is recognised only where it begins a piece (ReplyPieces): "MD" inside line noise is no
// mode report.
class KenwoodReplies {
public:
    // "Kenwood" and "Elecraft": the frequency after the first two characters of the frequency
    // query, the mode digit after "MD"; 3 (CW) and 7 (CW reverse) are CW, other modes phone.
    static RigReading decodeText(QByteArrayView reply, const RigDecodeContext& context);
    // "Kenwood 2": frequency, mode digit (column 30) and VFO digit (column 31) of the "IF" reply.
    static RigReading decodeInfo(QByteArrayView reply);
};

}  // namespace cubwave

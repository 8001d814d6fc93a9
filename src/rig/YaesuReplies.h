#pragma once

#include "rig/RigModel.h"
#include "rig/RigReading.h"

#include <QByteArrayView>

namespace cubwave {

// Yaesu replies (the radios' CAT operation references).
class YaesuReplies {
public:
    // The five-byte answer to 00 00 00 00 03 (FT-817, FT-857, FT-897 and kin): four BCD bytes of
    // 10 Hz steps, most significant first, then the mode byte. Anything not BCD spoils the reply.
    static RigReading decodeFiveByte(QByteArrayView reply);
    // A fixed-length status record, laid out as the model's table entry says.
    static RigReading decodeStatus(QByteArrayView reply, const YaesuStatusLayout& layout);
    // "Yaesu FTdx9000" text: "FA" and the hertz digits up to ";" (8 on the FTdx9000, 9 on newer
    // radios), or "MD0" and a mode character; 3 (CW) and 7 (CW reverse) are CW.
    static RigReading decodeText(QByteArrayView reply, const RigDecodeContext& context);
};

}  // namespace cubwave

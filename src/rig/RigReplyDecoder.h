#pragma once

#include "rig/RigModel.h"
#include "rig/RigReading.h"

#include <QByteArrayView>

namespace cubwave {

// Chooses the family's decoder for one whole reply. "None", "Other" and "Ten Tec Pegasus" (whose
// values come from a file, see PegasusOutFile) read nothing from the line.
class RigReplyDecoder {
public:
    static RigReading decode(const RigModel& model, QByteArrayView reply, const RigDecodeContext& context);
};

}  // namespace cubwave

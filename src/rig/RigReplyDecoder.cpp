#include "rig/RigReplyDecoder.h"

#include "rig/CivReplies.h"
#include "rig/KenwoodReplies.h"
#include "rig/TenTecReplies.h"
#include "rig/YaesuReplies.h"

namespace cubwave {

RigReading RigReplyDecoder::decode(const RigModel& model, QByteArrayView reply, const RigDecodeContext& context)
{
    switch (model.family) {
    case RigFamily::KenwoodText:
        return KenwoodReplies::decodeText(reply, context);
    case RigFamily::KenwoodInfo:
        return KenwoodReplies::decodeInfo(reply);
    case RigFamily::CiV:
        return CivReplies::decode(reply, context.frequencyQueryLast, model.civFrequencyBytes);
    case RigFamily::YaesuFiveByte:
        return YaesuReplies::decodeFiveByte(reply);
    case RigFamily::YaesuStatus:
        return model.statusLayout ? YaesuReplies::decodeStatus(reply, *model.statusLayout) : RigReading{};
    case RigFamily::YaesuText:
        return YaesuReplies::decodeText(reply, context);
    case RigFamily::TenTecPanel:
        return TenTecReplies::decodePanel(reply, context.frequencyQueryLast);
    case RigFamily::TenTecOrion:
        return TenTecReplies::decodeOrion(reply);
    case RigFamily::None:
    case RigFamily::TenTecPegasus:
    case RigFamily::Other:
    case RigFamily::Rigctld:
        break;
    }
    return {};
}

}  // namespace cubwave

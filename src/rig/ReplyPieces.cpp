#include "rig/ReplyPieces.h"

namespace cubwave {

qsizetype ReplyPieces::find(QByteArrayView reply, QByteArrayView marker)
{
    if (marker.isEmpty())
        return -1;
    for (qsizetype p = reply.indexOf(marker); p >= 0; p = reply.indexOf(marker, p + 1)) {
        if (p == 0 || reply[p - 1] == ';' || reply[p - 1] == '\r')
            return p;
    }
    return -1;
}

}  // namespace cubwave

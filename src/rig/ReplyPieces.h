#pragma once

#include <QByteArrayView>

namespace cubwave {

// Where a text reply's marker may stand. A radio's text replies each begin a piece of the buffer:
// the buffer's start, or the character after a ";" or a carriage return that ended the reply
// before. A marker found anywhere else is line noise or the middle of another reply.
class ReplyPieces {
public:
    // The first position at which marker begins a piece, or -1.
    static qsizetype find(QByteArrayView reply, QByteArrayView marker);
};

}  // namespace cubwave

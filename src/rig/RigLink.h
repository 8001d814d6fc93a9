#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace cubwave {

// The little the poll needs of the rig's serial line: send bytes, see how many still wait to go
// out, and take what has arrived without waiting. A failure means the line is gone (device
// unplugged, I/O error); failureReason() then gives the system's words for it.
class RigLink {
public:
    virtual ~RigLink() = default;
    virtual std::optional<qint64> pendingOutputBytes() = 0;
    virtual bool send(const QByteArray& bytes) = 0;
    virtual std::optional<QByteArray> takeInput() = 0;
    virtual QString failureReason() const = 0;
};

}  // namespace cubwave

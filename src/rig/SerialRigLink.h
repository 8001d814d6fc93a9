#pragma once

#include "rig/RigLink.h"

namespace cubwave {

class SerialLine;

// The rig's serial line as the poll and the commands see it. Pending output counts both the
// line's own queue and the kernel's, so "drained" means the last byte has left the computer.
class SerialRigLink final : public RigLink {
public:
    explicit SerialRigLink(SerialLine& line) : line_(line) {}

    std::optional<qint64> pendingOutputBytes() override;
    bool send(const QByteArray& bytes) override;
    std::optional<QByteArray> takeInput() override;
    QString failureReason() const override;

private:
    SerialLine& line_;
};

}  // namespace cubwave

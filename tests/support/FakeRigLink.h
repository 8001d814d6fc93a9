#pragma once

#include "rig/RigLink.h"

#include <QList>

namespace cubwave::test {

// A rig line the test fills and reads by hand; set failed to pull the plug.
class FakeRigLink final : public RigLink {
public:
    std::optional<qint64> pendingOutputBytes() override
    {
        if (failed)
            return std::nullopt;
        return pendingOutput;
    }
    bool send(const QByteArray& bytes) override
    {
        if (failed)
            return false;
        sent.append(bytes);
        return true;
    }
    std::optional<QByteArray> takeInput() override
    {
        if (failed)
            return std::nullopt;
        return std::exchange(input, QByteArray());
    }
    QString failureReason() const override { return reason; }

    qint64 pendingOutput = 0;
    QList<QByteArray> sent;
    QByteArray input;
    bool failed = false;
    QString reason = QStringLiteral("Input/output error");
};

}  // namespace cubwave::test

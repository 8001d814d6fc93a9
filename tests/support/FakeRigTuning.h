#pragma once

#include "rig/RigTuning.h"

#include <vector>

namespace cubwave::test {

// Records what a window asks of the rig.
class FakeRigTuning final : public RigTuning {
public:
    struct Call {
        enum Kind { Frequency, Mode } kind;
        qint64 hz;
        QString mode;
        bool operator==(const Call&) const = default;
    };

    QString rigName() const override { return name; }
    bool polling() const override { return isPolling; }
    void changeFrequency(qint64 hz, const QString& mode) override { calls.push_back({Call::Frequency, hz, mode}); }
    void changeMode(qint64 hz, const QString& mode) override { calls.push_back({Call::Mode, hz, mode}); }
    std::optional<QString> sendRaw(const QByteArray& bytes) override
    {
        raw.push_back(bytes);
        return sendError;
    }

    QString name = QStringLiteral("Kenwood");
    bool isPolling = true;
    std::vector<Call> calls;
    std::vector<QByteArray> raw;
    std::optional<QString> sendError;
};

inline void PrintTo(const FakeRigTuning::Call& c, std::ostream* os)
{
    *os << (c.kind == FakeRigTuning::Call::Frequency ? "frequency " : "mode ") << c.hz << " \""
        << c.mode.toStdString() << '"';
}

}  // namespace cubwave::test

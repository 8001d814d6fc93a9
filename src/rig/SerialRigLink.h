#pragma once

#include "rig/RigLink.h"
#include "rig/RigModel.h"
#include "rig/RigSettings.h"

#include <QString>

#include <optional>

namespace cubwave {

class Clock;
class SerialLine;

// The rig poll's line over a serial port, and the way a rig's port is opened: the line settings,
// RTS/CTS flow control for the Ten-Tec radios that want it, DTR and RTS dropped at once (Linux
// raises both on open and either may power or key something), then the chosen power line, then
// the bytes the model expects first.
class SerialRigLink final : public RigLink {
public:
    static constexpr int kRtsCtsHandshaking = 2;
    static constexpr qint64 kDrainLimitMs = 2000;

    explicit SerialRigLink(SerialLine& line) : line_(line) {}

    // Opens devicePath for the model; nothing on success, else the reason the port stays closed.
    std::optional<QString> open(const RigModel& model, const RigSettings& settings, const QString& devicePath);
    void close();
    bool isOpen() const;
    // Waits, without letting window events run, until the line has sent everything or
    // kDrainLimitMs have passed; used before closing, when a few bytes at 4800 baud take ~10 ms.
    void drain(Clock& clock);

    std::optional<qint64> pendingOutputBytes() override;
    bool send(const QByteArray& bytes) override;
    std::optional<QByteArray> takeInput() override;
    QString failureReason() const override;

    // The settings text the line opens with: as the window shows it, but "56000" opens at 57600.
    static QString lineSettingsText(const RigSettings& settings);

private:
    SerialLine& line_;
};

}  // namespace cubwave

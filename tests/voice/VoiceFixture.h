#pragma once

#include "platform/SerialLineSharing.h"
#include "support/FakeClock.h"
#include "support/FakeKeying.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeWavePlayer.h"
#include "support/TestFiles.h"
#include "voice/VoiceKeyer.h"
#include "voice/WaveFixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave::test {

// A voice keyer on virtual time: a scripted player, a recording serial line and parallel
// ports, and wave files in a temporary working directory.
class VoiceKeyerFixture : public ::testing::Test {
protected:
    VoiceKeyerFixture()
    {
        QObject::connect(&keyer, &VoiceKeyer::problem, [this](const QString& t) { problems << t; });
        QObject::connect(&keyer, &VoiceKeyer::pttPortInvalid,
                         [this](const QString& title, const QString& text) { invalidPort << title + "|" + text; });
        QObject::connect(&keyer, &VoiceKeyer::pttChanged, [this](bool up) { pttEvents.push_back(up); });
        sharing.setCloser(SerialLineSharing::User::CwKeying, [this] { ++cwClosed; });
        sharing.setCloser(SerialLineSharing::User::WinKey, [this] { ++winKeyClosed; });
    }

    qint64 nowNs() const { return clock.ticksMs() * 1'000'000; }

    // A real wave file of durationMs (8 kHz, 16-bit mono) that the player plays for that long.
    QString wave(const QString& name, qint64 durationMs)
    {
        const QString path = dir.filePath(name);
        writeFile(path, wavBytes(8000, 1, 16, static_cast<quint32>(durationMs * 16)));
        FakeWavePlayer::Script s;
        s.durationMs = durationMs;
        player.scripts[path] = s;
        return path;
    }

    void use(const std::function<void(VoiceSettings&)>& change)
    {
        VoiceSettings s = keyer.settings();
        change(s);
        keyer.setSettings(s);
    }

    // Moves virtual time on, polling every 40 ms as the keyer's timer would.
    void run(qint64 ms)
    {
        while (ms > 0) {
            const qint64 step = std::min<qint64>(ms, VoiceKeyer::kPollMs);
            clock.advanceMs(step);
            ms -= step;
            player.tick();
            if (keyer.pollActive())
                keyer.poll();
        }
    }

    // The present state of a serial modem line.
    bool up(ModemLine line) const
    {
        bool state = false;
        for (const auto& c : serial.changes()) {
            if (c.line == line)
                state = c.raised;
        }
        return state;
    }
    int raises(ModemLine line) const
    {
        int n = 0;
        for (const auto& c : serial.changes())
            n += c.line == line && c.raised;
        return n;
    }
    std::shared_ptr<FakeKeyingLine> parallelLine(quint16 address) const { return parallel.lines.value(address).lock(); }

    QTemporaryDir dir;
    FakeClock clock;
    FakeWavePlayer player{[this] { return clock.ticksMs(); }};
    FakeSerialLine serial{[this] { return nowNs(); }};
    FakeParallelPorts parallel{[this] { return nowNs(); }};
    SerialLineSharing sharing;
    SerialPortMap portMap = SerialPortMap::parse("3=/dev/ttyPTT3\n4=/dev/ttyPTT4\n");
    FakeOneShotTimer repeatTimer;
    VoiceKeyer keyer{{player, serial, parallel, [this] { return portMap; }, clock, &sharing, &repeatTimer}};

    QStringList problems;
    QStringList invalidPort;
    std::vector<bool> pttEvents;
    int cwClosed = 0;
    int winKeyClosed = 0;
};

}  // namespace cubwave::test

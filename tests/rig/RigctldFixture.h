#pragma once

#include "bandplan/SidebandTable.h"
#include "platform/PosixSerialLine.h"
#include "platform/QtOneShotTimer.h"
#include "platform/QtRigPollTimer.h"
#include "platform/QtTcpClient.h"
#include "platform/SystemClock.h"
#include "rig/RigCommandRunner.h"
#include "rig/RigPollDriver.h"
#include "rig/RigctldConversation.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace cubwave::test {

// The rig poll and commands as the program runs them for "Hamlib rigctld", on real sockets and
// timers: the poll driver, the conversation and the command runner with the shipped band plan.
class RigctldRig {
public:
    RigctldRig()
    {
        driver.setRigctld(&conversation);
        driver.setTickHandler([this](const RigTickResult& r) {
            if (r.bandReportMHz)
                lastFrequencyMHz = *r.bandReportMHz;
            if (r.modeReport)
                lastMode = *r.modeReport;
            if (r.status)
                statuses.append(*r.status);
        });
        runner.setLink(&driver.link());
        runner.setRigctld(&conversation);
        runner.setSidebands(SidebandTable::load(QStringLiteral(CUBWAVE_SOURCE_DIR "/data")));
        QObject::connect(&runner, &RigCommandRunner::commandFailed, &runner,
                         [this](const QString& title, const QString& text) { failures.append(title + u'|' + text); });
    }
    ~RigctldRig() { driver.stop(); }

    // "Test" with the fastest poll (a cycle every 100 ms).
    void start(int port)
    {
        RigSettings settings;
        settings.selectRig(*RigModels::find(u"Hamlib rigctld"));
        settings.pollRate = u'F';
        driver.setRigctldAddress(QStringLiteral("127.0.0.1"), port);
        ASSERT_EQ(driver.start(settings, {}, false, {}), std::nullopt);
    }
    // Waits for the poll to report this frequency and mode.
    bool follows(float mhz, const QString& mode, int ms = 3000)
    {
        return QTest::qWaitFor([&] { return lastFrequencyMHz == mhz && lastMode == mode; }, ms);
    }
    // Runs the command and waits until the runner is idle.
    bool tune(qint64 hz, const QString& mode = {})
    {
        runner.changeFrequency(hz, mode);
        return QTest::qWaitFor([&] { return !runner.busy(); }, 5000);
    }

    SystemClock clock;
    PosixSerialLine line;
    QtRigPollTimer pollTimer;
    QtTcpClient socket;
    QtOneShotTimer conversationTimer;
    RigctldConversation conversation{socket, conversationTimer};
    RigPollDriver driver{line, pollTimer, clock};
    QtOneShotTimer commandTimer;
    RigCommandRunner runner{driver.poller(), commandTimer, clock};
    float lastFrequencyMHz = 0;
    QString lastMode;
    QStringList statuses;
    QStringList failures;
};

}  // namespace cubwave::test

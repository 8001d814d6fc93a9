#pragma once

#include "bandplan/SidebandTable.h"
#include "rig/RigCommandBuilder.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace cubwave {

// One step of tuning a radio. Steps that wait say only how long at least; whoever runs them
// decides how (a timer on the window thread, never a held thread).
struct RigCommandStep {
    enum class Kind {
        SuspendPoll,   // no poll query goes out until ResumePoll
        DiscardInput,  // drop what the radio has sent and any reply half assembled
        WaitDrained,   // until the line has sent everything, at most kDrainLimitMs
        Pause,         // at least delayMs after the step before it ended
        Send,          // bytes on the rig line
        WritePegasusFile,  // bytes as "PEGASUS.IN" in the Pegasus folder
        Report,        // a command that could not be built: text, and nothing sent
        ResumePoll,
        Request,       // bytes as a rigctld command; waits for its "RPRT", which must be 0
        ReadModeBack,  // asks rigctld for the mode, which must be bytes (the one just set)
    };
    // Which command a step belongs to, so a failure gets its message title and a failed mode
    // command lets the frequency command go on.
    enum class Part { Mode, Frequency };

    Kind kind;
    Part part = Part::Frequency;
    int delayMs = 0;
    QByteArray bytes;
    QString text;

    bool operator==(const RigCommandStep&) const = default;
};

// ChangeFrequency and ChangeMode as lists of steps, from the rig's live values: pure, so the
// order, bytes and minimum pauses can be checked without a line or a clock.
class RigCommandPlan {
public:
    static constexpr int kModePauseMs = 99;
    static constexpr int kDrainPollMs = 2;
    static constexpr int kDrainLimitMs = 2000;
    static inline const QString kFrequencyErrorTitle = QStringLiteral("Error Changing Frequency");
    static inline const QString kModeErrorTitle = QStringLiteral("Error Changing Mode");

    // Suspends the poll, drops pending input, sets the mode (the given one, or the band plan's
    // for the frequency), pauses the family's delay, sends the frequency command, sets the mode
    // again and resumes. A frequency the radio cannot take is only reported: nothing is sent.
    static std::vector<RigCommandStep> changeFrequency(const RigCommandContext& context, qint64 hz,
                                                       QStringView mode, const SidebandTable& sidebands);
    // The mode command alone; the poll is left as it is. An empty mode is the band plan's for hz.
    static std::vector<RigCommandStep> changeMode(const RigCommandContext& context, qint64 hz, QStringView mode,
                                                  const SidebandTable& sidebands);
};

}  // namespace cubwave

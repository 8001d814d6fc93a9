#pragma once

#include "rig/ReplyAssembler.h"
#include "rig/RigLink.h"
#include "rig/RigModel.h"
#include "rig/RigReading.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace cubwave {

// What one poll needs to know, taken from the rig settings when "Test" starts it.
struct RigPollSettings {
    const RigModel* model = &RigModels::none();
    QString frequencyQuery;
    QString modeQuery;
    bool convertToHex = false;    // "Other": the queries are hex text
    bool convertFromHex = false;  // show the raw reply as hex
    bool useFrequency = true;
    ModeSource modeBy = ModeSource::Rig;
    int intervalMs = 250;
    QString pegasusFolder;

    static RigPollSettings from(const RigSettings& settings, bool convertFromHex, const QString& pegasusFolder);
};

// What a tick asks of the window; every field left empty changes nothing.
struct RigTickResult {
    bool queried = false;  // a query went out on this tick
    std::optional<QString> frequencyLabel;    // lblFreq
    std::optional<QString> modeLabel;         // lblMode
    std::optional<QString> unprocessedLabel;  // lblUnProcess
    std::optional<float> bandReportMHz;       // for BandFreqConversion, only above 0
    std::optional<QString> modeReport;        // for ModeSelection, never empty
    // The radio has stopped answering: say so once on the status line, with one beep.
    bool noResponse = false;
    // The line failed; polling has stopped. Close the port and show this reason once.
    std::optional<QString> lineLost;
    // A line for the status bar, with no beep and no box (rigctld went missing or is back).
    std::optional<QString> status;
};

// The rig poll as a state machine the window's timer drives: ticks alternate between sending the
// family's queries and reading what came back. Replies are assembled whole before a decoder sees
// them; while part of one is held no new query goes out, and a part still incomplete a second (or
// a cycle, if longer) after its query is dropped. A radio that gives no decodable reply for three
// cycles and two seconds reads "No Response", reported once.
class RigPoller {
public:
    static constexpr const char* kNoResponse = "No Response";
    static constexpr const char16_t* kFrequencyLabelFormat = u"###.####0";
    static constexpr int kSilentCycles = 3;
    static constexpr qint64 kSilentMs = 2000;
    static constexpr qint64 kReplyLimitMs = 1000;
    static constexpr qsizetype kUnprocessedBytes = 1024;
    static constexpr int kInitialKenwoodVfoDigit = 10;

    // link may be null for a rig that has no serial line ("Ten Tec Pegasus").
    explicit RigPoller(RigLink* link = nullptr) : link_(link) {}

    void setLink(RigLink* link) { link_ = link; }
    // "Test": clears the rig mode and starts polling (not for "None"). The awaiting-reply flag and
    // the query toggle carry over, as they live as long as the window.
    void start(const RigPollSettings& settings, qint64 nowMs);
    void stop() { polling_ = false; }
    // The window's check boxes and "Mode by:" take effect from the next tick, without a restart.
    void setReportChoices(bool convertToHex, bool convertFromHex, bool useFrequency, ModeSource modeBy);
    bool polling() const { return polling_; }
    bool suspended() const { return suspended_; }

    // A command has the line: ticks do nothing, and the time until resume() does not count as
    // silence. resume() drops whatever partial reply and input were held.
    void suspend(qint64 nowMs);
    void resume(qint64 nowMs);
    // Forgets a reply half assembled and input held over, as when a command takes the line.
    void discardReplies();

    RigTickResult tick(qint64 nowMs);
    // A reading that came another way than a read tick (rigctld's answers): taken as a read
    // tick takes a decoded reply, with the same labels and reports.
    RigTickResult report(const RigReading& reading, qint64 nowMs);

    // The model's closing bytes, sent once if polling; the caller drains the line before closing.
    bool sendClosingBytes();

    float frequencyMHz() const { return frequencyMHz_; }
    const QString& mode() const { return mode_; }
    void clearMode() { mode_.clear(); }
    int kenwoodVfoDigit() const { return kenwoodVfoDigit_; }
    bool awaitingReply() const { return awaitingReply_; }
    int queryToggle() const { return queryToggle_; }
    const RigPollSettings& settings() const { return settings_; }

private:
    RigTickResult sendTick(qint64 nowMs);
    RigTickResult sendQueries(qint64 nowMs, RigTickResult result);
    RigTickResult readTick(qint64 nowMs);
    QByteArray composeQueries();
    void apply(const RigReading& reading);
    RigTickResult answered(RigTickResult result, qint64 nowMs);
    void keepUnprocessed(const QByteArray& bytes);
    QString unprocessedText() const;
    qint64 replyLimitMs() const;
    RigTickResult lost(RigTickResult result);

    RigLink* link_;
    RigPollSettings settings_;
    std::optional<ReplyAssembler> assembler_;
    bool polling_ = false;
    bool suspended_ = false;
    qint64 suspendedAtMs_ = 0;
    bool awaitingReply_ = false;
    int queryToggle_ = 0;
    float frequencyMHz_ = 0;
    QString mode_;
    int kenwoodVfoDigit_ = kInitialKenwoodVfoDigit;
    QByteArray lateInput_;    // found at a send tick: read on the next read tick, before a new query
    QByteArray unprocessed_;  // what arrived since the last query, the newest kUnprocessedBytes
    int silentCycles_ = 0;
    qint64 silentSinceMs_ = 0;
    bool silenceReported_ = false;
    bool closingSent_ = false;
};

}  // namespace cubwave

#include "rig/RigPoller.h"

#include "core/NumberFormat.h"
#include "rig/HexText.h"
#include "rig/ModeFromFrequency.h"
#include "rig/PegasusOutFile.h"
#include "rig/RigReplyDecoder.h"

#include <algorithm>

namespace cubwave {

RigPollSettings RigPollSettings::from(const RigSettings& s, bool convertFromHex, const QString& pegasusFolder)
{
    RigPollSettings p;
    const RigModel* model = RigModels::find(s.rigName);
    p.model = model ? model : &RigModels::none();
    p.frequencyQuery = s.frequencyQuery;
    p.modeQuery = s.modeQuery;
    p.convertToHex = s.convertToHex;
    p.convertFromHex = convertFromHex;
    p.useFrequency = s.useFrequency;
    p.modeBy = s.modeBy;
    p.intervalMs = s.pollIntervalMs();
    p.pegasusFolder = pegasusFolder;
    return p;
}

void RigPoller::start(const RigPollSettings& settings, qint64 nowMs)
{
    settings_ = settings;
    mode_.clear();
    assembler_.emplace(*settings_.model);
    lateInput_.clear();
    unprocessed_.clear();
    polling_ = settings_.model->family != RigFamily::None;
    suspended_ = false;
    silentCycles_ = 0;
    silentSinceMs_ = nowMs;
    silenceReported_ = false;
    closingSent_ = false;
}

void RigPoller::setReportChoices(bool convertToHex, bool convertFromHex, bool useFrequency, ModeSource modeBy)
{
    settings_.convertToHex = convertToHex;
    settings_.convertFromHex = convertFromHex;
    settings_.useFrequency = useFrequency;
    settings_.modeBy = modeBy;
}

void RigPoller::suspend(qint64 nowMs)
{
    if (suspended_)
        return;
    suspended_ = true;
    suspendedAtMs_ = nowMs;
}

void RigPoller::resume(qint64 nowMs)
{
    if (!suspended_)
        return;
    suspended_ = false;
    silentSinceMs_ += nowMs - suspendedAtMs_;
    discardReplies();
}

void RigPoller::discardReplies()
{
    if (assembler_)
        assembler_->reset();
    lateInput_.clear();
    unprocessed_.clear();
}

RigTickResult RigPoller::tick(qint64 nowMs)
{
    if (!polling_ || suspended_)
        return {};
    return awaitingReply_ ? readTick(nowMs) : sendTick(nowMs);
}

qint64 RigPoller::replyLimitMs() const { return std::max<qint64>(kReplyLimitMs, 2 * qint64(settings_.intervalMs)); }

RigTickResult RigPoller::lost(RigTickResult result)
{
    polling_ = false;
    result.lineLost = link_ ? link_->failureReason() : QString();
    return result;
}

QByteArray RigPoller::composeQueries()
{
    const RigModel& model = *settings_.model;
    const QString& frequency = settings_.frequencyQuery;
    const QString& mode = settings_.modeQuery;
    const auto hex = [&model](const QString& query) {
        if (query.size() < model.minQueryChars)
            return QByteArray();
        return HexText::spacedToBytes(query, model.queryHexBytes).value_or(QByteArray());
    };
    const auto text = [&model](const QString& query) {
        return query.size() < model.minQueryChars ? QByteArray() : query.toLatin1();
    };
    switch (model.sendRule) {
    case QuerySendRule::Nothing:
        return {};
    case QuerySendRule::BothAsText:
        return frequency.toLatin1() + mode.toLatin1();
    case QuerySendRule::BothAsTextWithCr:
        return (frequency.isEmpty() ? QByteArray() : frequency.toLatin1() + '\r')
               + (mode.isEmpty() ? QByteArray() : mode.toLatin1() + '\r');
    case QuerySendRule::AlternateHex:
    case QuerySendRule::AlternateText: {
        const bool asHex = model.sendRule == QuerySendRule::AlternateHex;
        // The toggle moves on even when a query is too short to send, so a missing mode query
        // leaves frequency polls only.
        const QString& query = queryToggle_ == 0 ? frequency : mode;
        queryToggle_ = 1 - queryToggle_;
        return asHex ? hex(query) : text(query);
    }
    case QuerySendRule::FrequencyAsHex:
        return hex(frequency);
    case QuerySendRule::OperatorChoice:
        if (settings_.convertToHex) {
            const auto all = [](const QString& query) {
                return HexText::spacedToBytes(query).value_or(QByteArray());
            };
            return all(frequency) + all(mode);
        }
        return frequency.toLatin1() + mode.toLatin1();
    }
    return {};
}

RigTickResult RigPoller::sendTick(qint64 nowMs)
{
    RigTickResult result;
    awaitingReply_ = true;
    const RigModel& model = *settings_.model;
    if (model.sendRule == QuerySendRule::Nothing || !link_)
        return result;
    const bool stale = assembler_->dropStale(nowMs, replyLimitMs());
    if (assembler_->holdsPartialReply())
        return result;  // the rest of a reply is still on its way
    const std::optional<QByteArray> input = link_->takeInput();
    if (!input)
        return lost(result);
    if (!input->isEmpty()) {
        // Before the first query it is the answer to the opening bytes, after a dropped reply its
        // tail: both go. Otherwise it is a reply that missed its read tick: read it there, under
        // the query it answers, before asking again.
        if (!assembler_->hasQueried() || stale)
            return sendQueries(nowMs, result);
        lateInput_.append(*input);
        if (lateInput_.size() > assembler_->capacity())
            lateInput_.remove(0, lateInput_.size() - assembler_->capacity());
        return result;
    }
    return sendQueries(nowMs, result);
}

RigTickResult RigPoller::sendQueries(qint64 nowMs, RigTickResult result)
{
    const RigModel& model = *settings_.model;
    const std::optional<qint64> pending = link_->pendingOutputBytes();
    if (!pending)
        return lost(result);
    if (*pending != 0)
        return result;
    const QByteArray queries = composeQueries();
    if (queries.isEmpty())
        return result;
    if (!link_->send(queries))
        return lost(result);
    const bool frequencyAsked = model.sendRule == QuerySendRule::FrequencyAsHex || queryToggle_ == 1;
    assembler_->queryOut(nowMs, frequencyAsked ? model.frequencyReplyBytes : model.modeReplyBytes);
    unprocessed_.clear();
    result.queried = true;
    return result;
}

void RigPoller::apply(const RigReading& reading)
{
    if (reading.frequencyMHz)
        frequencyMHz_ = *reading.frequencyMHz;
    if (reading.mode)
        mode_ = QString::fromLatin1(reading.mode);
    if (reading.kenwoodVfoDigit)
        kenwoodVfoDigit_ = *reading.kenwoodVfoDigit;
}

void RigPoller::keepUnprocessed(const QByteArray& bytes)
{
    if (bytes.size() >= kUnprocessedBytes) {
        unprocessed_ = bytes.right(kUnprocessedBytes);
        return;
    }
    unprocessed_.append(bytes);
    if (unprocessed_.size() > kUnprocessedBytes)
        unprocessed_.remove(0, unprocessed_.size() - kUnprocessedBytes);
}

QString RigPoller::unprocessedText() const
{
    return settings_.convertFromHex ? HexText::bytesToSpaced(unprocessed_) : QString::fromLatin1(unprocessed_);
}

RigTickResult RigPoller::readTick(qint64 nowMs)
{
    RigTickResult result;
    awaitingReply_ = false;
    const RigModel& model = *settings_.model;
    bool answered = false;  // a whole reply that told something (for "Other": any whole reply)

    if (model.family == RigFamily::TenTecPegasus) {
        const RigReading reading = PegasusOutFile::read(settings_.pegasusFolder);
        if (!reading.empty()) {
            apply(reading);
            answered = true;
        }
    } else if (link_) {
        const bool stale = assembler_->dropStale(nowMs, replyLimitMs());
        std::optional<QByteArray> input = link_->takeInput();
        if (!input)
            return lost(result);
        input->prepend(std::exchange(lateInput_, QByteArray()));
        if (!input->isEmpty()) {
            keepUnprocessed(*input);
            result.unprocessedLabel = unprocessedText();
        }
        // A reply overdue for so long goes with what arrives now: it cannot be told apart.
        if (!stale) {
            const RigDecodeContext context{settings_.frequencyQuery, settings_.modeQuery, queryToggle_ == 1};
            assembler_->feed(*input, [&](QByteArrayView reply) {
                const RigReading reading = RigReplyDecoder::decode(model, reply, context);
                apply(reading);
                answered = answered || !reading.empty() || model.family == RigFamily::Other;
            });
        }
    }

    if (answered) {
        result = this->answered(std::move(result), nowMs);
    } else if (++silentCycles_ >= kSilentCycles && nowMs - silentSinceMs_ >= kSilentMs && !silenceReported_) {
        silenceReported_ = true;
        result.noResponse = true;
        result.frequencyLabel = QString::fromLatin1(kNoResponse);
        result.modeLabel = QString::fromLatin1(kNoResponse);
    }
    return result;
}

RigTickResult RigPoller::answered(RigTickResult result, qint64 nowMs)
{
    if (settings_.modeBy == ModeSource::Frequency) {
        if (const char* mode = ModeFromFrequency::modeFor(frequencyMHz_))
            mode_ = QString::fromLatin1(mode);
    }
    if (frequencyMHz_ > 0)
        result.frequencyLabel = NumberFormat::format(frequencyMHz_, QStringView(kFrequencyLabelFormat));
    result.modeLabel = mode_;
    if (settings_.useFrequency && frequencyMHz_ > 0)
        result.bandReportMHz = frequencyMHz_;
    if (settings_.modeBy != ModeSource::DontUse && !mode_.isEmpty())
        result.modeReport = mode_;
    silentCycles_ = 0;
    silentSinceMs_ = nowMs;
    silenceReported_ = false;
    return result;
}

RigTickResult RigPoller::report(const RigReading& reading, qint64 nowMs)
{
    if (!polling_ || suspended_ || reading.empty())
        return {};
    apply(reading);
    return answered({}, nowMs);
}

bool RigPoller::sendClosingBytes()
{
    const RigModel& model = *settings_.model;
    if (!polling_ || closingSent_ || model.closingBytes.empty() || !link_)
        return false;
    closingSent_ = true;
    return link_->send(model.closing());
}

}  // namespace cubwave

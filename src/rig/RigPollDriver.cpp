#include "rig/RigPollDriver.h"

#include "platform/Clock.h"
#include "platform/RigPollTimer.h"
#include "rig/RigctldConversation.h"
#include "rig/RigctldPoll.h"

namespace cubwave {

RigPollDriver::RigPollDriver(SerialLine& line, RigPollTimer& timer, Clock& clock)
    : timer_(timer), clock_(clock), link_(line)
{
    timer_.setTimeout([this] { tick(); });
}

RigPollDriver::~RigPollDriver()
{
    timer_.setTimeout({});
    timer_.stop();
    if (rigctld_) {
        rigctld_->setStatusHandler({});
        rigctld_->close();
    }
}

void RigPollDriver::setRigctld(RigctldConversation* conversation)
{
    if (rigctld_)
        rigctld_->setStatusHandler({});
    rigctldPoll_.reset();
    rigctld_ = conversation;
    if (!rigctld_)
        return;
    rigctldPoll_ = std::make_unique<RigctldPoll>(poller_, *rigctld_, clock_);
    rigctldPoll_->setResultHandler([this](const RigTickResult& result) {
        if (onTick_)
            onTick_(result);
    });
    rigctld_->setStatusHandler([this](const QString& text, bool trouble) {
        RigTickResult result;
        result.status = text;
        // Band and mode stop following until the daemon answers again.
        if (trouble) {
            result.frequencyLabel = QString::fromLatin1(RigPoller::kNoResponse);
            result.modeLabel = QString::fromLatin1(RigPoller::kNoResponse);
        }
        if (onTick_)
            onTick_(result);
    });
}

void RigPollDriver::setRigctldAddress(const QString& host, int port)
{
    rigctldHost_ = host;
    rigctldPort_ = port;
}

std::optional<QString> RigPollDriver::start(const RigSettings& settings, const QString& devicePath,
                                            bool convertFromHex, const QString& pegasusFolder)
{
    stop();
    const RigPollSettings pollSettings = RigPollSettings::from(settings, convertFromHex, pegasusFolder);
    const RigModel& model = *pollSettings.model;
    if (model.family == RigFamily::None)
        return std::nullopt;
    if (model.family == RigFamily::Rigctld) {
        if (!rigctld_)
            return QStringLiteral("This program was built without its rigctld connection.");
        poller_.setLink(nullptr);
        rigctldPoll_->reset();
        // Not reached yet is no failure: the poll retries, and says so on the status line.
        rigctld_->open(rigctldHost_, rigctldPort_);
    } else if (model.family == RigFamily::TenTecPegasus) {
        poller_.setLink(nullptr);
    } else {
        if (std::optional<QString> failure = link_.open(model, settings, devicePath))
            return failure;
        poller_.setLink(&link_);
    }
    poller_.start(pollSettings, clock_.ticksMs());
    timer_.start(pollSettings.intervalMs);
    tick();
    return std::nullopt;
}

void RigPollDriver::stop()
{
    if (onStop_)
        onStop_();
    timer_.stop();
    poller_.stop();
    link_.close();
    if (rigctld_) {
        rigctldPoll_->reset();
        rigctld_->close();
    }
}

bool RigPollDriver::polling() const { return timer_.isActive(); }

void RigPollDriver::shutdown()
{
    // Before the closing bytes, so no command step slips in while they drain.
    if (onStop_)
        onStop_();
    if (polling() && poller_.sendClosingBytes())
        link_.drain(clock_);
    stop();
}

void RigPollDriver::setReportChoices(bool convertToHex, bool convertFromHex, bool useFrequency, ModeSource modeBy)
{
    poller_.setReportChoices(convertToHex, convertFromHex, useFrequency, modeBy);
}

void RigPollDriver::tick()
{
    if (poller_.settings().model->family == RigFamily::Rigctld) {
        if (rigctldPoll_)
            rigctldPoll_->tick();
        return;
    }
    const RigTickResult result = poller_.tick(clock_.ticksMs());
    if (result.lineLost)
        stop();
    if (onTick_)
        onTick_(result);
}

}  // namespace cubwave

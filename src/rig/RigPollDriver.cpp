#include "rig/RigPollDriver.h"

#include "platform/Clock.h"
#include "platform/RigPollTimer.h"

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
}

std::optional<QString> RigPollDriver::start(const RigSettings& settings, const QString& devicePath,
                                            bool convertFromHex, const QString& pegasusFolder)
{
    stop();
    const RigPollSettings pollSettings = RigPollSettings::from(settings, convertFromHex, pegasusFolder);
    const RigModel& model = *pollSettings.model;
    if (model.family == RigFamily::None)
        return std::nullopt;
    if (model.family == RigFamily::TenTecPegasus) {
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
    const RigTickResult result = poller_.tick(clock_.ticksMs());
    if (result.lineLost)
        stop();
    if (onTick_)
        onTick_(result);
}

}  // namespace cubwave

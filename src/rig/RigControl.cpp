#include "rig/RigControl.h"

namespace cubwave {

RigControl::RigControl(SerialLine& line, RigPollTimer& timer, Clock& clock, RigctldConversation* rigctld)
    : driver_(line, timer, clock)
{
    driver_.setRigctld(rigctld);
}

void RigControl::reportFrequency(float frequencyMHz)
{
    // A frequency of 0 would give the next contact ".000" and no band; NaN compares false too.
    if (!(frequencyMHz > 0) || !frequency_)
        return;
    frequency_(frequencyMHz);
}

void RigControl::reportMode(const QString& mode)
{
    if (mode.isEmpty() || !mode_)
        return;
    mode_(mode);
}

void RigControl::reportStatus(const QString& text)
{
    if (status_)
        status_(text);
}

void RigControl::reportSavePreferences(const QString& rigName)
{
    if (savePreferences_)
        savePreferences_(rigName);
}

void RigControl::onReports(std::function<void(float)> frequency, std::function<void(const QString&)> mode)
{
    frequency_ = std::move(frequency);
    mode_ = std::move(mode);
}

void RigControl::onStatus(std::function<void(const QString&)> status) { status_ = std::move(status); }

void RigControl::onSavePreferences(std::function<void(const QString&)> save) { savePreferences_ = std::move(save); }

bool RigControl::isNoRig(const QString& rigName)
{
    return rigName.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0;
}

void RigControl::openAtStartup(const QString& storedRigName)
{
    if (isNoRig(storedRigName) || !startupTest_)
        return;
    startupTest_();
}

bool RigControl::tuneTo(double frequencyMHz)
{
    if (!driver_.polling() || !tuner_)
        return false;
    return tuner_(frequencyMHz);
}

void RigControl::unload() { driver_.shutdown(); }

}  // namespace cubwave

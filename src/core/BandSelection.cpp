#include "core/BandSelection.h"

#include "core/NumberFormat.h"

#include <array>
#include <cmath>

namespace cubwave {

namespace {

struct BandWindow {
    const char* band;
    float aboveMHz;
    float belowMHz;
};

constexpr std::array<BandWindow, 7> kWindows{{
    {"160", 1.7999f, 2.0001f},
    {"80", 3.4999f, 4.0001f},
    {"40", 6.9999f, 7.3001f},
    {"20", 13.9999f, 14.3501f},
    {"15", 20.9999f, 21.4501f},
    {"10", 27.9999f, 29.7001f},
    {"6", 49.9999f, 54.0001f},
}};

constexpr std::array<const char*, 7> kClickCycle{"80", "40", "20", "15", "10", "6", "2"};

bool sameCode(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

}  // namespace

std::optional<QString> BandSelection::bandForFrequency(float freqMHz)
{
    std::optional<QString> band;
    for (const BandWindow& w : kWindows) {
        if (freqMHz > w.aboveMHz && freqMHz < w.belowMHz)
            band = QString::fromLatin1(w.band);
    }
    return band;
}

QString BandSelection::frequencyText(float freqMHz)
{
    return NumberFormat::format(freqMHz, QString::fromLatin1(kFrequencyFormat));
}

BandSelection::FrequencyReport BandSelection::frequencyReport(float freqMHz, const QString& currentBand)
{
    FrequencyReport report;
    if (!std::isfinite(freqMHz))
        return report;
    const auto band = bandForFrequency(freqMHz);
    if (band && band->compare(currentBand, Qt::CaseInsensitive) != 0)
        report.bandCommand = band;
    report.frequencyText = frequencyText(freqMHz);
    return report;
}

std::optional<QString> BandSelection::nextBandOnClick(const QString& currentBand)
{
    for (size_t i = 0; i < kClickCycle.size(); ++i) {
        if (sameCode(currentBand, kClickCycle[i]))
            return QString::fromLatin1(kClickCycle[(i + 1) % kClickCycle.size()]);
    }
    return std::nullopt;
}

bool BandSelection::bandCommandReloadsLog(const QString& band)
{
    return sameCode(band, "160") || sameCode(band, "6") || sameCode(band, "2");
}

BandSelection::ModeCommand BandSelection::modeSelection(const QString& rigMode, const QString& currentMode)
{
    if (rigMode.isEmpty() || rigMode.compare(currentMode, Qt::CaseInsensitive) == 0)
        return ModeCommand::None;
    if (sameCode(rigMode, "PH"))
        return ModeCommand::Ph;
    if (sameCode(rigMode, "CW"))
        return ModeCommand::Cw;
    return ModeCommand::None;
}

}  // namespace cubwave

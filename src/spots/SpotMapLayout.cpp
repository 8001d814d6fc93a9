#include "spots/SpotMapLayout.h"

#include "core/NumberFormat.h"
#include "station/ClockTexts.h"

#include <cmath>

namespace cubwave {

namespace {

struct BandCode {
    const char* code;
    BandWindow window;
};

constexpr std::array<BandCode, 8> kBandMapWindows{{
    {"160", {1.8, 2.0}},
    {"80", {3.5, 4.0}},
    {"40", {7.0, 7.3}},
    {"20", {14.0, 14.35}},
    {"15", {21.0, 21.45}},
    {"10", {28.0, 29.7}},
    {"6", {50.0, 54.0}},
    {"2", {144.0, 148.0}},
}};

constexpr std::array<SpectrumRow, 11> kSpectrumRows{{
    {"160 m", {1.8, 2.0}},
    {"80 m", {3.5, 4.0}},
    {"40 m", {7.0, 7.3}},
    {"30 m", {10.1, 10.15}},
    {"20 m", {14.0, 14.35}},
    {"17 m", {18.068, 18.168}},
    {"15 m", {21.0, 21.45}},
    {"12 m", {24.89, 24.99}},
    {"10 m", {28.0, 29.7}},
    {"6 m", {50.0, 54.0}},
    {"2 m", {144.0, 148.0}},
}};

double centreOn(const SpotScale& scale, ScaleLine line, double freqMHz)
{
    return line.x1 + (freqMHz - scale.lowerMHz) / (scale.upperMHz - scale.lowerMHz) * (line.x2 - line.x1);
}

PlacedSpot placed(const SpotStore& store, int slot, int row, double centreX, SpotAge age, float utcOffsetHours)
{
    const SpotSlot& s = store.slot(slot);
    return {slot, row, centreX, s.caption, SpotMapRules::tooltip(s, utcOffsetHours), age};
}

}  // namespace

std::optional<BandWindow> SpotMapRules::bandMapWindow(QStringView bandCode)
{
    for (const BandCode& band : kBandMapWindows) {
        if (bandCode.compare(QLatin1String(band.code), Qt::CaseInsensitive) == 0)
            return band.window;
    }
    return std::nullopt;
}

const std::array<SpectrumRow, 11>& SpotMapRules::spectrumRows() { return kSpectrumRows; }

QString SpotMapRules::frequencyText(double freqMHz)
{
    return NumberFormat::format(freqMHz, u"#.000");
}

SpotScale SpotMapRules::scale(const SpotStore& store, BandWindow band)
{
    std::optional<double> lowest;
    std::optional<double> highest;
    for (int i = 0; i < SpotStore::kSlots; ++i) {
        const double f = store.slot(i).frequencyMHz;
        if (!(band.lowerMHz < f && f < band.upperMHz))
            continue;
        lowest = lowest ? std::min(*lowest, f) : f;
        highest = highest ? std::max(*highest, f) : f;
    }
    double lower = band.lowerMHz;
    double upper = band.upperMHz;
    if (lowest && *highest > *lowest) {
        lower = *lowest - 0.001;
        upper = *highest + 0.001;
    }

    SpotScale scale;
    std::array<double, 5> rounded{};
    for (int k = 0; k < 5; ++k) {
        const double value = lower + k * 0.25 * (upper - lower);
        rounded[size_t(k)] = std::round(value * 1000.0) / 1000.0;
        scale.labels[size_t(k)] = frequencyText(rounded[size_t(k)]);
    }
    // The ends as the labels read, so a spot sits where the printed scale says it does: a
    // whole number of thousandths reads back from its "#.000" text as the same value.
    scale.lowerMHz = rounded[0];
    scale.upperMHz = rounded[4];
    return scale;
}

std::optional<SpotAge> SpotMapRules::ageClass(std::optional<qint64> ageSeconds)
{
    if (!ageSeconds || *ageSeconds >= kShownSeconds)
        return std::nullopt;
    if (*ageSeconds < kFreshSeconds)
        return SpotAge::Fresh;
    if (*ageSeconds < kRecentSeconds)
        return SpotAge::Recent;
    return SpotAge::Old;
}

QString SpotMapRules::tooltip(const SpotSlot& slot, float utcOffsetHours)
{
    const QString frequency = frequencyText(slot.frequencyMHz);
    const QString time = utcClockText(slot.arrivedLocal.time(), utcOffsetHours);
    QString tip;
    tip.reserve(slot.call.size() + frequency.size() + time.size() + 4);
    tip += slot.call;
    tip += QLatin1String("  ");
    tip += frequency;
    tip += QLatin1String("  ");
    tip += time;
    return tip;
}

SpotMapLayout SpotMapRules::bandMap(const SpotStore& store, QStringView bandCode, qint64 nowTicksMs,
                                    float utcOffsetHours, ScaleLine line)
{
    SpotMapLayout layout;
    const std::optional<BandWindow> band = bandMapWindow(bandCode);
    if (!band)
        return layout;
    const SpotScale& scale = layout.scales.emplace_back(SpotMapRules::scale(store, *band));
    layout.shown.reserve(SpotStore::kSlots);

    for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
        const SpotSlot& s = store.slot(i);
        if (!scale.contains(s.frequencyMHz))
            continue;
        const std::optional<SpotAge> age = ageClass(s.ageSeconds(nowTicksMs));
        if (!age) {
            layout.stoppedAtSlot = i;
            break;
        }
        layout.shown.push_back(placed(store, i, 0, centreOn(scale, line, s.frequencyMHz), *age, utcOffsetHours));
    }
    return layout;
}

SpotMapLayout SpotMapRules::spectrum(const SpotStore& store, qint64 nowTicksMs, float utcOffsetHours,
                                     const std::array<ScaleLine, 11>& lines)
{
    SpotMapLayout layout;
    layout.scales.reserve(kSpectrumRows.size());
    for (const SpectrumRow& row : kSpectrumRows)
        layout.scales.push_back(scale(store, row.window));
    layout.shown.reserve(SpotStore::kSlots);

    for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
        const SpotSlot& s = store.slot(i);
        std::optional<int> row;
        for (size_t r = 0; r < kSpectrumRows.size(); ++r) {
            const BandWindow& w = kSpectrumRows[r].window;
            if (w.lowerMHz < s.frequencyMHz && s.frequencyMHz < w.upperMHz) {
                row = int(r);
                break;
            }
        }
        const std::optional<SpotAge> age = ageClass(s.ageSeconds(nowTicksMs));
        if (!age) {
            layout.stoppedAtSlot = i;
            break;
        }
        if (row) {
            const SpotScale& scale = layout.scales[size_t(*row)];
            layout.shown.push_back(
                placed(store, i, *row, centreOn(scale, lines[size_t(*row)], s.frequencyMHz), *age, utcOffsetHours));
        }
    }
    return layout;
}

}  // namespace cubwave

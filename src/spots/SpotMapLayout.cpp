#include "spots/SpotMapLayout.h"

#include "core/NumberFormat.h"
#include "station/ClockTexts.h"

#include <charconv>
#include <cmath>
#include <cstring>

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

namespace {

// "#.000" into text (at least 48 characters): the shortest decimal that reads back as the value,
// rounded half away from zero to three places, no digit before the point below 1. Returns the
// length, or -1 where the general rule must write it (not finite, or too large to be a frequency).
int frequencyChars(double freqMHz, char* text)
{
    if (!std::isfinite(freqMHz))
        return -1;
    char sci[40];
    const auto converted = std::to_chars(sci, sci + sizeof sci, freqMHz, std::chars_format::scientific);
    if (converted.ec != std::errc())
        return -1;
    char digits[32];
    int count = 0;
    int exponent = 0;
    for (const char* p = sci; p != converted.ptr; ++p) {
        if (*p >= '0' && *p <= '9' && count < int(sizeof digits)) {
            digits[count++] = *p;
        } else if (*p == 'e') {
            std::from_chars(p + (p[1] == '+' ? 2 : 1), converted.ptr, exponent);
            break;
        }
    }
    int point = exponent + 1;  // digits before the decimal point
    bool zero = true;
    for (int i = 0; i < count; ++i)
        zero = zero && digits[i] == '0';
    if (zero) {
        count = 0;
        point = 0;
    }
    if (point > 40)
        return -1;
    const int keep = point + 3;
    if (keep < 0) {
        count = 0;
        point = 0;
    } else if (keep < count) {
        const bool up = digits[keep] >= '5';
        count = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                std::memmove(digits + 1, digits, size_t(count));
                digits[0] = '1';
                ++count;
                ++point;
            }
        }
    }
    int n = 0;
    if (std::signbit(freqMHz) && count > 0)
        text[n++] = '-';
    for (int i = 0; i < point; ++i)
        text[n++] = i < count ? digits[i] : '0';
    text[n++] = '.';
    for (int i = 0; i < 3; ++i) {
        const int at = point + i;
        text[n++] = at >= 0 && at < count ? digits[at] : '0';
    }
    return n;
}

}  // namespace

// Written out for this one pattern: every scale label and tooltip of both maps goes through it
// at each repaint.
QString SpotMapRules::frequencyText(double freqMHz)
{
    char text[48];
    const int n = frequencyChars(freqMHz, text);
    return n < 0 ? NumberFormat::format(freqMHz, u"#.000") : QString::fromLatin1(text, n);
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

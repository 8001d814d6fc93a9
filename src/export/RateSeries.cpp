#include "export/RateSeries.h"

#include "core/LogMoment.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

struct Moment {
    qint64 seconds;
    quint32 colour;
};

QDateTime utcOf(qint64 seconds) { return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); }

// Step 4: each contact's count over the ten minutes up to it, at its position. The contacts are
// in time order, so the walk back ends where the previous contact's walk ended or later: one
// pass, never quadratic however many contacts share ten minutes.
void placeContacts(RateSeries& s, const std::vector<Moment>& moments, qint64 t0)
{
    s.qsoRate[1] = 6.f;
    s.drawnRate[1] = 6.f;
    const double perPosition = static_cast<double>(s.spanSeconds) / RateSeries::kPositions;
    size_t oldest = 0;
    for (size_t i = 0; i < moments.size(); ++i) {
        const qint64 ti = moments[i].seconds;
        while (ti - moments[oldest].seconds >= RateSeries::kWindowSeconds)
            ++oldest;
        const auto count = static_cast<float>(i - oldest + 1);
        // Halves round to even; the first contact (and any at its moment) lies at position 1.
        const double exact = static_cast<double>(ti - t0) / perPosition;
        const int x = std::clamp(static_cast<int>(std::nearbyint(exact)), 1, RateSeries::kPositions);
        s.qsoRate[static_cast<size_t>(x)] = 6.f * count;
        s.stripColour[static_cast<size_t>(x)] = moments[i].colour;
    }
}

// Step 5: a gap of up to 15 positions is bridged by a straight line from the value before it to
// the value after it; a longer gap stays at 0 until its last 15 positions.
void fillGaps(RateSeries& s)
{
    auto& q = s.qsoRate;
    auto& d = s.drawnRate;
    for (int i = 2; i <= RateSeries::kPositions; ++i) {
        if (q[i] != 0.f) {
            d[i] = q[i];
            continue;
        }
        for (int k = i + 1; k <= i + RateSeries::kMaxGap; ++k) {
            if (q[k] > 0.f) {
                const float p = q[i - 1];
                for (int m = i; m < k; ++m) {
                    q[m] = p + static_cast<float>(m - i) * (q[k] - p) / static_cast<float>(k - i);
                    d[m] = q[m];
                }
                break;
            }
        }
    }
}

// Step 6: the trailing average of the non-zero values over seven positions.
void smooth(RateSeries& s)
{
    for (int i = RateSeries::kAverageSpan; i <= RateSeries::kPositions; ++i) {
        float sum = 0.f;
        int n = 0;
        for (int j = i; j > i - RateSeries::kAverageSpan; --j) {
            if (s.qsoRate[j] > 0.f) {
                sum += s.qsoRate[j];
                ++n;
            }
        }
        if (n > 0)
            s.drawnRate[i] = sum / static_cast<float>(n);
    }
}

// Step 9: a stretch between contacts takes the band colour of the contact before it.
void carryStripColours(RateSeries& s, quint32 background)
{
    quint32 carried = background;
    for (int i = 1; i <= RateSeries::kPositions; ++i) {
        if (s.drawnRate[i] > 0.f) {
            if (s.stripColour[i] == background)
                s.stripColour[i] = carried;
            else
                carried = s.stripColour[i];
        } else {
            carried = background;
        }
    }
}

void labelAxes(RateSeries& s, qint64 t0)
{
    for (int k = 0; k < RateSeries::kTimeLabels; ++k) {
        const double offset = static_cast<double>(k) * static_cast<double>(s.spanSeconds) / (RateSeries::kTimeLabels - 1);
        const QDateTime at = utcOf(t0 + static_cast<qint64>(std::nearbyint(offset)));
        s.timeLabels[k] = at.toString(QStringLiteral("hh:mm"));
        s.dateLabels[k] = at.toString(QStringLiteral("MM/dd"));
    }
    for (int k = 0; k < RateSeries::kValueLabels; ++k) {
        const float value = s.lowest + static_cast<float>(k) * (s.highest - s.lowest) / (RateSeries::kValueLabels - 1);
        s.valueLabels[k] = RateSeries::valueText(value);
    }
}

}  // namespace

quint32 RateSeries::bandColour(const QString& band)
{
    if (band == QLatin1String("160"))
        return 0xFFFFFF;
    if (band == QLatin1String("80"))
        return 0x0000FF;
    if (band == QLatin1String("40"))
        return 0xFF0000;
    if (band == QLatin1String("20"))
        return 0x00FF00;
    if (band == QLatin1String("15"))
        return 0x80FFFF;
    if (band == QLatin1String("10"))
        return 0xFF00FF;
    return kOtherBandColour;
}

QString RateSeries::valueText(float value)
{
    // One decimal, halves away from zero, at least one digit before the point.
    const double rounded = std::round(static_cast<double>(value) * 10.0) / 10.0;
    return QString::number(rounded, 'f', 1);
}

RateSeries RateSeries::compute(std::span<const QsoRecord> records, quint32 background)
{
    RateSeries s;
    std::fill(s.stripColour.begin(), s.stripColour.end(), background);

    std::vector<Moment> moments;
    moments.reserve(records.size());
    for (const QsoRecord& r : records) {
        if (const auto at = LogMoment::seconds(r[QsoRecord::Date], r[QsoRecord::Time]))
            moments.push_back({*at, bandColour(r.band())});
    }
    s.contacts = static_cast<int>(moments.size());
    if (moments.empty())
        return s;
    // Contacts logged after the event are appended out of time order; only order makes T0 the
    // start and TN the end of the span.
    const auto earlier = [](const Moment& a, const Moment& b) { return a.seconds < b.seconds; };
    if (!std::is_sorted(moments.begin(), moments.end(), earlier))
        std::stable_sort(moments.begin(), moments.end(), earlier);
    const qint64 t0 = moments.front().seconds;
    s.spanSeconds = moments.back().seconds - t0;
    s.drawable = true;

    if (s.spanSeconds == 0) {
        // All contacts at one moment: there is no span to spread them over. The rate of that
        // moment is drawn level across the plot.
        const float rate = 6.f * static_cast<float>(moments.size());
        for (int i = 1; i <= kPositions; ++i) {
            s.qsoRate[i] = rate;
            s.drawnRate[i] = rate;
            s.stripColour[i] = moments.back().colour;
        }
    } else {
        placeContacts(s, moments, t0);
        fillGaps(s);
        smooth(s);
    }
    const auto drawn = std::span(s.drawnRate).subspan(1, kPositions);
    const auto [low, high] = std::minmax_element(drawn.begin(), drawn.end());
    s.lowest = std::min(s.lowest, *low);
    s.highest = std::max(s.highest, *high);
    carryStripColours(s, background);
    labelAxes(s, t0);
    return s;
}

}  // namespace cubwave

#include "export/RateGeometry.h"
#include "export/RateSeries.h"
#include "ExportFixtures.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QRandomGenerator>

#include <cmath>

namespace cubwave::test {
namespace {

constexpr quint32 kBlack = RateSeries::kBlack;

// A contact at base + seconds (UTC), on a band.
QsoRecord at(qint64 seconds, const QString& band = QStringLiteral("20"))
{
    static const QDateTime base(QDate(2012, 6, 9), QTime(12, 0, 0), Qt::UTC);
    const QDateTime t = base.addSecs(seconds);
    Contact c;
    c.date = t.toString(QStringLiteral("yyyy/MM/dd"));
    c.time = t.toString(QStringLiteral("hh:mm:ss"));
    c.band = band;
    return c.record();
}

// The graph's steps 2 to 9 written out as plainly as they read, for a log in time order: the
// quadratic walk back, the fills and the average, with nothing shared with the program's code.
struct Reference {
    std::vector<float> qso = std::vector<float>(1601, 0.f);
    std::vector<float> drawn = std::vector<float>(1601, 0.f);
    std::vector<quint32> strip = std::vector<quint32>(1601, kBlack);
    float lowest = 100000.f;
    float highest = -1.f;
};

Reference reference(const std::vector<std::pair<qint64, quint32>>& log)
{
    Reference r;
    const qint64 t0 = log.front().first;
    const qint64 s = log.back().first - t0;
    r.qso[1] = 6;
    r.drawn[1] = 6;
    for (size_t i = 0; i < log.size(); ++i) {
        int count = 0;
        for (size_t j = i + 1; j-- > 0;) {
            if (log[i].first - log[j].first >= 600)
                break;
            ++count;
        }
        int x = static_cast<int>(std::nearbyint(static_cast<double>(log[i].first - t0) / (s / 1500.0)));
        if (x < 1)
            x = 1;
        r.qso[x] = 6.f * count;
        r.strip[x] = log[i].second;
    }
    for (int i = 2; i <= 1500; ++i) {
        if (r.qso[i] != 0) {
            r.drawn[i] = r.qso[i];
        } else {
            for (int k = i + 1; k <= i + 15; ++k) {
                if (r.qso[k] > 0) {
                    const float p = r.qso[i - 1];
                    for (int m = i; m <= k - 1; ++m) {
                        r.qso[m] = p + static_cast<float>(m - i) * (r.qso[k] - p) / static_cast<float>(k - i);
                        r.drawn[m] = r.qso[m];
                    }
                    break;
                }
            }
        }
    }
    for (int i = 7; i <= 1500; ++i) {
        float sum = 0;
        int n = 0;
        for (int j = i; j >= i - 6; --j) {
            if (r.qso[j] > 0) {
                sum += r.qso[j];
                ++n;
            }
        }
        if (n)
            r.drawn[i] = sum / static_cast<float>(n);
    }
    for (int i = 1; i <= 1500; ++i) {
        r.lowest = std::min(r.lowest, r.drawn[i]);
        r.highest = std::max(r.highest, r.drawn[i]);
    }
    quint32 carried = kBlack;
    for (int i = 1; i <= 1500; ++i) {
        if (r.drawn[i] > 0) {
            if (r.strip[i] == kBlack)
                r.strip[i] = carried;
            else
                carried = r.strip[i];
        } else {
            carried = kBlack;
        }
    }
    return r;
}

std::vector<QsoRecord> recordsOf(const std::vector<std::pair<qint64, QString>>& log)
{
    std::vector<QsoRecord> out;
    for (const auto& [secs, band] : log)
        out.push_back(at(secs, band));
    return out;
}

TEST(RateSeries, CountsContactsLessThanTenMinutesOlder)
{
    // 12:00:00, 12:05:00 and 12:09:59: the third counts three (rate 18); 12:10:00 counts two.
    for (const auto& [third, rate] : {std::pair{599, 18.f}, {600, 12.f}}) {
        const std::vector<QsoRecord> log = {at(0), at(300), at(third)};
        const RateSeries s = RateSeries::compute(log, kBlack);
        EXPECT_EQ(s.qsoRate[1500], rate) << third;
        EXPECT_EQ(s.qsoRate[1], 6.f);
    }
}

TEST(RateSeries, MatchesTheStepsWrittenOutOnOrderedLogs)
{
    QRandomGenerator rng(20120609);
    const QString bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<std::pair<qint64, QString>> log;
        qint64 t = 0;
        const int n = 7 + static_cast<int>(rng.bounded(600));
        const int spread = 1 + static_cast<int>(rng.bounded(trial % 2 ? 60 : 1800));
        for (int i = 0; i < n; ++i) {
            log.push_back({t, bands[rng.bounded(8)]});
            t += rng.bounded(spread);  // ties included
        }
        if (t == 0)
            log.back().first = 1;
        std::vector<std::pair<qint64, quint32>> plain;
        for (const auto& [secs, band] : log)
            plain.push_back({secs, RateSeries::bandColour(band)});
        const Reference expected = reference(plain);
        const RateSeries s = RateSeries::compute(recordsOf(log), kBlack);
        ASSERT_TRUE(s.drawable);
        for (int i = 1; i <= 1500; ++i) {
            ASSERT_EQ(s.qsoRate[i], expected.qso[i]) << "trial " << trial << " position " << i;
            ASSERT_EQ(s.drawnRate[i], expected.drawn[i]) << "trial " << trial << " position " << i;
            ASSERT_EQ(s.stripColour[i], expected.strip[i]) << "trial " << trial << " position " << i;
        }
        EXPECT_EQ(s.lowest, expected.lowest);
        EXPECT_EQ(s.highest, expected.highest);
    }
}

TEST(RateSeries, ShortGapsRampFromTheEarlierValueLongOnesFromZero)
{
    // A span of 1500 s puts each second at its own position. Values at 99 and 119 have 19 empty
    // positions between them; values at 199 and 209 have 9.
    std::vector<QsoRecord> log = {at(0)};
    for (const qint64 secs : {99, 119, 199, 209, 1500})
        log.push_back(at(secs));
    const RateSeries s = RateSeries::compute(log, kBlack);
    ASSERT_EQ(s.spanSeconds, 1500);
    EXPECT_EQ(s.qsoRate[119], 18.f);  // 0, 99 and 119 lie within ten minutes
    EXPECT_EQ(s.qsoRate[199], 24.f);
    EXPECT_EQ(s.qsoRate[209], 30.f);
    // Long gap: the first four empty positions stay 0, then a line climbs from 0 over the last
    // fifteen.
    for (int i = 100; i <= 104; ++i)
        EXPECT_EQ(s.qsoRate[i], 0.f) << i;
    for (int m = 105; m < 119; ++m)
        EXPECT_FLOAT_EQ(s.qsoRate[m], static_cast<float>(m - 104) * 18.f / 15.f) << m;
    // Short gap: the line starts at the earlier value.
    for (int m = 200; m < 209; ++m)
        EXPECT_FLOAT_EQ(s.qsoRate[m], 24.f + static_cast<float>(m - 200) * 6.f / 9.f) << m;
    // Farther than fifteen positions from anything: nothing drawn.
    EXPECT_EQ(s.drawnRate[700], 0.f);
    // The trailing average of the non-zero values of seven positions.
    EXPECT_FLOAT_EQ(s.drawnRate[110], (s.qsoRate[105] + s.qsoRate[106] + s.qsoRate[107] + s.qsoRate[108]
                                       + s.qsoRate[109] + s.qsoRate[110]) / 6.f);
}

TEST(RateSeries, A6MetreContactColoursItsStretchOther)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 100; ++i)  // 15 positions apart: every gap is bridged
        log.push_back(at(i * 30, i < 50 ? QStringLiteral("20") : QStringLiteral("6")));
    const RateSeries s = RateSeries::compute(log, kBlack);
    for (int i = 1; i <= 740; ++i)
        ASSERT_EQ(s.stripColour[i], RateSeries::bandColour(QStringLiteral("20"))) << i;
    for (int i = 760; i <= 1500; ++i)
        ASSERT_EQ(s.stripColour[i], RateSeries::kOtherBandColour) << i;
    EXPECT_EQ(RateSeries::bandColour(QStringLiteral("2")), 0xFFFF00u);
    EXPECT_EQ(RateSeries::bandColour(QStringLiteral("15")), 0x80FFFFu);
}

TEST(RateSeries, LabelsSpanTheLogAndTheValues)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 15; ++i)
        log.push_back(at(i * 14 * 60));  // 14 minutes apart: T0 + k x S / 14 falls on each contact
    const RateSeries s = RateSeries::compute(log, kBlack);
    EXPECT_EQ(s.timeLabels[0], QStringLiteral("12:00"));
    EXPECT_EQ(s.timeLabels[1], QStringLiteral("12:14"));
    EXPECT_EQ(s.timeLabels[14], QStringLiteral("15:16"));
    EXPECT_EQ(s.dateLabels[0], QStringLiteral("06/09"));
    EXPECT_EQ(s.valueLabels[0], RateSeries::valueText(s.lowest));
    EXPECT_EQ(s.valueLabels[16], RateSeries::valueText(s.highest));
    EXPECT_EQ(RateSeries::valueText(6.f), QStringLiteral("6.0"));
    EXPECT_EQ(RateSeries::valueText(0.f), QStringLiteral("0.0"));
    EXPECT_EQ(RateSeries::valueText(1234.56f), QStringLiteral("1234.6"));
    EXPECT_EQ(RateSeries::valueText(12.25f), QStringLiteral("12.3"));
}

TEST(RateSeries, ASteadyLogIsFlatAndDrawnAlongTheBottom)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 200; ++i)
        log.push_back(at(i * 12 * 60));
    const RateSeries s = RateSeries::compute(log, kBlack);
    ASSERT_TRUE(s.drawable);
    EXPECT_TRUE(s.flat());
    EXPECT_EQ(s.lowest, 6.f);
    EXPECT_EQ(s.highest, 6.f);
    for (const QString& label : s.valueLabels)
        EXPECT_EQ(label, QStringLiteral("6.0"));
    const RateGeometry g{100, 1600, 50, 850, 870, 900, 10};
    for (int i = 0; i <= 1500; ++i) {
        const double y = g.y(s.drawnRate[i], s);
        ASSERT_TRUE(std::isfinite(y)) << i;
    }
    EXPECT_DOUBLE_EQ(g.y(6.f, s), 850 - 800 * 0.0025);
}

TEST(RateSeries, AnUnorderedLogIsTakenInTimeOrder)
{
    std::vector<QsoRecord> ordered;
    for (int i = 0; i < 50; ++i)
        ordered.push_back(at(i * 97, i % 2 ? QStringLiteral("40") : QStringLiteral("20")));
    // Post-contest contacts appended later, with earlier times.
    std::vector<QsoRecord> appended(ordered.begin() + 10, ordered.end());
    appended.insert(appended.end(), ordered.begin(), ordered.begin() + 10);
    const RateSeries a = RateSeries::compute(ordered, kBlack);
    const RateSeries b = RateSeries::compute(appended, kBlack);
    EXPECT_EQ(a.spanSeconds, 49 * 97);
    EXPECT_EQ(b.spanSeconds, a.spanSeconds);
    EXPECT_EQ(a.qsoRate, b.qsoRate);
    EXPECT_EQ(a.drawnRate, b.drawnRate);
    EXPECT_EQ(a.stripColour, b.stripColour);
    EXPECT_EQ(a.timeLabels, b.timeLabels);
}

TEST(RateSeries, UnreadableRecordsAreLeftOutAndOneMomentIsFlat)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 8; ++i)
        log.push_back(at(0, QStringLiteral("40")));
    Contact bad;
    bad.date = QStringLiteral("2012/13/45");
    log.push_back(bad.record());
    bad.date = QStringLiteral("2012/06/09");
    bad.time = QStringLiteral("noon");
    log.push_back(bad.record());
    const RateSeries s = RateSeries::compute(log, kBlack);
    ASSERT_TRUE(s.drawable);
    EXPECT_EQ(s.contacts, 8);
    EXPECT_EQ(s.spanSeconds, 0);
    EXPECT_TRUE(s.flat());
    EXPECT_EQ(s.lowest, 48.f);
    EXPECT_EQ(s.stripColour[1500], RateSeries::bandColour(QStringLiteral("40")));
    for (int i = 1; i <= 1500; ++i)
        ASSERT_FALSE(std::isnan(s.drawnRate[i]));

    std::vector<QsoRecord> unreadable(7, bad.record());
    EXPECT_FALSE(RateSeries::compute(unreadable, kBlack).drawable);
}

TEST(RateSeries, AWhiteBackgroundMarksEmptyPositionsWhite)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 7; ++i)
        log.push_back(at(i * 3600));
    const RateSeries s = RateSeries::compute(log, RateSeries::kWhite);
    EXPECT_EQ(s.stripColour[700], RateSeries::kWhite);
    EXPECT_EQ(s.stripColour[1], RateSeries::bandColour(QStringLiteral("20")));
}

TEST(RateGeometry, PlacesPositionsAndValuesAsTheGuideLinesSay)
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 20; ++i)
        log.push_back(at(i * (i % 3 ? 30 : 400)));
    const RateSeries s = RateSeries::compute(log, kBlack);
    ASSERT_FALSE(s.flat());
    const RateGeometry g{1000, 7000, 500, 5300, 5400, 5600, 10};
    EXPECT_DOUBLE_EQ(g.step(), 4.0);
    EXPECT_DOUBLE_EQ(g.x(2), 1010.0);
    EXPECT_DOUBLE_EQ(g.x(1500), 1000 + 4.0 * 1498 + 10);
    const double h = 4800;
    EXPECT_NEAR(g.y(s.lowest, s), 5300 - h * 0.0025, 1e-9);
    EXPECT_NEAR(g.y(s.highest, s), 5300 - h * 0.995 - h * 0.0025, 1e-6);
}

}  // namespace
}  // namespace cubwave::test

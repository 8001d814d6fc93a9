#include "spots/SpotMapLayout.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace cubwave;

namespace {

const QDateTime kNoon(QDate(2026, 6, 27), QTime(12, 0, 0), Qt::UTC);
constexpr ScaleLine kLine{10, 710};

std::array<ScaleLine, 11> spectrumLines()
{
    std::array<ScaleLine, 11> lines;
    lines.fill(kLine);
    return lines;
}

// A store fed spots one second apart; `now` is the monotonic clock at the last one.
struct Spots {
    SpotStore store;
    qint64 now = 10'000'000;

    Spots& add(const QString& call, const QString& kHz)
    {
        now += 1000;
        store.add(call, kHz, QStringLiteral("de N0XYZ:"), QStringLiteral("W1AW"), kNoon.addMSecs(now), now);
        return *this;
    }
    SpotMapLayout bandMap(const char* band, qint64 laterSeconds = 0) const
    {
        return SpotMapRules::bandMap(store, QString::fromLatin1(band), now + laterSeconds * 1000, 0, kLine);
    }
    SpotMapLayout spectrum(qint64 laterSeconds = 0) const
    {
        return SpotMapRules::spectrum(store, now + laterSeconds * 1000, 0, spectrumLines());
    }
};

QStringList labels(const SpotScale& scale) { return {scale.labels.begin(), scale.labels.end()}; }

QStringList shownCalls(const SpotMapLayout& layout)
{
    QStringList calls;
    for (const PlacedSpot& spot : layout.shown)
        calls << spot.tooltip.section(u' ', 0, 0);
    return calls;
}

}  // namespace

TEST(SpotMapLayout, AnEmptyStoreShowsEachBandsEdges)
{
    const Spots none;
    struct Case {
        const char* band;
        QStringList labels;
    };
    const Case cases[] = {
        {"160", {"1.800", "1.850", "1.900", "1.950", "2.000"}},
        {"80", {"3.500", "3.625", "3.750", "3.875", "4.000"}},
        {"40", {"7.000", "7.075", "7.150", "7.225", "7.300"}},
        {"20", {"14.000", "14.088", "14.175", "14.263", "14.350"}},  // 14.0875 and 14.2625 round up
        {"15", {"21.000", "21.113", "21.225", "21.338", "21.450"}},
        {"10", {"28.000", "28.425", "28.850", "29.275", "29.700"}},
        {"6", {"50.000", "51.000", "52.000", "53.000", "54.000"}},
        {"2", {"144.000", "145.000", "146.000", "147.000", "148.000"}},
    };
    for (const Case& c : cases) {
        const SpotMapLayout layout = none.bandMap(c.band);
        ASSERT_EQ(layout.scales.size(), 1u) << c.band;
        EXPECT_EQ(labels(layout.scales[0]), c.labels) << c.band;
        EXPECT_TRUE(layout.shown.empty());
        EXPECT_FALSE(layout.stoppedAtSlot);  // empty slots lie outside the band: their age is never read
    }
    // A band the map does not know (and 30 m, which is no band of the log) shows no scale.
    EXPECT_TRUE(none.bandMap("30").scales.empty());
    EXPECT_TRUE(none.bandMap("").scales.empty());
}

TEST(SpotMapLayout, TheScaleZoomsOntoTwoDifferentFrequenciesOnTheBand)
{
    struct Case {
        QStringList kHz;
        QStringList labels;
    };
    const Case cases[] = {
        {{"14025"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}},            // one spot: band edges
        {{"14025", "14025"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}},   // one frequency twice
        {{"14025", "14030"}, {"14.024", "14.026", "14.027", "14.029", "14.031"}},  // +- 1 kHz
        {{"14030", "7010", "14025", "21350"}, {"14.024", "14.026", "14.027", "14.029", "14.031"}},
        {{"14000", "14350", "14100"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}},  // edges are outside
        {{"7010", "21300"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}},           // all out of band
    };
    for (const Case& c : cases) {
        Spots spots;
        for (int i = 0; i < c.kHz.size(); ++i)
            spots.add(QStringLiteral("K%1ABC").arg(i), c.kHz[i]);
        const SpotMapLayout layout = spots.bandMap("20");
        EXPECT_EQ(labels(layout.scales[0]), c.labels) << c.kHz.join(u',').toStdString();
    }
}

TEST(SpotMapLayout, TheOldestSlotCountsForTheZoom)
{
    Spots spots;
    spots.add(QStringLiteral("K0ABC"), QStringLiteral("14010"));  // ends in slot 0
    for (int i = 1; i < SpotStore::kSlots - 1; ++i)
        spots.add(QStringLiteral("G%1X").arg(i), QStringLiteral("7010"));
    spots.add(QStringLiteral("K9ABC"), QStringLiteral("14020"));
    ASSERT_EQ(spots.store.slot(0).call, QStringLiteral("K0ABC"));

    const SpotMapLayout layout = spots.bandMap("20");
    EXPECT_EQ(layout.scales[0].labels[0], QStringLiteral("14.009"));
    EXPECT_EQ(layout.scales[0].labels[4], QStringLiteral("14.021"));
    EXPECT_EQ(shownCalls(layout), (QStringList{"K9ABC", "K0ABC"}));
}

TEST(SpotMapLayout, SpotsAreCentredOnTheirFrequencyAlongTheLineAsTheLabelsReadIt)
{
    Spots spots;
    spots.add(QStringLiteral("K1ABC"), QStringLiteral("14025")).add(QStringLiteral("VE3XYZ"), QStringLiteral("14030"));
    const SpotMapLayout layout = spots.bandMap("20");
    ASSERT_EQ(layout.shown.size(), 2u);
    // The scale reads 14.024 to 14.031: 1 kHz in from each end of 7 kHz over a 700-pixel line.
    EXPECT_EQ(layout.shown[0].slot, 49);
    EXPECT_EQ(layout.shown[0].caption, QStringLiteral("VE3"));
    EXPECT_NEAR(layout.shown[0].centreX, 10 + 600, 0.05);  // single-precision frequencies
    EXPECT_EQ(layout.shown[1].slot, 48);
    EXPECT_EQ(layout.shown[1].caption, QStringLiteral("K1"));
    EXPECT_NEAR(layout.shown[1].centreX, 10 + 100, 0.05);
}

TEST(SpotMapLayout, AgeGivesTheColourAndAnHourEndsTheRepaint)
{
    struct Case {
        qint64 ageSeconds;
        std::optional<SpotAge> age;
    };
    const Case cases[] = {
        {0, SpotAge::Fresh},     {599, SpotAge::Fresh},  {600, SpotAge::Recent}, {1799, SpotAge::Recent},
        {1800, SpotAge::Old},    {3599, SpotAge::Old},   {3600, std::nullopt},   {86400, std::nullopt},
    };
    for (const Case& c : cases) {
        Spots spots;
        spots.add(QStringLiteral("K1ABC"), QStringLiteral("14025"));
        for (const SpotMapLayout& layout : {spots.bandMap("20", c.ageSeconds), spots.spectrum(c.ageSeconds)}) {
            if (c.age) {
                ASSERT_EQ(layout.shown.size(), 1u) << c.ageSeconds;
                EXPECT_EQ(layout.shown[0].age, *c.age) << c.ageSeconds;
            } else {
                EXPECT_TRUE(layout.shown.empty()) << c.ageSeconds;
                EXPECT_EQ(layout.stoppedAtSlot, 49) << c.ageSeconds;
            }
        }
    }
}

TEST(SpotMapLayout, TheFirstSpotAnHourOldHidesEveryOlderOne)
{
    Spots spots;
    spots.add(QStringLiteral("K1OLD"), QStringLiteral("14010"));
    spots.add(QStringLiteral("K2OLD"), QStringLiteral("14020"));
    spots.now += 2000 * 1000;
    spots.add(QStringLiteral("K3NEW"), QStringLiteral("14030"));

    // K2OLD turns an hour old: it and K1OLD (older still) go; K3NEW stays.
    const SpotMapLayout layout = spots.bandMap("20", 3600 - 2001);
    EXPECT_EQ(shownCalls(layout), QStringList{"K3NEW"});
    EXPECT_EQ(layout.stoppedAtSlot, 48);
}

TEST(SpotMapLayout, TheBandMapReadsAgesOfItsOwnBandOnlyTheSpectrumMapOfEverySlot)
{
    Spots spots;
    spots.add(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    // Slots 0 to 48 were never filled. The band map never reads their age; the spectrum map
    // reads slot 48's and stops there, having shown K1ABC.
    EXPECT_FALSE(spots.bandMap("20").stoppedAtSlot);
    const SpotMapLayout spectrum = spots.spectrum();
    EXPECT_EQ(shownCalls(spectrum), QStringList{"K1ABC"});
    EXPECT_EQ(spectrum.stoppedAtSlot, 48);
}

TEST(SpotMapLayout, TheSpectrumMapHasARowForEveryBandAndZoomsEachOnItsOwn)
{
    Spots spots;
    spots.add(QStringLiteral("W1A"), QStringLiteral("10120"))    // 30 m
        .add(QStringLiteral("W2A"), QStringLiteral("18100"))     // 17 m
        .add(QStringLiteral("W3A"), QStringLiteral("24900"))     // 12 m
        .add(QStringLiteral("W4A"), QStringLiteral("5300"))      // between bands: nowhere
        .add(QStringLiteral("W5A"), QStringLiteral("7010"))
        .add(QStringLiteral("W6A"), QStringLiteral("7020"));

    const SpotMapLayout layout = spots.spectrum();
    ASSERT_EQ(layout.scales.size(), 11u);
    EXPECT_EQ(labels(layout.scales[0]), (QStringList{"1.800", "1.850", "1.900", "1.950", "2.000"}));
    EXPECT_EQ(layout.scales[2].labels[0], QStringLiteral("7.009"));  // two on 40 m: zoomed
    EXPECT_EQ(layout.scales[2].labels[4], QStringLiteral("7.021"));
    EXPECT_EQ(labels(layout.scales[3]), (QStringList{"10.100", "10.113", "10.125", "10.138", "10.150"}));

    QStringList placed;
    for (const PlacedSpot& spot : layout.shown)
        placed << QStringLiteral("%1@%2").arg(spot.tooltip.section(u' ', 0, 0)).arg(spot.row);
    EXPECT_EQ(placed, (QStringList{"W6A@2", "W5A@2", "W3A@7", "W2A@5", "W1A@3"}));
    EXPECT_EQ(SpotMapRules::spectrumRows()[7].title, std::string("12 m"));

    // 30, 17 and 12 m are no bands of the log: the main map shows none of them.
    EXPECT_TRUE(spots.bandMap("20").shown.empty());
}

TEST(SpotMapLayout, TheTooltipGivesCallFrequencyAndUtcTimeOfArrival)
{
    SpotStore store;
    store.add(QStringLiteral("K1ABC"), QStringLiteral("14025.26"), {}, {},
              QDateTime(QDate(2026, 6, 27), QTime(23, 30, 5), Qt::UTC), 0);
    const SpotSlot& slot = store.slot(49);
    EXPECT_EQ(SpotMapRules::tooltip(slot, 0), QStringLiteral("K1ABC  14.025  23:30:05"));
    EXPECT_EQ(SpotMapRules::tooltip(slot, 5), QStringLiteral("K1ABC  14.025  04:30:05"));   // past midnight
    EXPECT_EQ(SpotMapRules::tooltip(slot, -3.5f), QStringLiteral("K1ABC  14.025  20:00:05"));
}

TEST(SpotMapLayout, FrequencyTextsKeepThreeDecimalsAndALonePoint)
{
    EXPECT_EQ(SpotMapRules::frequencyText(1.8), QStringLiteral("1.800"));
    EXPECT_EQ(SpotMapRules::frequencyText(0.5), QStringLiteral(".500"));
    EXPECT_EQ(SpotMapRules::frequencyText(144.0), QStringLiteral("144.000"));
    EXPECT_EQ(SpotMapRules::frequencyText(double(14.0255f)), QStringLiteral("14.026"));
}

// The band maps' texts are written out by hand for speed; they must read exactly as the general
// rules they stand for: the "#.000" number format and the 24-hour "HH:mm:ss" time.
#include "core/NumberFormat.h"
#include "spots/SpotMapLayout.h"
#include "station/ClockTexts.h"
#include "station/NumericText.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>
#include <limits>

using namespace cubwave;

TEST(SpotMapTexts, FrequencyTextReadsAsTheGeneralFormatForEveryKindOfValue)
{
    std::vector<double> values = {0.0,     -0.0,    0.0004,  0.0005, 0.0015,  0.5,       0.9995,  1.0,
                                  1.8,     2.0,     9.9995,  99.9995, 10.1125, 10.1375,  14.0125, 14.2625,
                                  18.068,  21.1125, 144.0,   147.999, 999.9995, 1e9,     1e20,    3.4e38,
                                  1e300,   -14.025, -0.0004, -0.0005, -999.9995, 5e-324, std::numeric_limits<double>::max()};
    // Every float a spot can hold on the way through the store, as the tooltips see them.
    for (const float f : {14.025f, 7.0005f, 1.8375f, 24.9375f, 3.4e38f, 1e-8f, 50.1235f})
        values.push_back(double(f));
    // Every half of the last place up to 150 MHz, and random values on and off the bands.
    for (int i = 0; i <= 300000; ++i)
        values.push_back(i * 0.0005);
    QRandomGenerator random(23);
    for (int i = 0; i < 200000; ++i) {
        values.push_back(random.bounded(200.0));
        values.push_back(double(float(random.bounded(200.0))));
        values.push_back(std::ldexp(random.bounded(1.0), int(random.bounded(-30, 130))));
    }
    int differences = 0;
    for (const double v : values) {
        const QString fast = SpotMapRules::frequencyText(v);
        const QString general = NumberFormat::format(v, u"#.000");
        if (fast != general && ++differences <= 5)
            ADD_FAILURE() << v << ": " << fast.toStdString() << " vs " << general.toStdString();
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(SpotMapRules::frequencyText(std::nan("")), QString());
    EXPECT_EQ(SpotMapRules::frequencyText(std::numeric_limits<double>::infinity()), QString());
    EXPECT_EQ(SpotMapRules::frequencyText(0.5), QStringLiteral(".500"));
}

// The ends that place the spots are the labels' values exactly as the number rule reads them.
TEST(SpotMapTexts, ScaleEndsAreTheLabelsReadBack)
{
    SpotStore store;
    const QDateTime now(QDate(2026, 6, 13), QTime(14, 5, 33), Qt::UTC);
    QRandomGenerator random(8);
    for (int round = 0; round < 2000; ++round) {
        const double lower = random.bounded(150.0);
        const BandWindow window{lower, lower + 0.001 + random.bounded(5.0)};
        for (int i = 0; i < 2; ++i) {
            const double kHz = (window.lowerMHz + random.bounded(1.0) * (window.upperMHz - window.lowerMHz)) * 1000;
            store.add(QStringLiteral("K%1ABC").arg(i), QString::number(kHz, 'f', 3), QString(), QString(), now, 0);
        }
        const SpotScale scale = SpotMapRules::scale(store, window);
        ASSERT_EQ(scale.lowerMHz, NumericText::parse(scale.labels[0]).value()) << scale.labels[0].toStdString();
        ASSERT_EQ(scale.upperMHz, NumericText::parse(scale.labels[4]).value()) << scale.labels[4].toStdString();
    }
}

TEST(SpotMapTexts, UtcClockTextReadsAsTheTimeFormatAtEveryOffset)
{
    for (int s = 0; s < 24 * 3600; s += 7) {
        const QTime local = QTime(0, 0).addSecs(s);
        for (const float offset : {0.0f, 5.0f, -4.5f, 13.75f, -12.0f, 48.0f}) {
            const double minutes = std::fmod(std::round(double(offset) * 60.0), 24.0 * 60.0);
            ASSERT_EQ(utcClockText(local, offset), local.addSecs(int(minutes) * 60).toString(QStringLiteral("HH:mm:ss")))
                << s << " " << offset;
        }
    }
    EXPECT_EQ(utcClockText(QTime(), 5), QString());  // a slot never filled has no time
}

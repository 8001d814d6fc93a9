// The band maps' scale ends must be what their labels say, and the UTC clock text (written out by
// hand for speed) must read exactly as the 24-hour "HH:mm:ss" time.
#include "spots/SpotMapLayout.h"
#include "station/ClockTexts.h"
#include "station/NumericText.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>

using namespace cubwave;

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

#include "spots/SpotStore.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace cubwave;

namespace {

const QDateTime kNoon(QDate(2026, 6, 27), QTime(12, 0, 0), Qt::UTC);

struct Fixture {
    SpotStore store;
    qint64 ticksMs = 1'000'000;

    SpotArrival add(const QString& call, const QString& kHz, const QString& own = QStringLiteral("W1AW"),
                    const QString& record = QStringLiteral("de N0XYZ: CQ"))
    {
        ticksMs += 1000;
        return store.add(call, kHz, record, own, kNoon.addMSecs(ticksMs), ticksMs);
    }
    const SpotSlot& newest() const { return store.slot(SpotStore::kSlots - 1); }
};

}  // namespace

TEST(SpotStore, TheNewestSpotTakesTheLastSlotAndTheFiftyFirstPushesTheOldestOut)
{
    Fixture f;
    for (int i = 1; i <= 51; ++i)
        f.add(QStringLiteral("K%1ABC").arg(i), QString::number(14000 + i));

    EXPECT_EQ(f.newest().call, QStringLiteral("K51ABC"));
    EXPECT_FLOAT_EQ(f.newest().frequencyMHz, 14.051f);
    EXPECT_EQ(f.newest().caption, QStringLiteral("K51"));
    EXPECT_EQ(f.newest().arrivedTicksMs, f.ticksMs);
    // Spot 1 is gone; spot 2 is the oldest, its caption moved with it.
    EXPECT_EQ(f.store.slot(0).call, QStringLiteral("K2ABC"));
    EXPECT_EQ(f.store.slot(0).caption, QStringLiteral("K2"));
    EXPECT_FLOAT_EQ(f.store.slot(0).frequencyMHz, 14.002f);
}

TEST(SpotStore, OnlyTheNewestSpotOfACallStaysOnTheMapsWhereverTheOlderOneLies)
{
    for (int older : {0, 1, 25, 48}) {
        Fixture f;
        // Fill so that the first "DL1ABC" ends up in slot `older` once the second one arrives.
        for (int i = 0; i < SpotStore::kSlots; ++i)
            f.add(i == older + 1 ? QStringLiteral("DL1ABC") : QStringLiteral("G%1X").arg(i), QStringLiteral("7010"));
        f.add(QStringLiteral("dl1abc"), QStringLiteral("7020"));  // the same call in another case

        ASSERT_EQ(f.store.slot(older).call, QStringLiteral("DL1ABC")) << older;
        EXPECT_EQ(f.store.slot(older).frequencyMHz, 0.0f) << "older copy in slot " << older;
        EXPECT_FLOAT_EQ(f.newest().frequencyMHz, 7.02f);
        for (int i = 0; i < SpotStore::kSlots - 1; ++i) {
            if (i != older)
                EXPECT_FLOAT_EQ(f.store.slot(i).frequencyMHz, 7.01f) << "slot " << i;
        }
    }
}

TEST(SpotStore, AFrequencyThatIsNoPlainNumberStoresNothing)
{
    for (const char* text : {"", "DX", "1e308", "nan", "inf", "14,025", "14025.0.1", "0x10", "1e3", "9e99999"}) {
        Fixture f;
        QSignalSpy changed(&f.store, &SpotStore::changed);
        const SpotArrival arrival = f.add(QStringLiteral("K1ABC"), QString::fromLatin1(text));
        EXPECT_FALSE(arrival.stored) << text;
        EXPECT_TRUE(f.newest().call.isEmpty()) << text;
        EXPECT_FALSE(f.newest().arrivedTicksMs) << text;
        EXPECT_EQ(changed.count(), 0) << text;
    }
    // Blanks around a number, signs and a bare fraction are numbers, out of every band or not.
    for (const char* text : {" 14025.5 ", "-7000", "0", ".5", "999999999"}) {
        Fixture f;
        EXPECT_TRUE(f.add(QStringLiteral("K1ABC"), QString::fromLatin1(text)).stored) << text;
    }
}

TEST(SpotStore, TheOwnCallIsSpottedInAnyCaseAndAnEmptyCallNever)
{
    struct Case {
        const char* call;
        const char* own;
        const char* kHz;
        bool spotted;
        bool stored;
    };
    const Case cases[] = {
        {"W1AW", "W1AW", "14025", true, true},
        {"w1aw", "W1AW", "14025", true, true},
        {"W1AW", "W1AW", "talk", true, false},  // even a line with no frequency tells
        {"W1AWX", "W1AW", "14025", false, true},
        {"", "", "14025", false, true},         // no own call set: nothing matches an empty call
        {"", "W1AW", "14025", false, true},
    };
    for (const Case& c : cases) {
        Fixture f;
        const SpotArrival arrival =
            f.add(QString::fromLatin1(c.call), QString::fromLatin1(c.kHz), QString::fromLatin1(c.own));
        EXPECT_EQ(arrival.ownCallSpotted, c.spotted) << c.call << " / " << c.own;
        EXPECT_EQ(arrival.stored, c.stored) << c.call << " / " << c.own;
    }
}

TEST(SpotStore, AnEmptyCallNeverTakesAnotherSpotOffTheMaps)
{
    Fixture f;
    f.add(QString(), QStringLiteral("14010"));
    f.add(QString(), QStringLiteral("14020"));
    EXPECT_FLOAT_EQ(f.store.slot(48).frequencyMHz, 14.01f);
    EXPECT_FLOAT_EQ(f.newest().frequencyMHz, 14.02f);
}

TEST(SpotStore, TheRecordIsCutBeforeItsFirstCarriageReturnAndTheFrequencyIsInMegahertz)
{
    Fixture f;
    const SpotArrival arrival = f.add(QStringLiteral("K1ABC"), QStringLiteral("14025.3"), QStringLiteral("W1AW"),
                                      QStringLiteral("de N0XYZ: up 2\r\nDX de next"));
    EXPECT_EQ(arrival.record, QStringLiteral("de N0XYZ: up 2"));
    EXPECT_FLOAT_EQ(arrival.frequencyMHz, 14.0253f);
    EXPECT_FLOAT_EQ(f.newest().frequencyMHz, 14.0253f);
}

TEST(SpotStore, AgesCountFromTheMonotonicClockNotTheWallClock)
{
    SpotStore store;
    // The wall clock says the spot came an hour ago (a clock step); the monotonic clock says now.
    store.add(QStringLiteral("K1ABC"), QStringLiteral("14025"), {}, {}, kNoon.addSecs(-3600), 50'000);
    const SpotSlot& slot = store.slot(SpotStore::kSlots - 1);
    EXPECT_EQ(slot.ageSeconds(50'000), 0);
    EXPECT_EQ(slot.ageSeconds(50'000 + 599'999), 599);
    EXPECT_EQ(slot.ageSeconds(50'000 + 600'000), 600);
    EXPECT_FALSE(store.slot(0).ageSeconds(50'000));  // never filled: no age at all
}

TEST(SpotStore, TakingASpotOffTheMapsKeepsItsCallAndTellsTheMaps)
{
    Fixture f;
    f.add(QStringLiteral("K1ABC"), QStringLiteral("14025"));
    QSignalSpy changed(&f.store, &SpotStore::changed);
    f.store.removeFromMaps(49);
    f.store.removeFromMaps(50);  // no such slot: nothing happens
    f.store.removeFromMaps(-1);
    EXPECT_EQ(f.newest().frequencyMHz, 0.0f);
    EXPECT_EQ(f.newest().call, QStringLiteral("K1ABC"));
    EXPECT_EQ(changed.count(), 1);
}

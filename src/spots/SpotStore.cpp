#include "spots/SpotStore.h"

#include "spots/CallPrefix.h"
#include "station/NumericText.h"

namespace cubwave {

std::optional<qint64> SpotSlot::ageSeconds(qint64 nowTicksMs) const
{
    if (!arrivedTicksMs)
        return std::nullopt;
    return (nowTicksMs - *arrivedTicksMs) / 1000;
}

SpotStore::SpotStore(QObject* parent) : QObject(parent) {}

namespace {

bool sameCall(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

SpotArrival SpotStore::add(const QString& call, const QString& frequencyKHzText, const QString& record,
                           const QString& ownCall, const QDateTime& localNow, qint64 nowTicksMs)
{
    SpotArrival arrival;
    arrival.ownCallSpotted = sameCall(call, ownCall);

    const std::optional<double> kHz = NumericText::parse(frequencyKHzText);
    if (!kHz)
        return arrival;

    const qsizetype cr = record.indexOf(u'\r');
    arrival.record = cr < 0 ? record : record.left(cr);
    arrival.frequencyMHz = float(*kHz / 1000.0);
    arrival.stored = true;

    // Each slot moves down with its caption, which is the same call's prefix as before.
    for (int i = 1; i < kSlots; ++i)
        slots_[size_t(i - 1)] = std::move(slots_[size_t(i)]);
    SpotSlot& newest = slots_[kSlots - 1];
    newest.call = call;
    newest.frequencyMHz = arrival.frequencyMHz;
    newest.arrivedLocal = localNow;
    newest.arrivedTicksMs = nowTicksMs;
    newest.caption = callPrefix(call);

    // Only the newest spot of a call stays on the maps; the older copy keeps its call.
    for (int i = kSlots - 2; i >= 0; --i) {
        if (sameCall(slots_[size_t(i)].call, call)) {
            slots_[size_t(i)].frequencyMHz = 0;
            break;
        }
    }
    emit changed();
    return arrival;
}

void SpotStore::removeFromMaps(int index)
{
    if (index < 0 || index >= kSlots)
        return;
    slots_[size_t(index)].frequencyMHz = 0;
    emit changed();
}

}  // namespace cubwave

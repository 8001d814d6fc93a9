#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace cubwave {

// One recent spot as the band maps draw it.
struct SpotSlot {
    QString call;
    float frequencyMHz = 0;   // 0: not on the maps (never filled, or taken off by the operator)
    QDateTime arrivedLocal;   // the local wall clock when it came; shown through the UTC offset
    // The monotonic clock when it came, so a clock step or a daylight-saving change never ages a
    // spot; nothing for a slot never filled, which counts as older than any limit.
    std::optional<qint64> arrivedTicksMs;
    QString caption;          // callPrefix(call)

    // Whole seconds since the spot came, by the monotonic clock; nothing for an empty slot.
    std::optional<qint64> ageSeconds(qint64 nowTicksMs) const;
};

// What one spot did to the store, for the window to show.
struct SpotArrival {
    bool ownCallSpotted = false;  // "You've been spotted!", even when the frequency is no number
    bool stored = false;          // false: the frequency text was no number, the store is as it was
    float frequencyMHz = 0;       // the kHz text / 1000 when stored
    QString record;               // the record cut before its first CR
};

// The 50 most recent spots, slot 49 the newest, that the main window's band map and the HF
// spectrum map draw from. It lives as long as the main window and is never saved.
class SpotStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 50;

    explicit SpotStore(QObject* parent = nullptr);

    // Takes one handed-over spot: the spotted call, the frequency text in kHz and the record.
    // A frequency that is not a plain decimal number fitting single precision stores nothing.
    // An empty call never equals the own call nor an older spot's call.
    SpotArrival add(const QString& call, const QString& frequencyKHzText, const QString& record,
                    const QString& ownCall, const QDateTime& localNow, qint64 nowTicksMs);

    const SpotSlot& slot(int index) const { return slots_[size_t(index)]; }

    // The operator took the spot off the maps: its frequency becomes 0, the rest stays.
    void removeFromMaps(int index);

signals:
    // After a stored spot or a spot taken off the maps.
    void changed();

private:
    std::array<SpotSlot, kSlots> slots_;
};

}  // namespace cubwave

#pragma once

#include "core/QsoRecord.h"

#include <QString>

#include <array>
#include <span>
#include <vector>

namespace cubwave {

// The QSO rate graph's values: for each contact the number of contacts in the ten minutes up to
// it, times six, placed at one of 1500 horizontal positions spread over the log's time span,
// short gaps filled, smoothed by a trailing average, with the band of each stretch.
// Colours are 0xRRGGBB.
struct RateSeries {
    static constexpr int kPositions = 1500;   // positions 1..1500 are plotted
    static constexpr int kArraySize = 1601;   // positions 0..1600
    static constexpr int kMinContacts = 7;    // fewer are not graphed
    static constexpr int kWindowSeconds = 600;
    static constexpr int kMaxGap = 15;        // longer gaps stay at 0
    static constexpr int kAverageSpan = 7;
    static constexpr int kTimeLabels = 15;
    static constexpr int kValueLabels = 17;

    static constexpr quint32 kWhite = 0xFFFFFF;
    static constexpr quint32 kBlack = 0x000000;
    static constexpr quint32 kOtherBandColour = 0xFFFF00;

    // The legend's colour of a band code: 160 white, 80 blue, 40 red, 20 green, 15 light cyan,
    // 10 magenta, anything else yellow ("Other").
    static quint32 bandColour(const QString& bandCode);

    // Contacts are taken in time order (a stable sort, so an ordered log keeps its order);
    // records whose date or time does not read are left out. background is the window's colour,
    // which marks positions without a contact.
    static RateSeries compute(std::span<const QsoRecord> records, quint32 background);

    // The value labels' text, "###0.0".
    static QString valueText(float value);

    bool drawable = false;  // false when no record has a readable date and time
    int contacts = 0;       // records with a readable date and time
    qint64 spanSeconds = 0;
    std::vector<float> qsoRate = std::vector<float>(kArraySize, 0.f);
    std::vector<float> drawnRate = std::vector<float>(kArraySize, 0.f);
    std::vector<quint32> stripColour = std::vector<quint32>(kArraySize, 0);
    float lowest = 100000.f;
    float highest = -1.f;
    std::array<QString, kTimeLabels> timeLabels;  // "hh:mm", item k at T0 + k x span / 14
    std::array<QString, kTimeLabels> dateLabels;  // "MM/DD"
    std::array<QString, kValueLabels> valueLabels;  // item 0 the lowest, item 16 the highest

    // Every drawn value is the same (a steady log, or all contacts at one moment): the curve
    // lies along the bottom of the plot.
    bool flat() const { return highest <= lowest; }
};

}  // namespace cubwave

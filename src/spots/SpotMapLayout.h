#pragma once

#include "spots/SpotStore.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace cubwave {

// A frequency window in MHz; spots strictly inside it belong to it.
struct BandWindow {
    double lowerMHz = 0;
    double upperMHz = 0;
};

// One row of the HF spectrum map.
struct SpectrumRow {
    const char* title;  // "160 m"
    BandWindow window;
};

// A scale of five labels at 0, 25, 50, 75 and 100 % of its line, "#.000". The ends that place the
// spots are read back from the first and last label, as the operator sees them.
struct SpotScale {
    std::array<QString, 5> labels;
    double lowerMHz = 0;
    double upperMHz = 0;

    bool contains(double freqMHz) const { return lowerMHz < freqMHz && freqMHz < upperMHz; }
};

// The horizontal extent of a scale's line, in pixels.
struct ScaleLine {
    double x1 = 0;
    double x2 = 0;
};

// The colour class of a spot by its age: under 10 minutes, under 30 minutes, under an hour.
enum class SpotAge { Fresh, Recent, Old };

struct PlacedSpot {
    int slot = 0;
    int row = 0;         // 0 on the band map; the spectrum row
    double centreX = 0;  // where on the row's line the spot's frequency lies
    QString caption;
    QString tooltip;     // "call  #.000  hh:mm:ss", the arrival time by the UTC clock's rule
    SpotAge age = SpotAge::Fresh;
};

struct SpotMapLayout {
    std::vector<SpotScale> scales;  // one per row
    std::vector<PlacedSpot> shown;  // newest first; drawn in reverse, so the newest lies on top
    // The slot whose age of an hour or more ended the layout, and with it every older slot.
    std::optional<int> stoppedAtSlot;
};

class SpotMapRules {
public:
    static constexpr qint64 kFreshSeconds = 600;
    static constexpr qint64 kRecentSeconds = 1800;
    static constexpr qint64 kShownSeconds = 3600;

    // The main band map's edges for a log band code ("160" ... "2"); nothing for another band.
    static std::optional<BandWindow> bandMapWindow(QStringView bandCode);
    // The eleven rows of the spectrum map, 160 m to 2 m.
    static const std::array<SpectrumRow, 11>& spectrumRows();

    // The scale over a band: zoomed to the spots in it +- 1 kHz when it holds two different
    // frequencies, else the band's edges.
    static SpotScale scale(const SpotStore& store, BandWindow band);

    // The "#.000" text of the scale labels and tooltips.
    static QString frequencyText(double freqMHz);

    // The colour class for an age in whole seconds; nothing at an hour or more.
    static std::optional<SpotAge> ageClass(std::optional<qint64> ageSeconds);

    static QString tooltip(const SpotSlot& slot, float utcOffsetHours);

    // The main band map for a band code: only spots inside the scale are shown, and only their
    // ages are tested. An unknown band shows no scale and no spots.
    static SpotMapLayout bandMap(const SpotStore& store, QStringView bandCode, qint64 nowTicksMs,
                                 float utcOffsetHours, ScaleLine line);
    // The spectrum map: every slot's age is tested, placed or not, so an empty or hour-old slot
    // ends the layout wherever it lies.
    static SpotMapLayout spectrum(const SpotStore& store, qint64 nowTicksMs, float utcOffsetHours,
                                  const std::array<ScaleLine, 11>& lines);
};

}  // namespace cubwave

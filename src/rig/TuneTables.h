#pragma once

#include <QString>

#include <array>

namespace cubwave {

// The tune window's fixed choices and its scan arithmetic, in whole hertz.
class TuneTables {
public:
    struct Band {
        const char* caption;
        const char* mhzText;  // what the button puts in the frequency box
        const char* mode;     // a mode sent with it, or nullptr for the band plan's
    };
    // US 60 m voice is channelised: 5.357 MHz is the upper-sideband dial frequency of the
    // 5358.5 kHz channel, and the band plan has no record around a dial frequency, so the
    // button names its sideband.
    static constexpr std::array<Band, 16> kBands{{
        {"160", "1.9", nullptr},   {"80", "3.75", nullptr},   {"60", "5.357", "USB"},
        {"40", "7.15", nullptr},   {"30", "10.13", nullptr},  {"20", "14.175", nullptr},
        {"17", "18.118", nullptr}, {"15", "21.225", nullptr}, {"12", "24.94", nullptr},
        {"10", "28.5", nullptr},   {"6", "52", nullptr},      {"2", "146", nullptr},
        {"1.25", "223.5", nullptr}, {"70", "435", nullptr},   {"33", "915", nullptr},
        {"23", "1270", nullptr},
    }};

    struct Step {
        const char* caption;
        qint64 hz;
    };
    // The step buttons come in pairs, the even one up and the odd one down.
    static constexpr std::array<Step, 5> kSteps{{
        {"10 Hz", 10}, {"1 MHz", 1'000'000}, {"5 KHz", 5'000}, {"1 KHz", 1'000}, {"100 Hz", 100},
    }};
    // "Scan Steps", Option1 to Option5; Option4 is the default.
    static constexpr std::array<Step, 5> kScanSteps{{
        {"500 Hz", 500}, {"100 Hz", 100}, {"30 Hz", 30}, {"10 Hz", 10}, {"2.5 KHz", 2'500},
    }};
    static constexpr int kDefaultScanStep = 3;
    static constexpr int kScanIntervalMs = 299;
    static constexpr const char* kScanFrom = "1.8";
    static constexpr const char* kScanTo = "54";
    static constexpr const char16_t* kScanFormat = u"####.#####";

    // One scan tick: a step up, or back to From once beyond To.
    static qint64 nextScanHz(qint64 hz, qint64 stepHz, qint64 fromHz, qint64 toHz)
    {
        const qint64 next = hz + stepHz;
        return next > toHz ? fromHz : next;
    }
    // The scan's text for the frequency box, "####.#####": 1.8 -> "1.8", 14 -> "14.".
    static QString scanText(qint64 hz);
};

}  // namespace cubwave

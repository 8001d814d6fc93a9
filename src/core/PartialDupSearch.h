#pragma once

#include "core/LogStore.h"

#include <QString>

#include <optional>

namespace cubwave {

// The search run for each key typed into the call field: the earlier calls on this band and
// mode that begin with what has been typed, and the check of the second and third characters.
class PartialDupSearch {
public:
    // The match list stops growing once it is longer than this many characters.
    static constexpr int kMatchListLimit = 100;

    // Key codes that take part: "." to "Z", digits and "/" included.
    static bool countsAsCallKey(int keyCode) { return keyCode > 45 && keyCode < 91; }

    struct Input {
        QString fieldText;  // the call field before this key
        int keyCode = 0;    // the key after upper-casing
        QString band;
        QString mode;
        bool displayOn = true;      // the partial-duplicate display switch
        bool clockRunning = false;  // the operating-time clock
    };

    enum class ThreeCharCheck { NotRun, Passed, Failed };

    // Every run also puts the status line back to its normal colour; the status caption itself
    // changes only as `status` says.
    struct Result {
        // Caption of the possible-duplicates line: "CALL " pieces, later records first. The line
        // is highlighted exactly when this is not empty.
        QString matches;
        // More than two characters were typed before this key and something matched.
        bool possibleDuplicate = false;
        ThreeCharCheck threeCharCheck = ThreeCharCheck::NotRun;
        // The status line's new caption, when this key sets one: "Possible Duplicate!", a single
        // blank, or "The second or third character is not numeric!" (with a beep).
        std::optional<QString> status;
        bool beep = false;
    };

    static Result run(const LogStore& store, const Input& input);
};

}  // namespace cubwave

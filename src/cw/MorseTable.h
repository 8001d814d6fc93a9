#pragma once

#include <QChar>
#include <QString>

#include <vector>

namespace cubwave {

// One stretch of the keying line in one state, in units of the code speed.
struct KeyingRun {
    bool keyDown = false;
    qint64 units = 0;
    bool operator==(const KeyingRun&) const = default;
};

// The element table: each character as a string of units, "1" key down and "0" key up. A dot
// is "10", a dash "1110", and every character ends in "00" more, so three key-up units close it.
// Patterns follow ITU-R M.1677-1; the prosigns are typed as single characters.
class MorseTable {
public:
    // Longest word-space adjustment honoured: a space of a million units already lasts more
    // than a day at any sane speed, and Esc cuts a space short anyway.
    static constexpr qint64 kMaxWordSpaceAdjust = 1'000'000;

    // Dots and dashes (".-") of a character after upper-casing; empty for "!", " " and every
    // character without a pattern.
    static QString pattern(QChar c);

    // The unit string of a character, the space included ("00000000" with its adjustment: more
    // "0"s above zero, only the first 8 + N below, none at -8 or lower). "!" and unknown
    // characters give an empty string: they take no time.
    static QString elements(QChar c, int wordSpaceAdjust = 0);

    // The same character as runs of equal units, so a dash is one run of 3 and a huge word
    // space is one run instead of a huge string.
    static std::vector<KeyingRun> runs(QChar c, qint64 wordSpaceAdjust = 0);

    // "!" sends nothing; the contact is committed when the sending reaches it.
    static bool isCommitMarker(QChar c) { return c == QLatin1Char('!'); }
};

}  // namespace cubwave

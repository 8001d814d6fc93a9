#pragma once

#include <QString>

#include <array>

namespace cubwave {

// The 62 US states and Canadian provinces that count as multipliers. Index i (1..62) is also the
// index of the multiplier label showing the code. Rows 27 and 36 hold codes no two-letter entry
// can match, so Hawaii and Alaska are logged by name and count like countries.
class SpcTable {
public:
    static constexpr int kSize = 62;

    struct Entry {
        const char* code;
        const char* name;
        const char* group;  // call-area heading: "1".."9", "0" or "Canada"
    };

    // i in 1..62.
    static const Entry& entry(int i);
    // Index 1..62 of the first entry whose code equals text without regard to case, else 0.
    static int find(const QString& text);
    static bool hidden(int i) { return i == 27 || i == 36; }

    // SPC for a Canadian call, from its first three characters; empty when none applies.
    static QString canadianSpcForCall(const QString& call);
};

}  // namespace cubwave

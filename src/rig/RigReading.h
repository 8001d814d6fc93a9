#pragma once

#include <QStringView>

#include <optional>

namespace cubwave {

// What one whole reply told about the radio; an empty field leaves the logger's value as it was.
struct RigReading {
    std::optional<float> frequencyMHz;
    const char* mode = nullptr;  // "CW", "PH", or on the FT-757GX II also "AM" or "FM"
    std::optional<int> kenwoodVfoDigit;

    bool empty() const { return !frequencyMHz && !mode && !kenwoodVfoDigit; }
};

// What a decoder needs besides the reply: the query texts it searches for, and for the families
// that send one query per tick, which one went out last.
struct RigDecodeContext {
    QStringView frequencyQuery;
    QStringView modeQuery;
    bool frequencyQueryLast = true;
};

}  // namespace cubwave

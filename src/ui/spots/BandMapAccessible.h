#pragma once

namespace cubwave {

// Makes a band map's shown spots children in the accessibility tree: a screen reader reads each
// caption (the call's prefix) and its tooltip (call, frequency, time). Safe to call often.
void installBandMapAccessibility();

}  // namespace cubwave

#include "rig/ModeFromFrequency.h"

#include <array>

namespace cubwave {

namespace {

struct Segment {
    float aboveMHz;
    float belowMHz;
    const char* mode;
};

constexpr std::array<Segment, 19> kSegments{{
    {3.5f, 3.6f, "CW"},       {3.6f, 4.0f, "PH"},
    {7.0f, 7.125f, "CW"},     {7.125f, 7.3f, "PH"},
    {10.1f, 10.15f, "CW"},
    {14.0f, 14.15f, "CW"},    {14.15f, 14.35f, "PH"},
    {18.068f, 18.11f, "CW"},  {18.11f, 18.168f, "PH"},
    {21.0f, 21.2f, "CW"},     {21.2f, 21.45f, "PH"},
    {24.89f, 24.93f, "CW"},   {24.93f, 24.99f, "PH"},
    {28.0f, 28.3f, "CW"},     {28.3f, 29.7f, "PH"},
    {50.0f, 50.1f, "CW"},     {50.1f, 54.0f, "PH"},
    {144.0f, 144.1f, "CW"},   {144.1f, 148.0f, "PH"},
}};

}  // namespace

const char* ModeFromFrequency::modeFor(float freqMHz)
{
    for (const Segment& s : kSegments) {
        if (freqMHz > s.aboveMHz && freqMHz < s.belowMHz)
            return s.mode;
    }
    return nullptr;
}

}  // namespace cubwave

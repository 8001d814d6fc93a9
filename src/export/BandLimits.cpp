#include "export/BandLimits.h"

namespace cubwave {

std::optional<BandLimits> BandLimits::of(QStringView bandCode)
{
    struct Row {
        const char16_t* code;
        BandLimits limits;
    };
    static constexpr Row kRows[] = {
        {u"160", {1.8, 2.0}},     {u"80", {3.5, 4.0}},     {u"40", {7.0, 7.3}},   {u"20", {14.0, 14.35}},
        {u"15", {21.0, 21.45}},   {u"10", {28.0, 29.7}},   {u"6", {50.0, 54.0}},  {u"2", {144.0, 148.0}},
    };
    for (const Row& row : kRows) {
        if (bandCode == QStringView(row.code))
            return row.limits;
    }
    return std::nullopt;
}

}  // namespace cubwave

#include "export/BandLimits.h"

namespace cubwave {

std::optional<BandLimits> BandLimits::of(QStringView bandCode)
{
    // Asked once per contact: the codes are told apart by their characters, not by comparing
    // with each of the eight.
    const auto is = [&](const char* code) {
        for (qsizetype i = 0; i < bandCode.size(); ++i) {
            if (code[i] == 0 || bandCode[i].unicode() != static_cast<char16_t>(code[i]))
                return false;
        }
        return code[bandCode.size()] == 0;
    };
    switch (bandCode.size()) {
    case 1:
        if (is("6"))
            return BandLimits{50.0, 54.0};
        if (is("2"))
            return BandLimits{144.0, 148.0};
        break;
    case 2:
        if (is("80"))
            return BandLimits{3.5, 4.0};
        if (is("40"))
            return BandLimits{7.0, 7.3};
        if (is("20"))
            return BandLimits{14.0, 14.35};
        if (is("15"))
            return BandLimits{21.0, 21.45};
        if (is("10"))
            return BandLimits{28.0, 29.7};
        break;
    case 3:
        if (is("160"))
            return BandLimits{1.8, 2.0};
        break;
    default:
        break;
    }
    return std::nullopt;
}

}  // namespace cubwave

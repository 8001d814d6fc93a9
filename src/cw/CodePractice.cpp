#include "cw/CodePractice.h"

#include "cw/CwNumber.h"

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

qint64 wholeCount(double value)
{
    if (!(value >= 1))
        return 0;
    return static_cast<qint64>(std::min(std::floor(value), 1e12));
}

}  // namespace

qint64 CodePractice::plannedLength(qint64 groupCount, qint64 groupLength)
{
    if (groupCount <= 0 || groupLength < 0)
        return 0;
    // Counts of up to 10^12 each: their product does not fit 64 bits, so the cap comes first.
    const qint64 perGroup = groupLength + 1;
    if (groupCount > kMaxCharacters / perGroup)
        return kMaxCharacters;
    return std::min<qint64>(kMaxCharacters, groupCount * perGroup);
}

CodePractice::Result CodePractice::generate(const QString& groupsText, const QString& groupLengthText,
                                            bool lettersOnly, const std::function<double()>& uniform)
{
    Result r;
    auto groups = CwNumber::parse(groupsText);
    r.groupsText = groups ? groupsText : kDefaultGroups;
    if (!groups)
        groups = 10;
    auto length = CwNumber::parse(groupLengthText);
    r.groupLengthText = length ? groupLengthText : kDefaultGroupLength;
    if (!length)
        length = 5;

    const int n = lettersOnly ? kLetterCount : static_cast<int>(kCharacterSet.size());
    const qint64 groupCount = wholeCount(*groups);
    const qint64 groupLength = wholeCount(*length);
    r.text.reserve(static_cast<qsizetype>(plannedLength(groupCount, groupLength)));
    for (qint64 g = 0; g < groupCount; ++g) {
        for (qint64 c = 0; c <= groupLength; ++c) {
            if (r.text.size() >= kMaxCharacters) {
                r.capped = true;
                return r;
            }
            if (c == groupLength) {
                r.text += QLatin1Char(' ');
                break;
            }
            const double u = uniform();
            const int index = std::clamp(static_cast<int>(std::floor(n * (std::isfinite(u) ? u : 0.0))), 0, n - 1);
            r.text += kCharacterSet[index];
        }
    }
    return r;
}

}  // namespace cubwave

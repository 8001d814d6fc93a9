#include "cw/WinKeyFieldRules.h"

#include "cw/CwNumber.h"

#include <algorithm>

namespace cubwave {

namespace {

WinKeyFieldRules::Left inRange(const QString& text, int low, int high, const QString& fallback)
{
    const auto n = WinKeyFieldRules::number(text);
    if (!n)
        return {fallback, std::nullopt};
    if (*n < low || *n > high)
        return {text, std::nullopt};
    return {text, static_cast<int>(*n)};
}

bool fitsByte(std::optional<long long> n) { return n && *n >= 0 && *n <= 255; }

}  // namespace

std::optional<long long> WinKeyFieldRules::number(const QString& text)
{
    const auto value = CwNumber::parse(text);
    if (!value)
        return std::nullopt;
    // Far beyond every range here, and the conversion stays defined.
    constexpr double kLimit = 1e15;
    return static_cast<long long>(CwNumber::roundHalfEven(std::clamp(*value, -kLimit, kLimit)));
}

WinKeyFieldRules::Left WinKeyFieldRules::speed(const QString& text) { return inRange(text, 0, 99, kDefaultSpeed); }
WinKeyFieldRules::Left WinKeyFieldRules::weight(const QString& text) { return inRange(text, 0, 99, kDefaultWeight); }
WinKeyFieldRules::Left WinKeyFieldRules::ratio(const QString& text) { return inRange(text, 32, 67, kDefaultRatio); }

WinKeyFieldRules::LeadTail WinKeyFieldRules::leadTail(const QString& leadIn, const QString& tail, bool leftLeadIn)
{
    const auto lead = number(leadIn);
    const auto after = number(tail);
    if (fitsByte(lead) && fitsByte(after))
        return {leadIn, tail, std::make_pair(static_cast<int>(*lead), static_cast<int>(*after))};
    const QString zero = QStringLiteral("0");
    return {leftLeadIn ? zero : leadIn, leftLeadIn ? tail : zero, std::nullopt};
}

WinKeyFieldRules::Port WinKeyFieldRules::comPort(const QString& text)
{
    const auto n = number(text);
    if (!n)
        return {QStringLiteral("0"), 0};
    return {text, fitsByte(n) ? static_cast<int>(*n) : 0};
}

bool WinKeyFieldRules::keyAccepted(int keyAscii) { return keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9'); }

bool WinKeyFieldRules::sendable(QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; }

}  // namespace cubwave

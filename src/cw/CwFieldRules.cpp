#include "cw/CwFieldRules.h"

#include "core/DecimalText.h"
#include "cw/CwFile.h"
#include "cw/CwNumber.h"

#include <cmath>

namespace cubwave {

namespace {
constexpr char16_t kBackspace = 8;
}

bool CwFieldRules::portOrSpeedKeyAccepted(QChar key)
{
    return key == kBackspace || (key.unicode() >= 48 && key.unicode() <= 58);
}

bool CwFieldRules::wordSpaceKeyAccepted(QChar key)
{
    return key == kBackspace || (key.unicode() >= 45 && key.unicode() <= 58);
}

bool CwFieldRules::repeatKeyAccepted(QChar key)
{
    return key == kBackspace || key == u'.' || (key >= u'0' && key <= u'9');
}

QChar CwFieldRules::messageKey(QChar key)
{
    if (key == u'"')
        return {};
    if (key >= u'a' && key <= u'z')
        return key.toUpper();
    return key;
}

QString CwFieldRules::pastedMessage(const QString& text) { return CwFile::storable(text); }

QString CwFieldRules::leftNumberField(const QString& text)
{
    return CwNumber::parse(text) ? text : QStringLiteral("0");
}

QString CwFieldRules::changedWordSpace(const QString& text)
{
    const auto n = CwNumber::parse(text);
    return n && *n < -8 ? QStringLiteral("-8") : text;
}

QString CwFieldRules::leftWordSpace(const QString& text)
{
    return CwNumber::parse(text) ? text : QStringLiteral("0");
}

QString CwFieldRules::steppedWordSpace(const QString& text, int step)
{
    return changedWordSpace(numberText(CwNumber::parse(text).value_or(0) + step));
}

QString CwFieldRules::steppedSpeed(const QString& text, int step)
{
    return numberText(CwNumber::parse(text).value_or(0) + step);
}

CwFieldRules::RepeatField CwFieldRules::leftRepeat(const QString& text)
{
    const auto seconds = CwNumber::parse(text);
    if (!seconds)
        return {QStringLiteral("0"), 0, true};
    if (*seconds < 0 || *seconds >= 60)
        return {QStringLiteral("0"), 0, false};
    return {text, static_cast<int>(CwNumber::roundHalfEven(*seconds * 1000.0)), false};
}

bool CwFieldRules::testNeedsPort(const CwSettings& settings)
{
    if (settings.cwInterface != kCwRts && settings.cwInterface != kCwDtr)
        return false;
    return CwNumber::parse(settings.port).value_or(0) < 1;
}

QString CwFieldRules::numberText(double value) { return DecimalText::shortest(value); }

}  // namespace cubwave

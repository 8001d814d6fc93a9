#include "cw/CwMessages.h"

namespace cubwave {

QString CwMessages::messageForKey(const CwSettings& settings, int keyCode)
{
    if (keyCode >= kF1 && keyCode <= kF9)
        return settings.messages[keyCode - kF1];
    if (keyCode == kF10)
        return settings.messages[CwSettings::kF10];
    if (keyCode == kF11)
        return settings.messages[CwSettings::kF11];
    return {};
}

QString CwMessages::expand(const QString& message, const QString& callField)
{
    QString text = message;
    text.replace(QLatin1Char('$'), callField.trimmed());
    text.remove(QLatin1Char('#'));
    text.replace(QLatin1Char('*'), QStringLiteral("5NN"));
    return text;
}

}  // namespace cubwave

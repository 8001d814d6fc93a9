#include "spots/CallPrefix.h"

#include "station/NumericText.h"

namespace cubwave {

QString callPrefix(QStringView call)
{
    const qsizetype length = call.size();
    if (length < 3)
        return {};

    // Positions counted from 1, 0 for none, as the rule below reads them.
    qsizetype lastDigit = 0;
    qsizetype slash = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (call[i].isDigit() && call[i].unicode() < 128)
            lastDigit = i + 1;
        if (call[i] == u'/')
            slash = i + 1;
    }

    if (slash == 0)
        return (lastDigit == 0 ? call : call.left(lastDigit)).toString();

    // A "/" in the first half stands after a prefix of another country (KH6/K1ABC).
    if (double(slash) < double(length) / 2.0 + 1.0)
        return call.left(slash - 1).toString();

    // After a late "/" the suffix is read for as many characters as the last digit's position
    // (the whole call's length without a digit), whatever that leaves.
    const qsizetype take = lastDigit == 0 ? length : lastDigit;
    const QStringView suffix = call.mid(slash).left(take);
    if (!NumericText::parse(suffix))
        return suffix.toString();

    qsizetype firstDigit = 0;
    while (firstDigit < length && !(call[firstDigit].isDigit() && call[firstDigit].unicode() < 128))
        ++firstDigit;
    return call.left(firstDigit).toString() + suffix.toString();
}

}  // namespace cubwave

#include "cw/MorseTable.h"

#include <algorithm>

namespace cubwave {

namespace {

struct Entry {
    char character;
    const char* pattern;
};

// ITU-R M.1677-1 letters, figures and punctuation, then this program's prosign keys.
constexpr Entry kTable[] = {
    {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},   {'D', "-.."},    {'E', "."},
    {'F', "..-."},   {'G', "--."},    {'H', "...."},   {'I', ".."},     {'J', ".---"},
    {'K', "-.-"},    {'L', ".-.."},   {'M', "--"},     {'N', "-."},     {'O', "---"},
    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},    {'S', "..."},    {'T', "-"},
    {'U', "..-"},    {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},   {'Y', "-.--"},
    {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
    {'4', "....-"},  {'5', "....."},  {'6', "-...."},  {'7', "--..."},  {'8', "---.."},
    {'9', "----."},  {'.', ".-.-.-"}, {',', "--..--"}, {'?', "..--.."}, {'/', "-..-."},
    {'=', "-...-"},
    {'-', "-...-"},     // sent as the double dash, not the six-element hyphen
    {'[', ".-.-."},     // AR
    {']', "...-.-"},    // SK
    {';', "-.--."},     // KN
    {'\\', "-.-..-.."}, // CL
};

constexpr qint64 kSpaceUnits = 8;

qint64 spaceUnits(qint64 adjust)
{
    adjust = std::min(adjust, MorseTable::kMaxWordSpaceAdjust);
    return std::max<qint64>(0, kSpaceUnits + adjust);
}

}  // namespace

QString MorseTable::pattern(QChar c)
{
    const QChar upper = c.toUpper();
    if (upper.unicode() > 0x7f)
        return {};
    for (const Entry& e : kTable) {
        if (e.character == upper.toLatin1())
            return QString::fromLatin1(e.pattern);
    }
    return {};
}

QString MorseTable::elements(QChar c, int wordSpaceAdjust)
{
    if (c == QLatin1Char(' '))
        return QString(spaceUnits(wordSpaceAdjust), QLatin1Char('0'));
    const QString dots = pattern(c);
    if (dots.isEmpty())
        return {};
    QString units;
    for (QChar symbol : dots)
        units += symbol == QLatin1Char('.') ? QStringLiteral("10") : QStringLiteral("1110");
    return units + QStringLiteral("00");
}

std::vector<KeyingRun> MorseTable::runs(QChar c, qint64 wordSpaceAdjust)
{
    if (c == QLatin1Char(' ')) {
        const qint64 units = spaceUnits(wordSpaceAdjust);
        if (units == 0)
            return {};
        return {{false, units}};
    }
    std::vector<KeyingRun> out;
    for (QChar unit : elements(c)) {
        const bool down = unit == QLatin1Char('1');
        if (!out.empty() && out.back().keyDown == down)
            ++out.back().units;
        else
            out.push_back({down, 1});
    }
    return out;
}

}  // namespace cubwave

#include "core/FieldText.h"

#include <algorithm>

namespace cubwave {

namespace {

// Keeps only the characters that pass, dropping a surrogate half that has lost its partner
// (the UTF-8 writer would turn it into a replacement character).
template <typename Keep>
QString filtered(QStringView text, Keep keep)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                if (keep(c)) {
                    out += c;
                    out += text[i + 1];
                }
                ++i;
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        if (keep(c))
            out += c;
    }
    return out;
}

}  // namespace

bool FieldText::breaksLine(QChar c)
{
    if (c == QLatin1Char('"'))
        return true;
    switch (c.category()) {
    case QChar::Other_Control:       // C0 (TAB, CR, LF), DEL and C1
    case QChar::Separator_Line:      // U+2028
    case QChar::Separator_Paragraph: // U+2029
        return true;
    default:
        return false;
    }
}

QString FieldText::withoutLineBreakers(QStringView text)
{
    return filtered(text, [](QChar c) { return !breaksLine(c); });
}

QString FieldText::accept(const FieldRule& rule, QStringView incoming, qsizetype at)
{
    QString out = filtered(incoming, [&rule](QChar c) {
        if (breaksLine(c))
            return false;
        if (!rule.only.isEmpty() && !rule.only.contains(c))
            return false;
        if (rule.dropSpaces && c == QLatin1Char(' '))
            return false;
        if (rule.dropDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            return false;
        return true;
    });
    // The keystroke rules upper-case "a" to "z" only; other letters stay as they are.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = out[i].unicode();
        if (at + i < rule.upperCaseBelow && u >= u'a' && u <= u'z')
            out[i] = QChar(u - (u'a' - u'A'));
    }
    return out;
}

FieldText::Edit FieldText::insert(const FieldRule& rule, QStringView current, qsizetype selectionStart,
                                  qsizetype selectionLength, QStringView incoming)
{
    selectionStart = std::clamp<qsizetype>(selectionStart, 0, current.size());
    selectionLength = std::clamp<qsizetype>(selectionLength, 0, current.size() - selectionStart);
    const qsizetype kept = current.size() - selectionLength;
    const qsizetype room = std::max<qsizetype>(0, rule.maxLength - kept);

    QString in = accept(rule, incoming, selectionStart);
    if (in.size() > room) {
        qsizetype cut = room;
        if (cut > 0 && in[cut - 1].isHighSurrogate())
            --cut;
        in.truncate(cut);
    }

    Edit e;
    e.text = current.left(selectionStart).toString() + in + current.mid(selectionStart + selectionLength).toString();
    e.caret = selectionStart + in.size();
    e.inserted = in;
    return e;
}

}  // namespace cubwave

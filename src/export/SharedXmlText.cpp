#include "export/SharedXmlText.h"

namespace cubwave {

QString escapeXmlText(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('&'))
            out += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            out += QLatin1String("&gt;");
        else
            out += c;
    }
    return out;
}

namespace {

// The character a reference such as "&#233;" or "&#xE9;" names; 0 when it names none.
char32_t numericReference(QStringView body)
{
    if (body.size() < 2 || body[0] != QLatin1Char('#'))
        return 0;
    bool ok = false;
    const bool hex = body[1] == QLatin1Char('x') || body[1] == QLatin1Char('X');
    const QStringView digits = body.sliced(hex ? 2 : 1);
    if (digits.isEmpty() || digits.size() > 8)
        return 0;
    const uint code = digits.toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return code;
}

}  // namespace

QString unescapeXmlText(const QString& text)
{
    constexpr qsizetype kLongestReference = 12;  // "&#x10FFFF;" and room to spare
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != QLatin1Char('&')) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i + 1);
        if (semi < 0 || semi - i > kLongestReference) {
            out += c;
            ++i;
            continue;
        }
        const QStringView body = QStringView(text).sliced(i + 1, semi - i - 1);
        QString replacement;
        if (body == u"amp")
            replacement = QStringLiteral("&");
        else if (body == u"lt")
            replacement = QStringLiteral("<");
        else if (body == u"gt")
            replacement = QStringLiteral(">");
        else if (body == u"quot")
            replacement = QStringLiteral("\"");
        else if (body == u"apos")
            replacement = QStringLiteral("'");
        else if (const char32_t code = numericReference(body))
            replacement = QString::fromUcs4(&code, 1);
        if (replacement.isEmpty()) {
            out += c;
            ++i;
            continue;
        }
        out += replacement;
        i = semi + 1;
    }
    return out;
}

}  // namespace cubwave

#include "export/AsciiText.h"

#include <QString>

#include <algorithm>
#include <vector>

namespace cubwave {

namespace {

bool printableAscii(char16_t c) { return c >= 0x20 && c < 0x7f; }

void appendPlain(QByteArray& out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* p = out.data() + at;
    for (const QChar c : text)
        *p++ = static_cast<char>(c.unicode());
}

bool isMark(char32_t c)
{
    const QChar::Category cat = QChar::category(c);
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing;
}

// Letters and signs that have a plain ASCII spelling but no decomposition that leads to it.
struct Spelling {
    char32_t code;
    const char* ascii;
};
constexpr Spelling kSpellings[] = {
    {U'\u00C6', "AE"}, {U'\u00E6', "ae"}, {U'\u00D0', "D"},  {U'\u00F0', "d"},  {U'\u00D8', "O"},
    {U'\u00F8', "o"},  {U'\u00DE', "TH"}, {U'\u00FE', "th"}, {U'\u00DF', "ss"}, {U'\u1E9E', "SS"},
    {U'\u0110', "D"},  {U'\u0111', "d"},  {U'\u0126', "H"},  {U'\u0127', "h"},  {U'\u0131', "i"},
    {U'\u013F', "L"},  {U'\u0140', "l"},  {U'\u0141', "L"},  {U'\u0142', "l"},  {U'\u0152', "OE"},
    {U'\u0153', "oe"}, {U'\u0166', "T"},  {U'\u0167', "t"},
    // Typographic quotes and dashes, as word processors and phones put them into names.
    {U'\u2010', "-"},  {U'\u2011', "-"},  {U'\u2012', "-"},  {U'\u2013', "-"},  {U'\u2014', "-"},
    {U'\u2018', "'"},  {U'\u2019', "'"},  {U'\u201A', "'"},  {U'\u201C', "\""}, {U'\u201D', "\""},
    {U'\u201E', "\""}, {U'\u2212', "-"},
};

// The ASCII form of one code point: its spelling above, or its compatibility decomposition with
// the marks dropped and every other character outside printable ASCII as "?". Decomposing
// character by character gives what decomposing the whole text would, as only marks are ever
// reordered and they are dropped.
QByteArray asciiOf(char32_t code)
{
    for (const Spelling& s : kSpellings) {
        if (s.code == code)
            return QByteArray(s.ascii);
    }
    QByteArray out;
    const QString nfkd = QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD);
    for (qsizetype i = 0; i < nfkd.size(); ++i) {
        char32_t c = nfkd[i].unicode();
        if (nfkd[i].isHighSurrogate() && i + 1 < nfkd.size() && nfkd[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(nfkd[i], nfkd[i + 1]);
            ++i;
        }
        if (printableAscii(static_cast<char16_t>(c < 0x10000 ? c : 0)))
            out.append(static_cast<char>(c));
        else if (!isMark(c))
            out.append('?');
    }
    return out;
}

// The letters of names are mostly Latin: their forms are worked out once.
constexpr char32_t kTableEnd = 0x250;

const QByteArray& latinAscii(char32_t code)
{
    static const std::vector<QByteArray> table = [] {
        std::vector<QByteArray> t(kTableEnd);
        for (char32_t c = 0x80; c < kTableEnd; ++c)
            t[c] = asciiOf(c);
        return t;
    }();
    return table[code];
}

void appendConverted(QByteArray& out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (printableAscii(c.unicode())) {
            out.append(static_cast<char>(c.unicode()));
        } else if (c.unicode() >= 0x80 && c.unicode() < kTableEnd) {
            out.append(latinAscii(c.unicode()));
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append(asciiOf(QChar::surrogateToUcs4(c, text[i + 1])));
            ++i;
        } else {
            out.append(asciiOf(c.unicode()));
        }
    }
}

}  // namespace

bool isPrintableAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return printableAscii(c.unicode()); });
}

void appendAscii(QByteArray& out, QStringView text, qsizetype maxBytes)
{
    // Almost every value is plain ASCII already; only the rest pays for the decomposition.
    if (isPrintableAscii(text)) {
        appendPlain(out, maxBytes >= 0 ? text.first(std::min(maxBytes, text.size())) : text);
        return;
    }
    if (maxBytes < 0) {
        appendConverted(out, text);
        return;
    }
    QByteArray ascii;
    appendConverted(ascii, text);
    out.append(ascii.first(std::min(maxBytes, ascii.size())));
}

QByteArray toAscii(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    appendAscii(out, text);
    return out;
}

}  // namespace cubwave

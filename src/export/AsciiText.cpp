#include "export/AsciiText.h"

#include <QString>

namespace cubwave {

namespace {

bool printableAscii(char16_t c) { return c >= 0x20 && c < 0x7f; }

void appendDecomposed(QByteArray& out, QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed[i];
        if (printableAscii(c.unicode())) {
            out.append(static_cast<char>(c.unicode()));
            continue;
        }
        const QChar::Category cat = c.category();
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing)
            continue;
        // A surrogate pair is one character and so one "?".
        if (c.isHighSurrogate() && i + 1 < decomposed.size() && decomposed[i + 1].isLowSurrogate())
            ++i;
        out.append('?');
    }
}

}  // namespace

void appendAscii(QByteArray& out, QStringView text)
{
    // Almost every value is plain ASCII already; only the rest pays for the decomposition.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!printableAscii(text[i].unicode())) {
            for (qsizetype j = 0; j < i; ++j)
                out.append(static_cast<char>(text[j].unicode()));
            appendDecomposed(out, text.sliced(i));
            return;
        }
    }
    for (const QChar c : text)
        out.append(static_cast<char>(c.unicode()));
}

QByteArray toAscii(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    appendAscii(out, text);
    return out;
}

}  // namespace cubwave

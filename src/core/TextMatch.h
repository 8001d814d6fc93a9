#pragma once

#include <QStringView>

namespace cubwave {

// Case-blind comparisons of calls, bands and modes, done in place without building upper-cased
// copies: the duplicate scans run over the whole log on every keystroke. ASCII is compared
// inline; a difference involving any other character is left to Qt's case folding.
class TextMatch {
public:
    static bool equalNoCase(QStringView a, QStringView b)
    {
        return a.size() == b.size() && samePrefixNoCase(a, b);
    }

    static bool startsWithNoCase(QStringView text, QStringView prefix)
    {
        return text.size() >= prefix.size() && samePrefixNoCase(text.first(prefix.size()), prefix);
    }

private:
    // a and b have the same length.
    static bool samePrefixNoCase(QStringView a, QStringView b)
    {
        const char16_t* pa = a.utf16();
        const char16_t* pb = b.utf16();
        const qsizetype n = b.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t ca = pa[i];
            const char16_t cb = pb[i];
            if (ca == cb)
                continue;
            if (ca >= 0x80 || cb >= 0x80)
                return a.compare(b, Qt::CaseInsensitive) == 0;
            if ((ca | 0x20) != (cb | 0x20) || (ca | 0x20) < u'a' || (ca | 0x20) > u'z')
                return false;
        }
        return true;
    }
};

}  // namespace cubwave

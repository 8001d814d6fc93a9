#pragma once

#include <QStringView>

namespace cubwave {

// Case-blind comparisons of calls, bands and modes, done in place without building upper-cased
// copies: the duplicate scans run over the whole log on every keystroke.
class TextMatch {
public:
    static bool equalNoCase(QStringView a, QStringView b)
    {
        return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
    }
    static bool startsWithNoCase(QStringView text, QStringView prefix)
    {
        return text.startsWith(prefix, Qt::CaseInsensitive);
    }
};

}  // namespace cubwave

#include "core/PartialDupSearch.h"

#include "core/TextMatch.h"

namespace cubwave {

namespace {

bool isDigitOrSlash(QChar c) { return c.unicode() >= u'/' && c.unicode() <= u'9'; }

}  // namespace

PartialDupSearch::Result PartialDupSearch::run(const LogStore& store, const Input& in)
{
    Result result;
    const bool callKey = countsAsCallKey(in.keyCode);
    // Only a call key is ever appended, so its code always fits one UTF-16 unit.
    const QString partial = callKey ? in.fieldText + QChar(in.keyCode) : in.fieldText;

    if (callKey && in.displayOn) {
        // The scan runs from the oldest record and puts each match in front, so the list shows
        // the later of the matches it collected first, and stops once it is long enough.
        QString list;
        for (const QsoRecord& r : store.records()) {
            if (TextMatch::equalNoCase(r.mode(), in.mode) && TextMatch::equalNoCase(r.band(), in.band)
                && TextMatch::startsWithNoCase(r.call(), partial)) {
                list.prepend(r.call() + u' ');
                if (list.size() > kMatchListLimit)
                    break;
            }
        }
        result.matches = list;
    }

    if (in.fieldText.size() > 2 && !result.matches.isEmpty()) {
        result.possibleDuplicate = true;
        result.status = QStringLiteral("Possible Duplicate!");
    } else if (in.clockRunning) {
        result.status = QStringLiteral(" ");
    }

    if (callKey && partial.size() == 3) {
        if (isDigitOrSlash(partial[1]) || isDigitOrSlash(partial[2])) {
            result.threeCharCheck = ThreeCharCheck::Passed;
            result.status = QStringLiteral(" ");
        } else {
            result.threeCharCheck = ThreeCharCheck::Failed;
            result.status = QStringLiteral("The second or third character is not numeric!");
            result.beep = true;
        }
    }
    return result;
}

}  // namespace cubwave

// A function-key message as it is sent: its macros expanded against the call field, then each
// character turned into keying runs with the word-space adjustment of "cw.txt". The input is the
// message, then the call field and the word-space text, separated by byte 0x1F. Whatever the
// text, no macro character survives the expansion, and every character keys exactly the dots
// and dashes of its pattern with the gaps the timing rules give.
#include "cw/CwMessages.h"
#include "cw/CwSettings.h"
#include "cw/MorseTable.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

qint64 totalUnits(const std::vector<KeyingRun>& runs)
{
    qint64 total = 0;
    for (const KeyingRun& r : runs)
        total += r.units;
    return total;
}

void checkCharacter(QChar c, qint64 adjust)
{
    const std::vector<KeyingRun> runs = MorseTable::runs(c, adjust);
    for (size_t i = 0; i < runs.size(); ++i) {
        check(runs[i].units > 0);
        check(i == 0 || runs[i].keyDown != runs[i - 1].keyDown);
    }
    const QString pattern = MorseTable::pattern(c);
    if (c == QLatin1Char(' ')) {
        // Eight units of silence, adjusted; never below nothing, never keyed.
        const qint64 expected = std::max<qint64>(0, 8 + std::min(adjust, MorseTable::kMaxWordSpaceAdjust));
        check(totalUnits(runs) == expected);
        check(runs.empty() || (runs.size() == 1 && !runs[0].keyDown));
    } else if (pattern.isEmpty()) {
        check(runs.empty());  // "!" and characters without a pattern take no time
    } else {
        // Dot 1, dash 3, one unit between elements, three after the last.
        check(runs.size() == 2 * static_cast<size_t>(pattern.size()));
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const KeyingRun& down = runs[static_cast<size_t>(2 * i)];
            const KeyingRun& up = runs[static_cast<size_t>(2 * i + 1)];
            check(down.keyDown && !up.keyDown);
            check(pattern[i] == QLatin1Char('.') ? down.units == 1 : (pattern[i] == QLatin1Char('-') && down.units == 3));
            check(up.units == (i + 1 == pattern.size() ? 3 : 1));
        }
    }
    // The unit string says the same as the runs where it is small enough to build.
    if (adjust >= -8 && adjust <= 64) {
        const QString units = MorseTable::elements(c, static_cast<int>(adjust));
        QString fromRuns;
        for (const KeyingRun& r : runs)
            fromRuns += QString(r.units, r.keyDown ? QLatin1Char('1') : QLatin1Char('0'));
        check(units == fromRuns);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = bytes.split('\x1f');
    const QString message = QString::fromUtf8(parts.value(0));
    // The call field holds at most 12 characters.
    const QString call = QString::fromUtf8(parts.value(1)).left(12);
    CwSettings settings;
    settings.wordSpace = parts.size() > 2 ? QString::fromUtf8(parts.value(2)) : QStringLiteral("0");
    const qint64 adjust = settings.wordSpaceUnits();
    check(adjust >= -8 && adjust <= MorseTable::kMaxWordSpaceAdjust);

    const QString sent = CwMessages::expand(message, call);
    check(!sent.contains(QLatin1Char('#')) && !sent.contains(QLatin1Char('*')));
    if (!message.contains(QLatin1Char('$'))) {
        // Without a call macro the rest is plain: "#" goes, each "*" is "5NN".
        const qsizetype kept = message.size() - message.count(QLatin1Char('#')) - message.count(QLatin1Char('*'));
        check(sent.size() == kept + 3 * message.count(QLatin1Char('*')));
    }
    if (!call.contains(QLatin1Char('$')))
        check(!sent.contains(QLatin1Char('$')));

    // Each distinct character once: a long message repeats a few.
    QString seen;
    for (const QChar c : sent) {
        if (seen.contains(c))
            continue;
        seen += c;
        checkCharacter(c, adjust);
        checkCharacter(c, 0);
    }
    return 0;
}

#include "station/PrefixTable.h"

#include "core/FileRead.h"
#include "core/QuotedFields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cmath>

namespace cubwave {

namespace {

const QString kFileName = QStringLiteral("arrlpre2.txt");

PrefixTableLoad failure(const QString& reason)
{
    PrefixTableLoad result;
    result.reason = reason;
    return result;
}

bool parseDegrees(QStringView text, float limit, float& value)
{
    bool ok = false;
    value = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(value) && std::fabs(value) <= limit;
}

// Lines are UTF-8; a line that is not is taken as Latin-1, as an old editor may have saved it.
QString decodeLine(QByteArrayView raw)
{
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(raw);
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(raw);
    return decode.hasError() ? QString::fromLatin1(raw) : text;
}

bool hasControlBytes(QByteArrayView raw)
{
    return std::any_of(raw.begin(), raw.end(), [](char c) {
        const auto b = static_cast<uchar>(c);
        return (b < 0x20 && b != '\t') || b == 0x7f;
    });
}

// Sort key of a first character. An empty prefix sorts before every character.
int firstKey(QStringView s) { return s.isEmpty() ? -1 : s.front().unicode(); }

int foldedKey(QChar c) { return QChar::toUpper(c.unicode()); }

bool startsWithFolded(QStringView text, QStringView foldedPrefix)
{
    if (foldedPrefix.size() > text.size())
        return false;
    for (qsizetype i = 0; i < foldedPrefix.size(); ++i) {
        if (static_cast<char32_t>(foldedKey(text[i])) != foldedPrefix[i].unicode())
            return false;
    }
    return true;
}

}  // namespace

PrefixTableLoad PrefixTable::read(const QString& path)
{
    const FileBytes in = readFileBytes(path, kMaxFileBytes);
    if (!in.ok)
        return failure(in.error);
    return parse(in.bytes);  // refuses a file over the limit
}

PrefixTableLoad PrefixTable::parse(QByteArrayView bytes)
{
    if (bytes.size() > kMaxFileBytes)
        return failure(QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileBytes));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    PrefixTableLoad result;
    std::vector<PrefixEntry>& entries = result.table.entries_;
    entries.reserve(static_cast<size_t>(std::min<qsizetype>(bytes.size() / 24 + 1, kMaxEntries)));
    qsizetype start = 0;
    int lineNo = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        ++lineNo;
        QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.size() > kMaxLineBytes)
            return failure(QStringLiteral("line %1 is longer than %2 bytes").arg(lineNo).arg(kMaxLineBytes));
        if (raw.trimmed().isEmpty())
            continue;
        if (hasControlBytes(raw))
            return failure(QStringLiteral("line %1 holds binary data").arg(lineNo));
        if (static_cast<int>(entries.size()) >= kMaxEntries)
            return failure(QStringLiteral("more than %1 entries").arg(kMaxEntries));

        const QString line = decodeLine(raw);
        std::array<QStringView, kItemsPerLine> items;
        PrefixEntry e;
        if (!splitQuotedFields(line, items) || !parseDegrees(items[3], 180.f, e.longitude)
            || !parseDegrees(items[4], 90.f, e.latitude))
            return failure(QStringLiteral("line %1 is not eight comma-separated items with a longitude and a "
                                          "latitude in degrees").arg(lineNo));
        e.prefix = items[0].toString();
        e.country = items[1].toString();
        e.continent = items[2].toString();
        entries.push_back(std::move(e));
    }
    result.table.index();
    result.ok = true;
    return result;
}

void PrefixTable::index()
{
    foldedPrefixes_.clear();
    foldedPrefixes_.reserve(entries_.size());
    for (const PrefixEntry& e : entries_)
        foldedPrefixes_.push_back(e.prefix.toUpper());

    countriesFromEnd_.clear();
    QSet<QString> seen;
    for (int i = size() - 1; i >= 0; --i) {
        const QString& country = entries_[static_cast<size_t>(i)].country;
        if (!seen.contains(country)) {
            seen.insert(country);
            countriesFromEnd_.push_back(i);
        }
    }

    firstUsa_ = 0;
    for (int i = 0; i < size(); ++i) {
        if (entries_[static_cast<size_t>(i)].country.compare(QLatin1String("USA"), Qt::CaseInsensitive) == 0) {
            firstUsa_ = i + 1;
            break;
        }
    }
}

QString PrefixTable::findFile(const QString& sharedFolder, const QString& programDataFolder,
                              const QString& workingFolder)
{
    for (const QString& folder : {sharedFolder, programDataFolder, workingFolder}) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(kFileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringView PrefixTable::lookupText(QStringView call)
{
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const QStringView designator = call.sliced(slash + 1);
        if (designator.size() > 1 && 2 * designator.size() < call.size())
            return designator;
    }
    return call;
}

int PrefixTable::bestMatch(QStringView text, bool exact) const
{
    const int n = size();
    if (n == 0 || text.isEmpty())
        return 0;
    const auto key = [&](int i) {  // i is 1-based
        return exact ? firstKey(entries_[static_cast<size_t>(i - 1)].prefix)
                     : firstKey(foldedPrefixes_[static_cast<size_t>(i - 1)]);
    };
    const int first = exact ? text.front().unicode() : foldedKey(text.front());

    // Estimate where the first character's block lies as if first characters were spread evenly
    // over A..Z (digits count as A). Characters past Z would land beyond the table: clamp.
    const qint64 c = std::max(first, 65);
    qint64 start = static_cast<qint64>(n) * (c - 64) / 26;
    start = std::clamp<qint64>(start, 1, n);
    int i = static_cast<int>(start);
    // Step back out of the block, then scan towards it and through it.
    while (i > 1 && key(i) == first)
        i = std::max(1, i - 5);
    const int step = key(i) > first ? -1 : 1;

    int best = 0;
    qsizetype bestLength = 0;
    for (; i >= 1 && i <= n; i += step) {
        const size_t k = static_cast<size_t>(i - 1);
        const QString& prefix = exact ? entries_[k].prefix : foldedPrefixes_[k];
        if (prefix.size() > bestLength
            && (exact ? text.startsWith(prefix) : startsWithFolded(text, prefix))) {
            best = i;
            bestLength = prefix.size();
        }
        const int k1 = key(i);
        if (step > 0 ? k1 > first : k1 < first)
            break;
    }
    return best;
}

CallLocation PrefixTable::locate(QStringView call) const
{
    CallLocation result;
    const QStringView text = lookupText(call);
    if (text.isEmpty())
        return result;

    const int best = bestMatch(text, false);
    if (best == 0) {
        result.outcome = CallLocation::Outcome::NotFound;
        result.location = notFoundText();
        return result;
    }
    const PrefixEntry& match = entry(best);
    result.entry = best;
    if (match.country.compare(QLatin1String("USA"), Qt::CaseInsensitive) == 0
        || match.country.compare(QLatin1String("Canada"), Qt::CaseInsensitive) == 0) {
        result.outcome = CallLocation::Outcome::UsaOrCanada;
        result.continent = QStringLiteral("NA");
        return result;
    }

    result.outcome = CallLocation::Outcome::Found;
    // KG4 plus two letters is Guantanamo Bay; other KG4 calls are ordinary US calls, which get
    // the US position but no location so the operator types the state.
    const bool usKg4 = text.startsWith(QLatin1String("KG4"), Qt::CaseInsensitive)
                       && (text.size() == 4 || text.size() > 5);
    if (usKg4) {
        if (firstUsa_ == 0)
            return result;  // no US entry: nothing to show rather than a stale country
        const PrefixEntry& usa = entry(firstUsa_);
        result.continent = usa.continent;
        result.hasCoordinates = true;
        result.latitude = usa.latitude;
        result.longitude = usa.longitude;
        return result;
    }
    result.location = match.country;
    result.continent = match.continent;
    result.hasCoordinates = true;
    result.latitude = match.latitude;
    result.longitude = match.longitude;
    return result;
}

QString PrefixTable::spotCountry(QStringView call) const
{
    const QStringView text = lookupText(call);
    const int best = bestMatch(text, true);
    if (best == 0)
        return {};
    if (text.startsWith(QLatin1String("KG4")) && text.size() > 5)
        return QStringLiteral("USA");
    return entry(best).country;
}

const PrefixEntry* PrefixTable::completeCountry(QStringView typed, Qt::CaseSensitivity cs) const
{
    // Scanning the distinct names by their last entry finds the same entry as scanning every
    // entry backwards, in a fifth of the steps.
    for (int i : countriesFromEnd_) {
        const PrefixEntry& e = entries_[static_cast<size_t>(i)];
        if (e.country.startsWith(typed, cs))
            return &e;
    }
    return nullptr;
}

}  // namespace cubwave

#include "export/AdifCountryTable.h"

#include "core/FileRead.h"
#include "core/QuotedFields.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace cubwave {

namespace {

// 1000 rows of at most kMaxLineBytes each, with room for blank lines between them; a file that
// is larger before its 1000th row is refused rather than read whole.
constexpr qint64 kMaxReadBytes = 2LL * AdifCountryTable::kMaxRows * (AdifCountryTable::kMaxLineBytes + 2);
constexpr int kMaxNumber = 99999;

AdifCountryTableLoad failure(const QString& text)
{
    AdifCountryTableLoad result;
    result.error = text;
    return result;
}

QString decodeLine(QByteArrayView raw)
{
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(raw);
    return decode.hasError() ? QString::fromLatin1(raw) : text;
}

bool parseNumber(QStringView text, int& number)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 5)
        return false;
    number = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number <= kMaxNumber;
}

}  // namespace

const QString AdifCountryTable::kFileName = QStringLiteral("ADIFCnt.txt");

QString AdifCountryTable::findFile(const QString& sharedFolder, const QString& programDataFolder,
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

AdifCountryTableLoad AdifCountryTable::read(const QString& path)
{
    const FileBytes in = readFileBytes(path, kMaxReadBytes);
    if (!in.ok)
        return failure(QStringLiteral("%1: %2").arg(path, in.error));
    return parse(in.bytes, path);
}

AdifCountryTableLoad AdifCountryTable::parse(QByteArrayView bytes, const QString& fileName)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const bool cut = bytes.size() > kMaxReadBytes;
    if (cut)
        bytes = bytes.first(kMaxReadBytes);

    AdifCountryTableLoad result;
    AdifCountryTable& table = result.table;
    table.numbers_.reserve(kMaxRows);
    qsizetype start = 0;
    int lineNo = 0;
    while (start < bytes.size() && table.rows_ < kMaxRows) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            if (cut)
                return failure(QStringLiteral("%1: the file is too large").arg(fileName));
            end = bytes.size();
        }
        ++lineNo;
        QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.trimmed().isEmpty())
            continue;
        const auto malformed = [&] {
            return failure(QStringLiteral("%1, line %2: not a row of a quoted country name and a DXCC number")
                               .arg(fileName)
                               .arg(lineNo));
        };
        if (raw.size() > kMaxLineBytes)
            return malformed();
        const QString line = decodeLine(raw);
        std::array<QStringView, 2> items;
        int number = 0;
        if (!splitQuotedFields(line, items) || !line.trimmed().startsWith(QLatin1Char('"'))
            || !parseNumber(items[1], number))
            return malformed();
        ++table.rows_;
        const QString key = items[0].toString().toCaseFolded();
        if (!table.numbers_.contains(key))
            table.numbers_.insert(key, number);
    }
    if (cut && table.rows_ < kMaxRows)
        return failure(QStringLiteral("%1: the file is too large").arg(fileName));
    // An export without a single DXCC number would still report success.
    if (table.rows_ == 0)
        return failure(QStringLiteral("%1: the file holds no country rows").arg(fileName));
    result.ok = true;
    return result;
}

int AdifCountryTable::dxcc(QStringView country) const
{
    country = country.trimmed();
    if (country.isEmpty())
        return 0;
    return numbers_.value(country.toString().toCaseFolded(), 0);
}

}  // namespace cubwave

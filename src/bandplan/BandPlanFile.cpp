#include "bandplan/BandPlanFile.h"

#include "core/DecimalText.h"
#include "core/FileRead.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <optional>

namespace cubwave {

namespace {

// The values of the file in order. A quoted value ends at its closing quote or at the end of its
// line, so a stray quote cannot swallow the records after it; blank lines hold no value.
QStringList valuesOf(const QByteArray& bytes, std::vector<int>* lineOfValue = nullptr)
{
    QStringList values;
    int lineNumber = 0;
    std::vector<QChar> buffer;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = QByteArrayView(bytes).sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QStringView line = decodeTextLine(raw, buffer);
        if (line.trimmed().isEmpty())
            continue;
        qsizetype pos = 0;
        const qsizetype n = line.size();
        while (true) {
            if (lineOfValue)
                lineOfValue->push_back(lineNumber);
            while (pos < n && (line[pos] == u' ' || line[pos] == u'\t'))
                ++pos;
            if (pos < n && line[pos] == u'"') {
                qsizetype close = line.indexOf(u'"', pos + 1);
                if (close < 0)
                    close = n;
                values.append(line.sliced(pos + 1, close - pos - 1).toString());
                pos = close + 1;
                while (pos < n && line[pos] != u',')
                    ++pos;  // what follows a closing quote up to the separator is no value
            } else {
                qsizetype comma = line.indexOf(u',', pos);
                if (comma < 0)
                    comma = n;
                values.append(line.sliced(pos, comma - pos).trimmed().toString());
                pos = comma;
            }
            if (pos >= n)
                break;
            ++pos;  // past the comma: another value follows, even an empty one
        }
    }
    return values;
}

std::optional<float> edgeOf(const QString& text)
{
    const std::optional<double> value = DecimalText::parse(text);
    if (!value || std::abs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return float(*value);
}

// The record whose five values start at index first.
std::optional<BandPlanRecord> recordAt(const QStringList& values, qsizetype first)
{
    const std::optional<float> low = edgeOf(values[first + 3]);
    const std::optional<float> high = edgeOf(values[first + 4]);
    if (!low || !high)
        return std::nullopt;
    return BandPlanRecord{values[first], values[first + 1], values[first + 2], *low, *high};
}

}  // namespace

BandPlanFile::Contents BandPlanFile::parse(const QByteArray& bytes)
{
    Contents contents;
    if (bytes.size() > kMaxBytes) {
        contents.problem = Problem::TooLong;
        return contents;
    }
    const QStringList values = valuesOf(bytes);
    // Even the date missing, or a record cut short, is a file that cannot be read whole.
    if (values.isEmpty() || (values.size() - 1) % 5 != 0) {
        contents.problem = Problem::Unreadable;
        return contents;
    }
    if ((values.size() - 1) / 5 > kMaxRecords) {
        contents.problem = Problem::TooLong;
        return contents;
    }
    std::vector<BandPlanRecord> records;
    for (qsizetype first = 1; first < values.size(); first += 5) {
        const std::optional<BandPlanRecord> record = recordAt(values, first);
        if (!record) {
            contents.problem = Problem::Unreadable;
            return contents;
        }
        records.push_back(*record);
    }
    contents.effective = values.first();
    contents.records = std::move(records);
    return contents;
}

BandPlanFile::Contents BandPlanFile::read(const QString& folder)
{
    const QString path = QDir(folder).filePath(kFileName);
    if (!QFileInfo::exists(path))
        return {Problem::Missing, {}, {}};
    const FileBytes file = readFileBytes(path, kMaxBytes);
    if (!file.ok)
        return {Problem::Unreadable, {}, {}};
    return parse(file.bytes);
}

BandPlanFile::ExtraReading BandPlanFile::readExtra(const QByteArray& bytes)
{
    ExtraReading reading;
    std::vector<int> lineOfValue;
    const QStringList values = valuesOf(bytes.first(std::min<qsizetype>(bytes.size(), kMaxBytes)), &lineOfValue);
    const auto damaged = [&](qsizetype index, QString reason) {
        if (!reading.damage)
            reading.damage = Damage{lineOfValue[size_t(index)], std::move(reason)};
    };
    qsizetype first = 1;
    for (; first + 5 <= values.size() && reading.records.size() < size_t(kMaxRecords); first += 5) {
        // A value lost or one too many shifts every record after it, so a number lands where a
        // class or mode belongs, or a text where an edge does: such a record is not used.
        static const QStringList kClasses{"N", "T", "P", "G", "A", "E", "O"};
        if (!kClasses.contains(values[first + 1])) {
            damaged(first + 1, QStringLiteral("\"%1\" is not a licence class").arg(values[first + 1]));
            continue;
        }
        if (DecimalText::parse(values[first + 2])) {
            damaged(first + 2, QStringLiteral("\"%1\" is not a mode").arg(values[first + 2]));
            continue;
        }
        const std::optional<BandPlanRecord> record = recordAt(values, first);
        if (!record) {
            const qsizetype bad = edgeOf(values[first + 3]) ? first + 4 : first + 3;
            damaged(bad, QStringLiteral("\"%1\" is not a frequency in MHz").arg(values[bad]));
            continue;
        }
        if (record->licenceClass == u"E")
            reading.records.push_back(*record);
    }
    if (first < values.size() && first + 5 > values.size())
        damaged(values.size() - 1, QStringLiteral("the file ends inside a record"));
    return reading;
}

std::vector<BandPlanRecord> BandPlanFile::extraRecords(const QByteArray& bytes) { return readExtra(bytes).records; }

BandPlanFile::ExtraReading BandPlanFile::readExtra(const QString& folder)
{
    const FileBytes file = readFileBytes(QDir(folder).filePath(kFileName), kMaxBytes);
    return file.ok ? readExtra(file.bytes) : ExtraReading{};
}

std::vector<BandPlanRecord> BandPlanFile::readExtraRecords(const QString& folder) { return readExtra(folder).records; }

}  // namespace cubwave

#include "core/FileRead.h"
#include "export/AdifCountryTable.h"
#include "station/PrefixTable.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QSet>
#include <QStringList>


namespace cubwave::test {
namespace {

const QString kShipped = QStringLiteral(CUBWAVE_SOURCE_DIR "/data/ADIFCnt.txt");
// The country file of Debian's hamradio-files: its third column is the ADIF DXCC number.
const QString kCtyCsv = QStringLiteral("/usr/share/hamradio-files/cty.csv");

const AdifCountryTable& shipped()
{
    static const AdifCountryTable table = [] {
        AdifCountryTableLoad load = AdifCountryTable::read(kShipped);
        EXPECT_TRUE(load.ok) << load.error.toStdString();
        return std::move(load.table);
    }();
    return table;
}

// Every row as (name, number), read here without the program's reader.
QList<std::pair<QString, int>> shippedRows()
{
    const FileBytes in = readFileBytes(kShipped);
    EXPECT_TRUE(in.ok);
    QList<std::pair<QString, int>> rows;
    for (const QByteArray& line : in.bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        const qsizetype comma = line.lastIndexOf(',');
        rows.append({QString::fromLatin1(line.mid(1, comma - 2)), line.mid(comma + 1).trimmed().toInt()});
    }
    return rows;
}

TEST(ShippedAdifCountryTable, ReadsWholeWithCrLfLinesAndAtMostAThousandRows)
{
    const FileBytes in = readFileBytes(kShipped);
    ASSERT_TRUE(in.ok);
    const qsizetype lines = in.bytes.count('\n');
    EXPECT_EQ(in.bytes.count("\r\n"), lines);
    EXPECT_TRUE(in.bytes.endsWith("\r\n"));
    EXPECT_LE(lines, AdifCountryTable::kMaxRows);
    EXPECT_EQ(shipped().size(), lines);
}

TEST(ShippedAdifCountryTable, HoldsTheNamesTheExportWritesWithTheirNumbers)
{
    const std::pair<const char16_t*, int> expected[] = {
        {u"USA", 291}, {u"Canada", 1}, {u"Hawaii", 110}, {u"Alaska", 6}, {u"Fed. Rep. of Germany", 230},
        {u"Japan", 339}, {u"Germany", 230},
    };
    for (const auto& [name, number] : expected)
        EXPECT_EQ(shipped().dxcc(QStringView(name)), number) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(shipped().dxcc(u"Russia"), 0);  // two entities: never guessed
}

TEST(ShippedAdifCountryTable, HasARowForEveryCountryOfThePrefixTable)
{
    const PrefixTableLoad prefixes = PrefixTable::read(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/arrlpre2.txt"));
    ASSERT_TRUE(prefixes.ok);
    QSet<QString> missing;
    for (int i = 1; i <= prefixes.table.size(); ++i) {
        const QString& country = prefixes.table.entry(i).country;
        if (shipped().dxcc(country) == 0)
            missing.insert(country);
    }
    EXPECT_TRUE(missing.isEmpty()) << QStringList(missing.values()).join(QStringLiteral(", ")).toStdString();
}

TEST(ShippedAdifCountryTable, NoNameCarriesTwoNumbers)
{
    QHash<QString, int> seen;
    for (const auto& [name, number] : shippedRows()) {
        const QString key = name.toCaseFolded();
        if (seen.contains(key)) {
            EXPECT_EQ(seen.value(key), number) << name.toStdString();
        }
        seen.insert(key, number);
    }
    EXPECT_GT(seen.size(), 300);
}

TEST(ShippedAdifCountryTable, NumbersAgreeWithTheCountryFilesCsv)
{
    const FileBytes csv = readFileBytes(kCtyCsv);
    ASSERT_TRUE(csv.ok) << "hamradio-files is not installed (tools/install-deps.sh installs it)";
    QHash<QString, int> csvNumbers;  // entity name -> number
    QSet<int> entities;
    for (const QByteArray& line : csv.bytes.split('\n')) {
        const QList<QByteArray> cols = line.split(',');
        if (cols.size() < 3 || cols[0].startsWith('*'))
            continue;  // "*" entities are not DXCC entities of their own
        csvNumbers.insert(QString::fromLatin1(cols[1]), cols[2].toInt());
        entities.insert(cols[2].toInt());
    }
    ASSERT_GT(entities.size(), 300);
    QSet<int> numbers;
    int sameName = 0;
    for (const auto& [name, number] : shippedRows()) {
        EXPECT_TRUE(entities.contains(number)) << name.toStdString() << " " << number;
        numbers.insert(number);
        if (csvNumbers.contains(name)) {
            ++sameName;
            EXPECT_EQ(csvNumbers.value(name), number) << name.toStdString();
        }
    }
    EXPECT_GT(sameName, 250);  // most names are spelt alike in both files
    for (const int entity : entities)
        EXPECT_TRUE(numbers.contains(entity)) << "no row for DXCC " << entity;
}

}  // namespace
}  // namespace cubwave::test

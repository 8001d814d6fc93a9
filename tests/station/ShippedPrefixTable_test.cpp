#include "station/PrefixTable.h"

#include <gtest/gtest.h>

#include <QString>

using namespace cubwave;

namespace {

const PrefixTable& shipped()
{
    static const PrefixTable table = [] {
        PrefixTableLoad load = PrefixTable::read(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/arrlpre2.txt"));
        EXPECT_TRUE(load.ok) << load.reason.toStdString();
        return std::move(load.table);
    }();
    return table;
}

// The longest prefix of text among all entries, the first of equals: what the block scan must
// find without looking at the whole table.
int wholeTableMatch(const PrefixTable& table, QStringView text, Qt::CaseSensitivity cs)
{
    int best = 0;
    qsizetype length = 0;
    for (int i = 1; i <= table.size(); ++i) {
        const QString& p = table.entry(i).prefix;
        if (p.size() > length && text.startsWith(p, cs)) {
            best = i;
            length = p.size();
        }
    }
    return best;
}

PrefixTable everyNth(const PrefixTable& table, int n, int offset)
{
    QByteArray bytes;
    for (int i = 1 + offset; i <= table.size(); i += n) {
        const PrefixEntry& e = table.entry(i);
        bytes += QStringLiteral("\"%1\",\"%2\",\"%3\",%4,%5,\"\",\"\",\"\"\n")
                     .arg(e.prefix, e.country, e.continent)
                     .arg(e.longitude)
                     .arg(e.latitude)
                     .toUtf8();
    }
    PrefixTableLoad load = PrefixTable::parse(bytes);
    EXPECT_TRUE(load.ok) << load.reason.toStdString();
    return std::move(load.table);
}

}  // namespace

TEST(ShippedPrefixTable, LoadsAndIsSortedForTheBlockScan)
{
    const PrefixTable& table = shipped();
    ASSERT_GT(table.size(), 300);
    ASSERT_LE(table.size(), PrefixTable::kMaxEntries);
    for (int i = 2; i <= table.size(); ++i) {
        const QString& before = table.entry(i - 1).prefix;
        const QString& after = table.entry(i).prefix;
        ASSERT_LT(before.compare(after, Qt::CaseInsensitive), 0) << before.toStdString() << " " << after.toStdString();
    }
    for (int i = 1; i <= table.size(); ++i) {
        const PrefixEntry& e = table.entry(i);
        ASSERT_FALSE(e.prefix.isEmpty());
        ASSERT_FALSE(e.prefix.startsWith('=')) << e.prefix.toStdString();
        ASSERT_EQ(e.continent.size(), 2) << e.prefix.toStdString();
    }
}

TEST(ShippedPrefixTable, KnowsTheCommonCountries)
{
    struct Case {
        const char* call;
        const char* country;
    };
    const Case cases[] = {
        {"W1AW", "USA"},        {"VE3XYZ", "Canada"},   {"KH6ABC", "Hawaii"},
        {"KL7ABC", "Alaska"},   {"JA1ABC", "Japan"},    {"G4ABC", "England"},
        {"VK2ABC", "Australia"}, {"PY2ABC", "Brazil"},  {"KG4AB", "Guantanamo Bay"},
        {"N0AX", "USA"},        {"AA1K", "USA"},        {"VA3ABC", "Canada"},
    };
    const PrefixTable& table = shipped();
    for (const Case& c : cases) {
        EXPECT_EQ(table.spotCountry(QString::fromLatin1(c.call)), c.country) << c.call;
        const CallLocation r = table.locate(QString::fromLatin1(c.call));
        const bool northAmerican = QString::fromLatin1(c.country) == "USA" || QString::fromLatin1(c.country) == "Canada";
        EXPECT_EQ(r.outcome, northAmerican ? CallLocation::Outcome::UsaOrCanada : CallLocation::Outcome::Found) << c.call;
        if (!northAmerican) {
            EXPECT_EQ(r.location, c.country) << c.call;
        }
    }
    EXPECT_EQ(table.locate(u"G4ABC").continent, "EU");
    EXPECT_EQ(table.locate(u"KG4ABC").location, QString());
    EXPECT_EQ(table.locate(u"KG4ABC").continent, "NA");
    const PrefixEntry* japan = table.completeCountry(u"Jap", Qt::CaseInsensitive);
    ASSERT_NE(japan, nullptr);
    EXPECT_EQ(japan->country, "Japan");
}

TEST(ShippedPrefixTable, BlockScanAgreesWithAWholeTableSearch)
{
    // The shipped table and thinned copies of it, so that the first-letter estimate lands at
    // every kind of place relative to the blocks.
    std::vector<PrefixTable> tables;
    tables.push_back(shipped());
    for (int n : {2, 3, 7, 29, 101})
        tables.push_back(everyNth(shipped(), n, n / 2));

    const char* const suffixes[] = {"", "1", "0AB", "/P", "Q", "7ZZZ"};
    for (const PrefixTable& table : tables) {
        SCOPED_TRACE(table.size());
        for (int i = 1; i <= table.size(); ++i) {
            for (const char* suffix : suffixes) {
                const QString call = shipped().entry(1 + (i * 7) % shipped().size()).prefix + QLatin1String(suffix);
                const int expected = wholeTableMatch(table, call, Qt::CaseSensitive);
                const CallLocation r = table.locate(call.toLower());
                ASSERT_EQ(r.entry, expected) << call.toStdString();
                const bool usKg4 = call.startsWith(QLatin1String("KG4")) && call.size() > 5;
                const QString country = !expected ? QString() : usKg4 ? QStringLiteral("USA") : table.entry(expected).country;
                ASSERT_EQ(table.spotCountry(call).toStdString(), country.toStdString());
            }
        }
    }
}
